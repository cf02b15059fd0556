// The graph page on a recording surface: the worked drawing example, pens,
// fonts and positions of every element, the modes, frame sizes, magnifier
// and printing states.

#include <gtest/gtest.h>

#include <algorithm>

#include "case/MorvekDoc.h"
#include "support/GraphCases.h"
#include "support/RecordingSurface.h"
#include "views/Grafik.h"

namespace {

const Pen kFramePen{PenStyle::Solid, 4, {0, 0, 0}};
const Pen kRedPen{PenStyle::Solid, 3, {255, 0, 0}};
const Pen kBlueDashPen{PenStyle::Dash, 3, {0, 0, 255}};
const Pen kGreenLinePen{PenStyle::Solid, 3, {0, 255, 0}};
const Pen kMarkerPen{PenStyle::Solid, 5, {0, 255, 0}};
const Pen kGreenDotPen{PenStyle::Dot, 1, {0, 255, 0}};
const Pen kGridPen{PenStyle::Dot, 1, {0, 0, 0}};
const Font kAxisFont{45, 700, ""};

// Data whose extremes give the axes x 0 ... 1400, left 80 ... 260 and right
// 50 ... 500 after scaling; the middle point is (700, 170) on the left axis.
void FillWorkedExample(CMorvekDoc& doc) {
    doc.m_MaxWerte = 3;
    doc.m_XWerte[0] = 0, doc.m_XWerte[1] = 700, doc.m_XWerte[2] = 1234.5f;
    doc.m_Y1Werte[0] = 95.3f, doc.m_Y1Werte[1] = 170, doc.m_Y1Werte[2] = 250;
    doc.m_Y2Werte[0] = 50, doc.m_Y2Werte[1] = 200, doc.m_Y2Werte[2] = 420;
    doc.m_Feldname = "Nordfeld";
    doc.m_Ueberschrift = "Schließdrücke und GÖV";
    doc.m_Legende1 = "Druck";
    doc.m_Legende2 = "GOEV";
    doc.m_Legende3 = "Meßwerte";
    doc.SetPathName("/daten/nordfeld.mvk");
    doc.m_bGrafikNeu = 1;
}

class GraphPage : public ::testing::Test {
protected:
    RecordingSurface Draw() {
        RecordingSurface dc;
        g.OnDraw(dc);
        return dc;
    }
    CMorvekDoc doc;
    CaseGraph g{doc};
};

TEST_F(GraphPage, PutsTheWorkedExampleWhereTheAxesSay) {
    FillWorkedExample(doc);
    g.OnInitialUpdate();
    RecordingSurface dc = Draw();
    EXPECT_EQ(doc.m_bGrafikNeu, 0);
    ASSERT_EQ(g.breite, 1300);
    ASSERT_EQ(g.hoehe, 750);
    EXPECT_EQ(g.m_Punkte1[1], (LogicalPoint{650, -375}));

    EXPECT_TRUE(dc.HasLine(185, -750, 185, -770));
    const SurfaceCall x200 = dc.TextCall(" 200");
    EXPECT_EQ(x200.x, 185);
    EXPECT_EQ(x200.y, -780);
    EXPECT_EQ(x200.align, TextAlign::CentreTop);
    EXPECT_EQ(x200.font, kAxisFont);

    EXPECT_TRUE(dc.HasLine(0, -667, -10, -667));
    const SurfaceCall left100 = dc.TextCall("   100");
    EXPECT_EQ(left100.x, -130);
    EXPECT_EQ(left100.y, -647);
    EXPECT_EQ(left100.align, TextAlign::CentreTop);

    EXPECT_TRUE(dc.HasLine(1300, -667, 1310, -667));
    const SurfaceCall right100 = dc.TextCall(" 100.0");
    EXPECT_EQ(right100.x, 1450);
    EXPECT_EQ(right100.y, -647);
    EXPECT_EQ(right100.align, TextAlign::RightTop);
    EXPECT_EQ(dc.TextCall(" 500.0").y, 20);
    EXPECT_EQ(dc.TextCall("1400").x, 1300);
}

TEST_F(GraphPage, LabelsSmallXAxesWithThreeDecimalsOrTheGeneralFormat) {
    doc.m_MaxWerte = 2;
    doc.m_XWerte[1] = 1;
    doc.m_Y1Werte[1] = 1;
    doc.m_bGrafikNeu = 1;
    RecordingSurface unitAxis = Draw();
    EXPECT_EQ(unitAxis.TextCall("0.200").x, 260);

    doc.m_XWerte[1] = 1.9f;  // rounded up to an axis 0 ... 2 with steps of 0.2
    doc.m_bGrafikNeu = 1;
    RecordingSurface twoAxis = Draw();
    EXPECT_DOUBLE_EQ(g.xmax, 2.0);
    EXPECT_EQ(twoAxis.TextCall("  0.2").x, 130);
}

TEST_F(GraphPage, DrawsFrameTitlesAndFooterWithTheirFontsAndPositions) {
    FillWorkedExample(doc);
    doc.m_TitelX = "Kum.Reinölförderung in 1000 m3";
    doc.m_TitelY1 = "Druck(Bar)";
    doc.m_TitelY2 = "GOEV(sm3/m3)";
    doc.SetPathName("/d/nord.mvk");
    RecordingSurface dc = Draw();

    const auto origins = dc.CallsOf(SurfaceCall::SetWindowOrigin);
    ASSERT_EQ(origins.size(), 1u);
    EXPECT_EQ(origins[0].x, -400);
    EXPECT_EQ(origins[0].y, 300);
    const auto frames = dc.CallsOf(SurfaceCall::Rectangle);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].x2, 1300);
    EXPECT_EQ(frames[0].y2, -750);
    EXPECT_EQ(frames[0].pen, kFramePen);

    const struct {
        const char* text;
        int32_t x, y, height, weight;
    } texts[] = {
        {"Nordfeld", 650, 200, 80, 600},
        {"Schließdrücke und GÖV", 650, 120, 60, 700},
        {"Druck(Bar)", -50, 100, 60, 700},
        {"GOEV(sm3/m3)", 1360, 100, 60, 700},
        {"Kum.Reinölförderung in 1000 m3", 650, -820, 60, 700},
        {"Druck", 650, -880, 45, 700},
        {"GOEV", 650, -960, 45, 700},
        {"Meßwerte", 650, -920, 45, 700},
    };
    for (const auto& t : texts) {
        const SurfaceCall c = dc.TextCall(t.text);
        EXPECT_EQ(c.x, t.x) << t.text;
        EXPECT_EQ(c.y, t.y) << t.text;
        EXPECT_EQ(c.align, TextAlign::CentreTop) << t.text;
        EXPECT_EQ(c.font, (Font{t.height, t.weight, ""})) << t.text;
    }
    // The footer starts 5 mm inside the drawing area, whose left edge lies
    // 40 mm left of the frame.
    const SurfaceCall footer = dc.TextCall("Dokument /d/nord.mvk");
    EXPECT_EQ(footer.x, -350);
    EXPECT_EQ(footer.y, -1020);  // below the lowest legend
    EXPECT_EQ(footer.align, TextAlign::LeftTop);
}

