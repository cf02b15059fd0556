// Batch mode's --pvt-tabelle and --relperm-tabelle: a bad table file refused
// with its lines on stderr and exit status 2, a missing one with 1, good ones
// taken into the run, its report and a saved case.

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace {

const std::string kNordfeld = SourcePath("examples/nordfeld.mvk");
const std::string kPvt = SourcePath("examples/tabellen/nordfeld-pvt.txt");
const std::string kRelPerm = SourcePath("examples/tabellen/nordfeld-relperm.txt");

bool Holds(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(BatchTables, RefusedMissingAndTakenTables) {
    TempDir dir;
    const std::string bad = dir.File("bad.txt");
    WriteBytes(bad, "Kopf\n100 1.2 50\n");
    ProcessResult r = RunMorvek({"--batch", kNordfeld, "--pvt-tabelle", kPvt, "--relperm-tabelle",
                                 bad, "--save", dir.File("nie.mvk")});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_TRUE(Holds(r.err, "Die Tabelle der relativen Permeabilitäten " + bad +
                                 " wurde nicht übernommen:\nZeile 2: Die Gassättigung 100 "
                                 "muß zwischen 0 und 1 liegen."))
        << r.err;
    EXPECT_TRUE(r.out.empty());
    EXPECT_FALSE(FileExists(dir.File("nie.mvk"))) << "nothing saved after a refused table";

    r = RunMorvek({"--batch", kNordfeld, "--pvt-tabelle", dir.File("fehlt.txt")});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_TRUE(Holds(r.err, "Die Datei kann nicht gelesen werden")) << r.err;

    const std::string saved = dir.File("labor.mvk");
    r = RunMorvek({"--batch", kNordfeld, "--pvt-tabelle", kPvt, "--relperm-tabelle", kRelPerm,
                   "--set", "m_Cf=5e-5", "--save", saved});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_TRUE(Holds(r.out, "     PVT-DATEN:             TABELLE nordfeld-pvt.txt (")) << r.out;
    EXPECT_TRUE(Holds(r.out, "     REL.PERMEABILITAETEN:  TABELLE nordfeld-relperm.txt ("));
    EXPECT_TRUE(Holds(r.out, "     PORENKOMPRESSIBILITAET (1/BAR)     5.000e-05"));
    EXPECT_TRUE(Holds(r.out, " Ende der PVT-Tabelle bei")) << r.out;

    // The saved case keeps the tables: run again without the options, the
    // same report.
    ProcessResult again = RunMorvek({"--batch", saved});
    EXPECT_EQ(again.exitStatus, 0) << again.err;
    EXPECT_EQ(again.out, r.out);

    // The PVT table on its usual grid, within the laboratory table.
    ProcessResult pvt = RunMorvek({"--batch", saved, "--pvt"});
    EXPECT_EQ(pvt.exitStatus, 0) << pvt.err;
    EXPECT_TRUE(Holds(pvt.out, "   Rs und Bo nach PVT-Tabelle nordfeld-pvt.txt (")) << pvt.out;
}

bool HasControlCharacter(const std::string& text) {
    for (char c : text)
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\n') || c == 0x7F) return true;
    return false;
}

// A table's file name reaches the report, aus.txt and the printed pages as
// the field name does: on one line, without control characters, in code page
// 1252; a character that cannot be kept is named in a message.
TEST(BatchTables, FileNamesOfTablesArePrintableAndSayWhatCannotBeKept) {
    TempDir dir;
    const std::string odd = "t\nab\x1b[31m.txt";
    WriteBytes(dir.File(odd), ReadBytes(kPvt));
    WriteBytes(dir.File("t\xCE\xA9.txt"), ReadBytes(kRelPerm));
    const std::string saved = dir.File("fall.mvk");
    ProcessResult r = RunMorvek({"--batch", kNordfeld, "--pvt-tabelle", dir.File(odd),
                                 "--relperm-tabelle", dir.File("t\xCE\xA9.txt"), "--save", saved,
                                 "--aus"},
                                dir.Path());
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_FALSE(HasControlCharacter(r.out));
    EXPECT_FALSE(HasControlCharacter(r.err)) << r.err;
    EXPECT_TRUE(Holds(r.out, "\n     PVT-DATEN:             TABELLE t?ab?[31m.txt (")) << r.out;
    EXPECT_TRUE(Holds(r.out, "\n     REL.PERMEABILITAETEN:  TABELLE t?.txt ("));
    EXPECT_TRUE(Holds(r.err, "Der Name der Datei t\\x0Aab\\x1B[31m.txt enthält Zeichen, die der "
                             "Fall nicht speichern oder der Bericht nicht zeigen kann; die "
                             "PVT-Tabelle heißt im Fall t?ab?[31m.txt."))
        << r.err;
    EXPECT_TRUE(Holds(r.err, "Der Name der Datei tΩ.txt enthält Zeichen, die der Fall nicht "
                             "speichern oder der Bericht nicht zeigen kann; die Tabelle der "
                             "relativen Permeabilitäten heißt im Fall t?.txt."))
        << r.err;
    EXPECT_FALSE(HasControlCharacter(ReadBytes(dir.File("aus.txt"))));
    const std::string pvt = RunMorvek({"--batch", saved, "--pvt"}).out;
    EXPECT_TRUE(Holds(pvt, "   Rs und Bo nach PVT-Tabelle t?ab?[31m.txt (")) << pvt;
    EXPECT_FALSE(HasControlCharacter(pvt));
    // A name the case can keep gets no message.
    r = RunMorvek({"--batch", kNordfeld, "--pvt-tabelle", kPvt});
    EXPECT_FALSE(Holds(r.err, "Der Name der Datei")) << r.err;
}

}  // namespace
