// The graph page read off and zoomed: values at a point of the frame, the
// nearest curve point, zooming into a part with its ticks at round values and
// its curves cut at the frame, going back; the curves of compared cases with
// their legend; the legend's symbols only for what is drawn; markers of one
// quantity never on the frame's edge.

#include <gtest/gtest.h>

#include <algorithm>

#include "case/MorvekDoc.h"
#include "support/GraphCases.h"
#include "support/RecordingSurface.h"
#include "views/Grafik.h"
#include "views/Truncate.h"

namespace {

// The depletion-like page, computed.
struct Page {
    Page() {
        FillDepletionLikeGraph(doc);
        g.SetPage(GraphPageOf(doc));
        g.OnInitialUpdate();
        g.OnCompute();
    }
    RecordingSurface Draw() {
        RecordingSurface dc;
        g.DrawPage(dc);
        return dc;
    }
    CMorvekDoc doc;
    CGrafik g;
};

bool WithinFrame(const LogicalPoint& p, const CGrafik& g) {
    return p.x >= 0 && p.x <= g.breite && p.y <= 0 && p.y >= -g.hoehe;
}

}  // namespace

TEST(GraphReading, GivesTheValuesOfBothAxesAtAPointOfTheFrame) {
    Page p;
    const CGrafik& g = p.g;
    ASSERT_EQ(g.breite, 1300);
    // The frame's corners and its middle.
    auto at = [&](int32_t x, int32_t y) { return g.ReadingAt({x, y}); };
    ASSERT_TRUE(at(0, -750));
    EXPECT_DOUBLE_EQ(at(0, -750)->x, g.xmin);
    EXPECT_DOUBLE_EQ(at(0, -750)->left, g.ymin);
    EXPECT_DOUBLE_EQ(at(0, -750)->right, g.y1min);
    EXPECT_DOUBLE_EQ(at(1300, 0)->x, g.xmax);
    EXPECT_DOUBLE_EQ(at(1300, 0)->left, g.ymax);
    EXPECT_DOUBLE_EQ(at(1300, 0)->right, g.y1max);
    EXPECT_DOUBLE_EQ(at(650, -375)->x, (g.xmin + g.xmax) / 2);
    EXPECT_DOUBLE_EQ(at(650, -375)->right, (g.y1min + g.y1max) / 2);
    EXPECT_FALSE(at(-1, -375));
    EXPECT_FALSE(at(1301, -375));
    EXPECT_FALSE(at(650, 1));
    EXPECT_FALSE(at(650, -751));
    // A point's reading maps back onto the point the curve is drawn at.
    for (int i : {0, 17, 59}) {
        const LogicalPoint drawn = g.m_Punkte1[i];
        const auto r = g.ReadingAt(drawn);
        ASSERT_TRUE(r);
        EXPECT_NEAR(r->x, p.doc.m_XWerte[i], (g.xmax - g.xmin) / 1300.0);
        EXPECT_NEAR(r->left, p.doc.m_Y1Werte[i], (g.ymax - g.ymin) / 750.0);
        EXPECT_EQ(g.NearestCurvePoint(r->x), i);
    }
    EXPECT_EQ(g.NearestCurvePoint(-1e9), 0);
    EXPECT_EQ(g.NearestCurvePoint(1e9), 59);
    CGrafik empty;
    EXPECT_FALSE(empty.ReadingAt({10, -10}));
    EXPECT_EQ(empty.NearestCurvePoint(5), -1);
}

