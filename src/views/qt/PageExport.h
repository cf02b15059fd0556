#pragma once
// The graph page and the printed pages of a case as files, for batch mode and
// the window's export command. Each function needs a QGuiApplication (fonts
// come from the application's font database); batch mode creates one with
// the offscreen platform before calling. A failed export leaves an earlier
// file at the path as it was: the bytes are made in memory first, then
// written beside the target and renamed over it.

#include <string>

class CMorvekDoc;

// The graph page as the screen shows it (130 x 75 mm frame), on a drawing
// area of 210 x 140 mm: a PNG at 150 dpi, an SVG or a PDF by the file's
// extension. Any other extension is refused. On failure error holds a German
// message that names the file.
bool ExportGraph(const CMorvekDoc& doc, const std::string& path, std::string& error);

// What printing gives, as one PDF on A4 portrait: the report pages, then the
// graph page with the frame size of a portrait page.
bool PrintToPdf(const CMorvekDoc& doc, const std::string& path, std::string& error);
