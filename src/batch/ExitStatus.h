#pragma once
// Batch mode's exit statuses, one list for every step of a run.

inline constexpr int kExitOk = 0;
inline constexpr int kExitFile = 1;     // a file could not be read or written
inline constexpr int kExitRefused = 2;  // the command line or the input was refused
// The run has no result (its report does not end with "Morvek Berechnung
// abgeschlossen"; the report says why), or no sample of a sweep had one.
inline constexpr int kExitNoResult = 3;
// A match that did not converge (the inputs stay as they were).
inline constexpr int kExitMatchNotConverged = 4;