TEST(GraphZoom, ShowsThePartWithRoundTicksWithinAndCurvesCutAtTheFrame) {
    Page p;
    CGrafik& g = p.g;
    const CGrafik::Window whole = g.Shown();
    const CGrafik::Window part{105, 333, 130, 210, 250, 700};
    ASSERT_TRUE(g.ZoomTo(part));
    EXPECT_TRUE(g.Zoomed());
    EXPECT_EQ(g.Shown(), part);
    // Ticks at round values within the part: the first x tick at 150.
    EXPECT_DOUBLE_EQ(g.deltax, 50);
    EXPECT_DOUBLE_EQ(g.xstart, 150);
    EXPECT_DOUBLE_EQ(g.ystart, 130);
    const RecordingSurface dc = p.Draw();
    EXPECT_TRUE(dc.HasLine(TruncateToInt32(1300 * (150 - 105) / 228.0), -750,
                           TruncateToInt32(1300 * (150 - 105) / 228.0), -770));
    for (const SurfaceCall& c : dc.CallsOf(SurfaceCall::TextOut)) {
        if (c.font.height != 45 || c.y > -750 || c.y < -800) continue;
        // x labels only for ticks within the part
        EXPECT_GE(c.x, 0) << c.text;
        EXPECT_LE(c.x, 1300) << c.text;
    }
    // Every curve point drawn lies within the frame; some of both curves are
    // drawn, cut where they leave it.
    const auto curves = dc.CallsOf(SurfaceCall::Polyline);
    ASSERT_FALSE(curves.empty());
    size_t points = 0;
    for (const SurfaceCall& c : curves)
        for (const LogicalPoint& q : c.points) {
            EXPECT_TRUE(WithinFrame(q, g)) << q.x << "," << q.y;
            ++points;
        }
    EXPECT_GT(points, 10u);
    for (const SurfaceCall& m : dc.CallsOf(SurfaceCall::Marker)) {
        if (m.y < -750 - 100) continue;  // the legend's sample
        EXPECT_TRUE(WithinFrame({m.x, m.y}, g)) << m.x << "," << m.y;
    }

    // Zoomed further, then back step by step to the whole page as it was.
    const CGrafik::Window smaller{200, 250, 150, 170, 400, 500};
    ASSERT_TRUE(g.ZoomTo(smaller));
    ASSERT_TRUE(g.ZoomBack());
    EXPECT_EQ(g.Shown(), part);
    ASSERT_TRUE(g.ZoomBack());
    EXPECT_FALSE(g.Zoomed());
    EXPECT_EQ(g.Shown(), whole);
    EXPECT_FALSE(g.ZoomBack());

    // Nothing narrower than a millionth of the page, nothing upside down; a
    // new page shows the whole again.
    EXPECT_FALSE(g.ZoomTo({100, 100 + 1e-5, 130, 210, 250, 700}));
    EXPECT_FALSE(g.ZoomTo({333, 105, 130, 210, 250, 700}));
    ASSERT_TRUE(g.ZoomTo(part));
    g.SetPage(GraphPageOf(p.doc));
    g.OnCompute();
    EXPECT_FALSE(g.Zoomed());
    EXPECT_EQ(g.Shown(), whole);
}

// A part that starts just below 0 (a rectangle drawn from the axis) or
// whose steps sum to a rounding error at 0 labels that tick "0", never "-0"
// or "5.55e-17".
TEST(GraphZoom, LabelsTheTickAtZeroAsZero) {
    Page p;
    CGrafik& g = p.g;
    ASSERT_TRUE(g.ZoomTo({-3, 333, -0.3, 0.7, -0.15, 0.85}));
    const RecordingSurface dc = p.Draw();
    std::vector<std::string> labels;
    for (const SurfaceCall& c : dc.CallsOf(SurfaceCall::TextOut)) labels.push_back(c.text);
    auto has = [&](const std::string& text) {
        return std::find(labels.begin(), labels.end(), text) != labels.end();
    };
    EXPECT_TRUE(has("    0")) << testing::PrintToString(labels);   // x, "%5g"
    EXPECT_TRUE(has("     0")) << testing::PrintToString(labels);  // left, "%6g"
    EXPECT_TRUE(has("   0.0")) << testing::PrintToString(labels);  // right, "%6.1f"
    for (const std::string& l : labels) {
        const std::string t = l.substr(std::min(l.find_first_not_of(' '), l.size()));
        EXPECT_TRUE(t != "-0" && t != "-0.0" && t != "-0.000") << l;
        EXPECT_EQ(l.find("e-"), std::string::npos) << l;
    }
}

