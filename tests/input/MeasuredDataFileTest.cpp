#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <clocale>
#include <cstring>

#include "DialogTestSupport.h"
#include "base/Format.h"
#include "ExampleCases.h"
#include "input/ExchangeTable.h"
#include "case/CaseLimits.h"
#include "input/MeasuredDataFile.h"
#include "support/ScriptedMessageSink.h"
#include "support/TestSupport.h"

namespace {

using Rows = std::vector<std::string>;

const char* const kHeader = "Kum.Oel  Druck  GOEV\n";

// "Meßwertdatei lesen" in the Nordfeld dialog (oil in place 5000, initial
// pressure 250) on a file of the given bytes.
struct FileRead {
    explicit FileRead(const std::string& bytes) : path(dir.File("messwerte.txt")) {
        WriteBytes(path, bytes);
        Open(path);
    }
    explicit FileRead(std::optional<std::string> chosen) { Open(std::move(chosen)); }

    void Open(std::optional<std::string> chosen) {
        chooser = std::make_unique<ScriptedFileChooser>(std::move(chosen));
        FillNordfeld(doc);
        doc.m_Messwerte = {"1 200", "2 190"};
        dialog = DialogFilledFrom(doc);
        dialog.SetPorts(&sink, &controls, chooser.get());
        dialog.OnInitDialog();
        dialog.m_bMesswerteGeaendert = 0;
        dialog.m_strStatus = "vorher";
        // A file read only in part replaces the two rows there on Yes.
        sink.Answers({Answer::Yes});
        dialog.FileOpen();
    }
    // The messages after " wird geöffnet", without the question before the
    // rows there are replaced.
    Rows Said() const {
        Rows texts;
        for (const ScriptedMessageSink::Entry& e : sink.Log())
            if (e.kind == ScriptedMessageSink::Entry::Shown) texts.push_back(e.text);
        if (!texts.empty() && texts.front() == path + " wird geöffnet") texts.erase(texts.begin());
        return texts;
    }

    TempDir dir;
    std::string path;
    std::unique_ptr<ScriptedFileChooser> chooser;
    CMorvekDoc doc;
    DlgInput dialog;
    FakeControls controls;
    ScriptedMessageSink sink;
};

std::string Line(size_t length) {
    std::string line = "1.5 120";
    line.resize(length, ' ');
    return line;
}

}  // namespace

TEST(MeasuredDataFile, ThreeRowsOfThreeNumbersInTheFixedLayout) {
    FileRead r(std::string(kHeader) + "300 220 95\n100.25 240 90\n200 230.04 92.5\n");
    const Rows inFileOrder = {
        "   300.000                220.0                95.0",
        "   100.250                240.0                90.0",
        "   200.000                230.0                92.5",
    };
    EXPECT_EQ(r.sink.Texts(), Rows{r.path + " wird geöffnet"});
    EXPECT_EQ(r.dialog.m_Messwerte, inFileOrder);
    EXPECT_EQ(r.dialog.m_MesswertListe.Rows(),
              (Rows{inFileOrder[1], inFileOrder[2], inFileOrder[0]}));
    EXPECT_EQ(r.controls.texts[ctl::kStatus], "3 Zeilen wurden eingelesen");
    EXPECT_EQ(r.controls.texts[ctl::kZeile], " ");
    EXPECT_EQ(r.dialog.m_bMesswerteGeaendert, 1);
    EXPECT_EQ(r.chooser->asked, Rows{"Alle Dateien|*.TXT"});
}