TEST_F(GraphPage, ALongFooterStaysWithinThePrintedPageShortenedInItsMiddle) {
    FillWorkedExample(doc);
    const std::string path =
        "/home/ingenieur/Lagerstaetten/Nordfeld/Varianten/2024/Szenario-mit-Gaskappe/"
        "Fassung-drei/nordfeld-mit-gaskappe-und-wasserzufluss.mvk";
    doc.SetPathName(path);
    RecordingSurface dc;
    g.OnInitialUpdate();
    g.OnCompute();
    g.OnPreparePrinting();
    // An A4 portrait page inside 5 mm margins.
    g.OnPrint(dc, LogicalRect{0, 0, 2000, -2870});
    const auto texts = dc.CallsOf(SurfaceCall::TextOut);
    const auto footer = std::find_if(texts.begin(), texts.end(), [](const SurfaceCall& c) {
        return c.text.rfind("Dokument ", 0) == 0;
    });
    ASSERT_NE(footer, texts.end());
    EXPECT_EQ(footer->align, TextAlign::LeftTop);
    // The frame's left edge lies 40 mm in: the footer starts 5 mm inside the page.
    EXPECT_EQ(footer->x, -400 + 50);
    const int32_t width = RecordingSurface::TextWidth(footer->text, footer->font);
    EXPECT_LE(footer->x + width, -400 + 2000 - 50);
    EXPECT_NE(footer->text.find("…"), std::string::npos);
    EXPECT_EQ(footer->text.rfind("Dokument /home/", 0), 0u);
    EXPECT_NE(footer->text.find("wasserzufluss.mvk"), std::string::npos);
}

