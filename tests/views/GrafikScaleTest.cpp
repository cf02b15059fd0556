// Axis scaling: tick steps, first ticks and the full scaling of the three
// axes with the worked examples of the graph view's documentation.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "case/MorvekDoc.h"
#include "support/GraphCases.h"
#include "views/Grafik.h"

namespace {

struct DeltaRow {
    double range;
    double step;
    double intervals;
};

TEST(AxisStep, GivesOneTwoOrFiveTimesAPowerOfTenForTheDocumentedRanges) {
    const DeltaRow rows[] = {
        {0.05, 0.01, 5},    {0.45, 0.05, 9}, {1, 0.2, 5},
        {1.5, 0.2, 7.5},    {2, 0.5, 4},     {4.5, 0.5, 9},
        {5, 1, 5},          {10, 2, 5},      {19.99, 2, 9.995},
        {20, 5, 4},         {39.9, 5, 7.98}, {40, 10, 4},
        {45, 10, 4.5},      {99, 10, 9.9},   {100, 20, 5},
        {154.7, 20, 7.735}, {370, 50, 7.4},  {1234.5, 200, 6.1725},
    };
    for (const DeltaRow& row : rows) {
        const double step = CGrafik::delta(row.range);
        EXPECT_NEAR(step, row.step, row.step * 1e-9) << "range " << row.range;
        EXPECT_NEAR(row.range / step, row.intervals, 0.00005) << "range " << row.range;
    }
}

TEST(AxisStep, IsOneForAZeroRangeAndForARangeThatIsNotANumber) {
    EXPECT_EQ(CGrafik::delta(0), 1);
    EXPECT_EQ(CGrafik::delta(std::nan("")), 1);
}

TEST(FirstTick, LiesOnTheGridAtOrBelowTheMinimumForTheDocumentedCases) {
    const struct {
        double min, step, first;
    } rows[] = {
        {95.3, 20, 80}, {50, 50, 50},     {0.37, 0.2, 0.2},
        {-3.5, 1, -4},  {-3, 1, -3},      {-12.3, 5, -15},
        {0, 5, 0},      {0.000001, 2, 0}, {123456.7, 0.5, 123456.5},
    };
    for (const auto& row : rows) {
        EXPECT_NEAR(CGrafik::start(row.min, row.step), row.first, 1e-9)
            << "min " << row.min << " step " << row.step;
    }
}

class AxisScaling : public ::testing::Test {
protected:
    void Scale(double x0, double x1, double y0, double y1, double r0, double r1) {
        g.xmin = x0, g.xmax = x1, g.ymin = y0, g.ymax = y1, g.y1min = r0, g.y1max = r1;
        g.scale();
    }
    CGrafik g;
};

TEST_F(AxisScaling, StretchesTheRightAxisToTheLeftAxisIntervalCount) {
    Scale(0, 1234.5, 95.3, 250, 50, 420);
    EXPECT_DOUBLE_EQ(g.deltax, 200);
    EXPECT_DOUBLE_EQ(g.xmin, 0);
    EXPECT_DOUBLE_EQ(g.xmax, 1400);
    EXPECT_DOUBLE_EQ(g.deltay, 20);
    EXPECT_DOUBLE_EQ(g.ystart, 80);
    EXPECT_DOUBLE_EQ(g.ymin, 80);
    EXPECT_DOUBLE_EQ(g.ymax, 260);
    EXPECT_EQ(g.m_y1, 9);
    EXPECT_DOUBLE_EQ(g.deltay1, 50);
    EXPECT_EQ(g.m_y2, 8);  // 50 ... 450 before the stretch
    EXPECT_DOUBLE_EQ(g.y1min, 50);
    EXPECT_DOUBLE_EQ(g.y1max, 500);
}

// When the right axis needs more intervals, the left one takes a finer round
// step to fill them instead of being stretched to twice its data (0 ... 2
// for data to 1, a pressure axis to 550 for a 250-bar case).
TEST_F(AxisScaling, GivesTheLeftAxisAFinerStepWhenTheRightAxisHasMoreIntervals) {
    Scale(0, 1, 0, 1, 0, 95);
    EXPECT_NEAR(g.deltax, 0.2, 1e-12);
    EXPECT_NEAR(g.xmax, 1, 1e-9);
    EXPECT_NEAR(g.deltay, 0.1, 1e-12);
    EXPECT_EQ(g.m_y1, 10);
    EXPECT_DOUBLE_EQ(g.deltay1, 10);
    EXPECT_EQ(g.m_y2, 10);
    EXPECT_NEAR(g.ymin, 0, 1e-12);
    EXPECT_NEAR(g.ymax, 1.0, 1e-9);
    EXPECT_DOUBLE_EQ(g.y1max, 100);

    // A 250-bar pressure beside a ratio that needs 11 intervals of 100.
    Scale(0, 1000, 0, 250, 50, 1040);
    EXPECT_EQ(g.m_y2, 11);
    EXPECT_DOUBLE_EQ(g.deltay, 25);
    EXPECT_DOUBLE_EQ(g.ymin, 0);
    EXPECT_DOUBLE_EQ(g.ymax, 275);

    // Where no finer step fits, the left axis is stretched as before.
    Scale(0, 1000, 0, 250, 0, 2900);
    EXPECT_DOUBLE_EQ(g.deltay, 50);
    EXPECT_DOUBLE_EQ(g.ymax, 300);
}

TEST_F(AxisScaling, WidensFlatDataBySteps) {
    Scale(0, 10, 100, 100, 50, 50);
    EXPECT_DOUBLE_EQ(g.deltay, 1);
    EXPECT_DOUBLE_EQ(g.ystart, 100);
    EXPECT_DOUBLE_EQ(g.ymin, 99);
    EXPECT_EQ(g.m_y1, 2);
    EXPECT_NEAR(g.deltay1, 0.2, 1e-12);
    EXPECT_DOUBLE_EQ(g.y1min, 50);
    EXPECT_NEAR(g.y1max, 51, 1e-9);
    EXPECT_EQ(g.m_y2, 5);
    // Stretched from the first tick, not from the widened minimum.
    EXPECT_DOUBLE_EQ(g.ymax, 105);
}

TEST_F(AxisScaling, WidensAZeroWidthXAxisByOneStepOnEachSide) {
    Scale(5, 5, 0, 100, 0, 100);
    EXPECT_DOUBLE_EQ(g.deltax, 1);
    EXPECT_DOUBLE_EQ(g.xmin, 4);
    EXPECT_DOUBLE_EQ(g.xmax, 6);

    CGrafik fresh;  // no points at all: the x axis held 0 ... 0
    fresh.scale();
    EXPECT_DOUBLE_EQ(fresh.xmin, -1);
    EXPECT_DOUBLE_EQ(fresh.xmax, 1);
}

// Flat data far from zero: a step of 1 (or 0.2 on the right axis) is lost
// beside 1e17 in double precision and needs millions of additions beside
// 5e14; the tick loops must still reach the axis ends.
TEST_F(AxisScaling, GivesFlatDataFarFromZeroAStepTheTickLoopsCanReach) {
    for (double far : {4.717e14, 1e17, 3.4e38, -1e17}) {
        Scale(0, 10, far, far, far, far);
        SCOPED_TRACE(far);
        EXPECT_GE(g.deltay, std::fabs(far) * 1e-6);
        EXPECT_GE(g.deltay1, std::fabs(far) * 1e-6);
        EXPECT_LE(g.ymin, far);
        EXPECT_GT(g.ymax, far);
        EXPECT_LE(g.y1min, far);
        EXPECT_GT(g.y1max, far);
        EXPECT_LT(g.m_y1 + g.m_y2, 100);
    }
    // Flat data nearer zero keep their steps of 1 and 0.2.
    Scale(0, 10, 1000, 1000, 150000, 150000);
    EXPECT_DOUBLE_EQ(g.deltay, 1);
    EXPECT_NEAR(g.deltay1, 0.2, 1e-12);
}

// Both y axes share one set of horizontal grid lines: after scaling they have
// the same number of intervals. Ranges from 0.05 to 200000, as pressures,
// ratios and cumulative volumes span (below about 0.01 the steps reach the
// counting tolerance of 0.001). The left data are not flat: flat left data
// are widened below the first tick and keep one interval more on the left.
TEST_F(AxisScaling, GivesBothYAxesTheSameIntervalCountForRandomRanges) {
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> exponent(0.0, 5.0);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    auto range = [&](double& lo, double& hi, bool allowFlat) {
        const double width = std::pow(10.0, exponent(random));
        lo = static_cast<float>((unit(random) - 0.3) * 2 * width);
        hi = allowFlat && unit(random) < 0.1
                 ? lo
                 : static_cast<float>(lo + width * unit(random) + width / 20);
    };
    for (int i = 0; i < 5000; ++i) {
        double x0, x1, y0, y1, r0, r1;
        range(x0, x1, true);
        range(y0, y1, false);
        range(r0, r1, true);
        Scale(x0, x1, y0, y1, r0, r1);
        const double left = (g.ymax - g.ymin) / g.deltay;
        const double right = (g.y1max - g.y1min) / g.deltay1;
        ASSERT_NEAR(left, std::round(left), 1e-6) << y0 << " ... " << y1;
        ASSERT_NEAR(right, std::round(right), 1e-6) << r0 << " ... " << r1;
        ASSERT_EQ(std::lround(left), std::lround(right))
            << "left " << y0 << " ... " << y1 << ", right " << r0 << " ... " << r1;
        ASSERT_LE(g.ymin, y0);
        ASSERT_GE(g.ymax, y1 - 1e-6);
        ASSERT_LE(g.y1min, r0);
        ASSERT_GE(g.y1max, r1 - 1e-4);
        ASSERT_LT(g.xmin, g.xmax);
    }
}

class AxisExtremes : public ::testing::Test {
protected:
    CMorvekDoc doc;
    CaseGraph g{doc};
};

TEST_F(AxisExtremes, TakeTheMeasuredRowsOnlyAsFarAsRowsWereEntered) {
    doc.m_MaxWerte = 2;
    doc.m_XWerte[0] = 10, doc.m_XWerte[1] = 20;
    doc.m_Y1Werte[0] = 200, doc.m_Y1Werte[1] = 150;
    doc.m_Y2Werte[0] = 90, doc.m_Y2Werte[1] = 120;
    doc.m_Mess1XWerte = {5, 30, 500};
    doc.m_Mess1YWerte = {210, 140, 999};
    doc.m_Messwerte = {"5 210", "30 140"};
    doc.m_Max3Werte = 1;
    doc.m_Mess2XWerte[0] = 25;
    doc.m_Mess2YWerte[0] = 300;
    g.extreme();
    EXPECT_DOUBLE_EQ(g.xmin, 5);
    EXPECT_DOUBLE_EQ(g.xmax, 30);
    EXPECT_DOUBLE_EQ(g.ymin, 140);
    EXPECT_DOUBLE_EQ(g.ymax, 210);
    EXPECT_DOUBLE_EQ(g.y1min, 90);
    EXPECT_DOUBLE_EQ(g.y1max, 300);
}

TEST_F(AxisExtremes, TakeTheThirdPvtCurveAsFarAsTheComputedPoints) {
    doc.m_bPVTAusgabe = 1;
    doc.m_MaxWerte = 3;
    doc.m_XWerte = {100, 200, 300};
    doc.m_Y1Werte = {0.5f, 0.6f, 0.7f};
    doc.m_Y2Werte = {20, 40, 60};
    doc.m_Mess1XWerte = {100, 200, 300};
    doc.m_Mess1YWerte = {1.1f, 1.2f, 1.3f};
    g.extreme();
    EXPECT_FLOAT_EQ(static_cast<float>(g.ymin), 0.5f);
    EXPECT_FLOAT_EQ(static_cast<float>(g.ymax), 1.3f);
}

// A case without results (opened, its dialog cancelled) must not show the
// axes of the case before it.
TEST_F(AxisExtremes, StartFromZeroNotFromAnEarlierCaseWhenNoPointsAreComputed) {
    g.xmin = 10, g.xmax = 100, g.ymin = 10, g.ymax = 20, g.y1min = 1, g.y1max = 2;
    doc.m_Messwerte = {"150 5"};
    doc.m_Mess1XWerte[0] = 150;
    doc.m_Mess1YWerte[0] = 5;
    g.extreme();
    EXPECT_DOUBLE_EQ(g.xmin, 0);
    EXPECT_DOUBLE_EQ(g.xmax, 150);
    EXPECT_DOUBLE_EQ(g.ymin, 0);
    EXPECT_DOUBLE_EQ(g.ymax, 5);
    EXPECT_DOUBLE_EQ(g.y1min, 0);
    EXPECT_DOUBLE_EQ(g.y1max, 0);
}

}  // namespace
