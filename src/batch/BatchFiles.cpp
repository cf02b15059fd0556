#include "batch/BatchFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>

#include "base/FileIO.h"
#include "base/PrintableText.h"

namespace {

// Which file a name means, as far as it can be told before anything is
// written.
struct Identity {
    enum class Kind { Regular, Special, Missing } kind = Kind::Missing;
    dev_t device = 0;
    ino_t inode = 0;
    std::string place;  // where a missing file would be created
};

std::string Absolute(const std::string& path) {
    if (path.starts_with('/')) return path;
    std::string cwd(PATH_MAX, '\0');
    if (::getcwd(cwd.data(), cwd.size()) == nullptr) return path;
    cwd.resize(cwd.find('\0'));
    return cwd + "/" + path;
}

Identity IdentityOf(const std::string& path) {
    Identity id;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        id.kind = S_ISREG(st.st_mode) ? Identity::Kind::Regular : Identity::Kind::Special;
        id.device = st.st_dev;
        id.inode = st.st_ino;
        return id;
    }
    // A save creates the file a dangling link names, in that link's folder.
    std::string resolved, error;
    if (!ResolveLinks(path, resolved, error)) resolved = path;
    const std::filesystem::path full(Absolute(resolved));
    const std::filesystem::path folder = full.parent_path();
    if (char* real = ::realpath(folder.c_str(), nullptr)) {
        id.place = std::string(real) + "/" + full.filename().string();
        std::free(real);
    } else {
        id.place = full.lexically_normal().string();
    }
    return id;
}

bool Same(const Identity& a, const Identity& b) {
    if (a.kind != b.kind) return false;
    switch (a.kind) {
        case Identity::Kind::Regular:
            return a.device == b.device && a.inode == b.inode;
        case Identity::Kind::Missing:
            return a.place == b.place;
        case Identity::Kind::Special:
            break;
    }
    return false;
}

}  // namespace

void BatchFiles::Add(const std::string& option, const std::string& path, Role role) {
    if (!path.empty()) m_Uses.push_back({option, path, role});
}

void BatchFiles::Case(const std::string& path) {
    Add("", path, Role::Case);
}

void BatchFiles::Input(const std::string& option, const std::string& path) {
    Add(option, path, Role::Input);
}

void BatchFiles::Output(const std::string& option, const std::string& path) {
    Add(option, path, Role::Output);
}

void BatchFiles::Save(const std::string& option, const std::string& path) {
    Add(option, path, Role::Save);
}

std::string BatchFiles::Clash() const {
    std::vector<Identity> ids;
    ids.reserve(m_Uses.size());
    for (const Use& u : m_Uses) ids.push_back(IdentityOf(u.path));
    for (size_t i = 0; i < m_Uses.size(); ++i) {
        const Use& a = m_Uses[i];
        const bool aWrites = a.role == Role::Output || a.role == Role::Save;
        for (size_t k = i + 1; k < m_Uses.size(); ++k) {
            const Use& b = m_Uses[k];
            const bool bWrites = b.role == Role::Output || b.role == Role::Save;
            if (!aWrites && !bWrites) continue;  // reading a file twice harms nothing
            if ((a.role == Role::Case && b.role == Role::Save) ||
                (a.role == Role::Save && b.role == Role::Case))
                continue;
            if (!Same(ids[i], ids[k])) continue;
            const std::string file = DisplayPath(b.path);
            if (aWrites && bWrites)
                return a.option + " und " + b.option + " nennen dieselbe Datei (" + file +
                       "): jede Ausgabe braucht eine eigene Datei, sonst ersetzt die eine die "
                       "andere.";
            const Use& reads = aWrites ? b : a;
            const Use& writes = aWrites ? a : b;
            const std::string what = reads.role == Role::Case
                                         ? " nennt die Falldatei ("
                                         : " nennt dieselbe Datei wie " + reads.option + " (";
            return writes.option + what + file +
                   "): eine Ausgabe darf keine Eingabe ersetzen. Bitte einen anderen "
                   "Dateinamen angeben.";
        }
    }
    return {};
}
