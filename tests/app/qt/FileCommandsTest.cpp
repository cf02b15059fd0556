// The round of a new user: a new case typed into the dialog, the report,
// saving, closing with and without changes, opening again from the file
// dialog, the recent-file list, a dropped file, and aus.txt.

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QUrl>

#include "ExampleCases.h"
#include "app/MorvekApp.h"
#include "app/RecentFileList.h"
#include "app/qt/WindowFixture.h"
#include "input/qt/DlgInputWidget.h"
#include "model/CaseFile.h"

namespace {

const std::string kReportHead = "     MORVEK BERECHNUNG FELD: Nordfeld ";

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// Runs in a private working folder, where aus.txt is written.
class WorkingFolder {
public:
    explicit WorkingFolder(const std::string& path) : m_Previous(QDir::currentPath()) {
        QDir::setCurrent(Q(path));
    }
    ~WorkingFolder() { QDir::setCurrent(m_Previous); }

private:
    QString m_Previous;
};

}  // namespace

TEST(FileCommands, NewCaseTypedIntoTheDialogGivesTheReportAndTheModifiedMark) {
    Window w;
    EXPECT_EQ(w.frame->windowTitle(), QStringLiteral("Morvek[*] - morvek"));
    EXPECT_FALSE(w.frame->isWindowModified());
    w.NextDialog(TypeNordfeld);
    w.Run(ID_FILE_NEW);
    ASSERT_FALSE(w.doc.m_Text.empty()) << (w.sink.Texts().empty() ? "" : w.sink.Texts()[0]);
    EXPECT_EQ(w.doc.m_Text[0], kReportHead);
    EXPECT_EQ(w.doc.m_Feldname, "Nordfeld");
    EXPECT_EQ(w.doc.m_Gas[3], 82.0f);
    EXPECT_TRUE(w.frame->isWindowModified());
    EXPECT_TRUE(w.sink.Log().empty()) << w.sink.Texts()[0];
}

TEST(FileCommands, SaveAsksForANameThenSavesUnderIt) {
    Window w;
    w.NextDialog(TypeNordfeld);
    w.Run(ID_FILE_NEW);
    const std::string path = w.Path("nordfeld.mvk");
    w.files.Answer(Q(path));
    w.Run(ID_FILE_SAVE);
    ASSERT_EQ(w.files.suggestions.size(), 1u);
    EXPECT_TRUE(w.files.suggestions[0].endsWith(QStringLiteral("Morvek.mvk")));
    // The file holds the case exactly as typed: Nordfeld without its surveys.
    CMorvekDoc reopened;
    ASSERT_TRUE(reopened.ReadCaseFile(path));
    CMorvekDoc typed;
    FillNordfeld(typed);
    typed.m_Messwerte.clear();
    EXPECT_TRUE(reopened.m_Inputs == typed.m_Inputs);
    EXPECT_EQ(w.frame->windowTitle(), QStringLiteral("nordfeld.mvk[*] - morvek"));
    EXPECT_FALSE(w.frame->isWindowModified());
    // A second Save asks for no name.
    w.Run(ID_FILE_SAVE);
    EXPECT_EQ(w.files.suggestions.size(), 1u);
}

TEST(FileCommands, ClosingAModifiedCaseAsksAndCancelKeepsTheWindow) {
    Window w;
    w.NextDialog(TypeNordfeld);
    w.Run(ID_FILE_NEW);
    w.sink.Answers({Answer::Cancel});
    EXPECT_FALSE(w.frame->close());
    EXPECT_TRUE(w.frame->isVisible());
    ASSERT_EQ(w.sink.Log().size(), 1u);
    EXPECT_EQ(w.sink.Log()[0].kind, ScriptedMessageSink::Entry::YesNoCancel);
    EXPECT_EQ(w.sink.Log()[0].text, "Änderungen in Morvek speichern?");

    // Yes on a case without a name asks for one, then the window closes.
    w.sink.Answers({Answer::Yes});
    w.files.Answer(Q(w.Path("neu.mvk")));
    EXPECT_TRUE(w.frame->close());
    EXPECT_TRUE(FileExists(w.Path("neu.mvk")));
}

TEST(FileCommands, ClosingAnUnchangedCaseAsksNothing) {
    Window w;
    EXPECT_TRUE(w.frame->close());
    EXPECT_TRUE(w.sink.Log().empty());
}

