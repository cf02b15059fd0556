// The two view widgets on screen: scroll ranges that follow what is drawn, so
// that neither the last line of a long report nor the edge of the magnified
// graph lies out of reach.

#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <memory>

#include "case/MorvekDoc.h"
#include "support/GuiTestSupport.h"
#include "views/qt/GraphViewWidget.h"
#include "views/qt/ReportViewWidget.h"

namespace {

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
    auto view = std::make_unique<ReportViewWidget>(doc);
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
    GraphViewWidget view(doc);
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
    GraphViewWidget view(doc);
    view.resize(700, 500);
    view.OnInitialUpdate();
    view.show();
    const QImage left = Shown(view);
    EXPECT_TRUE(ColumnIsWhite(left, 0));
    EXPECT_FALSE(ColumnIsWhite(left, 30));
}
