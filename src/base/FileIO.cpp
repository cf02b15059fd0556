#include "base/FileIO.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/Format.h"

namespace {

constexpr const char* kNotRegular = "keine gewöhnliche Datei";
constexpr const char* kReadOnly = "Die Datei ist schreibgeschützt.";
constexpr const char* kHardLinked =
    "Die Datei hat weitere Namen (harte Links); sie wird nicht ersetzt, damit alle Namen "
    "dieselbe Fassung zeigen.";
// The random part mkstemp puts into a temporary name.
constexpr size_t kRandomChars = 6;
// As many links as the kernel follows before it gives up (ELOOP).
constexpr int kMaxLinks = 40;
// Temporaries made anew when cleaners of concurrent saves keep removing them.
constexpr int kMaxTemporaryAttempts = 40;

std::string SystemError(int err) {
    return std::strerror(err);
}

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

// The file a save of path writes: path itself, or the file its chain of
// symbolic links ends at (which need not exist yet). A relative link is
// resolved against the folder of the link.
bool ResolveLinks(const std::string& path, std::string& resolved, std::string& error) {
    resolved = path;
    for (int links = 0;; ++links) {
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

// The temporary files a save of the file name leaves: "." name "." and the
// six characters mkstemp chose.
bool IsTemporaryOf(const std::string& entry, const std::string& name) {
    const std::string prefix = "." + name + ".";
    if (entry.size() != prefix.size() + kRandomChars || !entry.starts_with(prefix)) return false;
    for (size_t i = prefix.size(); i < entry.size(); ++i) {
        const char c = entry[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

// A save holds a lock on its temporary file until the file is renamed over
// its target, so that a temporary nobody holds was left by a save that was
// killed. Such files of the same target are removed; everything else stays.
void RemoveStaleTemporaries(const std::string& dir, const std::string& name) {
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) return;
    DIR* listing = ::fdopendir(dirFd);
    if (listing == nullptr) {
        ::close(dirFd);
        return;
    }
    while (const dirent* e = ::readdir(listing)) {
        if (!IsTemporaryOf(e->d_name, name)) continue;
        const int fd =
            ::openat(dirFd, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0) continue;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(dirFd, e->d_name, 0);
        ::close(fd);
    }
    ::closedir(listing);
}

// Creates the temporary file beside the target and locks it. A cleaner of
// another save may have taken it for stale between its creation and the
// lock; it then has no name any more, and another one is made. On a file
// system without locks no cleaner can lock it either, and the file is used
// unlocked.
int CreateLockedTemporary(std::string& tmpl, const std::string& base) {
    for (int attempt = 0;; ++attempt) {
        tmpl = base;
        const int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
        if (fd < 0) return -1;
        while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
        struct stat st {};
        if (::fstat(fd, &st) != 0 || st.st_nlink > 0 || attempt == kMaxTemporaryAttempts) return fd;
        ::close(fd);
    }
}

}  // namespace

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

bool WriteFileAtomically(const std::string& requested, const std::string& bytes,
                         std::string& error) {
    // Through a symbolic link the file it names is replaced, in its own
    // folder, and the link stays a link.
    std::string path;
    if (!ResolveLinks(requested, path, error)) return false;
    struct stat target {};
    bool exists = ::stat(path.c_str(), &target) == 0;
    if (exists && S_ISDIR(target.st_mode)) {
        error = SystemError(EISDIR);
        return false;
    }
    if (exists && !S_ISREG(target.st_mode)) {
        error = kNotRegular;
        return false;
    }
    // A file its owner made read-only is refused, as an editor refuses it,
    // also for root, who could replace it.
    if (exists && (::access(path.c_str(), W_OK) != 0 ||
                   (target.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)) {
        error = kReadOnly;
        return false;
    }
    // Replacing a file with further hard links would leave the other names on
    // the old contents, and writing it in place could tear it.
    if (exists && target.st_nlink > 1) {
        error = kHardLinked;
        return false;
    }
    const std::string dir = DirectoryOf(path);
    const std::string name = FileNameOf(path);
    RemoveStaleTemporaries(dir, name);
    std::string tmpl;
    int fd = CreateLockedTemporary(tmpl, dir + "/." + name + ".XXXXXX");
    if (fd < 0) {
        error = SystemError(errno);
        return false;
    }
    bool ok = WriteAll(fd, bytes);
    int err = ok ? 0 : errno;
    if (ok && exists) {
        // Owner and group of the file it replaces where the process may set
        // them (root both, an owner a group it belongs to); not fatal.
        if (::fchown(fd, target.st_uid, target.st_gid) != 0) {
            if (::fchown(fd, static_cast<uid_t>(-1), target.st_gid) != 0) {
            }
        }
    }
    // mkstemp creates the file for its owner only; a saved file gets the mode
    // of the file it replaces, or the usual mode of a new file. Set after the
    // owner, whose change clears the set-id bits.
    mode_t mode = exists ? (target.st_mode & 07777) : (0666 & ~CurrentUmask());
    if (ok && ::fchmod(fd, mode) != 0) {
        // Not fatal: the file is then readable by its owner only.
    }
    if (ok && ::fsync(fd) != 0) ok = false, err = errno;
    if (ok && ::rename(tmpl.c_str(), path.c_str()) != 0) ok = false, err = errno;
    if (!ok) ::unlink(tmpl.c_str());
    // Closing releases the lock, after the rename or the removal: until then
    // a cleaner sees the temporary as in use. The bytes are on disk already.
    ::close(fd);
    if (!ok) {
        error = SystemError(err);
        return false;
    }
    return true;
}
