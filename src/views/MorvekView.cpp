#include "views/MorvekView.h"

#include <algorithm>
#include <ctime>

#include "base/Format.h"
#include "base/PrintableText.h"
#include "views/FitText.h"
#include "views/Surface.h"

namespace {

// Heavier and larger on screen than on paper, where 4 mm lines fit 61 to a
// portrait page.
const Font kScreenFont{60, 800, "Courier New"};
const Font kPrintFont{40, 600, "Courier New"};
// The hint of an empty window: the graph's face, grey.
const Font kHintFont{45, 400, ""};
const Pen kHintPen{PenStyle::Solid, 1, {110, 110, 110}};

constexpr int kLinesPortrait = 61;
constexpr int kLinesLandscape = 40;

}  // namespace

ScrollSizes CMorvekView::InitialScrollSizes() {
    return {{2000, 11000}, {1000, 5500}, {40, 220}};
}

const std::vector<std::string>& CMorvekView::EmptyHint() {
    static const std::vector<std::string> hint = {
        "Noch kein Ergebnis.",
        "",
        "Datei > Neu (Strg+N): einen neuen Fall eingeben",
        "Datei > Öffnen (Strg+O): einen gespeicherten Fall öffnen, z. B. examples/nordfeld.mvk",
        "Bearbeiten > Daten ändern (F2): die Eingaben des Falls; OK rechnet",
        "Hilfe (F1): alle Eingaben mit Einheit und Bereich",
    };
    return hint;
}

void CMorvekView::OnDraw(Surface& dc) const {
    const TextAlign oldAlign = dc.SetTextAlign(TextAlign::LeftTop);
    if (m_Lines.empty()) {
        const Font oldFont = dc.SelectFont(kHintFont);
        const Pen oldPen = dc.SelectPen(kHintPen);
        const LogicalSize cell = dc.GetTextExtent("W");
        const std::vector<std::string>& hint = EmptyHint();
        for (size_t i = 0; i < hint.size(); ++i)
            dc.TextOut(cell.cx, -static_cast<int32_t>(i + 1) * cell.cy * 3 / 2, hint[i]);
        dc.SelectPen(oldPen);
        dc.SelectFont(oldFont);
        dc.SetTextAlign(oldAlign);
        return;
    }
    const Font oldFont = dc.SelectFont(kScreenFont);
    const LogicalSize cell = dc.GetTextExtent("W");
    for (size_t i = 0; i < m_Lines.size(); ++i) {
        dc.TextOut(cell.cx, -static_cast<int32_t>(i) * cell.cy, m_Lines[i]);
    }
    dc.SetTextAlign(oldAlign);
    dc.SelectFont(oldFont);
}

LogicalSize CMorvekView::ReportExtent(Surface& dc) const {
    const Font oldFont = dc.SelectFont(kScreenFont);
    const LogicalSize cell = dc.GetTextExtent("W");
    int32_t widest = 0;
    for (const std::string& line : m_Lines) widest = std::max(widest, dc.GetTextExtent(line).cx);
    dc.SelectFont(oldFont);
    // One character's margin on both sides, as the lines start one "W" in.
    return {widest + 2 * cell.cx, static_cast<int32_t>(m_Lines.size()) * cell.cy};
}

int CMorvekView::LinesPerPage(const LogicalRect& page) {
    return page.IsTallerThanWide() ? kLinesPortrait : kLinesLandscape;
}

int CMorvekView::PageCount(size_t lines, const LogicalRect& page) {
    return static_cast<int>(lines / static_cast<size_t>(LinesPerPage(page))) + 1;
}

int CMorvekView::OnPreparePrinting(const LogicalRect& page) const {
    return PageCount(m_Lines.size(), page);
}

int CMorvekView::OnPrint(Surface& dc, int nPage, const LogicalRect& rectDraw) {
    m_rectSeite = rectDraw;
    const int linesPerPage = LinesPerPage(rectDraw);
    const int maxPage = PageCount(m_Lines.size(), rectDraw);
    m_nSeite = nPage;
    const size_t first = static_cast<size_t>(std::max(0, m_nSeite - 1)) * linesPerPage;
    const size_t end = first + static_cast<size_t>(linesPerPage);

    const Font oldFont = dc.SelectFont(kPrintFont);
    const TextAlign oldAlign = dc.SetTextAlign(TextAlign::LeftTop);
    const LogicalSize cell = dc.GetTextExtent("0");
    // Header, lines and footer keep the graph page's margin from the left
    // edge; the header names the case's path, shortened in its middle where
    // the page is too narrow for it.
    const int32_t left = rectDraw.left + kPageTextMargin;
    const int32_t width = std::max(0, rectDraw.Width() - 2 * kPageTextMargin);
    dc.TextOut(left, -cell.cy,
               FitText(dc, Format("Dokument:%s", DisplayPath(m_strPath).c_str()), width, true));
    // The header one line below the top edge, one empty line, then the
    // page's report lines two characters further in.
    for (size_t i = first; i < end && i < m_Lines.size(); ++i) {
        const int32_t row = static_cast<int32_t>(i - first) + 3;
        dc.TextOut(left + 2 * cell.cx, -row * cell.cy, m_Lines[i]);
    }
    // The footer on the page's last line: the date at the left, the page
    // number at the right.
    const int32_t footerY = rectDraw.bottom + 2 * cell.cy;
    if (!m_strDate.empty()) dc.TextOut(left, footerY, m_strDate);
    dc.SetTextAlign(TextAlign::RightTop);
    dc.TextOut(left + width, footerY, Format("Seite %d von %d", nPage, maxPage));
    dc.SetTextAlign(oldAlign);
    dc.SelectFont(oldFont);
    return maxPage;
}

std::string TodayText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return Format("%02d.%02d.%04d", local.tm_mday, local.tm_mon + 1, local.tm_year + 1900);
}
