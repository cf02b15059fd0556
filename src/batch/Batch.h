#pragma once
// Batch mode: one case, one calculation run, the report on stdout, without a
// window. Exit status (ExitStatus.h) 0 on success, 1 when a file cannot be
// read or written, 2 when the case fails the checks of the data-entry dialog
// or the command line is wrong (an output naming an input or another output
// included), 3 when the run has no result, 4 when a match does not converge;
// 130, 143 or 129 when SIGINT, SIGTERM or SIGHUP ended it (the temporary file
// being written is removed).

int RunBatch(int argc, char** argv);

// True when the command line asks for batch mode.
bool IsBatchCommandLine(int argc, char** argv);
