// The report on screen and on printed pages, on a recording surface whose
// characters are half as wide as the font's cell is high.

#include <gtest/gtest.h>

#include "base/Format.h"
#include "case/MorvekDoc.h"
#include "support/RecordingSurface.h"
#include "views/MorvekView.h"

namespace {

const LogicalRect kPortrait{0, 0, 2000, -2870};
const LogicalRect kLandscape{0, 0, 2870, -2000};
// Print font "Courier New" 40: "0" is 20 wide and 40 high on this surface.
constexpr int32_t kW = 20, kH = 40;

class ReportView : public ::testing::Test {
protected:
    void Lines(int n) {
        doc.m_Text.clear();
        for (int i = 0; i < n; ++i) doc.m_Text.push_back(Format("Zeile %d", i));
    }
    // Report lines printed on a page, by their text, with their positions.
    std::vector<SurfaceCall> PrintedLines(const RecordingSurface& dc) const {
        std::vector<SurfaceCall> out;
        for (const SurfaceCall& c : dc.CallsOf(SurfaceCall::TextOut)) {
            if (c.text.rfind("Dokument:", 0) != 0) out.push_back(c);
        }
        return out;
    }
    // Prints every page of the job and returns how many report lines reached paper.
    int PrintJob(const LogicalRect& page) {
        int printed = 0;
        const int pages = view.OnPreparePrinting(page);
        for (int n = 1; n <= pages; ++n) {
            RecordingSurface dc;
            EXPECT_EQ(view.OnPrint(dc, n, page), pages);
            printed += static_cast<int>(PrintedLines(dc).size());
        }
        return printed;
    }
    CMorvekDoc doc;
    CMorvekView view{doc};
};

TEST_F(ReportView, DrawsEachLineOneCellBelowTheLastInTheHeavyCourierFont) {
    Lines(3);
    RecordingSurface dc;
    view.OnDraw(dc);
    const auto texts = dc.CallsOf(SurfaceCall::TextOut);
    ASSERT_EQ(texts.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(texts[i].text, Format("Zeile %d", i));
        EXPECT_EQ(texts[i].x, 30);  // the width of "W" at height 60
        EXPECT_EQ(texts[i].y, -60 * i);
        EXPECT_EQ(texts[i].font, (Font{60, 800, "Courier New"}));
        EXPECT_EQ(texts[i].align, TextAlign::LeftTop);
    }
    EXPECT_EQ(dc.CallsOf(SurfaceCall::GetTextExtent).at(0).text, "W");
}

TEST_F(ReportView, HasAnExtentThatFollowsTheReport) {
    doc.m_Text = {"kurz", "die längste Zeile", " "};
    RecordingSurface dc;
    EXPECT_EQ(view.ReportExtent(dc), (LogicalSize{17 * 30 + 2 * 30, 3 * 60}));
    doc.m_Text.clear();
    EXPECT_EQ(view.ReportExtent(dc), (LogicalSize{60, 0}));
}

TEST_F(ReportView, PrintsAHundredLinesOnTwoPortraitPages) {
    Lines(100);
    doc.SetPathName("/daten/nordfeld.mvk");
    EXPECT_EQ(view.OnPreparePrinting(kPortrait), 2);

    RecordingSurface first;
    EXPECT_EQ(view.OnPrint(first, 1, kPortrait), 2);
    EXPECT_EQ(view.m_nSeite, 1);
    EXPECT_EQ(view.m_rectSeite, kPortrait);
    const SurfaceCall header = first.TextCall("Dokument:/daten/nordfeld.mvk");
    EXPECT_EQ(header.x, kW);
    EXPECT_EQ(header.y, -kH);
    EXPECT_EQ(header.font, (Font{40, 600, "Courier New"}));
    const auto page1 = PrintedLines(first);
    ASSERT_EQ(page1.size(), 61u);
    EXPECT_EQ(page1.front().text, "Zeile 0");
    EXPECT_EQ(page1.front().x, 3 * kW);
    EXPECT_EQ(page1.front().y, -3 * kH);
    EXPECT_EQ(page1.back().text, "Zeile 60");
    EXPECT_EQ(page1.back().y, -63 * kH);

    RecordingSurface second;
    view.OnPrint(second, 2, kPortrait);
    const auto page2 = PrintedLines(second);
    ASSERT_EQ(page2.size(), 39u);
    EXPECT_EQ(page2.front().text, "Zeile 61");
    EXPECT_EQ(page2.front().y, -3 * kH);
    EXPECT_EQ(page2.back().text, "Zeile 99");
}

TEST_F(ReportView, PrintsEveryLineOnLandscapePages) {
    Lines(100);
    EXPECT_EQ(view.OnPreparePrinting(kLandscape), 3);
    EXPECT_EQ(PrintJob(kLandscape), 100);
    RecordingSurface third;
    view.OnPrint(third, 3, kLandscape);
    const auto page3 = PrintedLines(third);
    ASSERT_EQ(page3.size(), 20u);
    EXPECT_EQ(page3.front().text, "Zeile 80");
    EXPECT_EQ(CMorvekView::LinesPerPage(LogicalRect{0, 0, 2000, -2000}), 40);
}

TEST_F(ReportView, EndsAReportOfAnExactMultipleOfThePageLinesWithAHeaderOnlyPage) {
    Lines(122);
    EXPECT_EQ(view.OnPreparePrinting(kPortrait), 3);
    EXPECT_EQ(PrintJob(kPortrait), 122);
    RecordingSurface last;
    view.OnPrint(last, 3, kPortrait);
    EXPECT_TRUE(PrintedLines(last).empty());
    EXPECT_EQ(last.CallsOf(SurfaceCall::TextOut).size(), 1u);

    Lines(80);
    EXPECT_EQ(view.OnPreparePrinting(kLandscape), 3);
}

TEST_F(ReportView, PrintsOneHeaderPageForAnEmptyReportAndShowsNothingOnScreen) {
    EXPECT_EQ(view.OnPreparePrinting(kPortrait), 1);
    RecordingSurface page;
    view.OnPrint(page, 1, kPortrait);
    const auto texts = page.CallsOf(SurfaceCall::TextOut);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "Dokument:");

    RecordingSurface screen;
    view.OnDraw(screen);
    EXPECT_TRUE(screen.CallsOf(SurfaceCall::TextOut).empty());
}

}  // namespace
