// Reading aus.txt back into the report. Invariants: at most 1000 entries, none
// longer than 99 characters or holding a line end, none of exactly one
// character other than the blank; reading the same file twice gives the same
// report. aus.txt lives in the working directory: each input is read in a
// folder of its own, entered only for the reading, so that the fuzzer's
// corpus and artifact paths keep meaning the folder it was started in; the
// folder is removed when the fuzzer ends.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/Cp1252.h"
#include "base/MessageSink.h"
#include "results/ResultsFile.h"

namespace {

std::filesystem::path g_Dir;
int g_Start = -1;
int g_Work = -1;

void RemoveFolder() {
    std::error_code ec;
    std::filesystem::remove_all(g_Dir, ec);
}

// Reads aus.txt in the fuzzer's own folder and comes back.
void LoadInWorkFolder(std::vector<std::string>& lines) {
    if (::fchdir(g_Work) != 0) std::abort();
    SilentMessageSink quiet;
    LoadResultsFile(lines, quiet);
    if (::fchdir(g_Start) != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    g_Dir =
        std::filesystem::temp_directory_path() / ("morvek-fuzz-aus-" + std::to_string(::getpid()));
    std::filesystem::create_directories(g_Dir);
    std::atexit(RemoveFolder);
    g_Start = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    g_Work = ::open(g_Dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (g_Start < 0 || g_Work < 0) std::abort();
    // A crash inside the reading happens in the work folder: its artifact
    // still belongs where the fuzzer was started.
    bool prefixed = false;
    for (int i = 1; i < *argc; ++i)
        prefixed = prefixed || std::strncmp((*argv)[i], "-artifact_prefix=", 17) == 0 ||
                   std::strncmp((*argv)[i], "-exact_artifact_path=", 21) == 0;
    if (!prefixed) {
        static std::string prefix =
            "-artifact_prefix=" + std::filesystem::current_path().string() + "/";
        static std::vector<char*> args(*argv, *argv + *argc);
        args.insert(args.begin() + 1, prefix.data());
        args.push_back(nullptr);
        *argv = args.data();
        *argc += 1;
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        std::ofstream out(g_Dir / "aus.txt", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    std::vector<std::string> text;
    LoadInWorkFolder(text);
    if (text.size() > 1000) std::abort();
    for (const std::string& line : text) {
        std::string bytes;
        if (!Utf8ToCp1252(line, bytes)) std::abort();
        if (bytes.size() > 99 || bytes.find('\n') != std::string::npos) std::abort();
        if (bytes.size() == 1 && bytes != " ") std::abort();
    }
    std::vector<std::string> again;
    LoadInWorkFolder(again);
    if (again != text) std::abort();
    return 0;
}
