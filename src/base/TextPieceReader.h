#pragma once
// Reads a text file in pieces the way the C library's fgets does on the
// systems the program's text files come from: a CR LF pair is one line end and
// reaches the caller as '\n', a lone CR stays an ordinary character. aus.txt
// and the measured-data files are read this way, so that files written on
// either kind of system read alike.

#include <cstdio>
#include <string>

class TextPieceReader {
public:
    TextPieceReader() = default;
    ~TextPieceReader();
    TextPieceReader(const TextPieceReader&) = delete;
    TextPieceReader& operator=(const TextPieceReader&) = delete;

    // False when the file is missing, unreadable or a folder.
    bool Open(const std::string& path);
    bool IsOpen() const { return m_File != nullptr; }

    // fgets with a buffer of maxChars + 1 characters: the piece holds at most
    // maxChars characters and ends after the first line end. False at the end
    // of the file (or on a read error) when nothing was read.
    bool ReadPiece(size_t maxChars, std::string& piece);

private:
    std::FILE* m_File = nullptr;
};

// Removes one line end ('\n') from the end of a piece; true when there was one.
bool StripLineEnd(std::string& piece);
