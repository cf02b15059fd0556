#include "base/AtomicFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/FileIO.h"

namespace {

// Pieces are collected up to this size before they are written.
constexpr size_t kBufferBytes = 1 << 20;

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace

AtomicFileWriter::~AtomicFileWriter() {
    Discard();
}

bool AtomicFileWriter::Open(const std::string& path, std::string& error) {
    Discard();
    struct stat target {};
    const bool exists = ::stat(path.c_str(), &target) == 0;
    if (exists && S_ISDIR(target.st_mode)) {
        error = std::strerror(EISDIR);
        return false;
    }
    if (exists && !S_ISREG(target.st_mode)) {
        error = "keine gewöhnliche Datei";
        return false;
    }
    std::string temp = DirectoryOf(path) + "/." + FileNameOf(path) + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    // As every save: the mode of the file replaced, or the usual one of a new file.
    const mode_t mask = ::umask(022);
    ::umask(mask);
    m_Mode = exists ? (target.st_mode & 07777) : (0666 & ~mask);
    m_Path = path;
    m_TempPath = temp;
    m_Fd = fd;
    m_Error = 0;
    m_Buffer.clear();
    return true;
}

void AtomicFileWriter::Append(const std::string& bytes) {
    if (m_Fd < 0 || m_Error != 0) return;
    m_Buffer += bytes;
    if (m_Buffer.size() >= kBufferBytes) Flush();
}

bool AtomicFileWriter::Flush() {
    size_t done = 0;
    while (done < m_Buffer.size() && m_Error == 0) {
        const ssize_t n = ::write(m_Fd, m_Buffer.data() + done, m_Buffer.size() - done);
        if (n < 0) {
            if (errno != EINTR) m_Error = errno;
            continue;
        }
        done += static_cast<size_t>(n);
    }
    m_Buffer.clear();
    return m_Error == 0;
}

bool AtomicFileWriter::Commit(std::string& error) {
    if (m_Fd < 0) {
        error = std::strerror(EBADF);
        return false;
    }
    bool ok = Flush();
    if (ok) ::fchmod(m_Fd, m_Mode);  // not fatal: the file is then its owner's only
    if (ok && ::fsync(m_Fd) != 0) ok = false, m_Error = errno;
    if (::close(m_Fd) != 0 && ok) ok = false, m_Error = errno;
    m_Fd = -1;
    if (ok && ::rename(m_TempPath.c_str(), m_Path.c_str()) != 0) ok = false, m_Error = errno;
    if (!ok) {
        error = std::strerror(m_Error);
        ::unlink(m_TempPath.c_str());
    }
    m_TempPath.clear();
    return ok;
}

void AtomicFileWriter::Discard() {
    if (m_Fd >= 0) ::close(m_Fd);
    m_Fd = -1;
    if (!m_TempPath.empty()) ::unlink(m_TempPath.c_str());
    m_TempPath.clear();
    m_Buffer.clear();
}