// The page has the size of the paper, whatever a text says: a field name
// wider than the frame is shortened with "…" to the frame's width, a path too
// long for the drawing area is shortened in its middle, so that its start and
// the file's own name stay. Short texts are drawn as they are.
TEST_F(GraphPage, ShortensLongFieldNamesAndPathsWithAnEllipsisToThePage) {
    for (const size_t length : {size_t{60}, size_t{1000}, size_t{300000}}) {
        FillWorkedExample(doc);
        doc.m_Feldname = std::string(length - 1, 'W') + "Z";
        doc.SetPathName("/home/ingenieur/" + std::string(length, 'v') + "/nordfeld.mvk");
        for (const bool magnified : {false, true}) {
            g.OnInitialUpdate();
            if (magnified) g.OnGrafiklupe();
            RecordingSurface dc = Draw();
            const int32_t frameWidth = g.breite;
            const auto texts = dc.CallsOf(SurfaceCall::TextOut);
            ASSERT_GE(texts.size(), 2u);
            const SurfaceCall& name = texts[0];
            EXPECT_EQ(name.x, frameWidth / 2);
            EXPECT_LE(RecordingSurface::TextWidth(name.text, name.font), frameWidth) << length;
            EXPECT_GE(RecordingSurface::TextWidth(name.text, name.font), frameWidth - 40) << length;
            EXPECT_EQ(name.text, std::string(name.text.size() - 3, 'W') + "…") << length;
            const auto footer = std::find_if(texts.begin(), texts.end(), [](const SurfaceCall& c) {
                return c.text.rfind("Dokument ", 0) == 0;
            });
            ASSERT_NE(footer, texts.end());
            // Within the drawing area (40 mm left of the frame, at least the
            // page's 210 mm wide) with 5 mm to spare on either side.
            EXPECT_EQ(footer->x, -400 + 50);
            EXPECT_EQ(footer->align, TextAlign::LeftTop);
            EXPECT_LE(footer->x + RecordingSurface::TextWidth(footer->text, footer->font),
                      -400 + std::max(2100, frameWidth + 800) - 50);
            EXPECT_EQ(footer->text.rfind("Dokument /home/ingenieur/", 0), 0u) << footer->text;
            // A path that fits stays whole; a longer one loses its middle.
            const std::string whole = "Dokument " + doc.GetPathName();
            if (footer->text != whole) {
                EXPECT_NE(footer->text.find("…"), std::string::npos);
            }
            if (length >= 1000) {
                EXPECT_NE(footer->text, whole);
            }
            EXPECT_EQ(footer->text.substr(footer->text.size() - 13), "/nordfeld.mvk");
        }
    }
    // A name that fits stays whole, also one that fills the frame exactly.
    FillWorkedExample(doc);
    doc.m_Feldname = std::string(1300 / 40, 'W');
    g.OnInitialUpdate();
    EXPECT_EQ(Draw().CallsOf(SurfaceCall::TextOut)[0].text, doc.m_Feldname);
}

// A diagnostic graph's page names the field and the graph: when both are too
// wide for the frame, the field's name is shortened and the graph's name
// stays whole; a kept end wider than the frame, or one that is not the
// title's end, leaves the title shortened at its end as any other.
TEST(GraphPageData, KeepsTheGraphsNameWholeWhenTheFieldsNameIsShortened) {
    CMorvekDoc doc;
    FillDepletionLikeGraph(doc);
    struct Case {
        std::string title, kept;
        bool keptWhole;
    };
    const std::string wide(60, 'W'), huge(5000, 'W');
    const std::string influx = ": Havlena-Odeh mit Wasserzufluß", tooWide = ": " + wide;
    for (const Case& c : {Case{wide + ": Campbell", ": Campbell", true},
                          Case{huge + influx, influx, true},
                          Case{wide + tooWide, tooWide, false},
                          Case{wide + influx, ": Campbell", false}}) {
        ::GraphPage page = GraphPageOf(doc.m_Graph, c.title, "/daten/nord.mvk");
        page.titleKept = c.kept;
        CGrafik view(page);
        RecordingSurface dc;
        view.OnDraw(dc);
        const SurfaceCall name = dc.CallsOf(SurfaceCall::TextOut).at(0);
        EXPECT_EQ(name.y, 200);
        // As many characters (40 units each) as fit into the 1300 units.
        EXPECT_EQ(RecordingSurface::TextWidth(name.text, name.font), 1280) << name.text;
        if (c.keptWhole) {
            EXPECT_EQ(name.text, std::string(name.text.size() - c.kept.size() - 3, 'W') + "…" +
                                     c.kept);
        } else {
            EXPECT_EQ(name.text, std::string(31, 'W') + "…");
        }
    }
    // A title that fits is drawn as it is.
    ::GraphPage page = GraphPageOf(doc.m_Graph, "Nord: Campbell", "/daten/nord.mvk");
    page.titleKept = ": Campbell";
    CGrafik view(page);
    RecordingSurface dc;
    view.OnDraw(dc);
    EXPECT_EQ(dc.CallsOf(SurfaceCall::TextOut).at(0).text, "Nord: Campbell");
}

