// The QPainter surface on images of known resolution: units to pixels with y
// upward, fonts by cell height, pens that stay visible.

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <cmath>

#include "views/qt/QtSurface.h"

namespace {

QImage WhiteImage(int width, int height, int dotsPerInch) {
    QImage image(width, height, QImage::Format_RGB32);
    const int dotsPerMetre = static_cast<int>(std::lround(dotsPerInch / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    return image;
}

bool IsColour(QRgb pixel, int red, int green, int blue) {
    return std::abs(qRed(pixel) - red) < 60 && std::abs(qGreen(pixel) - green) < 60 &&
           std::abs(qBlue(pixel) - blue) < 60;
}

TEST(QtSurface, MapsTenthsOfAMillimetreToPixelsWithYGrowingUpward) {
    QImage image = WhiteImage(400, 400, 254);  // one pixel per unit
    {
        QPainter painter(&image);
        QtSurface surface(painter);
        surface.SetWindowOrigin(-100, 50);
        surface.SelectPen(Pen{PenStyle::Solid, 1, {255, 0, 0}});
        surface.MoveTo(0, 0);
        surface.LineTo(0, -200);  // downward on the picture
    }
    EXPECT_TRUE(IsColour(image.pixel(100, 50), 255, 0, 0));
    EXPECT_TRUE(IsColour(image.pixel(100, 249), 255, 0, 0));
    EXPECT_TRUE(IsColour(image.pixel(100, 30), 255, 255, 255));
    EXPECT_TRUE(IsColour(image.pixel(100, 270), 255, 255, 255));
}

TEST(QtSurface, ResolvesCourierNewToAMonospaceFaceOfTheRequestedCellHeight) {
    QImage image = WhiteImage(10, 10, 600);
    QPainter painter(&image);
    QtSurface surface(painter);
    surface.SelectFont(Font{40, 600, "Courier New"});
    const LogicalSize zero = surface.GetTextExtent("0");
    EXPECT_NEAR(zero.cy, 40, 1);
    EXPECT_EQ(surface.GetTextExtent("WWWWWWWWWW").cx, surface.GetTextExtent("iiiiiiiiii").cx);
    // Courier's advance is 0.6 em and its cell 1.13 em: 21 units at height 40.
    EXPECT_NEAR(zero.cx, 21, 1);
    const QFontInfo info(QtSurface::ResolveFont(Font{40, 600, "Courier New"}, image));
    EXPECT_TRUE(info.fixedPitch()) << info.family().toStdString();

    surface.SelectFont(Font{45, 700, ""});
    EXPECT_NEAR(surface.GetTextExtent("Druck").cy, 45, 1);
    EXPECT_LT(surface.GetTextExtent("iiiiiiiiii").cx, surface.GetTextExtent("WWWWWWWWWW").cx);
}

TEST(QtSurface, PlacesTextBelowItsReferencePointByItsAlignment) {
    QImage image = WhiteImage(600, 200, 254);
    {
        QPainter painter(&image);
        QtSurface surface(painter);
        surface.SelectFont(Font{60, 700, ""});
        surface.SetTextAlign(TextAlign::RightTop);
        surface.TextOut(300, -50, "MMMM");
    }
    int left = 600, right = -1, top = 200, bottom = -1;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 600; ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
    }
    EXPECT_LE(right, 300);
    EXPECT_GE(right, 290);
    EXPECT_GE(top, 50);
    EXPECT_LE(bottom, 110);
}

// Draws a horizontal line of the pen across a picture and returns the number
// of changes between ink and paper along the pixel row with the most ink,
// away from the line's ends.
int InkChanges(const Pen& pen, int dotsPerInch) {
    QImage image = WhiteImage(800, 40, dotsPerInch);
    {
        QPainter painter(&image);
        QtSurface surface(painter);
        const int32_t y = -static_cast<int32_t>(std::lround(20 * 254.0 / dotsPerInch));
        surface.SelectPen(pen);
        surface.MoveTo(0, y);
        surface.LineTo(static_cast<int32_t>(800 * 254.0 / dotsPerInch), y);
    }
    int bestInk = -1, changesOfBest = 0;
    for (int row = 0; row < 40; ++row) {
        int ink = 0, changes = 0;
        bool inked = false;
        for (int x = 20; x < 780; ++x) {
            const bool isInk = qGray(image.pixel(x, row)) < 200;
            ink += isInk ? 1 : 0;
            if (x > 20 && isInk != inked) ++changes;
            inked = isInk;
        }
        if (ink > bestInk) bestInk = ink, changesOfBest = changes;
    }
    return bestInk > 0 ? changesOfBest : -1;
}

TEST(QtSurface, DrawsDashedAndDottedPensWithVisibleGapsAtEveryWidthAndResolution) {
    for (int dpi : {96, 150, 600}) {
        EXPECT_GT(InkChanges(Pen{PenStyle::Dash, 3, {0, 0, 0}}, dpi), 10) << dpi;
        EXPECT_GE(InkChanges(Pen{PenStyle::Dash, 30, {0, 0, 0}}, dpi), 4) << dpi;
        EXPECT_GT(InkChanges(Pen{PenStyle::Dot, 1, {0, 0, 0}}, dpi), 20) << dpi;
        EXPECT_EQ(InkChanges(Pen{PenStyle::Solid, 1, {0, 0, 0}}, dpi), 0) << dpi;
    }
}

TEST(QtSurface, GivesThePaintAreaOfADeviceInLogicalUnits) {
    const QImage image = WhiteImage(1240, 797, 150);
    EXPECT_EQ(LogicalPageRect(image), (LogicalRect{0, 0, 2100, -1350}));
}

}  // namespace
