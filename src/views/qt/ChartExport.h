#pragma once
// Any page drawn on a Surface (the pictures of an uncertainty run, the graph
// page) as a PNG at 150 dpi, an SVG or a PDF file, chosen by the extension.
// Needs a QGuiApplication (fonts come from the application's font database).
// A failed export leaves an earlier file as it was: the bytes are made in
// memory first, then written beside the target and renamed over it.

#include <QString>
#include <cstdint>
#include <functional>
#include <string>

class Surface;

using PageDrawing = std::function<void(Surface&)>;

// True for a name ending in .png, .svg or .pdf (in any case).
bool IsDrawingFileName(const std::string& path);

// On a drawing area like the exported graph page's (210 x 135 mm) that grows
// to take in whatever the drawing puts beyond it. On failure error holds a
// German message that names the file.
bool ExportDrawing(const PageDrawing& draw, const std::string& title, const std::string& path,
                   std::string& error);

// The size of an exported page and where the drawing's origin lies on it, in
// 0.1 mm.
struct DrawingPage {
    int32_t widthUnits = 0;
    int32_t heightUnits = 0;
    int32_t offsetXUnits = 0;
    int32_t offsetYUnits = 0;
};

// The export itself: the page for a device of the file's resolution (dots per
// inch) and the SVG's and the PDF's titles. Messages show the file's name
// readably (DisplayPath), whatever bytes it holds.
bool ExportPage(const PageDrawing& draw, const std::function<DrawingPage(int)>& pageAt,
                const QString& svgTitle, const QString& pdfTitle, const std::string& path,
                std::string& error);
