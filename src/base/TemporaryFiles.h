#pragma once
// The temporary files that saves are writing at this moment, so that a
// program stopped by a signal (Ctrl-C, kill) can remove them before it exits
// instead of leaving them beside their targets until a later save of the
// same file cleans up.
//
// Registering copies the name into a fixed slot; RemoveTemporariesNow reads
// the slots without locks or allocation and may be called from a signal
// handler. A name that finds no free slot is not registered (the next save of
// its target removes it, as it removes the leftovers of a killed save).

#include <string>

// Keeps the name until ForgetTemporary; returns the slot, or -1 when none is
// free or the name is too long to be kept.
int RememberTemporary(const std::string& path);
// Releases the slot that RememberTemporary gave (-1: nothing).
void ForgetTemporary(int slot);
// Removes every remembered temporary file. Async-signal-safe.
void RemoveTemporariesNow();

