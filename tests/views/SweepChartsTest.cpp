// The pictures of an uncertainty run keep their footer on the page: a long
// path is shortened in its middle to the drawing area, on screen and on a
// printed page; the tornado's captions keep within the frame.

#include <gtest/gtest.h>

#include "model/FieldTable.h"
#include "support/RecordingSurface.h"
#include "views/SweepCharts.h"

namespace {

SweepChartData Charts(const std::string& path) {
    SweepChartData data;
    data.fieldName = "Nordfeld";
    data.documentPath = path;
    data.tornado.baseRf = 25;
    for (const char* name : {"m_Gaskappe", "m_OOIP"}) {
        morvek::TornadoBar bar;
        bar.variation.field = morvek::FindField(name);
        bar.variation.low = 1;
        bar.variation.high = 2;
        bar.rfLow = 22;
        bar.rfHigh = 31;
        data.tornado.bars.push_back(bar);
    }
    for (int i = 0; i <= 10; ++i) data.rfCurve.push_back({20.0 + i, 10.0 * i});
    data.rf.p90 = 22, data.rf.p50 = 25, data.rf.p10 = 28, data.rf.mean = 25, data.rf.count = 11;
    return data;
}

SurfaceCall Footer(const RecordingSurface& dc) {
    for (const SurfaceCall& c : dc.CallsOf(SurfaceCall::TextOut))
        if (c.text.rfind("Dokument ", 0) == 0) return c;
    ADD_FAILURE() << "no footer";
    return {};
}

}  // namespace

TEST(SweepCharts, ShortenALongPathInTheFooterToTheDrawingArea) {
    const std::string path =
        "/home/ingenieur/" + std::string(400, 'v') + "/Varianten/nordfeld-mit-gaskappe.mvk";
    const SweepChartData data = Charts(path);
    const LogicalRect a4{0, 0, 2000, -2870};
    const struct {
        ChartFrame frame;
        int32_t area;
    } frames[] = {{ScreenFrame(2), 2100}, {PrintFrame(a4, 2), 2000},
                  {PrintFrame(LogicalRect{0, 0, 2870, -2000}, 2), 2870}};
    for (const auto& f : frames) {
        for (bool tornado : {true, false}) {
            RecordingSurface dc;
            if (tornado)
                DrawTornadoPage(dc, data, f.frame);
            else
                DrawDistributionPage(dc, data, f.frame);
            const SurfaceCall footer = Footer(dc);
            EXPECT_EQ(footer.align, TextAlign::LeftTop);
            // The frame lies 40 mm in: the footer starts 5 mm into the area
            // and ends 5 mm before its edge.
            EXPECT_EQ(footer.x, -400 + 50);
            EXPECT_LE(footer.x + RecordingSurface::TextWidth(footer.text, footer.font),
                      -400 + f.area - 50);
            EXPECT_NE(footer.text.find("…"), std::string::npos);
            EXPECT_NE(footer.text.find("nordfeld-mit-gaskappe.mvk"), std::string::npos);
            EXPECT_LT(footer.y, -f.frame.height - 230) << "below the legends";
        }
    }
    // A short path stays whole.
    RecordingSurface dc;
    DrawTornadoPage(dc, Charts("/d/n.mvk"), ScreenFrame(2));
    EXPECT_EQ(Footer(dc).text, "Dokument /d/n.mvk");
}

TEST(SweepCharts, TornadoCaptionsStayWithinTheFrameAndOverTheGrid) {
    SweepChartData data = Charts("/d/n.mvk");
    RecordingSurface dc;
    const ChartFrame frame = ScreenFrame(2);
    DrawTornadoPage(dc, data, frame);
    const SurfaceCall caption = dc.TextCall(morvek::FindField("m_Gaskappe")->Caption());
    EXPECT_LE(caption.x + RecordingSurface::TextWidth(caption.text, caption.font), frame.width);
    // The dotted grid is drawn before the captions and bars, which stand over it.
    const auto& calls = dc.Calls();
    size_t lastGrid = 0, captionAt = 0;
    for (size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].kind == SurfaceCall::LineTo && calls[i].pen.style == PenStyle::Dot &&
            calls[i].pen.width == 1)
            lastGrid = i;
        if (calls[i].kind == SurfaceCall::TextOut && calls[i].text == caption.text) captionAt = i;
    }
    EXPECT_LT(lastGrid, captionAt);
}
