#include <iostream>

#include "batch/Batch.h"

int main(int argc, char** argv) {
    if (IsBatchCommandLine(argc, argv)) return RunBatch(argc, argv);
    std::cerr << "morvek: the window is not built yet; use --batch CASE.mvk (see --help).\n";
    return 2;
}
