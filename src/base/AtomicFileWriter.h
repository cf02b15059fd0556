#pragma once
// The one way the program writes a file (WriteFileAtomically in FileIO.h
// writes a whole text through it): the pieces go to a temporary file beside
// the target, which is flushed to disk and renamed over the target only by
// Commit. A writer that is destroyed without Commit, or whose write failed,
// removes the temporary file and leaves the earlier file as it was. Pieces
// are collected up to a megabyte before they are written, so that a file too
// large to be made in memory first (the CSV of a million samples) streams.
//
// What a save of a regular file keeps and refuses:
//  - through a symbolic link (also a chain, or one whose file does not exist
//    yet) the file the link names is replaced, in its own folder, and the
//    link stays a link;
//  - the new file takes the old one's permission bits, and its owner and
//    group where the process may set them;
//  - a folder, a read-only file and a file with further hard links are
//    refused, the file untouched.
//
// The temporary file is named "." NAME ".morvek-tmp." and six random
// characters, a marker no file of the user carries; the writer holds a lock
// on it until it is renamed. Opening a writer removes the temporaries of the
// same target that no running process holds (left by a save that was killed)
// and nothing else. While it is written its name is remembered
// (TemporaryFiles.h), so that batch mode removes it when a signal ends the
// run.
//
// What is no regular file is written directly, as any program writes it: a
// character device (/dev/null, a terminal), a pipe or FIFO, and a name that
// stands for an open file descriptor (/dev/stdout, /dev/fd/N,
// /proc/self/fd/N), which is appended to. Nothing can be kept there, so
// nothing is replaced.

#include <sys/types.h>

#include <string>

class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates the temporary file beside path (or opens what is no regular
    // file); false with the reason in German or the system's words.
    bool Open(const std::string& path, std::string& error);
    // Buffers and writes; a failure is kept and reported by Commit.
    void Append(const std::string& bytes);
    // Writes what is buffered, flushes to disk and renames over the target.
    bool Commit(std::string& error);
    bool IsOpen() const { return m_Fd >= 0; }

private:
    bool Flush();
    void Write(const char* data, size_t size);
    void Discard();

    std::string m_Path;  // the file replaced: the target with its links resolved
    std::string m_TempPath;
    std::string m_Buffer;
    int m_Fd = -1;
    int m_Error = 0;
    int m_TempSlot = -1;
    bool m_bDirect = false;  // no regular file: written in place
    bool m_bExists = false;
    mode_t m_Mode = 0;
    uid_t m_Owner = 0;
    gid_t m_Group = 0;
};

// The name of a temporary file that a save of the file NAME makes, before
// its six random characters: "." NAME ".morvek-tmp.", with NAME cut so that
// the whole name fits the file system's limit of 255 bytes.
std::string TemporaryPrefixOf(const std::string& name);
