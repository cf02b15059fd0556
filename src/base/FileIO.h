#pragma once
// Whole-file reading and the atomic write that every save of the program uses:
// the bytes go to a temporary file beside the target, are flushed to disk and
// then renamed over the target, so that a failed write (full disk, no
// permission, a directory in the way) leaves the earlier file as it was.

#include <cstddef>
#include <string>

// Reads at most maxBytes; a larger file is refused with a message.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error,
                   size_t maxBytes = 64u << 20);

bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string& error);

// The last path component ("nordfeld.mvk" of "/data/nordfeld.mvk").
std::string FileNameOf(const std::string& path);