TEST(FileCommands, OpenShowsTheDialogWithTheCaseAndAddsItToTheRecentFiles) {
    Window w;
    const QString path = Q(SourcePath("examples/nordfeld.mvk"));
    QString shownName;
    w.NextDialog([&](DlgInputWidget& d) { shownName = d.Edit(1001)->text(); });
    w.files.Answer(path);
    w.Run(ID_FILE_OPEN);
    EXPECT_EQ(shownName, QStringLiteral("Nordfeld"));
    ASSERT_FALSE(w.doc.m_Text.empty());
    EXPECT_EQ(w.doc.m_Text[0], kReportHead);
    EXPECT_EQ(w.frame->windowTitle(), QStringLiteral("nordfeld.mvk[*] - morvek"));
    // Just opened: no modified mark, whatever the dialog found.
    EXPECT_FALSE(w.frame->isWindowModified());
    EXPECT_EQ(w.frame->RecentFiles().Files(), QStringList{path});
    QAction* recent = w.Command(ID_FILE_MRU_FILE1);
    ASSERT_NE(recent, nullptr);
    EXPECT_TRUE(recent->text().startsWith(QStringLiteral("&1 ")));
    EXPECT_TRUE(recent->isEnabled());
}

TEST(FileCommands, OpeningOverAModifiedCaseAsksFirstAndCancelKeepsIt) {
    Window w;
    w.NextDialog(TypeNordfeld);
    w.Run(ID_FILE_NEW);
    w.doc.m_Feldname = "Geändert";
    w.sink.Answers({Answer::Cancel});
    w.files.Answer(Q(SourcePath("examples/nordfeld.mvk")));
    w.Run(ID_FILE_OPEN);
    EXPECT_EQ(w.doc.m_Feldname, "Geändert");
    EXPECT_EQ(w.sink.Log().size(), 1u);
}

TEST(FileCommands, RecentFileListKeepsTheLastFourNewestFirst) {
    TempDir dir;
    QSettings settings(Q(dir.File("morvek.conf")), QSettings::IniFormat);
    {
        RecentFileList list(settings);
        for (const char* name : {"a.mvk", "b.mvk", "c.mvk", "d.mvk", "e.mvk", "c.mvk"})
            list.Add(Q(dir.File(name)));
    }
    RecentFileList again(settings);
    EXPECT_EQ(again.Files(), (QStringList{Q(dir.File("c.mvk")), Q(dir.File("e.mvk")),
                                          Q(dir.File("d.mvk")), Q(dir.File("b.mvk"))}));
    EXPECT_EQ(settings.value(QStringLiteral("Recent File List/File1")).toString(),
              Q(dir.File("c.mvk")));
}

TEST(FileCommands, ReopeningFromTheRecentListAndAMissingFileIsDropped) {
    Window w;
    const std::string copy = w.Path("kopie.mvk");
    WriteBytes(copy, ReadBytes(SourcePath("examples/nordfeld.mvk")));
    w.NextDialogOk();
    ASSERT_TRUE(w.frame->OpenCase(Q(copy)));
    w.doc.m_Text.clear();
    w.NextDialogOk();
    w.Run(ID_FILE_MRU_FILE1);
    EXPECT_FALSE(w.doc.m_Text.empty());

    QFile::remove(Q(copy));
    w.Run(ID_FILE_MRU_FILE1);
    ASSERT_EQ(w.sink.Texts().size(), 1u);
    EXPECT_NE(w.sink.Texts()[0].find("kopie.mvk"), std::string::npos);
    EXPECT_TRUE(w.frame->RecentFiles().Files().isEmpty());
    EXPECT_FALSE(w.Command(ID_FILE_MRU_FILE1)->isEnabled());
}

TEST(FileCommands, ADroppedCaseFileIsOpened) {
    Window w;
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(Q(SourcePath("examples/nordfeld.mvk")))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.frame.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    w.NextDialogOk();
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.frame.get(), &drop);
    EXPECT_EQ(w.doc.m_Feldname, "Nordfeld");
    EXPECT_EQ(w.frame->windowTitle(), QStringLiteral("nordfeld.mvk[*] - morvek"));
}