// Each file read into the Nordfeld dialog, which held the rows "1 200" and
// "2 190": the rows it then holds (a file that yields no row leaves those),
// the messages after " wird geöffnet" ("%s" is the file's path) and the
// status line.
TEST(MeasuredDataFile, EachFileGivesItsRowsAndMessages) {
    const Rows before = {"1 200", "2 190"};
    const std::string one = "     1.500                120.0   * ";
    struct Case {
        const char* what;
        std::string bytes;
        Rows rows;
        Rows said;
        const char* status;  // nullptr: "<rows> Zeilen wurden eingelesen" (or "1 Zeile wurde")
    };
    const std::vector<Case> cases = {
        {"a row of two numbers marks the missing ratio", std::string(kHeader) + "1.5 120\n2.5 110 abc\n",
         {one, "     2.500                110.0   * "}, {}, nullptr},
        {"the last line without a line end", std::string(kHeader) + "1.5 120\n2.5 110",
         {one, "     2.500                110.0   * "}, {}, nullptr},
        {"an empty line after the last row", std::string(kHeader) + "1.5 120\n\n", {one},
         {"Die 3. Zeile der Datei %s enthält keine 2 Werte:\n "}, nullptr},
        // A NUL byte would cut the line where the numbers are read.
        {"a line with a NUL byte",
         std::string(kHeader) + "1.5 120\n" + std::string("1 1\0 00 50\n", 11) + "3 100\n", {one},
         {"In der 3.Zeile steht ein Nullzeichen."}, nullptr},
        {"a header with a NUL byte", std::string("K\0pf\n1.5 120\n", 13), before,
         {"In der 1.Zeile steht ein Nullzeichen."}, "Keine Zeile eingelesen"},
        {"a header only", kHeader, before, {"Die Datei %s enthält keine Meßwertzeile."},
         "Keine Zeile eingelesen"},
        {"production equal to the oil in place",
         std::string(kHeader) + "1.5 120\n5000 100\n6 90\n", {one},
         {"ABBRUCH!!\n3. Zeile: Kum.Ölproduktion 5000.00 > OOIP 5000.00"}, nullptr},
        {"a pressure at the initial pressure, then above it",
         std::string(kHeader) + "1.5 250\n2 250.1\n", {"     1.500                250.0   * "},
         {"ABBRUCH!!\n3. Zeile: Meßdruck  250.1 > Initialer Druck  250.0"}, nullptr},
        {"a line of 99 characters, then of 100",
         std::string(kHeader) + Line(99) + "\n" + Line(100) + "\n" + "3 100\n", {one},
         {"In der 3.Zeile 100 Zeichen gelesen"}, nullptr},
        {"a header of 100 characters", std::string(100, 'K') + "\n1.5 120\n", before,
         {"In der 1.Zeile 100 Zeichen gelesen"}, "Keine Zeile eingelesen"},
        {"values that are not finite", std::string(kHeader) + "1.5 120 nan\nnan 120\n", {one},
         {"Die 3. Zeile der Datei %s enthält keine 2 Werte:\n nan 120"}, nullptr},
        {"a line in code page 1252", std::string(kHeader) + "Z\xE4hler 3\n", before,
         {"Die 2. Zeile der Datei %s enthält keine 2 Werte:\n Zähler 3"}, "Keine Zeile eingelesen"},
        {"a decimal comma gets the decimal point hint", "Kopf\n10,5 200 100\n", before,
         {"Die 2. Zeile der Datei %s enthält keine 2 Werte:\n 10,5 200 100\nZahlen werden mit "
          "Dezimalpunkt geschrieben, zum Beispiel 10.5 statt 10,5."},
         "Keine Zeile eingelesen"},
        {"a line without a comma gets no hint", std::string(kHeader) + "1.5 120\nZ\xE4hler 3\n",
         {one}, {"Die 3. Zeile der Datei %s enthält keine 2 Werte:\n Zähler 3"}, nullptr},
        {"negative values", std::string(kHeader) + "1.5 120\n-50 200 -7\n", {one},
         {"ABBRUCH!!\n3. Zeile: Bitte einen Wert ab 0 eingeben: \"Kum.Ölproduktion (1000 m3)\"."},
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FileRead r(c.bytes);
        EXPECT_EQ(r.dialog.m_Messwerte, c.rows);
        EXPECT_EQ(r.dialog.m_MesswertListe.Count(), static_cast<int>(c.rows.size()));
        Rows said;
        for (const std::string& text : c.said) said.push_back(Format(text.c_str(), r.path.c_str()));
        EXPECT_EQ(r.Said(), said);
        const bool read = c.rows != before;
        // Rows read only up to a bad line replace the two rows there only
        // after a question (answered Yes); a whole file or none asks nothing.
        int questions = 0;
        for (const ScriptedMessageSink::Entry& e : r.sink.Log())
            if (e.kind != ScriptedMessageSink::Entry::Shown) {
                ++questions;
                EXPECT_EQ(e.kind, ScriptedMessageSink::Entry::YesNo);
                EXPECT_NE(e.text.find("Die vorhandenen Meßwerte (2 Zeilen) dadurch ersetzen?"),
                          std::string::npos)
                    << e.text;
            }
        EXPECT_EQ(questions, read && !said.empty() ? 1 : 0);
        EXPECT_EQ(r.dialog.m_bMesswerteGeaendert, read ? 1 : 0);
        EXPECT_EQ(r.dialog.m_strStatus,
                  c.status != nullptr ? std::string(c.status)
                  : c.rows.size() == 1 ? std::string("1 Zeile wurde eingelesen")
                                       : Format("%zu Zeilen wurden eingelesen", c.rows.size()));
    }
}

TEST(MeasuredDataFile, CrLfLineEndsReadAsLf) {
    FileRead lf(std::string(kHeader) + "1.5 120\n" + Line(99) + "\n");
    FileRead crlf(std::string("Kopf\r\n") + "1.5 120\r\n" + Line(99) + "\r\n");
    EXPECT_EQ(crlf.dialog.m_Messwerte, lf.dialog.m_Messwerte);
    EXPECT_EQ(crlf.dialog.m_Messwerte.size(), 2u);
    EXPECT_TRUE(crlf.Said().empty());
}

// Files from every kind of system: CR LF, LF and a lone CR each end a line,
// so no row is lost behind a line end the reader does not know.
TEST(MeasuredDataFile, LoneCrEndsALineAsLfAndCrLfDo) {
    const std::string rows[] = {"1.5 120 80", "2.5 110", Line(99), "3.5 100 70"};
    const Rows expected = FileRead(std::string(kHeader) + rows[0] + "\n" + rows[1] + "\n" +
                                   rows[2] + "\n" + rows[3] + "\n")
                              .dialog.m_Messwerte;
    ASSERT_EQ(expected.size(), 4u);
    for (const char* end : {"\r", "\r\n", "\n"}) {
        for (const char* last : {"", "\r", "\n"}) {
            std::string bytes = std::string("Kopf") + end;
            for (int i = 0; i < 4; ++i) bytes += rows[i] + (i < 3 ? std::string(end) : last);
            FileRead r(bytes);
            EXPECT_EQ(r.dialog.m_Messwerte, expected) << testing::PrintToString(bytes);
            EXPECT_TRUE(r.Said().empty()) << testing::PrintToString(bytes);
        }
    }
    // Mixed in one file, and an empty line between two CRs ends the reading.
    FileRead mixed(std::string("Kopf\r") + rows[0] + "\r\n" + rows[1] + "\n" + rows[2] + "\r\r" +
                   rows[3]);
    EXPECT_EQ(mixed.dialog.m_Messwerte, Rows(expected.begin(), expected.begin() + 3));
    ASSERT_EQ(mixed.Said().size(), 1u);
    EXPECT_EQ(mixed.Said()[0], "Die 5. Zeile der Datei " + mixed.path + " enthält keine 2 Werte:\n ");
}

// A case holds at most kMaxMeasuredRows rows: the reading ends there, so that
// the rows read can always be saved and a huge file costs bounded memory.
TEST(MeasuredDataFile, ReadingEndsAtTheMostRowsACaseHolds) {
    TempDir dir;
    std::string bytes = kHeader;
    for (size_t i = 0; i <= kMaxMeasuredRows; ++i) bytes += "1 1\n";
    WriteBytes(dir.File("viele.txt"), bytes);
    ScriptedMessageSink sink;
    Rows rows;
    ASSERT_TRUE(ReadMeasuredDataFile(dir.File("viele.txt"), 5000.0f, 250.0f, sink, rows));
    EXPECT_EQ(rows.size(), kMaxMeasuredRows);
    EXPECT_EQ(sink.Texts(), Rows{"In der 100002.Zeile: mehr als 100000 Meßwerte kann der Fall "
                                 "nicht aufnehmen."});
}

TEST(MeasuredDataFile, FileThatCannotBeOpenedKeepsTheRowsAlreadyEntered) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.File("fifo.txt").c_str(), 0600), 0);
    const std::pair<std::string, std::string> cases[] = {
        {dir.File("fehlt.txt"), std::strerror(ENOENT)},
        {dir.Path(), std::strerror(EISDIR)},
        {dir.File("fifo.txt"), "keine gewöhnliche Datei"}};
    for (const auto& [path, reason] : cases) {
        FileRead r{std::optional<std::string>(path)};
        EXPECT_EQ(r.sink.Texts(),
                  (Rows{path + " wird geöffnet",
                        "Die Datei " + path + " kann nicht geöffnet werden.\n" + reason}));
        EXPECT_EQ(r.dialog.m_Messwerte, (Rows{"1 200", "2 190"}));
        EXPECT_EQ(r.dialog.m_MesswertListe.Count(), 2);
        EXPECT_EQ(r.dialog.m_bMesswerteGeaendert, 0);
        EXPECT_EQ(r.dialog.m_strStatus, "vorher");
    }
}

