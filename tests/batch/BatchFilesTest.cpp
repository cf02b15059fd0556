// Batch mode with the files a script may hand it: names that are not UTF-8,
// empty names, files that are no regular files, field names with control
// characters, and runs that compute no result.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "ExampleCases.h"
#include "TestSupport.h"
#include "base/FileIO.h"
#include "model/CaseFile.h"
#include "case/MorvekDoc.h"

namespace {

const std::string kNordfeld = SourcePath("examples/nordfeld.mvk");
const std::string kMesswerte = SourcePath("examples/nordfeld-messwerte.txt");

constexpr int kExitNoResult = 3;

std::vector<std::string> Entries(const std::string& dir) {
    std::vector<std::string> names;
    for (auto& e : std::filesystem::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool HasControlCharacter(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) < 0x20 && c != '\n') || c == 0x7F;
    });
}

bool IsUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const size_t n = c < 0x80         ? 1
                         : (c >> 5) == 6  ? 2
                         : (c >> 4) == 14 ? 3
                         : (c >> 3) == 30 ? 4
                                          : 0;
        if (n == 0 || i + n > text.size()) return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2) return false;
        i += n;
    }
    return true;
}

// A case or measured-data file that is a FIFO would block the reader until
// some writer came; a device never ends. Both are refused at once.
TEST(BatchFiles, RefusesAFifoAsCaseAndAsMeasuredDataWithoutBlocking) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.File("f.mvk").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(dir.File("m.txt").c_str(), 0600), 0);
    ::alarm(60);  // a blocked child would otherwise hang the test
    ProcessResult r = RunMorvek({"--batch", dir.File("f.mvk")});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.err, "Die Datei " + dir.File("f.mvk") +
                         " kann nicht gelesen werden.\nkeine gewöhnliche Datei\n");
    r = RunMorvek({"--batch", kNordfeld, "--messwerte", dir.File("m.txt")});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.err, "Die Datei " + dir.File("m.txt") +
                         " kann nicht geöffnet werden.\nkeine gewöhnliche Datei\n");
    r = RunMorvek({"--batch", "/dev/zero"});
    EXPECT_EQ(r.exitStatus, 1);
    ::alarm(0);
}

// The bytes of a path on the command line are the file's name, whatever the
// locale makes of them; a message shows bytes that are no UTF-8 as \xNN.
TEST(BatchFiles, PathsThatAreNotUtf8NameTheFileTheUserGave) {
    TempDir dir;
    const std::string latin1 = dir.File("lat1\xE4.mvk");
    WriteBytes(latin1, ReadBytes(kNordfeld));
    ProcessResult r = RunMorvek({"--batch", latin1, "--save", dir.File("x\xE4.mvk"), "--report",
                                 dir.File("b\xFC.txt"), "--csv", dir.File("k\xF6.csv"),
                                 "--messwerte", kMesswerte});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(Entries(dir.Path()),
              (std::vector<std::string>{"b\xFC.txt", "k\xF6.csv", "lat1\xE4.mvk", "x\xE4.mvk"}));
    CMorvekDoc doc;
    doc.OnNewDocument();
    ASSERT_TRUE(doc.ReadCaseFile(dir.File("x\xE4.mvk")));
    EXPECT_EQ(doc.m_Feldname, "Nordfeld");

    r = RunMorvek({"--batch", dir.File("fehlt\xE4\n.mvk")});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_NE(r.err.find("Die Datei " + dir.File("fehlt\\xE4\\x0A.mvk") + " kann nicht gelesen"),
              std::string::npos)
        << r.err;
    EXPECT_TRUE(IsUtf8(r.err)) << "stderr is UTF-8 throughout";
}

TEST(BatchFiles, AnEmptyFileNameIsACommandLineError) {
    TempDir dir;
    for (const char* option :
         {"--save", "--report", "--csv", "--graph", "--print-pdf", "--messwerte", "--batch"}) {
        std::vector<std::string> args = {"--batch", kNordfeld, option, ""};
        if (std::string(option) == "--batch") args = {"--batch", ""};
        ProcessResult r = RunMorvek(args, dir.Path());
        EXPECT_EQ(r.exitStatus, 2) << option;
        EXPECT_TRUE(r.out.empty()) << option;
        EXPECT_NE(r.err.find("leer"), std::string::npos) << option << r.err;
        EXPECT_TRUE(Entries(dir.Path()).empty()) << option;
    }
}

