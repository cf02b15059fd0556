// The one program: batch mode runs in this executable, which links Qt's core,
// its painting and SVG only (for the pictures and PDF files it draws); the
// window lives in a module that is loaded only when the window is shown, so
// that a batch run never loads Qt's widgets.

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "batch/Batch.h"

namespace {

// The folder of this executable.
std::string ProgramFolder() {
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return ".";
    std::string exe(path, static_cast<size_t>(n));
    return exe.substr(0, exe.rfind('/'));
}

// The window module beside the executable (the build tree) or where the
// installation puts it.
int RunWindowModule(int argc, char** argv) {
    const std::string folder = ProgramFolder();
    std::string error;
    for (const std::string& candidate :
         {folder + "/" MORVEK_WINDOW_MODULE, folder + "/" MORVEK_WINDOW_MODULE_INSTALLED}) {
        void* module = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) {
            error = ::dlerror();
            continue;
        }
        using Entry = int (*)(int, char**);
        auto entry = reinterpret_cast<Entry>(::dlsym(module, "MorvekWindowMain"));
        if (entry != nullptr) return entry(argc, argv);
        error = ::dlerror();
    }
    std::fprintf(stderr, "Das Fenster von Morvek kann nicht geöffnet werden.\n%s\n", error.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (IsBatchCommandLine(argc, argv)) return RunBatch(argc, argv);
    return RunWindowModule(argc, argv);
}
