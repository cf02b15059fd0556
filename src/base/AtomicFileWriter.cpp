#include "base/AtomicFileWriter.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/FileIO.h"
#include "base/TemporaryFiles.h"

namespace {

// Pieces are collected up to this size before they are written.
constexpr size_t kBufferBytes = 1 << 20;

constexpr const char* kNotRegular = "keine gewöhnliche Datei";
constexpr const char* kReadOnly = "Die Datei ist schreibgeschützt.";
constexpr const char* kHardLinked =
    "Die Datei hat weitere Namen (harte Links); sie wird nicht ersetzt, damit alle Namen "
    "dieselbe Fassung zeigen.";
// Marks the program's temporary files; no file of a user is named so.
constexpr const char* kTemporaryMarker = ".morvek-tmp.";
// The random part mkstemp puts into a temporary name.
constexpr size_t kRandomChars = 6;
// The longest file name the file systems take.
constexpr size_t kMaxNameBytes = 255;
// Temporaries made anew when cleaners of concurrent saves keep removing them.
constexpr int kMaxTemporaryAttempts = 40;

std::string SystemError(int err) {
    return std::strerror(err);
}

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

mode_t CurrentUmask() {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

bool IsRandomChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// A temporary file a save of the file name leaves: exactly the prefix and
// the six characters mkstemp chose.
bool IsTemporaryOf(const std::string& entry, const std::string& prefix) {
    if (entry.size() != prefix.size() + kRandomChars || !entry.starts_with(prefix)) return false;
    for (size_t i = prefix.size(); i < entry.size(); ++i)
        if (!IsRandomChar(entry[i])) return false;
    return true;
}

// A save holds a lock on its temporary file until the file is renamed over
// its target, so that a temporary nobody holds was left by a save that was
// killed. Such files of the same target are removed; everything else stays.
void RemoveStaleTemporaries(const std::string& dir, const std::string& prefix) {
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) return;
    DIR* listing = ::fdopendir(dirFd);
    if (listing == nullptr) {
        ::close(dirFd);
        return;
    }
    while (const dirent* e = ::readdir(listing)) {
        if (!IsTemporaryOf(e->d_name, prefix)) continue;
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

std::string TemporaryPrefixOf(const std::string& name) {
    const size_t room = kMaxNameBytes - 1 - std::strlen(kTemporaryMarker) - kRandomChars;
    return "." + name.substr(0, room) + kTemporaryMarker;
}

AtomicFileWriter::~AtomicFileWriter() {
    Discard();
}

bool AtomicFileWriter::Open(const std::string& requested, std::string& error) {
    Discard();
    m_Error = 0;
    m_Buffer.clear();
    std::string path;
    if (!ResolveLinks(requested, path, error)) return false;
    const bool descriptor = IsDescriptorName(path);
    struct stat target {};
    m_bExists = ::stat(path.c_str(), &target) == 0;
    if (m_bExists && S_ISDIR(target.st_mode)) {
        error = SystemError(EISDIR);
        return false;
    }
    // A device, a pipe or an open descriptor is written as it is; appended
    // to, so that a report sent to /dev/stdout of a shell's ">>" adds to the
    // file instead of overwriting its beginning.
    if (descriptor || (m_bExists && (S_ISCHR(target.st_mode) || S_ISFIFO(target.st_mode)))) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOCTTY);
        if (fd < 0) {
            error = SystemError(errno);
            return false;
        }
        m_Path = path;
        m_Fd = fd;
        m_bDirect = true;
        return true;
    }
    if (m_bExists && !S_ISREG(target.st_mode)) {
        error = kNotRegular;
        return false;
    }
    // A file its owner made read-only is refused, as an editor refuses it,
    // also for root, who could replace it.
    if (m_bExists && (::access(path.c_str(), W_OK) != 0 ||
                      (target.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)) {
        error = kReadOnly;
        return false;
    }
    // Replacing a file with further hard links would leave the other names on
    // the old contents, and writing it in place could tear it.
    if (m_bExists && target.st_nlink > 1) {
        error = kHardLinked;
        return false;
    }
    const std::string dir = DirectoryOf(path);
    const std::string prefix = TemporaryPrefixOf(FileNameOf(path));
    RemoveStaleTemporaries(dir, prefix);
    std::string temp;
    const int fd = CreateLockedTemporary(temp, dir + "/" + prefix + "XXXXXX");
    if (fd < 0) {
        error = SystemError(errno);
        return false;
    }
    // mkstemp creates the file for its owner only; a saved file gets the mode
    // of the file it replaces, or the usual mode of a new file.
    m_Mode = m_bExists ? (target.st_mode & 07777) : (0666 & ~CurrentUmask());
    m_Owner = target.st_uid;
    m_Group = target.st_gid;
    m_Path = path;
    m_TempPath = temp;
    m_TempSlot = RememberTemporary(temp);
    m_Fd = fd;
    m_bDirect = false;
    return true;
}

void AtomicFileWriter::Write(const char* data, size_t size) {
    size_t done = 0;
    while (done < size && m_Error == 0) {
        const ssize_t n = ::write(m_Fd, data + done, size - done);
        if (n < 0) {
            if (errno != EINTR) m_Error = errno;
            continue;
        }
        done += static_cast<size_t>(n);
    }
}

void AtomicFileWriter::Append(const std::string& bytes) {
    if (m_Fd < 0 || m_Error != 0) return;
    // A whole file handed over at once is written as it is, not copied.
    if (m_Buffer.empty() && bytes.size() >= kBufferBytes) {
        Write(bytes.data(), bytes.size());
        return;
    }
    m_Buffer += bytes;
    if (m_Buffer.size() >= kBufferBytes) Flush();
}

bool AtomicFileWriter::Flush() {
    Write(m_Buffer.data(), m_Buffer.size());
    m_Buffer.clear();
    return m_Error == 0;
}

bool AtomicFileWriter::Commit(std::string& error) {
    if (m_Fd < 0) {
        error = SystemError(EBADF);
        return false;
    }
    bool ok = Flush();
    if (m_bDirect) {
        if (::close(m_Fd) != 0 && ok && errno != EINTR) ok = false, m_Error = errno;
        m_Fd = -1;
        if (!ok) error = SystemError(m_Error);
        return ok;
    }
    if (ok && m_bExists) {
        // Owner and group of the file it replaces where the process may set
        // them (root both, an owner a group it belongs to); not fatal.
        if (::fchown(m_Fd, m_Owner, m_Group) != 0) {
            if (::fchown(m_Fd, static_cast<uid_t>(-1), m_Group) != 0) {
            }
        }
    }
    // Set after the owner, whose change clears the set-id bits. Not fatal:
    // the file is then readable by its owner only.
    if (ok && ::fchmod(m_Fd, m_Mode) != 0) {
    }
    if (ok && ::fsync(m_Fd) != 0) ok = false, m_Error = errno;
    if (ok && ::rename(m_TempPath.c_str(), m_Path.c_str()) != 0) ok = false, m_Error = errno;
    if (!ok) ::unlink(m_TempPath.c_str());
    ForgetTemporary(m_TempSlot);
    m_TempSlot = -1;
    // Closing releases the lock, after the rename or the removal: until then
    // a cleaner sees the temporary as in use. The bytes are on disk already.
    ::close(m_Fd);
    m_Fd = -1;
    m_TempPath.clear();
    if (!ok) error = SystemError(m_Error);
    return ok;
}

void AtomicFileWriter::Discard() {
    if (!m_TempPath.empty()) ::unlink(m_TempPath.c_str());
    ForgetTemporary(m_TempSlot);
    m_TempSlot = -1;
    if (m_Fd >= 0) ::close(m_Fd);
    m_Fd = -1;
    m_TempPath.clear();
    m_Buffer.clear();
}