TEST(MeasuredDataFile, CancelledChoiceChangesNothing) {
    FileRead r{std::optional<std::string>()};
    EXPECT_TRUE(r.sink.Log().empty());
    EXPECT_EQ(r.dialog.m_Messwerte, (Rows{"1 200", "2 190"}));
    EXPECT_EQ(r.dialog.m_strStatus, "vorher");
}

TEST(MeasuredDataFile, ChecksUseTheOilInPlaceNowInItsFieldAndKeepIt) {
    TempDir dir;
    const std::string path = dir.File("m.txt");
    WriteBytes(path, std::string(kHeader) + "4000 200\n");
    CMorvekDoc doc;
    FillNordfeld(doc);
    DlgInput dialog = DialogFilledFrom(doc);
    FakeControls controls;
    ScriptedMessageSink sink;
    ScriptedFileChooser chooser(path);
    dialog.SetPorts(&sink, &controls, &chooser);
    dialog.OnInitDialog();
    controls.texts[ctl::kOOIP] = "100";  // typed, not yet left
    dialog.FileOpen();
    // 4000 is above the oil in place typed: no row is read, the rows stay.
    EXPECT_EQ(dialog.m_Messwerte, doc.m_Messwerte);
    EXPECT_EQ(dialog.m_OOIP, 100.0f);
    EXPECT_EQ(controls.texts[ctl::kOOIP], "100");

    // An oil in place that cannot be read is reported before any file is chosen.
    sink.Clear();
    controls.texts[ctl::kOOIP] = "viel";
    dialog.FileOpen();
    EXPECT_EQ(sink.Texts(), Rows{NotANumberMessage(*FindField("m_OOIP"))});
    EXPECT_EQ(chooser.asked.size(), 1u);
}