// A run that ends with " Keine sinnvolle Berechnung möglich: ..." and no
// result table is no success: the report still comes out, the exit status
// says 3.
TEST(BatchFiles, ARunWithoutAResultTableExitsWithItsOwnStatus) {
    TempDir dir;
    std::vector<std::string> pureH2S = {"--set", "m_Gas[0]=100"};
    for (int i = 1; i < kGasComponents; ++i) {
        pureH2S.push_back("--set");
        pureH2S.push_back("m_Gas[" + std::to_string(i) + "]=0");
    }
    std::vector<std::string> pvtBelowZero = {"--set", "m_Temperatur=-273", "--pvt"};
    const std::vector<std::vector<std::string>> noResult = {
        {"--set", "m_Temperatur=-273"}, {"--set", "m_Temperatur=-17.78"}, pureH2S, pvtBelowZero};
    for (const auto& settings : noResult) {
        std::vector<std::string> args = {"--batch",         kNordfeld, "--report",
                                         dir.File("b.txt"), "--csv",   dir.File("k.csv")};
        args.insert(args.end(), settings.begin(), settings.end());
        ProcessResult r = RunMorvek(args);
        EXPECT_EQ(r.exitStatus, kExitNoResult) << settings[1] << r.err;
        const std::string report = ReadBytes(dir.File("b.txt"));
        EXPECT_NE(report.find(" Keine sinnvolle Berechnung möglich: "), std::string::npos)
            << settings[1];
        EXPECT_EQ(report.find("      DRUCK  OELPROD."), std::string::npos) << settings[1];
        EXPECT_TRUE(FileExists(dir.File("k.csv"))) << settings[1];
        std::filesystem::remove(dir.File("b.txt"));
    }
    // Each result kind of Nordfeld has its table.
    for (const char* kind : {"--pvt", "--relperm", "--aus"}) {
        ProcessResult r = RunMorvek({"--batch", kNordfeld, kind}, dir.Path());
        EXPECT_EQ(r.exitStatus, 0) << kind << r.err;
    }
}

// A field name with control characters, from an older file, loads and
// computes; the reports show each as "?", so that one line stays one line.
TEST(BatchFiles, ControlCharactersOfAStoredFieldNameShowAsQuestionMarks) {
    TempDir dir;
    CMorvekDoc doc;
    FillNordfeld(doc);
    doc.m_Feldname = "a\nb\x1b[31m\t\x7f\xc2\x9d";
    const std::string path = dir.File("steuer.mvk");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    for (const char* kind : {"--aus", "--relperm", "--pvt"}) {
        ProcessResult r = RunMorvek({"--batch", path, kind, "--aus"}, dir.Path());
        ASSERT_EQ(r.exitStatus, 0) << kind << r.err;
        EXPECT_FALSE(HasControlCharacter(r.out)) << kind;
        EXPECT_EQ(r.out.find("\xc2\x9d"), std::string::npos) << kind;
        const std::string head = std::string(kind) == "--relperm"
                                     ? " FELD:a?b?[31m???"
                                     : "     MORVEK BERECHNUNG FELD: a?b?[31m??? ";
        EXPECT_EQ(SplitLines(r.out).at(0), head) << kind;
        const std::string aus = ReadBytes(dir.File("aus.txt"));
        EXPECT_EQ(SplitLines(aus).at(1), head) << kind;
    }
    // Saved again, the file keeps every byte.
    const std::string before = ReadBytes(path);
    ProcessResult r = RunMorvek({"--batch", path, "--save", dir.File("wieder.mvk")});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(ReadBytes(dir.File("wieder.mvk")), before);

    // Typed on the command line they are refused, and the message is one line
    // per line of its own, echoing the assignment with each control character
    // as \xNN.
    r = RunMorvek({"--batch", kNordfeld, "--set", "m_Feldname=a\nb\x1b[31m"});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_TRUE(r.out.empty());
    EXPECT_FALSE(HasControlCharacter(r.err)) << r.err;
    EXPECT_EQ(SplitLines(r.err).at(0),
              "--set m_Feldname=a\\x0Ab\\x1B[31m: Das Feld \"Feldesname\" enthält ein "
              "Steuerzeichen (U+000A).");
}

// The C1 control U+0085 (a line end to some terminals) and the direction
// mark U+202E (it shows what follows backwards) are echoed as \xNN, and the
// character code page 1252 cannot store is named by its number.
TEST(BatchFiles, SetEchoesInvisibleAndDirectionCharactersEscaped) {
    const std::string nel = "\xC2\x85", rlo = "\xE2\x80\xAE";
    ProcessResult r = RunMorvek({"--batch", kNordfeld, "--set", "m_Feldname=a" + nel + "b"});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_EQ(r.err.find(nel), std::string::npos) << r.err;
    EXPECT_EQ(SplitLines(r.err).at(0),
              "--set m_Feldname=a\\xC2\\x85b: Das Feld \"Feldesname\" enthält das Zeichen "
              "\"U+0085\", das nicht gespeichert werden kann.");
    r = RunMorvek({"--batch", kNordfeld, "--set", "m_Feldname=x" + rlo + "gpj.exe"});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_EQ(r.err.find(rlo), std::string::npos) << r.err;
    EXPECT_EQ(SplitLines(r.err).at(0),
              "--set m_Feldname=x\\xE2\\x80\\xAEgpj.exe: Das Feld \"Feldesname\" enthält das "
              "Zeichen \"U+202E\", das nicht gespeichert werden kann.");
    r = RunMorvek({"--batch", kNordfeld, "--set", "m_OOIP=1" + rlo});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_EQ(r.err.find(rlo), std::string::npos) << r.err;
    EXPECT_TRUE(r.err.starts_with("--set m_OOIP=1\\xE2\\x80\\xAE: ")) << r.err;
    r = RunMorvek({"--batch", kNordfeld, "--set", "m_OOIP" + nel + "=1"});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_EQ(r.err.find(nel), std::string::npos) << r.err;
}

}  // namespace
