// Reading aus.txt back into the report. Invariants: at most 1000 entries, none
// longer than 99 characters or holding a line end, none of exactly one
// character other than the blank; reading the same file twice gives the same
// report.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/Cp1252.h"
#include "case/MorvekDoc.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("morvek-fuzz-aus-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        std::ofstream out("aus.txt", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    CMorvekDoc doc;
    doc.LoadResults();
    if (doc.m_Text.size() > 1000) std::abort();
    for (const std::string& line : doc.m_Text) {
        std::string bytes;
        if (!Utf8ToCp1252(line, bytes)) std::abort();
        if (bytes.size() > 99 || bytes.find('\n') != std::string::npos) std::abort();
        if (bytes.size() == 1 && bytes != " ") std::abort();
    }
    CMorvekDoc again;
    again.LoadResults();
    if (again.m_Text != doc.m_Text) std::abort();
    return 0;
}
