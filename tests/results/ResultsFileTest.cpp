#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "case/MorvekDoc.h"
#include "results/ResultsFile.h"
#include "support/ScriptedMessageSink.h"
#include "support/TestSupport.h"

namespace {

using Lines = std::vector<std::string>;

const char* const kWritten = "Die Ergebnisse sind in die Datei aus.txt geschrieben!";
const char* const kNotWritten = "Die Datei aus.txt kann nicht geschrieben werden.";

// aus.txt lives in the working directory: each test works in a folder of its
// own and returns to where it was.
class InTempWorkDir {
public:
    InTempWorkDir() : m_Previous(std::filesystem::current_path()) {
        std::filesystem::current_path(m_Dir.Path());
    }
    ~InTempWorkDir() { std::filesystem::current_path(m_Previous); }

private:
    TempDir m_Dir;
    std::filesystem::path m_Previous;
};

// A report with its title, as the window's "Ergebnisse speichern" and
// "Ergebnisse einlesen" hand them over.
struct ResultsCase {
    bool Save() { return SaveResultsFile(title, text, sink); }
    Lines Load() {
        sink.Clear();
        read = LoadResultsFile(text, sink);
        return text;
    }
    std::string title = "Morvek";
    Lines text;
    ScriptedMessageSink sink;
    bool read = false;
};

// Writes beyond a few bytes fail for a while, as on a full disk; root, which
// the tests may run as, is held to it too.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &m_Old);
        m_OldHandler = ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_Old;
        limit.rlim_cur = bytes;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) throw std::runtime_error("setrlimit");
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_Old);
        ::signal(SIGXFSZ, m_OldHandler);
    }

private:
    rlimit m_Old{};
    sighandler_t m_OldHandler;
};

}  // namespace

TEST(ResultsTitle, IsMorvekUntilTheCaseHasAFileAndThenTheFileName) {
    CMorvekDoc doc;
    EXPECT_EQ(doc.GetTitle(), "Morvek");
    ASSERT_TRUE(doc.ReadCaseFile(SourcePath("examples/nordfeld.mvk")));
    EXPECT_EQ(doc.GetTitle(), "nordfeld.mvk");
    doc.SetPathName("/daten/Süd feld.mvk");
    EXPECT_EQ(doc.GetTitle(), "Süd feld.mvk");
}

TEST(ResultsFile, WritesTheTitleThenEveryLineInCodePage1252) {
    InTempWorkDir here;
    ResultsCase c;
    c.title = "nordfeld.mvk";
    c.text = {"Gasdichte 0.75 kg/m3", " ", "Öl: 100 % Glasoe"};
    EXPECT_TRUE(c.Save());
    EXPECT_EQ(ReadBytes("aus.txt"), "nordfeld.mvk\nGasdichte 0.75 kg/m3\n \n\xD6l: 100 % Glasoe\n");
    EXPECT_EQ(c.sink.Texts(), Lines{kWritten});
}

TEST(ResultsFile, PercentSignsInTitleAndLinesStayAsTheyAre) {
    InTempWorkDir here;
    ResultsCase c;
    c.title = "100%s.mvk";
    c.text = {"%d%% %s"};
    EXPECT_TRUE(c.Save());
    EXPECT_EQ(ReadBytes("aus.txt"), "100%s.mvk\n%d%% %s\n");
}

TEST(ResultsFile, EmptyReportGivesAnEmptyFileAndTheMessage) {
    InTempWorkDir here;
    ResultsCase c;
    WriteBytes("aus.txt", "alt\n");
    EXPECT_TRUE(c.Save());
    EXPECT_TRUE(FileExists("aus.txt"));
    EXPECT_EQ(ReadBytes("aus.txt"), "");
    EXPECT_EQ(c.sink.Texts(), Lines{kWritten});
}

TEST(ResultsFile, FailedWriteKeepsTheEarlierFileAndSaysSo) {
    InTempWorkDir here;
    ResultsCase c;
    c.text.assign(50, "Zeile des Berichts");
    WriteBytes("aus.txt", "alt\n");
    {
        FileSizeLimit fullDisk(16);
        EXPECT_FALSE(c.Save());
    }
    // The reason follows on the message's next line.
    EXPECT_EQ(c.sink.Texts(), Lines{std::string(kNotWritten) + "\n" + std::strerror(EFBIG)});
    EXPECT_EQ(ReadBytes("aus.txt"), "alt\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."),
                            std::filesystem::directory_iterator()),
              1);

    c.sink.Clear();
    std::filesystem::remove("aus.txt");
    std::filesystem::create_directory("aus.txt");
    EXPECT_FALSE(c.Save());
    EXPECT_EQ(c.sink.Texts(), Lines{std::string(kNotWritten) + "\n" + std::strerror(EISDIR)});
    EXPECT_TRUE(std::filesystem::is_directory("aus.txt"));
}