TEST(FileCommands, ResultsAreWrittenToAusTxtAndReadBack) {
    Window w;
    WorkingFolder here(w.dir.Path());
    w.NextDialogOk();
    ASSERT_TRUE(w.frame->OpenCase(Q(SourcePath("examples/nordfeld.mvk"))));
    const std::vector<std::string> report = w.doc.m_Text;
    w.Run(ID_ERGEBNISSE_SPEICHERN);
    EXPECT_EQ(w.sink.Texts().back(), "Die Ergebnisse sind in die Datei aus.txt geschrieben!");
    const std::vector<std::string> lines = SplitLines(ReadBytes(w.Path("aus.txt")));
    ASSERT_EQ(lines.size(), report.size() + 1);
    EXPECT_EQ(lines[0], "nordfeld.mvk");

    w.Run(ID_ERGEBNISSE_EINLESEN);
    EXPECT_EQ(w.sink.Texts().back(),
              std::to_string(report.size() + 1) + " Zeilen wurden eingelesen");
    ASSERT_EQ(w.doc.m_Text.size(), report.size() + 1);
    EXPECT_EQ(w.doc.m_Text[1], report[0]);
    EXPECT_FALSE(w.frame->isWindowModified());
}

TEST(FileCommands, NewOnAModifiedCaseAsksAndCancelKeepsTheCase) {
    Window w;
    w.NextDialog(TypeNordfeld);
    w.Run(ID_FILE_NEW);
    w.sink.Answers({Answer::Cancel});
    w.Run(ID_FILE_NEW);
    ASSERT_EQ(w.sink.Log().size(), 1u);
    EXPECT_EQ(w.sink.Log()[0].kind, ScriptedMessageSink::Entry::YesNoCancel);
    EXPECT_EQ(w.doc.m_Feldname, "Nordfeld");
    EXPECT_TRUE(w.frame->isWindowModified());
}

TEST(StartUp, CaseNamedOnTheCommandLineOpensWithItsDialog) {
    TempDir dir;
    CMorvekApp app(std::make_unique<QSettings>(Q(dir.File("morvek.conf")), QSettings::IniFormat));
    QString shownName;
    WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<DlgInputWidget*>(modal);
        ASSERT_NE(dialog, nullptr);
        shownName = dialog->Edit(1001)->text();
        QTest::mouseClick(dialog->Button(DlgInputWidget::kOkButton), Qt::LeftButton);
    });
    ASSERT_TRUE(app.InitInstance({Q(SourcePath("examples/nordfeld.mvk"))}));
    EXPECT_EQ(shownName, QStringLiteral("Nordfeld"));
    EXPECT_TRUE(app.MainFrame().isVisible());
    EXPECT_EQ(app.MainFrame().windowTitle(), QStringLiteral("nordfeld.mvk[*] - morvek"));
    EXPECT_FALSE(app.Document().m_Text.empty());
}

// The name on the command line is the bytes the user gave: a name in Latin-1
// opens its file, which a detour through UTF-8 would miss.
TEST(StartUp, ACaseNamedInBytesThatAreNoUtf8Opens) {
    TempDir dir;
    WriteBytes(dir.File("lat1\xE4.mvk"), ReadBytes(SourcePath("examples/nordfeld.mvk")));
    CMorvekApp app(std::make_unique<QSettings>(Q(dir.File("morvek.conf")), QSettings::IniFormat));
    WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<DlgInputWidget*>(modal);
        ASSERT_NE(dialog, nullptr) << modal->metaObject()->className();
        QTest::mouseClick(dialog->Button(DlgInputWidget::kOkButton), Qt::LeftButton);
    });
    ASSERT_TRUE(app.InitInstanceFromCommandLine({dir.File("lat1\xE4.mvk")}));
    EXPECT_EQ(app.Document().GetPathName(), dir.File("lat1\xE4.mvk"));
    EXPECT_EQ(app.Document().m_Feldname, "Nordfeld");
}

TEST(StartUp, WithoutArgumentsTheWindowShowsANewCase) {
    TempDir dir;
    CMorvekApp app(std::make_unique<QSettings>(Q(dir.File("morvek.conf")), QSettings::IniFormat));
    ASSERT_TRUE(app.InitInstance({}));
    EXPECT_EQ(app.MainFrame().windowTitle(), QStringLiteral("Morvek[*] - morvek"));
    EXPECT_EQ(app.Document().m_Initialdruck, 1.0f);
    EXPECT_EQ(app.Document().m_Gas[3], 100.0f);
}

TEST(StartUp, ACaseFileThatCannotBeReadEndsTheProgramAfterSayingSo) {
    TempDir dir;
    CMorvekApp app(std::make_unique<QSettings>(Q(dir.File("morvek.conf")), QSettings::IniFormat));
    QString said;
    WhenModal([&](QWidget* modal) {
        said = static_cast<QMessageBox*>(modal)->text();
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    EXPECT_FALSE(app.InitInstance({Q(dir.File("fehlt.mvk"))}));
    EXPECT_TRUE(said.contains(QStringLiteral("fehlt.mvk"))) << said.toStdString();
}
