// The box around a drawing, measured with the recording surface's text
// widths (half the cell height per character).

#include <gtest/gtest.h>

#include "support/RecordingSurface.h"
#include "views/BoundsSurface.h"

namespace {

TEST(BoundsSurface, EnclosesLinesAndAlignedTextsRelativeToTheWindowOrigin) {
    RecordingSurface measure;
    BoundsSurface bounds(measure);
    EXPECT_FALSE(bounds.Box().has_value());
    bounds.SetWindowOrigin(-400, 300);
    bounds.SelectPen(Pen{PenStyle::Solid, 4, {}});
    bounds.MoveTo(0, 0);
    bounds.LineTo(1300, -750);
    bounds.SelectFont(Font{40, 700, ""});
    bounds.SetTextAlign(TextAlign::RightTop);
    bounds.TextOut(100, -950, "Dokument /a/b/c.mvk");  // 19 characters, 380 wide
    bounds.SetTextAlign(TextAlign::CentreTop);
    bounds.TextOut(650, 200, "Nordfeld");  // 160 wide, 40 high
    ASSERT_TRUE(bounds.Box().has_value());
    EXPECT_EQ(*bounds.Box(), (LogicalRect{100 - 380 + 400 - 2, 200 - 300 + 2, 1300 + 400 + 2,
                                          -950 - 40 - 300 - 2}));
    EXPECT_TRUE(measure.CallsOf(SurfaceCall::LineTo).empty());
}

}  // namespace