TEST_F(GraphPage, DrawsTheCurvesAndLegendLinesWithTheirPens) {
    FillWorkedExample(doc);
    RecordingSurface dc = Draw();
    const auto polylines = dc.CallsOf(SurfaceCall::Polyline);
    ASSERT_GE(polylines.size(), 2u);
    EXPECT_EQ(polylines[0].pen, kRedPen);
    EXPECT_EQ(polylines[0].points.size(), 3u);
    EXPECT_EQ(polylines[1].pen, kBlueDashPen);
    EXPECT_EQ(polylines[1].points[1], g.m_Punkte2[1]);

    // Legend lines end at the legend's text width right of the centre.
    const int32_t w1 = RecordingSurface::TextWidth("Druck", kAxisFont);
    const int32_t w2 = RecordingSurface::TextWidth("GOEV", kAxisFont);
    for (const SurfaceCall& line : dc.Lines()) {
        if (line.fromY == -900) {
            EXPECT_EQ(line.pen, kRedPen);
        }
        if (line.fromY == -980) {
            EXPECT_EQ(line.pen, kBlueDashPen);
        }
    }
    EXPECT_TRUE(dc.HasLine(650 + w1 - 200, -900, 650 + w1, -900));
    EXPECT_TRUE(dc.HasLine(650 + w2 - 180, -980, 650 + w2 + 20, -980));
}

TEST_F(GraphPage, DrawsTheGridLastWithTheDottedBlackPenAndRestoresPenAndFont) {
    FillWorkedExample(doc);
    RecordingSurface dc;
    const Pen before = dc.CurrentPen();
    const Font fontBefore = dc.CurrentFont();
    g.OnDraw(dc);
    const auto& calls = dc.Calls();
    auto gridSelect = std::find_if(calls.begin(), calls.end(), [](const SurfaceCall& c) {
        return c.kind == SurfaceCall::SelectPen && c.pen == kGridPen;
    });
    ASSERT_NE(gridSelect, calls.end());
    int horizontal = 0, vertical = 0;
    for (auto it = gridSelect; it != calls.end(); ++it) {
        if (it->kind != SurfaceCall::LineTo) continue;
        EXPECT_EQ(it->pen, kGridPen);
        if (it->fromY == it->y) {
            ++horizontal;
            EXPECT_EQ(it->fromX, 0);
            EXPECT_EQ(it->x, 1300);
        } else {
            ++vertical;
            EXPECT_EQ(it->fromY, -750);
            EXPECT_EQ(it->y, 0);
        }
    }
    EXPECT_EQ(horizontal, 8);  // 100 ... 240
    EXPECT_EQ(vertical, 6);    // 200 ... 1200
    EXPECT_EQ(dc.CurrentPen(), before);
    EXPECT_EQ(dc.CurrentFont(), fontBefore);
}

TEST_F(GraphPage, MarksMeasuredValuesWithFilledSymbolsOfAtLeastTwoMillimetresAndOneInTheLegend) {
    FillDepletionLikeGraph(doc);
    RecordingSurface dc = Draw();
    const auto markers = dc.CallsOf(SurfaceCall::Marker);
    // Five pressures (circles), five gas-oil ratios (squares), the legend's
    // sample of both.
    ASSERT_EQ(markers.size(), 5u + 5u + 2u);
    for (const SurfaceCall& m : markers) {
        EXPECT_GE(m.x2, 20) << "2 mm across at least";
        EXPECT_EQ(m.pen, kMarkerPen);
    }
    const LogicalPoint p = g.m_Punkte3[2];
    EXPECT_EQ(markers[2].x, p.x);
    EXPECT_EQ(markers[2].y, p.y);
    EXPECT_EQ(markers[2].y2, 0);  // circle
    const LogicalPoint q = g.m_Punkte4[1];
    EXPECT_EQ(markers[6].x, q.x);
    EXPECT_EQ(markers[6].y, q.y);
    EXPECT_EQ(markers[6].y2, 1);  // square

    const int32_t w = RecordingSurface::TextWidth(doc.m_Legende3, kAxisFont);
    EXPECT_EQ(markers[10].x, 650 + w - 70);
    EXPECT_EQ(markers[10].y, -750 - 190);
    EXPECT_EQ(markers[10].y2, 0);
    EXPECT_EQ(markers[11].x, 650 + w + 10);
    EXPECT_EQ(markers[11].y2, 1);
    // No cross strokes any more.
    const auto lines = dc.Lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const SurfaceCall& c) { return c.pen == kMarkerPen; }),
              0);
    EXPECT_EQ(dc.CallsOf(SurfaceCall::Polyline).size(), 2u);
}

