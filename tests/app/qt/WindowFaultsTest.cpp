// Faults of the window a new user met, each as the user met it: results read
// from a missing aus.txt, a stale modified mark, a long recent path, the
// diagnostic windows' print preview, export and blank page, Havlena-Odeh
// after a PVT run, the greyed fields of a case with tables, the hint of a
// new case and of a blank window.

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <filesystem>

#include "ExampleCases.h"
#include "app/RecentFileList.h"
#include "app/qt/WindowFixture.h"
#include "input/qt/DlgInputWidget.h"
#include "match/qt/DiagnosticGraphWindow.h"
#include "match/qt/MatchWindows.h"
#include "model/CaseFile.h"
#include "views/qt/GraphViewWidget.h"
#include "views/qt/ReportViewWidget.h"

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

std::string CopyOfExample(const Window& w, const std::string& name) {
    const std::string copy = w.Path(name);
    WriteBytes(copy, ReadBytes(SourcePath("examples/" + name)));
    return copy;
}

// The working directory, where aus.txt lives, for one test.
class InFolder {
public:
    explicit InFolder(const std::string& path) : m_Previous(std::filesystem::current_path()) {
        std::filesystem::current_path(path);
    }
    ~InFolder() { std::filesystem::current_path(m_Previous); }

private:
    std::filesystem::path m_Previous;
};

}  // namespace

// "Ergebnisse einlesen" without an aus.txt: the report stays, the warning
// names the folder; with one, the count says "Zeile" or "Zeilen" rightly.
TEST(WindowFaults, ReadingResultsWithoutAusTxtKeepsTheReportAndNamesTheFolder) {
    Window w;
    InFolder here(w.dir.Path());
    w.NextDialogOk();
    ASSERT_TRUE(w.frame->OpenCase(Q(CopyOfExample(w, "nordfeld.mvk"))));
    const std::vector<std::string> report = w.doc.m_Text;
    ASSERT_FALSE(report.empty());
    w.sink.Clear();
    w.Run(ID_ERGEBNISSE_EINLESEN);
    EXPECT_EQ(w.doc.m_Text, report);
    ASSERT_EQ(w.sink.Log().size(), 1u);
    EXPECT_TRUE(w.sink.Log()[0].warning);
    EXPECT_NE(w.sink.Log()[0].text.find("im Ordner " + w.dir.Path()), std::string::npos)
        << w.sink.Log()[0].text;

    WriteBytes(w.Path("aus.txt"), "Titel\n");
    w.sink.Clear();
    w.Run(ID_ERGEBNISSE_EINLESEN);
    EXPECT_EQ(w.doc.m_Text, std::vector<std::string>{"Titel"});
    EXPECT_EQ(w.sink.Texts(), std::vector<std::string>{"1 Zeile wurde eingelesen"});
}

// "Nein" to saving a modified case, then another opened: while its dialog is
// up the window shows no modified mark of the case before.
TEST(WindowFaults, NoToSavingLeavesNoStaleModifiedMarkOnTheNextCase) {
    Window w;
    w.NextDialog([](DlgInputWidget& d) { TypeInto(d, 1019, QStringLiteral("6000")); });
    ASSERT_TRUE(w.frame->OpenCase(Q(CopyOfExample(w, "nordfeld.mvk"))));
    ASSERT_TRUE(w.frame->isWindowModified());
    w.sink.Answers({Answer::No});
    bool markDuringDialog = true;
    QString titleDuringDialog;
    w.NextDialog([&](DlgInputWidget&) {
        markDuringDialog = w.frame->isWindowModified();
        titleDuringDialog = w.frame->windowTitle();
    });
    ASSERT_TRUE(w.frame->OpenCase(Q(CopyOfExample(w, "gaskappe.mvk"))));
    EXPECT_FALSE(markDuringDialog);
    EXPECT_EQ(titleDuringDialog, QStringLiteral("gaskappe.mvk[*] - morvek"));
    EXPECT_FALSE(w.frame->isWindowModified());
}

// A long path in the recent-file list is shortened in its middle, keeping
// the file's own name, so that the menu stays as wide as its others.
TEST(WindowFaults, RecentFilesOfLongPathsAreShortenedInTheMiddle) {
    Window w;
    const std::string folder = w.Path(std::string(40, 'v') + "/" + std::string(40, 'w'));
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/nordfeld-variante.mvk";
    WriteBytes(path, ReadBytes(SourcePath("examples/nordfeld.mvk")));
    w.NextDialogOk();
    ASSERT_TRUE(w.frame->OpenCase(Q(path)));
    const QString text = w.frame->RecentFiles().MenuText(0);
    EXPECT_LE(text.size(), 3 + 60) << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("/nordfeld-variante.mvk"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QChar(0x2026)));
    EXPECT_TRUE(w.frame->RecentFiles().Files().front().endsWith(
        QStringLiteral("/nordfeld-variante.mvk")));
}

