#pragma once
// What the uncertainty runs of batch mode (of the prediction and of the
// forecast) share: the samples' CSV file, the summary, the exit status.

#include <cstdint>
#include <iostream>
#include <string>

#include "base/AtomicFileWriter.h"
#include "batch/CommandLineText.h"
#include "batch/ExitStatus.h"

// Runs an uncertainty run whose samples go into a CSV file as they come
// (none when the path is empty): `run` gets the open writer, or nullptr.
// The file replaces an earlier one only when it is complete. False, said on
// stderr, when it cannot be written.
template <class Run>
bool RunWithSampleCsv(const std::string& path, const std::string& header, Run&& run) {
    AtomicFileWriter csv;
    std::string error;
    if (!path.empty()) {
        if (!csv.Open(path, error)) {
            ShowNotWritten(path, error);
            return false;
        }
        csv.Append(header);
    }
    run(csv.IsOpen() ? &csv : nullptr);
    if (csv.IsOpen() && !csv.Commit(error)) {
        ShowNotWritten(path, error);
        return false;
    }
    return true;
}

// Writes a summary to its file, or to stderr without one. A summary nobody
// receives (stderr on a full disk, a closed pipe) is a failed write, as a
// report that cannot be written is.
inline bool DeliverSummary(const std::string& path, const std::string& summary) {
    if (!path.empty()) return WriteOutputFile(path, summary);
    return static_cast<bool>(std::cerr << summary << std::flush);
}

// A run of which no sample has a result has no statistics to give; its
// outputs are written all the same, and a script learns it from exit 3.
inline int SampleRunStatus(uint64_t completed, uint64_t failed) {
    return completed > 0 && failed == completed ? kExitNoResult : kExitOk;
}
