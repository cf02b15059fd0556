#pragma once
// Texts fitted into a width on a surface: the page's footers and headers,
// the field name at the top of the graph page. A text too wide is shortened
// with "…" at its end or in its middle (a path keeps its file name).

#include <cstdint>
#include <string>

class Surface;

// The text as it fits into maxWidth in the surface's current font: whole when
// it fits, else shortened with "…" at its end (or, with inMiddle, in its
// middle) to the most whole characters that fit.
std::string FitText(Surface& dc, const std::string& text, int32_t maxWidth, bool inMiddle);

// The white kept between a page's footer or header and the edges of its
// drawing area, 5 mm: the graph page's footer, the report pages' header and
// footer and the uncertainty charts' footer stand this far in.
inline constexpr int32_t kPageTextMargin = 50;