// The diagnostic windows preview and print what they show, with its title,
// export a name without extension as PNG, and, after a case without rows
// was opened, say why they show nothing instead of going blank.
TEST(WindowFaults, DiagnosticWindowsPreviewExportAndSayWhyTheyAreEmpty) {
    Window w;
    w.NextDialogOk();
    ASSERT_TRUE(w.frame->OpenCase(Q(CopyOfExample(w, "nordfeld.mvk"))));
    w.Run(ID_HAVLENA_ODEH);
    DiagnosticGraphWindow* ho = w.frame->Match()->HavlenaOdehWindow();
    ASSERT_NE(ho, nullptr);
    EXPECT_EQ(ho->PreviewButton()->text(), QStringLiteral("Seitenansicht..."));
    EXPECT_TRUE(ho->PreviewButton()->isEnabled());
    EXPECT_EQ(ho->PageTitle(0), "Nordfeld: Havlena-Odeh");

    const std::string plain = w.Path("ho");
    ho->SetExportChooser([&](QWidget*) { return Q(plain); });
    ASSERT_TRUE(ho->OnExport());
    EXPECT_EQ(ReadBytes(plain + ".png").substr(1, 3), "PNG");
    const std::string pdf = w.Path("ho.pdf");
    ho->SetExportChooser([&](QWidget*) { return Q(pdf); });
    ASSERT_TRUE(ho->OnExport());
    // The PDF's title names the graph (UTF-16 with a byte-order mark).
    std::string utf16 = "\xFE\xFF";
    for (char c : std::string("Nordfeld: Havlena-Odeh")) {
        utf16 += '\0';
        utf16 += c;
    }
    EXPECT_NE(ReadBytes(pdf).find(utf16), std::string::npos);

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(Q(w.Path("druck.pdf")));
    ASSERT_TRUE(ho->PrintTo(printer));
    EXPECT_EQ(printer.docName(), QStringLiteral("Nordfeld: Havlena-Odeh"));
    EXPECT_NE(ReadBytes(w.Path("druck.pdf")).find(utf16), std::string::npos);

    // A case without measured rows: the window says why and its buttons rest.
    CMorvekDoc empty;
    FillNordfeld(empty);
    empty.m_Messwerte.clear();
    CaseArchive ar = CaseArchive::ForStoring();
    ASSERT_TRUE(empty.Serialize(ar));
    const std::string rowless = w.Path("ohne-messwerte.mvk");
    WriteBytes(rowless, ar.Bytes());
    w.NextDialogOk();
    ASSERT_TRUE(w.frame->OpenCase(Q(rowless)));
    EXPECT_EQ(ho->PageCount(), 0);
    EXPECT_TRUE(ho->Reason().contains(QStringLiteral("Meßwerte mit Gas-Öl-Verhältnis")));
    EXPECT_FALSE(ho->PrintButton()->isEnabled());
    EXPECT_FALSE(ho->PreviewButton()->isEnabled());
    EXPECT_FALSE(ho->ExportButton()->isEnabled());
}

// After a computed PVT table Havlena-Odeh still shows the measured rows (it
// needs no prediction), and the drive indices say that the last run was no
// prediction instead of asking to compute the case.
TEST(WindowFaults, DiagnosticsAfterAPvtRunSayWhatTheyNeed) {
    Window w;
    w.NextDialog([](DlgInputWidget& d) {
        QTest::mouseClick(d.Button(1040), Qt::LeftButton);  // PVT-Daten ausgeben
    });
    ASSERT_TRUE(w.frame->OpenCase(Q(CopyOfExample(w, "nordfeld.mvk"))));
    ASSERT_EQ(w.doc.LastRun()->kind, morvek::ResultKind::PvtTable);
    w.sink.Clear();
    w.Run(ID_HAVLENA_ODEH);
    EXPECT_TRUE(w.sink.Log().empty()) << w.sink.Log().front().text;
    ASSERT_NE(w.frame->Match()->HavlenaOdehWindow(), nullptr);
    EXPECT_EQ(w.frame->Match()->HavlenaOdehWindow()->PageCount(), 1);

    w.Run(ID_ANTRIEBSINDIZES);
    ASSERT_EQ(w.sink.Log().size(), 1u);
    EXPECT_NE(w.sink.Log()[0].text.find("PVT-Tabelle"), std::string::npos) << w.sink.Log()[0].text;
    EXPECT_EQ(w.sink.Log()[0].text.find("zuerst berechnen"), std::string::npos);
}

