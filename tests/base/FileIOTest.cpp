#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <vector>

#include "TestSupport.h"
#include "base/AtomicFileWriter.h"
#include "base/FileIO.h"
#include "base/TemporaryFiles.h"
#include "base/TextPieceReader.h"

namespace {

TEST(WriteFileAtomically, ReplacesTheFileAndLeavesNoTemporaryBehind) {
    TempDir dir;
    const std::string path = dir.File("fall.mvk");
    WriteBytes(path, "alt");
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(path, "neu", error)) << error;
    EXPECT_EQ(ReadBytes(path), "neu");
    int entries = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.Path())) (void)e, ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(WriteFileAtomically, KeepsTheFileModeOfTheFileItReplaces) {
    TempDir dir;
    const std::string path = dir.File("fall.mvk");
    WriteBytes(path, "alt");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(path, "neu", error)) << error;
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(WriteFileAtomically, FailsInAReadOnlyFolderAndKeepsTheEarlierFile) {
    TempDir dir;
    const std::string path = dir.File("fall.mvk");
    WriteBytes(path, "alt");
    std::string error;
    {
        ReadOnlyFolder readOnly(dir.Path());
        ASSERT_TRUE(readOnly.Effective()) << "cannot make a folder read-only here";
        EXPECT_FALSE(WriteFileAtomically(path, "neu", error));
        EXPECT_FALSE(error.empty());
    }
    EXPECT_EQ(ReadBytes(path), "alt");
}

TEST(WriteFileAtomically, FailsOnAFullDiskAndKeepsTheEarlierFile) {
    FullFolder full;
    if (!full.Available()) GTEST_SKIP() << "no tmpfs can be mounted here (not root)";
    const std::string path = full.File("fall.mvk");
    full.Keep("fall.mvk", "alt");
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(path, std::string(200000, 'x'), error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadBytes(path), "alt");
    EXPECT_FALSE(WriteFileAtomically(full.File("neu.mvk"), std::string(200000, 'x'), error));
    EXPECT_FALSE(FileExists(full.File("neu.mvk")));
}

TEST(WriteFileAtomically, RefusesADirectoryAndAMissingFolder) {
    TempDir dir;
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(dir.Path(), "x", error));
    EXPECT_FALSE(WriteFileAtomically(dir.File("fehlt/fall.mvk"), "x", error));
    EXPECT_FALSE(error.empty());
    // A device is never replaced by a file of the same name: it is written.
    EXPECT_TRUE(WriteFileAtomically("/dev/null", "x", error)) << error;
    struct stat st {};
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

TEST(ReadWholeFile, ReadsBytesAndRefusesDirectoriesMissingAndOversizedFiles) {
    TempDir dir;
    const std::string path = dir.File("a.bin");
    WriteBytes(path, std::string("\0\xFF\x80z", 4));
    std::string bytes, error;
    ASSERT_TRUE(ReadWholeFile(path, bytes, error));
    EXPECT_EQ(bytes, std::string("\0\xFF\x80z", 4));
    EXPECT_FALSE(ReadWholeFile(dir.Path(), bytes, error));
    EXPECT_FALSE(ReadWholeFile(dir.File("fehlt"), bytes, error));
    EXPECT_FALSE(ReadWholeFile(path, bytes, error, 3));
    EXPECT_EQ(bytes, std::string("\0\xFF\x80z", 4)) << "a failed read leaves the buffer as it was";
}

TEST(FileNameOf, GivesTheLastComponent) {
    EXPECT_EQ(FileNameOf("/data/nordfeld.mvk"), "nordfeld.mvk");
    EXPECT_EQ(FileNameOf("nordfeld.mvk"), "nordfeld.mvk");
}

}  // namespace

namespace {

// Kills the test instead of letting it hang when a read blocks.
class BlockingGuard {
public:
    BlockingGuard() { ::alarm(20); }
    ~BlockingGuard() { ::alarm(0); }
};

struct stat StatOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st;
}

