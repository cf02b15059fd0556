#pragma once
// Batch mode: one case, one calculation run, the report on stdout, without a
// window. Exit status 0 on success, 1 when a file cannot be read or written,
// 2 when the case fails the checks of the data-entry dialog or the command
// line is wrong.

int RunBatch(int argc, char** argv);

// True when the command line asks for batch mode.
bool IsBatchCommandLine(int argc, char** argv);
