// The case as the window opens, replaces and cancels it: edits in the dialog
// after "Öffnen" mark the case, "Neu" gives an untitled case even when its
// dialog is cancelled, and results never show under another case's name.

#include <QEvent>
#include <QFile>

#include "ExampleCases.h"
#include "app/qt/WindowFixture.h"
#include "input/FileChooser.h"
#include "input/qt/DlgInputWidget.h"
#include "views/qt/GraphViewWidget.h"
#include "views/qt/ReportViewWidget.h"

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// A copy of a bundled case in the test's folder, so that a save cannot touch
// the source tree.
std::string CopyOfExample(const Window& w, const std::string& name) {
    const std::string copy = w.Path(name);
    WriteBytes(copy, ReadBytes(SourcePath("examples/" + name)));
    return copy;
}

// The measured-data file dialog, answered with one file.
class OneFile : public FileChooser {
public:
    explicit OneFile(std::string path) : m_Path(std::move(path)) {}
    std::optional<std::string> ChooseFileToOpen(const std::string&, const std::string&) override {
        return m_Path;
    }

private:
    std::string m_Path;
};

bool SeriesAllZero(const Series& s) {
    for (float v : s)
        if (v != 0.0f) return false;
    return true;
}

}  // namespace

TEST(CaseLife, AnInputChangedInTheDialogAfterOpenMarksTheCaseAndClosingAsks) {
    Window w;
    const std::string path = CopyOfExample(w, "nordfeld.mvk");
    const std::string before = ReadBytes(path);
    w.NextDialog([](DlgInputWidget& d) { TypeInto(d, 1019, QStringLiteral("6000")); });
    ASSERT_TRUE(w.frame->OpenCase(Q(path)));
    EXPECT_EQ(w.doc.m_OOIP, 6000.0f);
    EXPECT_TRUE(w.doc.IsModified());
    EXPECT_TRUE(w.frame->isWindowModified());
    EXPECT_EQ(w.frame->windowTitle(), QStringLiteral("nordfeld.mvk[*] - morvek"));

    // "Beenden" asks; No leaves the file as it was.
    w.sink.Answers({Answer::No});
    EXPECT_TRUE(w.frame->close());
    ASSERT_EQ(w.sink.Log().size(), 1u);
    EXPECT_EQ(w.sink.Log()[0].text, "Änderungen in nordfeld.mvk speichern?");
    EXPECT_EQ(ReadBytes(path), before);
}

TEST(CaseLife, MeasuredRowsReadInTheDialogAfterOpenMarkTheCase) {
    Window w;
    const std::string path = CopyOfExample(w, "nordfeld.mvk");
    const std::string rows = w.Path("messwerte.txt");
    WriteBytes(rows, "Kopf\n100 240 90\n200 230\n");
    OneFile chooser(rows);
    w.frame->DataEntry().SetFileChooser(&chooser);
    w.NextDialog([](DlgInputWidget& d) {
        QTest::mouseClick(d.Button(DlgInputWidget::kFileButton), Qt::LeftButton);
    });
    ASSERT_TRUE(w.frame->OpenCase(Q(path)));
    w.frame->DataEntry().SetFileChooser(nullptr);
    EXPECT_EQ(w.doc.m_Messwerte.size(), 2u);
    EXPECT_TRUE(w.frame->isWindowModified());
}

TEST(CaseLife, OpenAndOkWithoutAChangeLeavesTheCaseUnmarked) {
    Window w;
    const std::string path = CopyOfExample(w, "nordfeld.mvk");
    w.NextDialogOk();
    ASSERT_TRUE(w.frame->OpenCase(Q(path)));
    EXPECT_FALSE(w.frame->isWindowModified());
    EXPECT_FALSE(w.doc.m_Text.empty());
}

