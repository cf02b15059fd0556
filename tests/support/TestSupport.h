#pragma once
// Helpers shared by the tests: a private temporary folder per test, whole-file
// reading and writing, and running the morvek program as a script would.

#include <string>
#include <vector>

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes out of scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return m_Path; }
    std::string File(const std::string& name) const { return m_Path + "/" + name; }

private:
    std::string m_Path;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

struct ProcessResult {
    int exitStatus = -1;
    std::string out;
    std::string err;
};

// Runs the morvek program with the arguments, in the working directory given
// (the current one when empty), and collects stdout and stderr.
ProcessResult RunMorvek(const std::vector<std::string>& args, const std::string& workDir = "");

// Runs a shell command line (for redirections such as 2>/dev/full) and
// returns its exit status and stdout (a pipe).
ProcessResult RunShell(const std::string& command);

// A word quoted for the shell, and the morvek program's command line of the
// arguments, each quoted.
std::string Quoted(const std::string& text);
std::string MorvekCommand(const std::vector<std::string>& args);

// Path of a file in the source tree ("examples/nordfeld.mvk").
std::string SourcePath(const std::string& relative);

// The lines of a text, split at '\n' (a final line end gives no empty line).
std::vector<std::string> SplitLines(const std::string& text);

// True when the text shows a number that is not one: "nan", "inf", "-nan",
// "infinity" in any case, but not inside a word ("NONAN", the nonane line of
// the report head, "Einfluss").
bool ShowsNanOrInf(const std::string& text);

// Makes a folder read-only for the life of the object, also for root (which
// ignores permission bits: the folder is then made immutable). Effective()
// tells whether creating a file in it now really fails.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const std::string& path);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;
    bool Effective() const { return m_bEffective; }

private:
    std::string m_Path;
    bool m_bImmutable = false;
    bool m_bEffective = false;
};

// A folder on a tiny file system that is full: every write into it fails with
// "no space left". Made by mounting a small tmpfs (needs root, as in CI); when
// that is not possible Available() is false and the caller skips.
class FullFolder {
public:
    FullFolder();
    ~FullFolder();
    FullFolder(const FullFolder&) = delete;
    FullFolder& operator=(const FullFolder&) = delete;
    bool Available() const { return m_bMounted; }
    const std::string& Path() const { return m_Dir.Path(); }
    std::string File(const std::string& name) const { return m_Dir.File(name); }
    // Puts a file there before the disk is filled up (an earlier save).
    void Keep(const std::string& name, const std::string& bytes);

private:
    void FillUp();
    TempDir m_Dir;
    bool m_bMounted = false;
};