TEST(ResultsFile, TitleThatCodePage1252CannotHoldIsRefusedAndKeepsTheEarlierFile) {
    InTempWorkDir here;
    ResultsCase c;
    c.title = "北海.mvk";
    c.text = {"Zeile"};
    WriteBytes("aus.txt", "alt\n");
    EXPECT_FALSE(c.Save());
    ASSERT_EQ(c.sink.Log().size(), 1u);
    EXPECT_EQ(c.sink.Texts()[0].rfind(kNotWritten, 0), 0u);
    EXPECT_EQ(ReadBytes("aus.txt"), "alt\n");
}

TEST(ResultsFile, ReadsBackTheTitleThenTheReport) {
    InTempWorkDir here;
    ResultsCase c;
    c.text = {"Erste Zeile", "", "x", "Öl 100 %"};
    c.Save();
    EXPECT_EQ(c.Load(), (Lines{"Morvek", "Erste Zeile", "", " ", "Öl 100 %"}));
    EXPECT_TRUE(c.read);
    EXPECT_EQ(c.sink.Texts(), Lines{"5 Zeilen wurden eingelesen"});
    WriteBytes("aus.txt", "nur der Titel\n");
    EXPECT_EQ(c.Load(), Lines{"nur der Titel"});
    EXPECT_EQ(c.sink.Texts(), Lines{"1 Zeile wurde eingelesen"});
}

TEST(ResultsFile, ReadsCrLfAndALastLineWithoutLineEnd) {
    InTempWorkDir here;
    ResultsCase c;
    WriteBytes("aus.txt", "Titel\r\nmit CR\r\n\r\nohne Zeilenende");
    EXPECT_EQ(c.Load(), (Lines{"Titel", "mit CR", "", "ohne Zeilenende"}));
}

TEST(ResultsFile, TakesLongLinesInPiecesOf99Characters) {
    InTempWorkDir here;
    ResultsCase c;
    const std::string a98(98, 'a'), b99(99, 'b'), c250(250, 'c');
    WriteBytes("aus.txt", a98 + "\r\n" + b99 + "\n" + c250 + "\n");
    EXPECT_EQ(c.Load(), (Lines{a98, b99, "", std::string(99, 'c'), std::string(99, 'c'),
                               std::string(52, 'c')}));
}

TEST(ResultsFile, TakesAtMost1000Entries) {
    InTempWorkDir here;
    ResultsCase c;
    std::string bytes;
    for (int i = 1; i <= 1500; ++i) bytes += "Zeile " + std::to_string(i) + "\n";
    WriteBytes("aus.txt", bytes);
    const Lines text = c.Load();
    ASSERT_EQ(text.size(), 1000u);
    EXPECT_EQ(text.back(), "Zeile 1000");
    EXPECT_EQ(c.sink.Texts(), Lines{"1000 Zeilen wurden eingelesen"});
}

// A missing, unreadable or empty aus.txt changes nothing: the report stays,
// and the warning names the file with its folder and the reason.
TEST(ResultsFile, MissingUnreadableOrEmptyFileKeepsTheReportAndSaysWhyWithItsFolder) {
    InTempWorkDir here;
    const std::string folder = std::filesystem::current_path().string();
    ResultsCase c;
    c.text = {"alter Bericht"};
    EXPECT_EQ(c.Load(), Lines{"alter Bericht"});
    EXPECT_FALSE(c.read);
    ASSERT_EQ(c.sink.Log().size(), 1u);
    EXPECT_TRUE(c.sink.Log()[0].warning);
    EXPECT_EQ(c.sink.Texts()[0], "Die Datei aus.txt im Ordner " + folder +
                                     " kann nicht gelesen werden.\n" + std::strerror(ENOENT) +
                                     "\nDer Bericht bleibt, wie er ist.");

    std::filesystem::create_directory("aus.txt");
    EXPECT_EQ(c.Load(), Lines{"alter Bericht"});
    EXPECT_NE(c.sink.Texts().at(0).find(std::strerror(EISDIR)), std::string::npos);
    std::filesystem::remove("aus.txt");

    WriteBytes("aus.txt", "");
    EXPECT_EQ(c.Load(), Lines{"alter Bericht"});
    EXPECT_EQ(c.sink.Texts(), Lines{"Die Datei aus.txt im Ordner " + folder +
                                    " enthält keine Zeile.\nDer Bericht bleibt, wie er ist."});
    EXPECT_TRUE(c.sink.Log()[0].warning);
}
