#pragma once
// A file written piece by piece with the guarantee of WriteFileAtomically
// (FileIO.h): the pieces go to a temporary file beside the target, which is
// flushed to disk and renamed over the target only by Commit. A writer that
// is destroyed without Commit, or whose write failed, removes the temporary
// file and leaves the earlier file as it was. For files too large to be made
// in memory first (the CSV of a million samples).

#include <string>

class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates the temporary file beside path; false with the system's message.
    bool Open(const std::string& path, std::string& error);
    // Buffers and writes; a failure is kept and reported by Commit.
    void Append(const std::string& bytes);
    // Writes what is buffered, flushes to disk and renames over the target.
    bool Commit(std::string& error);
    bool IsOpen() const { return m_Fd >= 0; }

private:
    bool Flush();
    void Discard();

    std::string m_Path;
    std::string m_TempPath;
    std::string m_Buffer;
    int m_Fd = -1;
    int m_Error = 0;
    unsigned m_Mode = 0;
};
