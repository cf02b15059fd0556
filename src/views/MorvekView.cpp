#include "views/MorvekView.h"

#include <algorithm>

#include "base/Format.h"
#include "case/MorvekDoc.h"
#include "views/Surface.h"

namespace {

// Heavier and larger on screen than on paper, where 4 mm lines fit 61 to a
// portrait page.
const Font kScreenFont{60, 800, "Courier New"};
const Font kPrintFont{40, 600, "Courier New"};

constexpr int kLinesPortrait = 61;
constexpr int kLinesLandscape = 40;

}  // namespace

ScrollSizes CMorvekView::InitialScrollSizes() {
    return {{2000, 11000}, {1000, 5500}, {40, 220}};
}

void CMorvekView::OnDraw(Surface& dc) const {
    const Font oldFont = dc.SelectFont(kScreenFont);
    const TextAlign oldAlign = dc.SetTextAlign(TextAlign::LeftTop);
    const LogicalSize cell = dc.GetTextExtent("W");
    const std::vector<std::string>& lines = m_Doc.m_Text;
    for (size_t i = 0; i < lines.size(); ++i) {
        dc.TextOut(cell.cx, -static_cast<int32_t>(i) * cell.cy, lines[i]);
    }
    dc.SetTextAlign(oldAlign);
    dc.SelectFont(oldFont);
}

LogicalSize CMorvekView::ReportExtent(Surface& dc) const {
    const Font oldFont = dc.SelectFont(kScreenFont);
    const LogicalSize cell = dc.GetTextExtent("W");
    int32_t widest = 0;
    for (const std::string& line : m_Doc.m_Text)
        widest = std::max(widest, dc.GetTextExtent(line).cx);
    dc.SelectFont(oldFont);
    // One character's margin on both sides, as the lines start one "W" in.
    return {widest + 2 * cell.cx, static_cast<int32_t>(m_Doc.m_Text.size()) * cell.cy};
}

int CMorvekView::LinesPerPage(const LogicalRect& page) {
    return page.IsTallerThanWide() ? kLinesPortrait : kLinesLandscape;
}

int CMorvekView::PageCount(size_t lines, const LogicalRect& page) {
    return static_cast<int>(lines / static_cast<size_t>(LinesPerPage(page))) + 1;
}

int CMorvekView::OnPreparePrinting(const LogicalRect& page) const {
    return PageCount(m_Doc.m_Text.size(), page);
}

int CMorvekView::OnPrint(Surface& dc, int nPage, const LogicalRect& rectDraw) {
    m_rectSeite = rectDraw;
    const int linesPerPage = LinesPerPage(rectDraw);
    const int maxPage = PageCount(m_Doc.m_Text.size(), rectDraw);
    m_nSeite = nPage;
    const size_t first = static_cast<size_t>(std::max(0, m_nSeite - 1)) * linesPerPage;
    const size_t end = first + static_cast<size_t>(linesPerPage);

    const Font oldFont = dc.SelectFont(kPrintFont);
    const TextAlign oldAlign = dc.SetTextAlign(TextAlign::LeftTop);
    const LogicalSize cell = dc.GetTextExtent("0");
    // The header one line below the top edge, one empty line, then the
    // page's report lines.
    dc.TextOut(cell.cx, -cell.cy, Format("Dokument:%s", m_Doc.GetPathName().c_str()));
    const std::vector<std::string>& lines = m_Doc.m_Text;
    for (size_t i = first; i < end && i < lines.size(); ++i) {
        const int32_t row = static_cast<int32_t>(i - first) + 3;
        dc.TextOut(3 * cell.cx, -row * cell.cy, lines[i]);
    }
    dc.SetTextAlign(oldAlign);
    dc.SelectFont(oldFont);
    return maxPage;
}