std::vector<std::string> Entries(const std::string& dir) {
    std::vector<std::string> names;
    for (auto& e : std::filesystem::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ReadWholeFile, RefusesAFifoAndADeviceWithoutWaitingForAWriter) {
    TempDir dir;
    const std::string fifo = dir.File("fall.mvk");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    BlockingGuard guard;
    std::string bytes = "vorher", error;
    EXPECT_FALSE(ReadWholeFile(fifo, bytes, error));
    EXPECT_EQ(error, "keine gewöhnliche Datei");
    EXPECT_FALSE(ReadWholeFile("/dev/zero", bytes, error));
    EXPECT_EQ(error, "keine gewöhnliche Datei");
    EXPECT_EQ(bytes, "vorher");
    TextPieceReader reader;
    EXPECT_FALSE(reader.Open(fifo));
    EXPECT_EQ(reader.Error(), "keine gewöhnliche Datei");
    EXPECT_FALSE(reader.Open("/dev/zero"));
}

// Saving through a link writes the file the link names, in that file's
// folder, and leaves the link a link; a dangling link gets its file.
TEST(WriteFileAtomically, WritesTheFileASymlinkNamesAndKeepsTheLink) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("ziel"));
    const std::string target = dir.File("ziel/fall.mvk");
    WriteBytes(target, "alt");
    ASSERT_EQ(::symlink("ziel/fall.mvk", dir.File("link.mvk").c_str()), 0);
    ASSERT_EQ(::symlink("link.mvk", dir.File("link2.mvk").c_str()), 0);
    ASSERT_EQ(::symlink("ziel/neu.mvk", dir.File("offen.mvk").c_str()), 0);
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(dir.File("link2.mvk"), "neu", error)) << error;
    EXPECT_TRUE(S_ISLNK(StatOf(dir.File("link.mvk")).st_mode));
    EXPECT_TRUE(S_ISLNK(StatOf(dir.File("link2.mvk")).st_mode));
    EXPECT_EQ(ReadBytes(target), "neu");
    ASSERT_TRUE(WriteFileAtomically(dir.File("offen.mvk"), "frisch", error)) << error;
    EXPECT_TRUE(S_ISLNK(StatOf(dir.File("offen.mvk")).st_mode));
    EXPECT_EQ(ReadBytes(dir.File("ziel/neu.mvk")), "frisch");
    EXPECT_EQ(Entries(dir.File("ziel")), (std::vector<std::string>{"fall.mvk", "neu.mvk"}));
    // A loop of links names no file.
    ASSERT_EQ(::symlink("kreis2", dir.File("kreis1").c_str()), 0);
    ASSERT_EQ(::symlink("kreis1", dir.File("kreis2").c_str()), 0);
    EXPECT_FALSE(WriteFileAtomically(dir.File("kreis1"), "x", error));
    EXPECT_FALSE(error.empty());
}

// A file without write permission is refused as an editor refuses it (also
// for root), a file with further hard links is refused so that its other
// names do not keep the old contents; both keep every byte.
TEST(WriteFileAtomically, RefusesAReadOnlyFileAndAHardLinkedFileAndKeepsThem) {
    TempDir dir;
    const std::string readOnly = dir.File("schreibgeschuetzt.mvk");
    WriteBytes(readOnly, "alt");
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(readOnly, "neu", error));
    EXPECT_EQ(error, "Die Datei ist schreibgeschützt.");
    EXPECT_EQ(ReadBytes(readOnly), "alt");
    EXPECT_EQ(StatOf(readOnly).st_mode & 07777, 0444u);

    const std::string linked = dir.File("fall.mvk");
    WriteBytes(linked, "alt");
    ASSERT_EQ(::link(linked.c_str(), dir.File("zweitname.mvk").c_str()), 0);
    EXPECT_FALSE(WriteFileAtomically(linked, "neu", error));
    EXPECT_EQ(error,
              "Die Datei hat weitere Namen (harte Links); sie wird nicht ersetzt, "
              "damit alle Namen dieselbe Fassung zeigen.");
    EXPECT_EQ(ReadBytes(linked), "alt");
    EXPECT_EQ(StatOf(linked).st_nlink, 2u);
    EXPECT_EQ(Entries(dir.Path()),
              (std::vector<std::string>{"fall.mvk", "schreibgeschuetzt.mvk", "zweitname.mvk"}));
}

TEST(WriteFileAtomically, KeepsOwnerGroupAndSpecialModeBitsWhereTheProcessMaySetThem) {
    TempDir dir;
    const std::string path = dir.File("fall.mvk");
    WriteBytes(path, "alt");
    const bool root = ::geteuid() == 0;
    const uid_t owner = root ? 12345 : ::geteuid();
    const gid_t group = root ? 23456 : ::getegid();
    ASSERT_EQ(::chown(path.c_str(), owner, group), 0);
    ASSERT_EQ(::chmod(path.c_str(), 02664), 0);
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(path, "neu", error)) << error;
    const struct stat st = StatOf(path);
    EXPECT_EQ(st.st_uid, owner);
    EXPECT_EQ(st.st_gid, group);
    EXPECT_EQ(st.st_mode & 07777, 02664u);
    EXPECT_EQ(ReadBytes(path), "neu");
}

