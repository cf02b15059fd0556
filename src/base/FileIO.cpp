#include "base/FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/AtomicFileWriter.h"

namespace {

constexpr const char* kNotRegular = "keine gewöhnliche Datei";

// As many links as the kernel follows before it gives up (ELOOP).
constexpr int kMaxLinks = 40;

std::string SystemError(int err) {
    return std::strerror(err);
}

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool AllDigits(const std::string& text, size_t from) {
    if (from >= text.size()) return false;
    for (size_t i = from; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

}  // namespace

bool IsDescriptorName(const std::string& path) {
    if (path.starts_with("/dev/fd/")) return AllDigits(path, 8);
    if (!path.starts_with("/proc/")) return false;
    const size_t fd = path.find("/fd/", 6);
    return fd != std::string::npos && path.find('/', 6) == fd && AllDigits(path, fd + 4);
}

bool ResolveLinks(const std::string& path, std::string& resolved, std::string& error) {
    resolved = path;
    for (int links = 0;; ++links) {
        if (IsDescriptorName(resolved)) return true;
        struct stat st {};
        if (::lstat(resolved.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        if (links == kMaxLinks) {
            error = SystemError(ELOOP);
            return false;
        }
        std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(resolved.c_str(), target.data(), target.size());
        if (n < 0) {
            error = SystemError(errno);
            return false;
        }
        target.resize(static_cast<size_t>(n));
        resolved = target.starts_with('/') ? target : DirectoryOf(resolved) + "/" + target;
    }
}

std::string FileNameOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error,
                   size_t maxBytes) {
    // Without O_NONBLOCK opening a FIFO waits for a writer; what is not a
    // regular file is refused before anything is read from it.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        error = SystemError(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const bool directory = S_ISDIR(st.st_mode);
        ::close(fd);
        error = directory ? SystemError(EISDIR) : kNotRegular;
        return false;
    }
    std::string out;
    // The size the file has now; a file that grows while it is read still
    // ends at maxBytes.
    if (st.st_size > 0) out.reserve(std::min(static_cast<size_t>(st.st_size), maxBytes + 1));
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = SystemError(errno);
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        if (out.size() + static_cast<size_t>(n) > maxBytes) {
            error = "Datei zu groß";
            ::close(fd);
            return false;
        }
        out.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    bytes.swap(out);
    return true;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes,
                         std::string& error) {
    AtomicFileWriter writer;
    if (!writer.Open(path, error)) return false;
    writer.Append(bytes);
    return writer.Commit(error);
}
