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
// Header and footer stand 5 mm in, as the graph page's footer; the lines two
// characters further.
constexpr int32_t kLeft = 50;

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
            if (c.text.rfind("Dokument:", 0) != 0 && c.text.rfind("Seite ", 0) != 0 &&
                c.text != kDate)
                out.push_back(c);
        }
        return out;
    }
    static constexpr const char* kDate = "12.03.2026";
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
    CMorvekView view{doc.m_Text};
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
    view.SetPath("/daten/nordfeld.mvk");
    view.SetDate(kDate);
    EXPECT_EQ(view.OnPreparePrinting(kPortrait), 2);

    RecordingSurface first;
    EXPECT_EQ(view.OnPrint(first, 1, kPortrait), 2);
    EXPECT_EQ(view.m_nSeite, 1);
    EXPECT_EQ(view.m_rectSeite, kPortrait);
    const SurfaceCall header = first.TextCall("Dokument:/daten/nordfeld.mvk");
    EXPECT_EQ(header.x, kLeft);
    EXPECT_EQ(header.y, -kH);
    EXPECT_EQ(header.font, (Font{40, 600, "Courier New"}));
    const auto page1 = PrintedLines(first);
    ASSERT_EQ(page1.size(), 61u);
    EXPECT_EQ(page1.front().text, "Zeile 0");
    EXPECT_EQ(page1.front().x, kLeft + 2 * kW);
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
    // The header and the page number, no date was given.
    EXPECT_EQ(last.CallsOf(SurfaceCall::TextOut).size(), 2u);

    Lines(80);
    EXPECT_EQ(view.OnPreparePrinting(kLandscape), 3);
}

TEST_F(ReportView, PrintsOneHeaderPageForAnEmptyReportAndShowsWhatToDoFirstOnScreen) {
    EXPECT_EQ(view.OnPreparePrinting(kPortrait), 1);
    RecordingSurface page;
    view.OnPrint(page, 1, kPortrait);
    const auto texts = page.CallsOf(SurfaceCall::TextOut);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "Dokument:");
    EXPECT_EQ(texts[1].text, "Seite 1 von 1");

    // A blank window says how to start, in grey; a report replaces it.
    RecordingSurface screen;
    view.OnDraw(screen);
    const auto hint = screen.CallsOf(SurfaceCall::TextOut);
    ASSERT_EQ(hint.size(), CMorvekView::EmptyHint().size());
    EXPECT_NE(hint[2].text.find("Datei > Neu (Strg+N)"), std::string::npos);
    EXPECT_NE(hint[3].text.find("Öffnen (Strg+O)"), std::string::npos);
    EXPECT_NE(hint[0].pen.colour, (Colour{0, 0, 0}));
    Lines(1);
    RecordingSurface report;
    view.OnDraw(report);
    ASSERT_EQ(report.CallsOf(SurfaceCall::TextOut).size(), 1u);
    EXPECT_EQ(report.CallsOf(SurfaceCall::TextOut)[0].text, "Zeile 0");
}

// Every printed page names its number of the whole ("Seite 2 von 3") and the
// date at the foot of the page, on the page's last lines, and a path too long
// for the page is shortened in its middle so that the header stays on it.
TEST_F(ReportView, PrintsPageNumberOfAllAndDateInTheFooterAndKeepsTheHeaderOnThePage) {
    Lines(100);
    view.SetDate(kDate);
    const std::string path = "/home/ingenieur/" + std::string(300, 'v') + "/nordfeld.mvk";
    view.SetPath(path);
    for (const LogicalRect& shape : {kPortrait, kLandscape}) {
        const int pages = view.OnPreparePrinting(shape);
        for (int n = 1; n <= pages; ++n) {
            RecordingSurface dc;
            view.OnPrint(dc, n, shape);
            const SurfaceCall number = dc.TextCall(Format("Seite %d von %d", n, pages));
            EXPECT_EQ(number.align, TextAlign::RightTop);
            EXPECT_EQ(number.x, shape.right - kLeft);
            EXPECT_EQ(number.y, shape.bottom + 2 * kH);
            const SurfaceCall date = dc.TextCall(kDate);
            EXPECT_EQ(date.x, kLeft);
            EXPECT_EQ(date.y, number.y);
            // Below the page's last report line.
            const auto lines = PrintedLines(dc);
            ASSERT_FALSE(lines.empty());
            EXPECT_GT(lines.back().y - kH, number.y);
            const auto texts = dc.CallsOf(SurfaceCall::TextOut);
            const SurfaceCall& header = texts.front();
            ASSERT_EQ(header.text.rfind("Dokument:/home/ingenieur/", 0), 0u);
            EXPECT_NE(header.text.find("…"), std::string::npos);
            EXPECT_NE(header.text.find("/nordfeld.mvk"), std::string::npos);
            EXPECT_LE(header.x + RecordingSurface::TextWidth(header.text, header.font),
                      shape.right - kLeft);
        }
    }
}

}  // namespace