TEST_F(GraphPage, DrawsTheThirdPvtCurveAsAGreenLineWithOneLegendLine) {
    FillDepletionLikeGraph(doc);
    doc.m_bPVTAusgabe = 1;
    doc.m_Max2Werte = doc.m_MaxWerte;
    for (int i = 0; i < doc.m_MaxWerte; ++i) {
        doc.m_Mess1XWerte[i] = doc.m_XWerte[i];
        doc.m_Mess1YWerte[i] = doc.m_Y1Werte[i] / 2;
    }
    RecordingSurface dc = Draw();
    const auto polylines = dc.CallsOf(SurfaceCall::Polyline);
    ASSERT_EQ(polylines.size(), 3u);
    EXPECT_EQ(polylines[2].pen, kGreenLinePen);
    EXPECT_EQ(polylines[2].points.size(), 60u);
    const auto lines = dc.Lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const SurfaceCall& c) { return c.pen == kMarkerPen; }),
              0);
    const int32_t w = RecordingSurface::TextWidth(doc.m_Legende3, kAxisFont);
    EXPECT_TRUE(dc.HasLine(650 + w - 130, -940, 650 + w + 70, -940));
    EXPECT_FALSE(dc.HasLine(650 + w - 130, -939, 650 + w + 70, -939));
}

TEST_F(GraphPage, MovesTheSecondLegendUpAndDrawsNoThirdLegendLineForRelativePermeabilities) {
    FillDepletionLikeGraph(doc);
    doc.m_bRelPermAusgabe = 1;
    doc.m_Legende3.clear();
    doc.m_Messwerte.clear();
    doc.m_Max2Werte = doc.m_Max3Werte = 0;
    RecordingSurface dc = Draw();
    const SurfaceCall legend2 = dc.TextCall(doc.m_Legende2);
    EXPECT_EQ(legend2.y, -750 + 40 - 210);
    const int32_t w = RecordingSurface::TextWidth(doc.m_Legende2, kAxisFont);
    EXPECT_TRUE(dc.HasLine(650 + w - 180, -750 + 40 - 230, 650 + w + 20, -750 + 40 - 230));
    for (const SurfaceCall& c : dc.Lines()) EXPECT_NE(c.pen, kGreenDotPen);
}

TEST_F(GraphPage, DrawsNothingBeforeTheGraphIsComputed) {
    FillWorkedExample(doc);
    doc.m_bGrafikNeu = 0;
    g.OnInitialUpdate();
    EXPECT_TRUE(Draw().Calls().empty());
}

TEST_F(GraphPage, GivesFiniteCoordinatesWhenEveryXValueIsEqual) {
    FillWorkedExample(doc);
    doc.m_XWerte[0] = doc.m_XWerte[1] = doc.m_XWerte[2] = 300;
    Draw();
    EXPECT_DOUBLE_EQ(g.xmin, 299);
    EXPECT_DOUBLE_EQ(g.xmax, 301);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(g.m_Punkte1[i].x, 650);
}

// The page draws the series, the title and the path it is handed, whatever
// case they came from (the diagnostic graphs hand it theirs).
TEST(GraphPageData, DrawsTheSeriesTitleAndPathItIsHanded) {
    CMorvekDoc doc;
    FillDepletionLikeGraph(doc);
    ::GraphPage page = GraphPageOf(doc.m_Graph, "Nordfeld: Havlena-Odeh", "/daten/nord.mvk");
    CGrafik view(page);
    RecordingSurface dc;
    view.OnDraw(dc);
    EXPECT_EQ(dc.TextCall("Nordfeld: Havlena-Odeh").y, 200);
    EXPECT_EQ(dc.TextCall("Dokument /daten/nord.mvk").align, TextAlign::LeftTop);
    const auto curves = dc.CallsOf(SurfaceCall::Polyline);
    ASSERT_EQ(curves.size(), 2u);
    EXPECT_EQ(curves[0].points.size(), 60u);
    // A page handed over again is computed anew before it is drawn.
    page.graph.curvePoints = 10;
    view.SetPage(page);
    EXPECT_TRUE(view.ComputePending());
    RecordingSurface again;
    view.OnDraw(again);
    EXPECT_FALSE(view.ComputePending());
    EXPECT_EQ(again.CallsOf(SurfaceCall::Polyline).at(0).points.size(), 10u);
}