// With laboratory tables the correlation and Corey fields are greyed, their
// tool tips say why; "Neu" says what to enter first; the radio button spells
// Vasquez.
TEST(WindowFaults, DialogGreysWhatTablesReplaceAndANewCaseSaysWhatToEnterFirst) {
    Window w;
    CMorvekDoc withTables;
    FillNordfeld(withTables);
    std::vector<std::string> problems;
    morvek::LabPvtTable pvt;
    morvek::LabRelPermTable relPerm;
    ASSERT_EQ(morvek::ReadPvtTableFile(SourcePath("examples/tabellen/nordfeld-pvt.txt"), pvt,
                                       problems),
              morvek::TableReadStatus::Read);
    ASSERT_EQ(morvek::ReadRelPermTableFile(
                  SourcePath("examples/tabellen/nordfeld-relperm.txt"), relPerm, problems),
              morvek::TableReadStatus::Read);
    withTables.m_Inputs.pvtTable = pvt;
    withTables.m_Inputs.relPermTable = relPerm;
    CaseArchive ar = CaseArchive::ForStoring();
    ASSERT_TRUE(withTables.Serialize(ar));
    const std::string path = w.Path("tabellen.mvk");
    WriteBytes(path, ar.Bytes());

    bool checked = false;
    w.NextDialog([&](DlgInputWidget& d) {
        checked = true;
        EXPECT_EQ(d.Button(1029)->text(), QStringLiteral("Vasquez und Beggs"));
        for (int id : {1028, 1029, 1030, 1031}) {
            EXPECT_FALSE(d.Button(id)->isEnabled()) << id;
            EXPECT_TRUE(d.Button(id)->toolTip().contains(QStringLiteral("nordfeld-pvt.txt")));
        }
        for (int id : {1041, 1042}) EXPECT_FALSE(d.Edit(id)->isEnabled()) << id;
        for (int id : {1024, 1025, 1026}) {
            EXPECT_FALSE(d.Edit(id)->isEnabled()) << id;
            EXPECT_TRUE(d.Edit(id)->toolTip().contains(QStringLiteral("nordfeld-relperm.txt")));
        }
        for (int id : {1019, 1020, 1023}) EXPECT_TRUE(d.Edit(id)->isEnabled()) << id;
        // Without the relative-permeability table the Corey fields count again.
        QTest::mouseClick(d.Button(DlgInputWidget::kRemoveRelPermTableButton), Qt::LeftButton);
        for (int id : {1024, 1025, 1026}) EXPECT_TRUE(d.Edit(id)->isEnabled()) << id;
    });
    ASSERT_TRUE(w.frame->OpenCase(Q(path)));
    EXPECT_TRUE(checked);

    QString status;
    w.sink.Answers({Answer::No});
    w.NextDialog(
        [&](DlgInputWidget& d) { status = d.Static(1039)->text(); }, false);
    w.Run(ID_FILE_NEW);
    EXPECT_TRUE(status.startsWith(QStringLiteral("Neuer Fall: zuerst Original Oil in Place")))
        << status.toStdString();
}

// A cross-field error puts the focus into the field to correct.
TEST(WindowFaults, ACrossFieldErrorFocusesTheFieldNotOk) {
    Window w;
    QWidget* focused = nullptr;
    QWidget* bubblePoint = nullptr;
    w.NextDialog(
        [&](DlgInputWidget& d) {
            TypeInto(d, 1021, QStringLiteral("260"));
            QTest::mouseClick(d.Button(DlgInputWidget::kOkButton), Qt::LeftButton);
            focused = QApplication::focusWidget();
            bubblePoint = d.Edit(1021);
        },
        false);
    ASSERT_TRUE(w.frame->OpenCase(Q(CopyOfExample(w, "nordfeld.mvk"))));
    ASSERT_EQ(w.sink.Log().size(), 1u);
    EXPECT_EQ(w.sink.Log()[0].text, "FEHLER!!\nEntlösungsdruck 260.0 > Initialdruck 250.0");
    EXPECT_EQ(focused, bubblePoint);
}

// A window without a report says how to start instead of staying blank.
TEST(WindowFaults, ABlankWindowSaysHowToStart) {
    Window w;
    w.frame->resize(900, 600);
    w.frame->ReportView()->viewport()->repaint();
    const QImage shown = w.frame->ReportView()->viewport()->grab().toImage();
    int dark = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) dark += qGray(shown.pixel(x, y)) < 160 ? 1 : 0;
    EXPECT_GT(dark, 200);
}
