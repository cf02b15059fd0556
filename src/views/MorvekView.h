#pragma once
// The report view's logic: the report lines on screen in a fixed-pitch font,
// their extent for the scroll range, and the printed pages with a header line
// (the case's path) and a footer line (the date and "Seite N von M"). It
// draws the lines it is given; it knows no document.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "views/LogicalGeometry.h"

class Surface;

class CMorvekView {
public:
    explicit CMorvekView(const std::vector<std::string>& lines) : m_Lines(lines) {}

    // The path the printed pages' header names.
    void SetPath(std::string path) { m_strPath = std::move(path); }
    // The date the printed pages' footer shows ("12.03.2026"); empty: none.
    void SetDate(std::string date) { m_strDate = std::move(date); }

    static ScrollSizes InitialScrollSizes();

    // Every report line, visible or not; without any, the hint what to do
    // first (never printed).
    void OnDraw(Surface& dc) const;
    // Width of the widest line with its left margin and the height of all
    // lines, in the screen font: a scroll range that follows the report.
    LogicalSize ReportExtent(Surface& dc) const;

    // Lines on a page of this shape: 61 portrait, 40 landscape or square.
    static int LinesPerPage(const LogicalRect& page);
    // Pages for the report on pages of this shape; a line count that is an
    // exact multiple of the lines per page ends with a header-only page.
    static int PageCount(size_t lines, const LogicalRect& page);
    // The page count of the print job, counted once the page shape is known,
    // so that a landscape job holds every line.
    int OnPreparePrinting(const LogicalRect& page) const;
    // Prints page nPage (from 1) into the page's drawing area and returns the
    // maximum page for pages of this shape.
    int OnPrint(Surface& dc, int nPage, const LogicalRect& rectDraw);

    // What the screen shows while there is no report.
    static const std::vector<std::string>& EmptyHint();

    int32_t m_nSeite = 0;
    LogicalRect m_rectSeite;

private:
    const std::vector<std::string>& m_Lines;
    std::string m_strPath;
    std::string m_strDate;
};

// Today's date as the printed pages show it: "12.03.2026".
std::string TodayText();
