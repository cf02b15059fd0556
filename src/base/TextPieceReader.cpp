#include "base/TextPieceReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

TextPieceReader::~TextPieceReader() {
    if (m_File != nullptr) std::fclose(m_File);
}

bool TextPieceReader::Open(const std::string& path) {
    // Opened without waiting for a writer of a FIFO; only a regular file is
    // read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        m_Error = std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        m_Error = S_ISDIR(st.st_mode) ? std::strerror(EISDIR) : "keine gewöhnliche Datei";
        ::close(fd);
        return false;
    }
    std::FILE* f = ::fdopen(fd, "rb");
    if (f == nullptr) {
        m_Error = std::strerror(errno);
        ::close(fd);
        return false;
    }
    if (m_File != nullptr) std::fclose(m_File);
    m_File = f;
    m_Error.clear();
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
            } else {
                if (next != EOF) std::ungetc(next, m_File);
                if (m_LoneCr == LoneCr::EndsLine) c = '\n';
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