TEST(MeasuredDataFile, ReaderForBatchModeGivesTheRowsInFileOrder) {
    TempDir dir;
    const std::string path = dir.File("m.txt");
    WriteBytes(path, std::string(kHeader) + "20 200\n10 210 80\n");
    ScriptedMessageSink sink;
    Rows rows = {"alt"};
    ASSERT_TRUE(ReadMeasuredDataFile(path, 5000.0f, 250.0f, sink, rows));
    EXPECT_EQ(rows, (Rows{"    20.000                200.0   * ",
                          "    10.000                210.0                80.0"}));
    EXPECT_TRUE(sink.Log().empty());

    rows = {"alt"};
    EXPECT_FALSE(ReadMeasuredDataFile(dir.File("fehlt.txt"), 5000.0f, 250.0f, sink, rows));
    EXPECT_EQ(rows, Rows{"alt"});
}

TEST(MeasuredDataFile, NordfeldExampleReadsWhole) {
    ScriptedMessageSink sink;
    Rows rows;
    ASSERT_TRUE(ReadMeasuredDataFile(SourcePath("examples/nordfeld-messwerte.txt"), 5000.0f, 250.0f,
                                     sink, rows));
    EXPECT_TRUE(sink.Log().empty());
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[0], "    20.000                226.0                99.0");
    EXPECT_EQ(rows[7], "   786.000                108.0   * ");
}

TEST(MeasuredDataFile, ReadsAndWritesDecimalPointsUnderAGermanLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no German locale";
    FileRead r(std::string(kHeader) + "1.5 120.25 33.5\n");
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(r.dialog.m_Messwerte, Rows{"     1.500                120.2                33.5"});
    EXPECT_TRUE(r.Said().empty());
}

