// What loading a case file costs in memory, measured with the benchmarks'
// counting allocator: the worst files the limits admit need a small multiple
// of their size, and a file beyond the limits is refused before it costs any.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "../../bench/AllocationCounter.h"
#include "TestSupport.h"
#include "base/FileIO.h"
#include "model/CaseFile.h"
#include "case/MorvekDoc.h"

namespace {

void PutLength(std::string& out, size_t n) {
    if (n < 0xFF) {
        out += static_cast<char>(n);
    } else if (n < 0xFFFE) {
        out += '\xFF';
        out += static_cast<char>(n & 0xFF);
        out += static_cast<char>(n >> 8);
    } else {
        out += std::string("\xFF\xFF\xFF", 3);
        for (int i = 0; i < 4; ++i) out += static_cast<char>((n >> (8 * i)) & 0xFF);
    }
}

// A case file with the given field name length and rows, every text of the
// byte c (0x80, the euro sign, grows most when it becomes UTF-8).
std::string CaseBytes(size_t nameBytes, size_t rows, size_t rowBytes, char c) {
    std::string out(44, '\0');
    PutLength(out, nameBytes);
    out.append(nameBytes, c);
    out.append(68, '\0');
    if (rows < 0xFFFF) {
        out += static_cast<char>(rows & 0xFF);
        out += static_cast<char>(rows >> 8);
    } else {
        out += std::string("\xFF\xFF", 2);
        for (int i = 0; i < 4; ++i) out += static_cast<char>((rows >> (8 * i)) & 0xFF);
    }
    std::string row;
    PutLength(row, rowBytes);
    row.append(rowBytes, c);
    out.reserve(out.size() + rows * row.size());
    for (size_t i = 0; i < rows; ++i) out += row;
    return out;
}

// The most memory loading the file into a new case holds at once, beyond
// what was held before.
size_t PeakBytesOfLoading(const std::string& path, bool& loaded) {
    CMorvekDoc doc;
    doc.OnNewDocument();
    const size_t before = LiveBytes();
    ResetPeakBytes();
    loaded = doc.ReadCaseFile(path);
    return PeakBytes() - before;
}

struct WorstFile {
    const char* what;
    size_t nameBytes, rows, rowBytes;
    char c;
    bool admitted;
};

TEST(CaseFileMemory, TheWorstFilesTheLimitsAdmitNeedASmallMultipleOfTheirSize) {
    const WorstFile files[] = {
        // The most rows, each as short as can be: the row strings themselves
        // are the cost.
        {"100000 leere Zeilen", 0, kMaxMeasuredRows, 0, 'x', true},
        // The largest file, every text as long as allowed and tripling in UTF-8.
        {"64-KiB-Texte aus Eurozeichen", kMaxCaseTextBytes, 1000, kMaxCaseTextBytes, '\x80', true},
        // A file the size of the largest that declares 67 million empty rows.
        {"67 Millionen leere Zeilen", 0, (64u << 20) - 200, 0, 'x', false},
    };
    for (const WorstFile& f : files) {
        TempDir dir;
        const std::string path = dir.File("fall.mvk");
        size_t size = 0;
        {
            const std::string bytes = CaseBytes(f.nameBytes, f.rows, f.rowBytes, f.c);
            size = bytes.size();
            WriteBytes(path, bytes);
        }
        ASSERT_LE(size, size_t{64} << 20) << f.what;
        bool loaded = false;
        const size_t peak = PeakBytesOfLoading(path, loaded);
        EXPECT_EQ(loaded, f.admitted) << f.what;
        // The file's bytes once, its texts grown to UTF-8 (three bytes a
        // character at most) once, and a string object for each row: loading
        // holds no more than that and a little slack. A file beyond the
        // limits costs no more than its bytes.
        const size_t rows = std::min(f.rows, kMaxMeasuredRows);
        const size_t bound = 5 * size + 2 * sizeof(std::string) * rows;
        EXPECT_LE(peak, bound) << f.what << ": " << size << " bytes in the file";
        RecordProperty(f.what, std::to_string(peak));
    }
}

}  // namespace
