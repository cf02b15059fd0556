#pragma once
// Any page drawn on a Surface (the pictures of an uncertainty run) as a PNG
// at 150 dpi, an SVG or a PDF file, chosen by the extension, on a drawing
// area like the exported graph page's (210 x 135 mm) that grows to take in
// whatever the drawing puts beyond it. Needs a QGuiApplication, as the graph
// export does. A failed export leaves an earlier file as it was.

#include <functional>
#include <string>

class Surface;

using PageDrawing = std::function<void(Surface&)>;

// True for a name ending in .png, .svg or .pdf (in any case).
bool IsDrawingFileName(const std::string& path);

// On failure error holds a German message that names the file.
bool ExportDrawing(const PageDrawing& draw, const std::string& title, const std::string& path,
                   std::string& error);
