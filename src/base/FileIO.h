#pragma once
// Whole-file reading and the atomic write that every save of the program uses:
// the bytes go to a temporary file beside the target, are flushed to disk and
// then renamed over the target, so that a failed write (full disk, no
// permission, a directory in the way) leaves the earlier file as it was.
// AtomicFileWriter.h tells what a save keeps and refuses.

#include <cstddef>
#include <string>

// Reads at most maxBytes; a larger file is refused with a message.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error,
                   size_t maxBytes = 64u << 20);

bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string& error);

// The last path component ("nordfeld.mvk" of "/data/nordfeld.mvk").
std::string FileNameOf(const std::string& path);

// The file a save of path writes: path itself, or the file its chain of
// symbolic links ends at (which need not exist yet); a relative link is
// resolved against the folder of the link. The chain ends early at a name of
// an open file descriptor (/dev/stdout is a link to /proc/self/fd/1), whose
// link names no file that could be replaced. False with the reason for a
// loop of links.
bool ResolveLinks(const std::string& path, std::string& resolved, std::string& error);

// "/dev/fd/1", "/proc/self/fd/1", "/proc/4711/fd/1": a name of an open file
// descriptor, which the kernel resolves by itself.
bool IsDescriptorName(const std::string& path);
