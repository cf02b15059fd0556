// The measured-data file reader. Invariants: it never takes more rows than the
// file has lines (ended by LF, CR LF or a lone CR) before its first NUL byte;
// every row it takes is in one of the two fixed layouts, reads back to
// numbers that give the very same row again, and lies within the oil in place
// and the initial pressure it was checked against. The file it reads from is
// removed when the fuzzer ends.
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "base/Format.h"
#include "base/MessageSink.h"
#include "case/CaseLimits.h"
#include "input/MeasuredDataFile.h"

namespace {

std::string g_Path;

constexpr float kOOIP = 5000.0f;
constexpr float kInitialdruck = 250.0f;

// Line ends before the first NUL byte: a line holding one is refused.
size_t LinesBeforeNul(const std::string& bytes) {
    size_t lines = 0;
    for (size_t i = 0; i < bytes.size() && bytes[i] != '\0'; ++i) {
        if (bytes[i] == '\n') ++lines;
        if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')) ++lines;
    }
    return lines;
}

void RemoveFile() {
    std::remove(g_Path.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_Path = "/tmp/morvek-fuzz-messwerte-" + std::to_string(::getpid()) + ".txt";
    std::atexit(RemoveFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    {
        std::ofstream out(g_Path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    SilentMessageSink sink;
    std::vector<std::string> rows = {"vorher"};
    if (!ReadMeasuredDataFile(g_Path, kOOIP, kInitialdruck, sink, rows)) std::abort();
    if (rows.size() > LinesBeforeNul(bytes) || rows.size() > kMaxMeasuredRows) std::abort();
    for (const std::string& row : rows) {
        float oil = 0, pressure = 0, gor = 0;
        const int n = ScanMeasuredRow(row, oil, pressure, gor);
        std::string again;
        if (n == 3) {
            again = Format("%10.3f   %18.1f  %18.1f", double(oil), double(pressure), double(gor));
        } else if (n == 2) {
            again = Format("%10.3f   %18.1f   * ", double(oil), double(pressure));
        } else {
            std::abort();
        }
        if (again != row) std::abort();
        // The checks ran on the unrounded numbers; the row shows them rounded.
        if (!(oil <= kOOIP + 0.0005f) || !(pressure <= kInitialdruck + 0.05f)) std::abort();
    }
    return 0;
}
