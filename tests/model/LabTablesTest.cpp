// The readers of the laboratory tables: every bad line refused with its line
// number and a German message while the table keeps what it held, and the
// same table read from every line end, code page, separator and row order an
// engineer's file may have.

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "model/LabTables.h"

namespace {

using morvek::LabPvtTable;
using morvek::LabRelPermTable;
using morvek::TableReadStatus;

const char* const kPvtHeader = "Druck Bo Rs Bg VisOel VisGas\n";

std::string Joined(const std::vector<std::string>& problems) {
    std::string all;
    for (const std::string& p : problems) all += p + "\n";
    return all;
}

TEST(LabTableReaders, RefuseEveryBadLineWithItsNumberAndChangeNothing) {
    struct Case {
        const char* what;
        bool relPerm;
        std::string text;
        std::vector<std::string> expected;  // in the problems, in this order
    };
    const std::string good = "100 1.2 50 0.01 1.1 0.015\n";
    const std::vector<Case> cases = {
        {"a word",
         false,
         std::string(kPvtHeader) + good + "150 1.3 x 0.008 1.0 0.016\n",
         {"Zeile 3: \"x\" ist keine Zahl."}},
        {"a decimal comma",
         false,
         std::string(kPvtHeader) + good + "150 1,3 70 0.008 1 0.016\n",
         {"Zeile 3: \"1,3\" ist keine Zahl (bitte mit Dezimalpunkt statt Komma schreiben)."}},
        {"columns",
         false,
         std::string(kPvtHeader) + good + "150 1.3 70 0.008 1.0\n",
         {"Zeile 3: 5 Zahlen statt 6 (Druck, Bo, Rs, Bg, Ölviskosität, Gasviskosität)."}},
        {"every bad line",
         false,
         std::string(kPvtHeader) + "0 1.2 50 0.01 1.1 0.015\n" + good +
             "120 -1 50 0.01 1.1 0.015\n\n130 1.2 -5 0.01 1 0.01\n140 1.2 50 0.01 0 0.01\n",
         {"Zeile 2: Der Druck 0 bar muß größer als 0 sein.",
          "Zeile 4: Bo -1 muß größer als 0 sein.", "Zeile 6: Rs -5 darf nicht negativ sein.",
          "Zeile 7: Die Ölviskosität 0 cP muß größer als 0 sein."}},
        {"a pressure twice",
         false,
         std::string(kPvtHeader) + good + "150 1.3 70 0.008 1 0.016\n" + good,
         {"Zeile 4: Der Druck 100 bar steht schon in Zeile 2."}},
        {"one row",
         false,
         std::string(kPvtHeader) + good,
         {"Die Tabelle enthält 1 Zeile(n) mit Werten; mindestens 2 sind nötig."}},
        {"only a header",
         false,
         kPvtHeader,
         {"Die Tabelle enthält 0 Zeile(n) mit Werten; mindestens 2 sind nötig."}},
        {"nan",
         false,
         std::string(kPvtHeader) + good + "nan 1 1 1 1 1\n",
         {"Zeile 3: \"nan\" ist keine Zahl."}},
        {"a saturation above 1",
         true,
         "Sg krg kro\n0 0 1\n1.2 1 0\n",
         {"Zeile 3: Die Gassättigung 1.2 muß zwischen 0 und 1 liegen."}},
        {"krg and kro",
         true,
         "Sg krg kro\n0 -0.1 1\n0.5 0.5 1.5\n",
         {"Zeile 2: krg -0.1 muß zwischen 0 und 1 liegen.",
          "Zeile 3: kro 1.5 muß zwischen 0 und 1 liegen."}},
        {"a saturation twice",
         true,
         "Sg;krg;kro\n0.1;0;1\n0.3;0.2;0.3\n0.1;0.1;0.9\n",
         {"Zeile 4: Die Gassättigung 0.1 steht schon in Zeile 2."}},
        // A value just outside its range shows the digits that put it there.
        {"krg a little above 1",
         true,
         "Sg krg kro\n0 0 1\n0.5 1.0000001 0\n0.9 0.99999994 0\n",
         {"Zeile 3: krg 1.0000001 muß zwischen 0 und 1 liegen."}},
        // What is no text says what it is, instead of 'Zeile 2: "" ist keine Zahl.'
        {"UTF-16 with its mark",
         true,
         std::string("\xFF\xFES\0g\0\n\0\x30\0 \0\x30\0 \0\x31\0\n\0", 20),
         {"Die Datei ist in UTF-16 geschrieben (Little Endian); bitte als UTF-8 oder Codepage "
          "1252 (ANSI) speichern."}},
        {"UTF-16 big endian",
         true,
         std::string("\xFE\xFF\0S\0g\0\n", 8),
         {"Die Datei ist in UTF-16 geschrieben (Big Endian); bitte als UTF-8 oder Codepage 1252 "
          "(ANSI) speichern."}},
        {"UTF-16 without its mark",
         true,
         std::string("S\0g\0\n\0\x30\0 \0\x30\0 \0\x31\0\n\0\x31\0 \0\x31\0 \0\x30\0\n\0", 30),
         {"Die Datei ist in UTF-16 geschrieben (ohne Kennung); bitte als UTF-8 oder Codepage "
          "1252 (ANSI) speichern."}},
        {"a zero byte",
         true,
         std::string("Sg krg kro\n0 0 1\n0.5\0 1 0\n", 26),
         {"Die Datei enthält Nullbytes (das erste an Byte 21): sie ist keine Textdatei; bitte "
          "als UTF-8 oder Codepage 1252 (ANSI) speichern."}},
        // A control character of a bad token is shown, not sent to the terminal.
        {"an escape",
         true,
         "Sg krg kro\n0 0 1\n0.5 \x1b[31m 0\n",
         {"Zeile 3: \"\\x1B[31m\" ist keine Zahl."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> problems;
        TableReadStatus status;
        if (c.relPerm) {
            LabRelPermTable table{"vorher.txt", {{0.0f, 0.0f, 1.0f}, {0.5f, 0.4f, 0.1f}}};
            const LabRelPermTable before = table;
            status = morvek::ParseRelPermTableText(c.text, "neu.txt", table, problems);
            EXPECT_TRUE(morvek::SameTable(table, before));
        } else {
            LabPvtTable table{"vorher.txt",
                              {{10, 1, 1, 0.1f, 1, 0.01f}, {20, 1, 2, 0.05f, 1, 0.01f}}};
            const LabPvtTable before = table;
            status = morvek::ParsePvtTableText(c.text, "neu.txt", table, problems);
            EXPECT_TRUE(morvek::SameTable(table, before));
        }
        EXPECT_EQ(status, TableReadStatus::Refused);
        EXPECT_EQ(problems, c.expected) << Joined(problems);
    }

    // More rows than a table may hold: refused at the first one too many.
    std::string many = kPvtHeader;
    for (int i = 1; i <= 301; ++i) many += std::to_string(i) + " 1.1 10 0.01 1 0.01\n";
    LabPvtTable table;
    std::vector<std::string> problems;
    EXPECT_EQ(morvek::ParsePvtTableText(many, "x", table, problems), TableReadStatus::Refused);
    EXPECT_EQ(problems, std::vector<std::string>{"Zeile 302: mehr als 300 Tabellenzeilen."});

    // A file that is missing, a folder, or larger than any table.
    TempDir dir;
    WriteBytes(dir.File("gross.txt"), std::string(morvek::kMaxLabTableFileBytes + 1, ' '));
    for (const std::string& path : {dir.File("fehlt.txt"), dir.Path(), dir.File("gross.txt")}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(morvek::ReadPvtTableFile(path, table, problems), TableReadStatus::Unreadable);
        ASSERT_EQ(problems.size(), 1u);
        EXPECT_EQ(problems[0].rfind("Die Datei kann nicht gelesen werden: ", 0), 0u) << problems[0];
    }

    // Rows a script gives are held to the same rules.
    LabRelPermTable fromScript;
    EXPECT_EQ(morvek::RelPermTableFromRows({{0.2f, 0.1f, 0.5f}, {0.2f, 0.2f, 0.3f}}, "skript",
                                           fromScript, problems),
              TableReadStatus::Refused);
    EXPECT_TRUE(fromScript.rows.empty());
    EXPECT_EQ(problems,
              std::vector<std::string>{"Zeile 2: Die Gassättigung 0.2 steht schon in Zeile 1."});

    // The message for the user names the file and the first ten problems.
    std::vector<std::string> twelve(12, "Zeile 9: x");
    const std::string message = morvek::TableProblemMessage("PVT-Tabelle", "/d/p.txt", twelve);
    EXPECT_EQ(message.rfind("Die PVT-Tabelle /d/p.txt wurde nicht übernommen:\nZeile 9: x\n", 0),
              0u);
    EXPECT_NE(message.find("\n… und 2 weitere."), std::string::npos) << message;
}

// A table takes its name from its file as the report can show it and the
// case file store it: every character code page 1252 cannot hold, and every
// control character, becomes '?'.
TEST(LabTableReaders, TheTableNameIsPrintableAndStorable) {
    const std::string text = "Sg krg kro\n0 0 1\n0.9 0.9 0\n";
    const std::pair<std::string, std::string> names[] = {
        {"kr.txt", "kr.txt"},
        {"t\nab\x1b[31m.txt", "t?ab?[31m.txt"},
        {"t\xCE\xA9.txt", "t?.txt"},                 // Ω
        {"lat\xE4.txt", "latä.txt"},                  // code page 1252 bytes
        {"r\xE2\x80\xAEtxt.exe", "r?txt.exe"},       // a direction mark
        {"c1\xC2\x85.txt", "c1?.txt"}};               // U+0085
    for (const auto& [file, shown] : names) {
        LabRelPermTable table;
        std::vector<std::string> problems;
        ASSERT_EQ(morvek::ParseRelPermTableText(text, file, table, problems),
                  TableReadStatus::Read);
        EXPECT_EQ(table.fileName, shown);
        EXPECT_EQ(morvek::TableNameOf(file), shown);
        EXPECT_TRUE(morvek::IsValidTable(table)) << shown;
    }
}

TEST(LabTableReaders, ReadTheSameTableFromEveryLineEndCodePageSeparatorAndOrder) {
    // Rows out of order; the header holds "m³" and "µ" (which code page 1252
    // and UTF-8 write differently) and is ignored either way.
    const std::vector<std::string> rows = {
        "200 1.30 90 0.0050 0.80 0.020", "50\t1.10\t20\t0.0200\t1.50\t0.012",
        " 120 ; 1.20 ; 55 ; 0.0090 ; 1.10 ; 0.016 ;", "", "250 1.29 90 0 0.79 -1"};
    auto file = [&](const std::string& header, const std::string& end, bool finalEnd) {
        std::string text = header + end;
        for (size_t i = 0; i < rows.size(); ++i)
            text += rows[i] + (i + 1 < rows.size() || finalEnd ? end : "");
        return text;
    };
    const std::string cp1252Header = "Druck (bar); Bo (m\xB3/sm\xB3); \xB5o";
    const std::string utf8Header =
        "\xEF\xBB\xBF"
        "Druck (bar); Bo (m³/sm³); µo";

    LabPvtTable first;
    std::vector<std::string> problems;
    ASSERT_EQ(
        morvek::ParsePvtTableText(file(cp1252Header, "\r\n", true), "labor.txt", first, problems),
        TableReadStatus::Read)
        << Joined(problems);
    ASSERT_EQ(first.rows.size(), 4u);
    EXPECT_EQ(first.fileName, "labor.txt");
    EXPECT_EQ(first.rows[0].pressureBar, 50.0f);
    EXPECT_EQ(first.rows[1].pressureBar, 120.0f);
    EXPECT_EQ(first.rows[1].bg, 0.009f);
    EXPECT_EQ(first.rows[3].pressureBar, 250.0f) << "any Bg and viscosity above the bubble point";
    EXPECT_TRUE(morvek::IsValidTable(first));

    for (const std::string& header : {cp1252Header, utf8Header})
        for (const char* end : {"\r\n", "\n", "\r"})
            for (bool finalEnd : {true, false}) {
                SCOPED_TRACE(testing::Message() << "header " << header.size() << " end "
                                                << int(end[0]) << int(end[1]) << finalEnd);
                LabPvtTable again;
                ASSERT_EQ(morvek::ParsePvtTableText(file(header, end, finalEnd), "labor.txt", again,
                                                    problems),
                          TableReadStatus::Read)
                    << Joined(problems);
                EXPECT_TRUE(morvek::SameTable(again, first));
            }

    // From a file, the table takes the file's name; a name code page 1252
    // cannot hold is shown with '?' (the report goes to aus.txt).
    TempDir dir;
    const std::string path = dir.File("Ölfeld Ж.txt");
    WriteBytes(path, file(utf8Header, "\n", true));
    LabPvtTable fromFile;
    ASSERT_EQ(morvek::ReadPvtTableFile(path, fromFile, problems), TableReadStatus::Read);
    EXPECT_EQ(fromFile.fileName, "Ölfeld ?.txt");
    EXPECT_TRUE(morvek::IsValidTable(fromFile));
}

TEST(LabTableReaders, TakeRvAndBwAsOptionalColumnsInTheOrderTheHeaderNames) {
    struct Case {
        const char* what;
        std::string text;
        bool rv, bw;
        float rvAt100, bwAt100;
    };
    const std::vector<Case> cases = {
        {"Rv as 7th column, unnamed", "Druck Bo Rs Bg VisOel VisGas - Labor\n"
                                      "100 1.2 50 0.01 1.1 0.015 2e-5\n200 1.3 90 0.005 0.8 0.02 5e-5\n",
         true, false, 2e-5f, 0},
        {"Rv and Bw, unnamed", "Druck Bo Rs Bg VisOel VisGas\n"
                               "100 1.2 50 0.01 1.1 0.015 2e-5 1.03\n200 1.3 90 0.005 0.8 0.02 5e-5 1.02\n",
         true, true, 2e-5f, 1.03f},
        {"Bw named alone", "p Bo Rs Bg muo mug Bw(m3/sm3)\n"
                           "100 1.2 50 0.01 1.1 0.015 1.03\n200 1.3 90 0.005 0.8 0.02 1.02\n",
         false, true, 0, 1.03f},
        {"Bw before Rv", "p;Bo;Rs;Bg;muo;mug;BW;RV\n"
                         "100;1.2;50;0.01;1.1;0.015;1.03;2e-5\n200;1.3;90;0.005;0.8;0.02;1.02;5e-5\n",
         true, true, 2e-5f, 1.03f},
        {"a word that only contains bw", "p Bo Rs Bg muo mug Bwasser\n"
                                         "100 1.2 50 0.01 1.1 0.015 2e-5\n200 1.3 90 0.005 0.8 0.02 5e-5\n",
         true, false, 2e-5f, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LabPvtTable table;
        std::vector<std::string> problems;
        ASSERT_EQ(morvek::ParsePvtTableText(c.text, "spalten.txt", table, problems),
                  TableReadStatus::Read)
            << Joined(problems);
        EXPECT_EQ(table.hasRv, c.rv);
        EXPECT_EQ(table.hasBw, c.bw);
        EXPECT_EQ(table.rows[0].rv, c.rvAt100);
        EXPECT_EQ(table.rows[0].bw, c.bwAt100);
        EXPECT_EQ(table.rows[1].bg, 0.005f);
        EXPECT_TRUE(morvek::IsValidTable(table));
        // The same table without its optional columns is another table.
        LabPvtTable plain = table;
        plain.hasRv = plain.hasBw = false;
        for (auto& r : plain.rows) r.rv = r.bw = 0;
        EXPECT_FALSE(morvek::SameTable(plain, table));
    }

    // Every row has as many columns as the first; Rv not negative, Bw above 0.
    const std::vector<std::pair<std::string, std::vector<std::string>>> refused = {
        {"p Bo Rs Bg muo mug Rv\n100 1.2 50 0.01 1.1 0.015 2e-5\n200 1.3 90 0.005 0.8 0.02\n",
         {"Zeile 3: 6 Zahlen statt 7 (Druck, Bo, Rs, Bg, Ölviskosität, Gasviskosität, Rv)."}},
        {"p Bo Rs Bg muo mug\n100 1.2 50 0.01 1.1 0.015\n200 1.3 90 0.005 0.8 0.02 1 2\n",
         {"Zeile 3: 8 Zahlen statt 6 (Druck, Bo, Rs, Bg, Ölviskosität, Gasviskosität)."}},
        {"p\n100 1.2 50 0.01 1.1 0.015 1 2 3\n",
         {"Zeile 2: 9 Zahlen statt 6 bis 8 (Druck, Bo, Rs, Bg, Ölviskosität, Gasviskosität; "
          "wahlweise dazu Rv und Bw)."}},
        {"p Bo Rs Bg muo mug Rv Bw\n100 1.2 50 0.01 1.1 0.015 -1e-5 1\n"
         "200 1.3 90 0.005 0.8 0.02 1e-5 0\n",
         {"Zeile 2: Rv -1e-05 darf nicht negativ sein.", "Zeile 3: Bw 0 muß größer als 0 sein."}},
    };
    for (const auto& [text, expected] : refused) {
        SCOPED_TRACE(text);
        LabPvtTable table;
        std::vector<std::string> problems;
        EXPECT_EQ(morvek::ParsePvtTableText(text, "x.txt", table, problems),
                  TableReadStatus::Refused);
        EXPECT_EQ(problems, expected) << Joined(problems);
    }

    // Rows a script gives say which columns they hold; values in a column the
    // table does not have are refused.
    LabPvtTable fromScript;
    std::vector<std::string> problems;
    morvek::LabPvtRow a{100, 1.2f, 50, 0.01f, 1.1f, 0.015f}, b{200, 1.3f, 90, 0.005f, 0.8f, 0.02f};
    a.bw = 1.03f;
    b.bw = 1.02f;
    EXPECT_EQ(morvek::PvtTableFromRows({a, b}, "skript", fromScript, problems),
              TableReadStatus::Refused);
    EXPECT_EQ(problems[0], "Zeile 1: Die Zeile enthält Rv oder Bw, die Tabelle aber nicht.");
    morvek::LabPvtColumns bw;
    bw.bw = true;
    EXPECT_EQ(morvek::PvtTableFromRows({a, b}, "skript", fromScript, problems, bw),
              TableReadStatus::Read);
    EXPECT_TRUE(fromScript.hasBw);
    EXPECT_FALSE(fromScript.hasRv);
}

}  // namespace
