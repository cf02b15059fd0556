#pragma once
// The graph page and the printed pages of a case as files, for batch mode and
// the window's export command. Each function needs a QGuiApplication (fonts
// come from the application's font database); batch mode creates one with
// the offscreen platform before calling. A failed export leaves an earlier
// file at the path as it was: the bytes are made in memory first, then
// written beside the target and renamed over it.

#include <string>
#include <vector>

#include "views/GraphPage.h"

// The graph page as the screen shows it (130 x 75 mm frame), on a drawing
// area of 210 x 140 mm: a PNG at 150 dpi, an SVG or a PDF by the file's
// extension. Any other extension is refused. The SVG carries the graph's
// heading as its title, the PDF documentTitle (the case's, as the window's
// caption shows it). On failure error holds a German message that names the
// file.
bool ExportGraph(const GraphPage& page, const std::string& documentTitle, const std::string& path,
                 std::string& error);

// What printing gives, as one PDF on A4 portrait titled documentTitle: the
// report pages (their header names the page's path, their footer the date
// and the page number), then the graph page with the frame size of a
// portrait page. An empty date is today's.
bool PrintToPdf(const std::vector<std::string>& report, const GraphPage& page,
                const std::string& documentTitle, const std::string& path, std::string& error,
                const std::string& date = {});
