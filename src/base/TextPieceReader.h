#pragma once
// Reads a text file in pieces the way the C library's fgets does on the
// systems the program's text files come from: a CR LF pair is one line end and
// reaches the caller as '\n', a lone CR stays an ordinary character. aus.txt
// and the measured-data files are read this way, so that files written on
// either kind of system read alike. A reader of measured data also takes a
// lone CR as a line end (files of older systems), so that no row hides
// behind it.

#include <cstdio>
#include <string>

class TextPieceReader {
public:
    enum class LoneCr { Character, EndsLine };
    explicit TextPieceReader(LoneCr loneCr = LoneCr::Character) : m_LoneCr(loneCr) {}
    ~TextPieceReader();
    TextPieceReader(const TextPieceReader&) = delete;
    TextPieceReader& operator=(const TextPieceReader&) = delete;

    // False when the file is missing, unreadable or not a regular file (a
    // folder, a FIFO, a device); it never waits for a writer.
    bool Open(const std::string& path);
    bool IsOpen() const { return m_File != nullptr; }
    // Why the last Open failed.
    const std::string& Error() const { return m_Error; }

    // fgets with a buffer of maxChars + 1 characters: the piece holds at most
    // maxChars characters and ends after the first line end. False at the end
    // of the file (or on a read error) when nothing was read.
    bool ReadPiece(size_t maxChars, std::string& piece);

private:
    LoneCr m_LoneCr;
    std::FILE* m_File = nullptr;
    std::string m_Error;
};

// Removes one line end ('\n') from the end of a piece; true when there was one.
bool StripLineEnd(std::string& piece);
