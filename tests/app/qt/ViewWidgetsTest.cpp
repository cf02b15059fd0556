// The two view widgets on screen: scroll ranges that follow what is drawn, so
// that neither the last line of a long report nor the edge of the magnified
// graph lies out of reach.

#include <QColor>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <memory>

#include "case/MorvekDoc.h"
#include "support/GuiTestSupport.h"
#include "views/GraphPage.h"
#include "views/qt/GraphViewWidget.h"
#include "views/qt/ReportViewWidget.h"

namespace {

// The graph view over a case's page, as the main window hands it over.
struct CaseGraphView : GraphViewWidget {
    explicit CaseGraphView(const CMorvekDoc& doc) { SetPage(GraphPageOf(doc)); }
};

// A depletion-like result: pressure falling, gas-oil ratio rising.
void FillGraph(CMorvekDoc& doc) {
    doc.ResetCase();
    doc.m_Feldname = "Nordfeld";
    doc.m_Ueberschrift = "Schließdrücke und GÖV";
    doc.m_MaxWerte = 15;
    for (int i = 0; i < doc.m_MaxWerte; ++i) {
        doc.m_XWerte[i] = 100.0f * i;
        doc.m_Y1Werte[i] = 250.0f - 12.0f * i;
        doc.m_Y2Werte[i] = 90.0f + 25.0f * i;
    }
    doc.m_bGrafikNeu = 1;
}

// The page as the user sees it after the view has settled.
QImage Shown(GraphViewWidget& view) {
    for (int i = 0; i < 3; ++i) {
        view.viewport()->repaint();
        QCoreApplication::processEvents();
    }
    return view.viewport()->grab().toImage();
}

bool ColumnIsWhite(const QImage& image, int x) {
    for (int y = 0; y < image.height(); ++y)
        if (qGray(image.pixel(x, y)) < 250) return false;
    return true;
}

}  // namespace

TEST(ReportView, ScrollRangeFollowsTheLengthOfTheReport) {
    CMorvekDoc doc;
    auto view = std::make_unique<ReportViewWidget>(doc.m_Text, nullptr);
    ReportViewWidget* report = view.get();
    report->OnInitialUpdate();
    report->show();
    report->resize(600, 400);
    for (int i = 0; i < 40; ++i) doc.m_Text.push_back("     kurze Zeile");
    report->OnUpdate();
    const int shortRange = report->verticalScrollBar()->maximum();
    for (int i = 0; i < 400; ++i) doc.m_Text.push_back("     eine Zeile einer langen PVT-Tabelle");
    report->OnUpdate();
    const int longRange = report->verticalScrollBar()->maximum();
    // Each further line adds one line height of the 6 mm report font.
    const double lineHeightPx = double(longRange - shortRange) / 400.0;
    const double fontHeightPx = 60.0 / 254.0 * report->logicalDpiY();
    EXPECT_NEAR(lineHeightPx, fontHeightPx, 0.25 * fontHeightPx);
    // The last of the 440 lines can be scrolled into view.
    EXPECT_GE(longRange + report->viewport()->height(), static_cast<int>(440 * lineHeightPx));
}

TEST(GraphView, MagnifiedFrameKeepsItsRightAxisWithinTheScrollRange) {
    CMorvekDoc doc;
    FillGraph(doc);
    CaseGraphView view(doc);
    view.resize(700, 500);
    view.OnInitialUpdate();
    view.show();
    Shown(view);
    view.OnGrafiklupe();
    Shown(view);
    QScrollBar* across = view.horizontalScrollBar();
    across->setValue(across->maximum());
    // Scrolled to the right end, the last column shows paper, not a cut text.
    const QImage right = Shown(view);
    EXPECT_TRUE(ColumnIsWhite(right, right.width() - 1));
    EXPECT_FALSE(ColumnIsWhite(right, right.width() - 80));
}

TEST(GraphView, LongPathInTheFooterIsNotCutAtTheLeft) {
    CMorvekDoc doc;
    FillGraph(doc);
    doc.SetPathName(
        "/home/ingenieur/Lagerstaetten/Nordfeld/Varianten/2024/nordfeld-mit-gaskappe.mvk");
    CaseGraphView view(doc);
    view.resize(700, 500);
    view.OnInitialUpdate();
    view.show();
    const QImage left = Shown(view);
    EXPECT_TRUE(ColumnIsWhite(left, 0));
    EXPECT_FALSE(ColumnIsWhite(left, 30));
}