TEST(GraphCompare, DrawsEachCasesCurvesInItsColourWithItsNameBelowTheFrame) {
    GraphPage page;
    page.graph.labels = {"Kum.Reinölförderung in 1000 m3", "Druck(Bar)", "GOEV(sm3/m3)",
                         "Druck und GOEV (gestrichelt)", "", "", ""};
    page.title = "Fallvergleich";
    page.footer = "Fälle: a.mvk, b.mvk";
    for (int c = 0; c < 4; ++c) {
        OverlayCurve o;
        o.name = "fall-" + std::to_string(c) + ".mvk";
        for (int i = 0; i < 10; ++i) {
            o.x.push_back(100.0f * i * (c + 1));
            o.y1.push_back(250.0f - 20.0f * i);
            o.y2.push_back(90.0f + 30.0f * i * (c + 1));
        }
        page.overlays.push_back(o);
    }
    CGrafik g(page);
    RecordingSurface dc;
    g.OnDraw(dc);
    // The axes take in every case: the widest reaches 3600.
    EXPECT_DOUBLE_EQ(g.xmax, 4000);
    EXPECT_LE(g.ymin, 70);
    const auto curves = dc.CallsOf(SurfaceCall::Polyline);
    // Two empty main curves, then each case's pressure and ratio.
    std::vector<SurfaceCall> drawn;
    for (const SurfaceCall& c : curves)
        if (!c.points.empty()) drawn.push_back(c);
    ASSERT_EQ(drawn.size(), 8u);
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(drawn[2 * c].pen, (Pen{PenStyle::Solid, 3, OverlayColour(c)}));
        EXPECT_EQ(drawn[2 * c + 1].pen, (Pen{PenStyle::Dash, 3, OverlayColour(c)}));
        EXPECT_EQ(drawn[2 * c].points.size(), 10u);
        const SurfaceCall name = dc.TextCall("fall-" + std::to_string(c) + ".mvk");
        EXPECT_EQ(name.x, (c % 3) * (1300 / 3) + 120);
        EXPECT_EQ(name.y, -750 - 130 - (c / 3) * 40);
    }
    for (int c = 1; c < kOverlayColours; ++c) EXPECT_NE(OverlayColour(c), OverlayColour(c - 1));
    EXPECT_EQ(dc.TextCall("Fälle: a.mvk, b.mvk").y, -750 - 270);
    // The empty legends draw no sample lines of their own.
    EXPECT_FALSE(dc.HasLine(650 - 200, -750 - 150, 650, -750 - 150));
}

// The legend's symbols are those drawn: a square only where there are
// measured gas-oil ratios (the Havlena-Odeh page has none).
TEST(GraphLegend, ShowsTheSquareOnlyWhereGasOilRatiosAreDrawn) {
    Page p;
    const RecordingSurface with = p.Draw();
    auto squares = [](const RecordingSurface& dc) {
        int n = 0;
        for (const SurfaceCall& m : dc.CallsOf(SurfaceCall::Marker)) n += m.y2 == 1 ? 1 : 0;
        return n;
    };
    EXPECT_EQ(squares(with), 5 + 1);
    p.doc.m_Max3Werte = 0;
    p.g.SetPage(GraphPageOf(p.doc));
    p.g.OnCompute();
    EXPECT_EQ(squares(p.Draw()), 0);
}

// A graph of one quantity on both axes (the drive indices) whose markers
// reach the top tick gets a step more room: no marker on the frame's edge.
TEST(GraphLegend, MarkersOfOneQuantityStayOffTheFramesTopEdge) {
    morvek::GraphSeries series;
    series.sharedYScale = true;
    for (int i = 0; i < 5; ++i) {
        series.x[i] = 100.0f * i;
        series.y1[i] = 0.2f * i;
        series.y2[i] = 1.0f - 0.2f * i;
        series.measuredX[i] = 100.0f * i;
        series.measuredY[i] = 1.0f;
    }
    series.curvePoints = series.measuredPoints = 5;
    CGrafik g(GraphPageOf(series, "Antriebsindizes", "/d/n.mvk"));
    RecordingSurface dc;
    g.OnDraw(dc);
    EXPECT_GT(g.ymax, 1.0);
    EXPECT_EQ(g.ymax, g.y1max);
    for (const SurfaceCall& m : dc.CallsOf(SurfaceCall::Marker))
        if (m.y > -750 - 100) {
            EXPECT_LT(m.y, -10) << "a marker on the top edge";
        }
}
