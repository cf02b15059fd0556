#include <gtest/gtest.h>

#include <clocale>

#include "DialogTestSupport.h"
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

TEST(MeasuredDataFile, RowOfTwoNumbersMarksTheMissingRatio) {
    FileRead r(std::string(kHeader) + "1.5 120\n2.5 110 abc\n");
    EXPECT_EQ(r.dialog.m_Messwerte, (Rows{"     1.500                120.0   * ",
                                          "     2.500                110.0   * "}));
    EXPECT_TRUE(r.Said().empty());
}

TEST(MeasuredDataFile, EmptyLineAfterTheLastRowEndsTheReadingWithAMessage) {
    FileRead r(std::string(kHeader) + "1.5 120\n\n");
    EXPECT_EQ(r.dialog.m_Messwerte.size(), 1u);
    EXPECT_EQ(r.Said(),
              Rows{"Die 3. Zeile der Datei " + r.path + " enthält keine 2 Werte:\n "});
    EXPECT_EQ(r.dialog.m_strStatus, "1 Zeile wurde eingelesen");
}

TEST(MeasuredDataFile, LastLineWithoutLineEndIsRead) {
    FileRead r(std::string(kHeader) + "1.5 120\n2.5 110");
    EXPECT_EQ(r.dialog.m_Messwerte.size(), 2u);
    EXPECT_TRUE(r.Said().empty());
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

// A NUL byte would cut the line where the numbers are read: the line is
// refused by its number, and the rows before it stay.
TEST(MeasuredDataFile, LineWithANulByteEndsTheReadingWithItsNumber) {
    FileRead r(std::string(kHeader) + "1.5 120\n" + std::string("1 1\0 00 50\n", 11) + "3 100\n");
    EXPECT_EQ(r.dialog.m_Messwerte, Rows{"     1.500                120.0   * "});
    EXPECT_EQ(r.Said(), Rows{"In der 3.Zeile steht ein Nullzeichen."});
    // A file whose first line stops it yields no row: the rows there are stay.
    FileRead header(std::string("K\0pf\n1.5 120\n", 13));
    EXPECT_EQ(header.dialog.m_Messwerte, (Rows{"1 200", "2 190"}));
    EXPECT_EQ(header.Said(), Rows{"In der 1.Zeile steht ein Nullzeichen."});
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

TEST(MeasuredDataFile, HeaderOnlyKeepsTheRowsAndSaysTheFileHoldsNone) {
    FileRead r{std::string(kHeader)};
    EXPECT_EQ(r.dialog.m_Messwerte, (Rows{"1 200", "2 190"}));
    EXPECT_EQ(r.dialog.m_MesswertListe.Count(), 2);
    EXPECT_EQ(r.Said(), Rows{"Die Datei " + r.path + " enthält keine Meßwertzeile."});
    EXPECT_EQ(r.sink.Log().back().kind, ScriptedMessageSink::Entry::Shown);
    EXPECT_EQ(r.dialog.m_strStatus, "Keine Zeile eingelesen");
    EXPECT_EQ(r.dialog.m_bMesswerteGeaendert, 0);
}

TEST(MeasuredDataFile, ProductionEqualToOilInPlaceEndsTheReading) {
    FileRead r(std::string(kHeader) + "1.5 120\n5000 100\n6 90\n");
    EXPECT_EQ(r.dialog.m_Messwerte, Rows{"     1.500                120.0   * "});
    EXPECT_EQ(r.Said(), Rows{"ABBRUCH!!\n3. Zeile: Kum.Ölproduktion 5000.00 > OOIP 5000.00"});
    EXPECT_EQ(r.dialog.m_strStatus, "1 Zeile wurde eingelesen");
}

TEST(MeasuredDataFile, PressureEqualToInitialPressureIsAcceptedAndAboveEndsTheReading) {
    FileRead r(std::string(kHeader) + "1.5 250\n2 250.1\n");
    EXPECT_EQ(r.dialog.m_Messwerte, Rows{"     1.500                250.0   * "});
    EXPECT_EQ(r.Said(), Rows{"ABBRUCH!!\n3. Zeile: Meßdruck  250.1 > Initialer Druck  250.0"});
}

TEST(MeasuredDataFile, LineOf99CharactersIsReadAndOf100EndsTheReading) {
    FileRead r(std::string(kHeader) + Line(99) + "\n" + Line(100) + "\n" + "3 100\n");
    EXPECT_EQ(r.dialog.m_Messwerte.size(), 1u);
    EXPECT_EQ(r.Said(), Rows{"In der 3.Zeile 100 Zeichen gelesen"});
}

TEST(MeasuredDataFile, HeaderOf100CharactersEndsTheReadingToo) {
    FileRead r(std::string(100, 'K') + "\n1.5 120\n");
    // No row read: the rows there are stay.
    EXPECT_EQ(r.dialog.m_Messwerte, (Rows{"1 200", "2 190"}));
    EXPECT_EQ(r.Said(), Rows{"In der 1.Zeile 100 Zeichen gelesen"});
}

TEST(MeasuredDataFile, NotFiniteValuesAreNoNumbers) {
    FileRead r(std::string(kHeader) + "1.5 120 nan\nnan 120\n");
    EXPECT_EQ(r.dialog.m_Messwerte, Rows{"     1.500                120.0   * "});
    EXPECT_EQ(r.Said(),
              Rows{"Die 3. Zeile der Datei " + r.path + " enthält keine 2 Werte:\n nan 120"});
}

TEST(MeasuredDataFile, LineTextInTheMessageComesFromCodePage1252) {
    FileRead r(std::string(kHeader) + "Z\xE4hler 3\n");
    EXPECT_EQ(r.Said(),
              Rows{"Die 2. Zeile der Datei " + r.path + " enthält keine 2 Werte:\n Zähler 3"});
}

TEST(MeasuredDataFile, FileThatCannotBeOpenedKeepsTheRowsAlreadyEntered) {
    TempDir dir;
    for (const std::string& path : {dir.File("fehlt.txt"), dir.Path()}) {
        FileRead r{std::optional<std::string>(path)};
        EXPECT_EQ(r.sink.Texts(), (Rows{path + " wird geöffnet",
                                        "Die Datei " + path + " kann nicht geöffnet werden."}));
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

TEST(MeasuredDataFile, FileWithoutAReadableRowKeepsTheRowsAndNamesFileAndLine) {
    FileRead r(std::string("Kopf\n") + "10,5 200 100\n");
    EXPECT_EQ(r.dialog.m_Messwerte, (Rows{"1 200", "2 190"}));
    EXPECT_EQ(r.dialog.m_MesswertListe.Count(), 2);
    EXPECT_EQ(r.dialog.m_bMesswerteGeaendert, 0);
    const Rows said = r.Said();
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find(r.path), std::string::npos) << said[0];
    EXPECT_NE(said[0].find("2. Zeile"), std::string::npos) << said[0];
    EXPECT_NE(said[0].find("10,5 200 100"), std::string::npos) << said[0];
    EXPECT_NE(said[0].find("Dezimalpunkt"), std::string::npos) << said[0];
}

TEST(MeasuredDataFile, LineWithoutACommaGetsNoDecimalPointHint) {
    FileRead r(std::string(kHeader) + "1.5 120\nZähler 3\n");
    EXPECT_EQ(r.dialog.m_Messwerte.size(), 1u);
    ASSERT_EQ(r.Said().size(), 1u);
    EXPECT_EQ(r.Said()[0].find("Dezimalpunkt"), std::string::npos);
    EXPECT_NE(r.Said()[0].find("3. Zeile"), std::string::npos) << r.Said()[0];
}

TEST(MeasuredDataFile, NegativeValuesEndTheReadingWithTheLineNumber) {
    FileRead r(std::string(kHeader) + "1.5 120\n-50 200 -7\n");
    EXPECT_EQ(r.dialog.m_Messwerte, Rows{"     1.500                120.0   * "});
    ASSERT_EQ(r.Said().size(), 1u);
    EXPECT_NE(r.Said()[0].find("3. Zeile"), std::string::npos) << r.Said()[0];
    EXPECT_NE(r.Said()[0].find("Bitte einen Wert ab 0"), std::string::npos) << r.Said()[0];
}