TEST(CaseLife, NewThenCancelGivesAnUntitledCaseThatSaveAsksANameFor) {
    Window w;
    const std::string path = CopyOfExample(w, "nordfeld.mvk");
    const std::string before = ReadBytes(path);
    w.NextDialog([](DlgInputWidget& d) { TypeInto(d, 1019, QStringLiteral("6000")); });
    ASSERT_TRUE(w.frame->OpenCase(Q(path)));
    ASSERT_TRUE(w.frame->isWindowModified());

    // Strg+N, "Nein" (do not save), "Abbrechen" in the dialog.
    w.sink.Answers({Answer::No});
    w.NextDialog([](DlgInputWidget&) {}, false);
    w.Run(ID_FILE_NEW);
    EXPECT_TRUE(w.doc.GetPathName().empty());
    EXPECT_EQ(w.frame->windowTitle(), QStringLiteral("Morvek[*] - morvek"));
    EXPECT_FALSE(w.frame->isWindowModified());
    EXPECT_EQ(w.doc.m_OOIP, 0.0f);

    // Strg+S asks for a name and leaves the earlier file alone.
    w.files.Answer(QString());  // Abbrechen
    w.Run(ID_FILE_SAVE);
    EXPECT_EQ(w.files.suggestions.size(), 1u);
    EXPECT_EQ(ReadBytes(path), before);
}

TEST(CaseLife, NewThenCancelShowsNoResultsOfTheCaseBefore) {
    Window w;
    const std::string path = CopyOfExample(w, "nordfeld.mvk");
    w.NextDialogOk();
    ASSERT_TRUE(w.frame->OpenCase(Q(path)));
    ASSERT_FALSE(w.doc.m_Text.empty());
    w.NextDialog([](DlgInputWidget&) {}, false);
    w.Run(ID_FILE_NEW);
    EXPECT_TRUE(w.doc.m_Text.empty());
    EXPECT_EQ(w.doc.m_MaxWerte, 0);
    EXPECT_EQ(w.doc.m_Max2Werte, 0);
}

TEST(CaseLife, OpenThenCancelShowsTheOpenedCaseWithoutTheResultsOfTheOneBefore) {
    Window w;
    w.NextDialogOk();
    ASSERT_TRUE(w.frame->OpenCase(Q(CopyOfExample(w, "nordfeld.mvk"))));
    ASSERT_FALSE(w.doc.m_Text.empty());
    w.Run(ID_GRAFIK);
    ASSERT_NE(w.frame->GraphView(), nullptr);

    w.NextDialog([](DlgInputWidget&) {}, false);
    ASSERT_TRUE(w.frame->OpenCase(Q(CopyOfExample(w, "gaskappe.mvk"))));
    EXPECT_EQ(w.doc.m_Feldname, "Gaskappe");
    EXPECT_EQ(w.frame->windowTitle(), QStringLiteral("gaskappe.mvk[*] - morvek"));
    EXPECT_FALSE(w.frame->isWindowModified());
    // An empty report and no curve, no measured point.
    EXPECT_TRUE(w.doc.m_Text.empty());
    EXPECT_EQ(w.doc.m_MaxWerte, 0);
    EXPECT_EQ(w.doc.m_Max2Werte, 0);
    EXPECT_EQ(w.doc.m_Max3Werte, 0);
    for (const Series* s : {&w.doc.m_XWerte, &w.doc.m_Y1Werte, &w.doc.m_Y2Werte,
                            &w.doc.m_Mess1XWerte, &w.doc.m_Mess1YWerte, &w.doc.m_Mess2XWerte,
                            &w.doc.m_Mess2YWerte})
        EXPECT_TRUE(SeriesAllZero(*s));
    EXPECT_TRUE(w.doc.m_Ueberschrift.empty());
    // The graph still draws its frame with the case's name.
    const QImage shown = w.frame->GraphView()->grab().toImage();
    EXPECT_FALSE(shown.isNull());
}

namespace {

class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
    int paints = 0;
};

}  // namespace

TEST(CaseLife, SaveAsRepaintsTheGraphSoItsFooterNamesTheNewFile) {
    Window w;
    w.NextDialogOk();
    ASSERT_TRUE(w.frame->OpenCase(Q(CopyOfExample(w, "nordfeld.mvk"))));
    w.Run(ID_GRAFIK);
    QTest::qWait(100);  // the view settles
    PaintCounter counter;
    w.frame->GraphView()->viewport()->installEventFilter(&counter);
    QTest::qWait(50);
    ASSERT_EQ(counter.paints, 0) << "the view was still painting by itself";
    w.files.Answer(Q(w.Path("variante.mvk")));
    ASSERT_TRUE(w.frame->OnFileSaveAs());
    QTest::qWait(20);
    w.frame->GraphView()->viewport()->removeEventFilter(&counter);
    EXPECT_GT(counter.paints, 0);
    EXPECT_EQ(w.doc.GetPathName(), w.Path("variante.mvk"));
}
