// The entry of the window module that the executable loads to show the window.

#include "app/MorvekApp.h"

extern "C" __attribute__((visibility("default"))) int MorvekWindowMain(int argc, char** argv) {
    return RunWindowProgram(argc, argv);
}
