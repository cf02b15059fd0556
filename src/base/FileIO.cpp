#include "base/FileIO.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/Format.h"

namespace {

std::string SystemError(int err) { return std::strerror(err); }

std::string DirectoryOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

mode_t CurrentUmask() {
    mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

}  // namespace

std::string FileNameOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error,
                   size_t maxBytes) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = SystemError(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        error = SystemError(EISDIR);
        return false;
    }
    std::string out;
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

bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string& error) {
    struct stat target {};
    bool exists = ::stat(path.c_str(), &target) == 0;
    if (exists && S_ISDIR(target.st_mode)) {
        error = SystemError(EISDIR);
        return false;
    }
    if (exists && !S_ISREG(target.st_mode)) {
        error = "keine gewöhnliche Datei";
        return false;
    }
    std::string dir = DirectoryOf(path);
    std::string tmpl = dir + "/." + FileNameOf(path) + ".XXXXXX";
    int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
    if (fd < 0) {
        error = SystemError(errno);
        return false;
    }
    // mkstemp creates the file for its owner only; a saved file gets the mode
    // of the file it replaces, or the usual mode of a new file.
    mode_t mode = exists ? (target.st_mode & 07777) : (0666 & ~CurrentUmask());
    bool ok = WriteAll(fd, bytes);
    int err = ok ? 0 : errno;
    if (ok && ::fchmod(fd, mode) != 0) {
        // Not fatal: the file is then readable by its owner only.
    }
    if (ok && ::fsync(fd) != 0) ok = false, err = errno;
    if (::close(fd) != 0 && ok) ok = false, err = errno;
    if (ok && ::rename(tmpl.c_str(), path.c_str()) != 0) ok = false, err = errno;
    if (!ok) {
        ::unlink(tmpl.c_str());
        error = SystemError(err);
        return false;
    }
    return true;
}
