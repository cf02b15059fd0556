#include "TestSupport.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

TempDir::TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "morvek-test-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    m_Path = tmpl;
}

TempDir::~TempDir() {
    std::error_code ec;
    // A test may have made a subfolder read-only; give the owner back access.
    for (auto& e : std::filesystem::recursive_directory_iterator(m_Path, ec))
        if (e.is_directory(ec))
            std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_Path, ec);
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

std::string SourcePath(const std::string& relative) {
    return std::string(MORVEK_SOURCE_DIR) + "/" + relative;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string current;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) lines.push_back(current);
    return lines;
}

ProcessResult RunMorvek(const std::vector<std::string>& args, const std::string& workDir) {
    TempDir scratch;
    const std::string outPath = scratch.File("stdout"), errPath = scratch.File("stderr");
    pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int in = ::open("/dev/null", O_RDONLY);
        ::dup2(out, 1);
        ::dup2(err, 2);
        ::dup2(in, 0);
        if (!workDir.empty() && ::chdir(workDir.c_str()) != 0) ::_exit(126);
        std::vector<char*> argv;
        std::string exe = MORVEK_EXE;
        argv.push_back(exe.data());
        std::vector<std::string> copy = args;
        for (std::string& a : copy) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(exe.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ProcessResult r;
    r.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.out = ReadBytes(outPath);
    r.err = ReadBytes(errPath);
    return r;
}

ProcessResult RunShell(const std::string& command) {
    ProcessResult r;
    std::FILE* p = ::popen(command.c_str(), "r");
    if (p == nullptr) return r;
    char buffer[4096];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) r.out.append(buffer, n);
    const int status = ::pclose(p);
    r.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return r;
}

std::string Quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string MorvekCommand(const std::vector<std::string>& args) {
    std::string command = Quoted(MORVEK_EXE);
    for (const std::string& a : args) command += " " + Quoted(a);
    return command;
}

ReadOnlyFolder::ReadOnlyFolder(const std::string& path) : m_Path(path) {
    if (::geteuid() == 0) {
        m_bImmutable = std::system(("chattr +i '" + path + "' 2>/dev/null").c_str()) == 0;
    } else {
        ::chmod(path.c_str(), 0555);
    }
    const std::string probe = path + "/.probe";
    int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd >= 0) {
        ::close(fd);
        ::unlink(probe.c_str());
    }
    m_bEffective = fd < 0;
}

ReadOnlyFolder::~ReadOnlyFolder() {
    if (m_bImmutable) {
        [[maybe_unused]] int rc = std::system(("chattr -i '" + m_Path + "' 2>/dev/null").c_str());
    } else {
        ::chmod(m_Path.c_str(), 0755);
    }
}

FullFolder::FullFolder() {
    if (::geteuid() != 0) return;
    const std::string cmd = "mount -t tmpfs -o size=64k tmpfs '" + m_Dir.Path() + "' 2>/dev/null";
    m_bMounted = std::system(cmd.c_str()) == 0;
    if (m_bMounted) FillUp();
}

FullFolder::~FullFolder() {
    if (m_bMounted) {
        [[maybe_unused]] int rc = std::system(("umount '" + m_Dir.Path() + "' 2>/dev/null").c_str());
    }
}

void FullFolder::FillUp() {
    const std::string filler = m_Dir.File(".filler");
    int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) return;
    char block[4096] = {};
    while (::write(fd, block, sizeof block) > 0) {
    }
    ::close(fd);
}

void FullFolder::Keep(const std::string& name, const std::string& bytes) {
    ::unlink(m_Dir.File(".filler").c_str());
    WriteBytes(m_Dir.File(name), bytes);
    FillUp();
}

bool ShowsNanOrInf(const std::string& text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char* word : {"nan", "inf"}) {
        for (size_t at = lower.find(word); at != std::string::npos; at = lower.find(word, at + 1)) {
            if (at == 0 || !std::isalpha(static_cast<unsigned char>(lower[at - 1]))) return true;
        }
    }
    return false;
}