class GraphFrame : public ::testing::Test {
protected:
    void SetUp() override {
        FillDepletionLikeGraph(doc);
        g.OnInitialUpdate();
        g.OnCompute();
    }
    LogicalSize Frame() const { return {g.breite, g.hoehe}; }
    CMorvekDoc doc;
    CaseGraph g{doc};
    const LogicalRect portrait{0, 0, 2000, -2870};
    const LogicalRect landscape{0, 0, 2870, -2000};
};

TEST_F(GraphFrame, HasTheSizeOfScreenMagnifierAndPrintedPages) {
    EXPECT_EQ(Frame(), (LogicalSize{1300, 750}));
    g.OnGrafiklupe();
    EXPECT_EQ(Frame(), (LogicalSize{1950, 1125}));
    g.OnGrafiklupe();

    EXPECT_EQ(g.OnPreparePrinting(), 1);
    RecordingSurface page;
    EXPECT_EQ(g.OnPrint(page, portrait), 1);
    EXPECT_EQ(Frame(), (LogicalSize{1300, 2100}));
    EXPECT_EQ(page.CallsOf(SurfaceCall::Rectangle).at(0).y2, -2100);
    RecordingSurface wide;
    g.OnPrint(wide, landscape);
    EXPECT_EQ(g.m_bHochformat, 0);
    EXPECT_EQ(Frame(), (LogicalSize{2200, 1300}));
    EXPECT_EQ(wide.CallsOf(SurfaceCall::Rectangle).at(0).x2, 2200);
    g.OnEndPrinting();
    EXPECT_EQ(g.m_bPrint, 0);
    EXPECT_EQ(g.m_bHochformat, 1);
    EXPECT_EQ(Frame(), (LogicalSize{1300, 750}));
    EXPECT_EQ(g.m_rectDruck, landscape);
}

TEST_F(GraphFrame, PrintsTheNormalPageWithTheMagnifierOnAndMagnifiesAgainAfterwards) {
    g.OnGrafiklupe();
    g.OnPreparePrinting();
    RecordingSurface page;
    g.OnPrint(page, portrait);
    EXPECT_EQ(Frame(), (LogicalSize{1300, 2100}));
    g.OnEndPrinting();
    EXPECT_EQ(Frame(), (LogicalSize{1950, 1125}));
    EXPECT_TRUE(g.OnUpdateGrafiklupe().checked);
    EXPECT_EQ(g.m_Punkte1[59].x, 1917);  // 1950 * 590 / 600
}

TEST_F(GraphFrame, TakesASquarePageAsLandscape) {
    g.OnPreparePrinting();
    RecordingSurface page;
    g.OnPrint(page, LogicalRect{0, 0, 2000, -2000});
    EXPECT_EQ(Frame(), (LogicalSize{2200, 1300}));
}

TEST_F(GraphFrame, ComesBackAfterTheMagnifierIsToggledTwiceAndRecomputesEachTime) {
    const CGrafik::CommandState off = g.OnUpdateGrafiklupe();
    EXPECT_TRUE(off.enabled);
    EXPECT_FALSE(off.checked);

    doc.m_XWerte[59] = 800;  // new data reach the view only through a recomputation
    g.OnGrafiklupe();
    EXPECT_DOUBLE_EQ(g.xmax, 800);
    const CGrafik::CommandState on = g.OnUpdateGrafiklupe();
    EXPECT_TRUE(on.enabled);
    EXPECT_TRUE(on.checked);

    doc.m_XWerte[59] = 1000;
    g.OnGrafiklupe();
    EXPECT_DOUBLE_EQ(g.xmax, 1000);
    EXPECT_EQ(Frame(), (LogicalSize{1300, 750}));
    EXPECT_FALSE(g.OnUpdateGrafiklupe().checked);
}

}  // namespace
