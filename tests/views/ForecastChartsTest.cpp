// The forecast's page keeps its texts apart whatever it shows: with water, an
// aquifer's influx and a production history the legends grow by lines, and
// the frames make room for them instead of writing into the next frame's
// titles or the footer; on paper the page keeps its height.

#include <gtest/gtest.h>

#include <algorithm>

#include "GoldenCases.h"
#include "support/RecordingSurface.h"
#include "views/BoundsSurface.h"
#include "views/ForecastCharts.h"

namespace {

struct Box {
    std::string text;
    int32_t left, right, bottom, top;  // page units, y upward
};

// Every text of the drawing as a box on the page (the window origin taken
// off, the surface's text measure).
std::vector<Box> TextBoxes(const RecordingSurface& dc) {
    std::vector<Box> boxes;
    int32_t ox = 0, oy = 0;
    for (const SurfaceCall& c : dc.Calls()) {
        if (c.kind == SurfaceCall::SetWindowOrigin) ox = c.x, oy = c.y;
        if (c.kind != SurfaceCall::TextOut || c.text.empty()) continue;
        const int32_t w = RecordingSurface::TextWidth(c.text, c.font);
        int32_t left = c.x - ox;
        if (c.align == TextAlign::CentreTop) left -= w / 2;
        if (c.align == TextAlign::RightTop) left -= w;
        boxes.push_back({c.text, left, left + w, c.y - oy - c.font.height, c.y - oy});
    }
    return boxes;
}

// A tick label (a number): neighbouring ones stand a cell's height apart and
// less, which the surface's measure (the whole cell as the text's height)
// counts as touching; the glyphs do not.
bool Tick(const Box& b) {
    return b.text.find_first_not_of(" 0123456789.-e+") == std::string::npos;
}

bool Overlap(const Box& a, const Box& b) {
    if (Tick(a) && Tick(b)) return false;
    return a.left < b.right && b.left < a.right && a.bottom < b.top && b.bottom < a.top;
}

ForecastChartData Data(bool water, bool influx, bool history) {
    morvek::CaseInputs in = ExampleInputs("nordfeld.mvk");
    in.forecastStartDate = 45658.0f;
    in.forecastYears = 30.0f;
    in.oilRateTargetM3PerDay = 400.0f;
    in.productivityIndexM3PerDayBar = 5.0f;
    in.minBottomholePressureBar = 50.0f;
    in.abandonmentRateM3PerDay = 40.0f;
    if (water) {
        morvek::LabWaterCutTable table;
        std::vector<std::string> problems;
        EXPECT_EQ(morvek::WaterCutTableFromRows({{0, 0}, {10, 0.2f}, {30, 0.8f}}, "wc.txt", table,
                                                problems),
                  morvek::TableReadStatus::Read);
        in.waterCutTable = table;
    }
    if (influx) {
        in.aquiferModel = static_cast<int32_t>(morvek::AquiferModel::Pot);
        in.aquiferConstantM3PerBar = 5000.0f;
    }
    morvek::ProductionHistory h;
    h.fileName = "h.txt";
    h.rows = {{0, 250, 0, 0, 0, 0, 0}, {365, 200, 140, 14, 1, 0, 0}, {730, 180, 280, 28, 3, 0, 0}};
    const morvek::ForecastResult r = morvek::ForecastCase(in);
    return ForecastChartDataOf("Nordfeld", "/tmp/nordfeld.mvk", r, history ? &h : nullptr);
}

TEST(ForecastCharts, NoTextWritesIntoAnotherWhateverThePageShows) {
    const LogicalRect a4{0, 0, 2000, -2870};
    for (int mask = 0; mask < 8; ++mask) {
        const bool water = mask & 1, influx = mask & 2, history = mask & 4;
        const ForecastChartData data = Data(water, influx, history);
        ASSERT_EQ(data.wp.years.empty(), !water);
        ASSERT_EQ(data.we.years.empty(), !influx);
        ASSERT_EQ(data.historyNp.years.empty(), !history);
        for (const ChartFrame frame : {ForecastScreenFrame(), ForecastPrintFrame(a4)}) {
            RecordingSurface dc;
            DrawForecastPage(dc, data, frame);
            const std::vector<Box> boxes = TextBoxes(dc);
            ASSERT_GT(boxes.size(), 40u);
            for (size_t i = 0; i < boxes.size(); ++i)
                for (size_t j = i + 1; j < boxes.size(); ++j)
                    EXPECT_FALSE(Overlap(boxes[i], boxes[j]))
                        << "mask " << mask << ", frame " << frame.height << ": \""
                        << boxes[i].text << "\" and \"" << boxes[j].text << "\"";
            // The page is as high as without the longer legends.
            RecordingSurface measure;
            BoundsSurface bounds(measure);
            DrawForecastPage(bounds, data, frame);
            RecordingSurface plainMeasure;
            BoundsSurface plain(plainMeasure);
            DrawForecastPage(plain, Data(false, false, false), frame);
            ASSERT_TRUE(bounds.Box() && plain.Box());
            EXPECT_LE(bounds.Box()->top - bounds.Box()->bottom,
                      plain.Box()->top - plain.Box()->bottom)
                << "mask " << mask;
        }
    }
}

}  // namespace