// Temporary files of a save that was killed are removed by the next save of
// the same target; one a running save holds, those of other targets and
// every file that merely looks like one (a user's ".r.txt.backup", the
// six-character names of earlier versions) stay.
TEST(WriteFileAtomically, RemovesStaleTemporariesOfItsTargetButNoUserFileAndNoneInUse) {
    TempDir dir;
    const std::string path = dir.File("T.mvk");
    const std::string prefix = ".T.mvk.morvek-tmp.";
    EXPECT_EQ(TemporaryPrefixOf("T.mvk"), prefix);
    WriteBytes(dir.File(prefix + "Ab3xYz"), std::string(1000, 'x'));
    WriteBytes(dir.File(prefix + "Q9w8e7"), "");
    WriteBytes(dir.File(prefix + "held01"), "halb");
    WriteBytes(dir.File(".U.mvk.morvek-tmp.Ab3xYz"), "fremd");
    WriteBytes(dir.File(prefix + "zu-lang"), "anders");
    WriteBytes(dir.File(prefix + "Ab3xY"), "kurz");
    WriteBytes(dir.File(".T.mvk.backup"), "kostbar");
    WriteBytes(dir.File(".T.mvk.Ab3xYz"), "alte Form");
    const int held = ::open(dir.File(prefix + "held01").c_str(), O_RDONLY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(path, "neu", error)) << error;
    ::close(held);
    EXPECT_EQ(Entries(dir.Path()),
              (std::vector<std::string>{".T.mvk.Ab3xYz", ".T.mvk.backup",
                                        ".T.mvk.morvek-tmp.Ab3xY", ".T.mvk.morvek-tmp.held01",
                                        ".T.mvk.morvek-tmp.zu-lang", ".U.mvk.morvek-tmp.Ab3xYz",
                                        "T.mvk"}));
    EXPECT_EQ(ReadBytes(path), "neu");
    EXPECT_EQ(ReadBytes(dir.File(".T.mvk.backup")), "kostbar");
}

// A name of 255 bytes leaves no room for the marker: its temporary takes the
// name's beginning, and the save and the cleanup still find each other.
TEST(WriteFileAtomically, SavesAFileWhoseNameIsAsLongAsTheFileSystemAllows) {
    TempDir dir;
    const std::string name(255, 'n');
    const std::string prefix = TemporaryPrefixOf(name);
    EXPECT_EQ(prefix.size() + 6, 255u);
    WriteBytes(dir.File(prefix + "Stale1"), "liegen geblieben");
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(dir.File(name), "neu", error)) << error;
    EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string>{name}));
}

// What is no regular file cannot be replaced: a device, a FIFO and a name of
// an open descriptor (/dev/stdout into a pipe) are written directly.
TEST(AtomicFileWriter, WritesDevicesPipesAndOpenDescriptorsDirectly) {
    std::string error;
    EXPECT_TRUE(WriteFileAtomically("/dev/null", "weg", error)) << error;

    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const std::string pipeName = "/proc/self/fd/" + std::to_string(fds[1]);
    EXPECT_TRUE(WriteFileAtomically(pipeName, "durch das Rohr", error)) << error;
    ::close(fds[1]);
    char buffer[64] = {};
    EXPECT_EQ(::read(fds[0], buffer, sizeof buffer), 14);
    EXPECT_EQ(std::string(buffer), "durch das Rohr");
    ::close(fds[0]);

    TempDir dir;
    const std::string fifo = dir.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    BlockingGuard guard;
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_TRUE(WriteFileAtomically(fifo, "zur FIFO", error)) << error;
    std::memset(buffer, 0, sizeof buffer);
    EXPECT_EQ(::read(reader, buffer, sizeof buffer), 8);
    EXPECT_EQ(std::string(buffer), "zur FIFO");
    ::close(reader);
    EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string>{"fifo"}));

    // A regular file behind a descriptor (a shell's ">>") is appended to,
    // not replaced: what the file held stays.
    const std::string log = dir.File("log.txt");
    WriteBytes(log, "frühere Zeilen\n");
    const int appending = ::open(log.c_str(), O_WRONLY | O_APPEND);
    ASSERT_GE(appending, 0);
    EXPECT_TRUE(
        WriteFileAtomically("/dev/fd/" + std::to_string(appending), "der Bericht\n", error))
        << error;
    ::close(appending);
    EXPECT_EQ(ReadBytes(log), "frühere Zeilen\nder Bericht\n");
}

// While a writer is open its temporary file is remembered, so that a signal
// handler can remove it; a committed or discarded writer is forgotten.
TEST(AtomicFileWriter, RemembersItsTemporaryFileWhileItIsOpen) {
    TempDir dir;
    const std::string path = dir.File("gross.csv");
    {
        AtomicFileWriter writer;
        std::string error;
        ASSERT_TRUE(writer.Open(path, error)) << error;
        writer.Append("a;b\n");
        ASSERT_EQ(Entries(dir.Path()).size(), 1u);
        EXPECT_TRUE(Entries(dir.Path()).front().starts_with(".gross.csv.morvek-tmp."));
        RemoveTemporariesNow();
        EXPECT_TRUE(Entries(dir.Path()).empty());
    }
    AtomicFileWriter writer;
    std::string error;
    ASSERT_TRUE(writer.Open(path, error)) << error;
    writer.Append("a;b\n");
    ASSERT_TRUE(writer.Commit(error)) << error;
    RemoveTemporariesNow();
    EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string>{"gross.csv"}));
    EXPECT_EQ(ReadBytes(path), "a;b\n");
}

}  // namespace
