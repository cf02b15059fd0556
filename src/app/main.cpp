#include "app/MorvekApp.h"
#include "batch/Batch.h"

int main(int argc, char** argv) {
    if (IsBatchCommandLine(argc, argv)) return RunBatch(argc, argv);
    return RunWindowProgram(argc, argv);
}
