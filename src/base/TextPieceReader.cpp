#include "base/TextPieceReader.h"

#include <sys/stat.h>

TextPieceReader::~TextPieceReader() {
    if (m_File != nullptr) std::fclose(m_File);
}

bool TextPieceReader::Open(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rbe");
    if (f == nullptr) return false;
    struct stat st {};
    if (::fstat(fileno(f), &st) != 0 || S_ISDIR(st.st_mode)) {
        std::fclose(f);
        return false;
    }
    if (m_File != nullptr) std::fclose(m_File);
    m_File = f;
    return true;
}

bool TextPieceReader::ReadPiece(size_t maxChars, std::string& piece) {
    piece.clear();
    if (m_File == nullptr) return false;
    while (piece.size() < maxChars) {
        int c = std::getc(m_File);
        if (c == EOF) break;
        if (c == '\r') {
            int next = std::getc(m_File);
            if (next == '\n') {
                c = '\n';
            } else if (next != EOF) {
                std::ungetc(next, m_File);
            }
        }
        piece += static_cast<char>(c);
        if (c == '\n') break;
    }
    return !piece.empty();
}

bool StripLineEnd(std::string& piece) {
    if (piece.empty() || piece.back() != '\n') return false;
    piece.pop_back();
    return true;
}
