#include "base/FileIO.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "TestSupport.h"

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
    // A device is never replaced by a file of the same name.
    EXPECT_FALSE(WriteFileAtomically("/dev/null", "x", error));
    EXPECT_FALSE(error.empty());
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