TEST(ReportView, HomeEndAndControlEndScrollTheReport) {
    CMorvekDoc doc;
    for (int i = 0; i < 400; ++i)
        doc.m_Text.push_back(
            "     eine Zeile einer langen PVT-Tabelle, die breiter ist als das Fenster");
    ReportViewWidget report(doc.m_Text, nullptr);
    report.OnInitialUpdate();
    report.resize(300, 300);
    report.show();
    report.OnUpdate();
    QScrollBar* v = report.verticalScrollBar();
    QScrollBar* h = report.horizontalScrollBar();
    ASSERT_GT(v->maximum(), 0);
    ASSERT_GT(h->maximum(), 0);
    QTest::keyClick(&report, Qt::Key_End);
    EXPECT_EQ(v->value(), v->maximum());
    QTest::keyClick(&report, Qt::Key_Home);
    EXPECT_EQ(v->value(), 0);
    h->setValue(h->maximum());
    QTest::keyClick(&report, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(v->value(), v->maximum());
    EXPECT_EQ(h->value(), 0);
    h->setValue(h->maximum());
    QTest::keyClick(&report, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(v->value(), 0);
    EXPECT_EQ(h->value(), 0);
}

namespace {

// The share of the image's columns, and of its rows, that hold something
// drawn.
double DrawnWidthShare(const QImage& image) {
    int first = -1, last = -1;
    for (int x = 0; x < image.width(); ++x)
        if (!ColumnIsWhite(image, x)) {
            if (first < 0) first = x;
            last = x;
        }
    return first < 0 ? 0.0 : double(last - first + 1) / image.width();
}

}  // namespace

TEST(GraphView, FitsTheWindowWithoutScrollBarsAtAnySize) {
    for (QSize size : {QSize(1400, 1000), QSize(640, 480)}) {
        CMorvekDoc doc;
        FillGraph(doc);
        CaseGraphView view(doc);
        view.resize(size);
        view.OnInitialUpdate();
        view.show();
        ASSERT_TRUE(view.FitsToWindow());
        const QImage shown = Shown(view);
        EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0) << size.width();
        EXPECT_EQ(view.verticalScrollBar()->maximum(), 0) << size.width();
        // The page fills the window's width or height, not its top-left corner.
        EXPECT_GT(DrawnWidthShare(shown), 0.75) << size.width();
    }
}

TEST(GraphView, AtNaturalSizeTheGraphScrollsAndTheMagnifierStillEnlargesTheFittedPage) {
    CMorvekDoc doc;
    FillGraph(doc);
    CaseGraphView view(doc);
    view.resize(640, 480);
    view.OnInitialUpdate();
    view.show();
    view.SetFitToWindow(false);
    static_cast<void>(Shown(view));
    EXPECT_GT(view.horizontalScrollBar()->maximum() + view.verticalScrollBar()->maximum(), 0);
    view.SetFitToWindow(true);
    view.OnGrafiklupe();
    static_cast<void>(Shown(view));
    EXPECT_GT(view.horizontalScrollBar()->maximum(), 0);
}

TEST(GraphView, MeasuredPointsAreFilledSymbolsOfAtLeastSixPixelsInASmallWindow) {
    CMorvekDoc doc;
    FillGraph(doc);
    doc.m_Messwerte = {"300 220"};
    doc.m_Max2Werte = 1;
    doc.m_Mess1XWerte[0] = 300.0f;
    doc.m_Mess1YWerte[0] = 220.0f;
    CaseGraphView view(doc);
    view.resize(320, 240);
    view.OnInitialUpdate();
    view.show();
    const QImage shown = Shown(view);
    // The largest run of the marker's green, across and down.
    int widest = 0;
    for (int y = 0; y < shown.height(); ++y) {
        int run = 0;
        for (int x = 0; x < shown.width(); ++x) {
            const QColor c = shown.pixelColor(x, y);
            const bool green = c.green() > 150 && c.red() < 100 && c.blue() < 100;
            run = green ? run + 1 : 0;
            widest = std::max(widest, run);
        }
    }
    EXPECT_GE(widest, 5) << "a filled symbol of 6 px with its outline";
}
