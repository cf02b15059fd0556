#pragma once
// The report view's logic: the report lines on screen in a fixed-pitch font,
// their extent for the scroll range, and the printed pages with a header line.

#include <cstddef>
#include <cstdint>

#include "views/LogicalGeometry.h"

class CMorvekDoc;
class Surface;

class CMorvekView {
public:
    explicit CMorvekView(const CMorvekDoc& doc) : m_Doc(doc) {}

    static ScrollSizes InitialScrollSizes();

    // Every report line, visible or not.
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

    int32_t m_nSeite = 0;
    LogicalRect m_rectSeite;

private:
    const CMorvekDoc& m_Doc;
};
