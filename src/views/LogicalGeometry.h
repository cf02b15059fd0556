#pragma once
// Positions and sizes of both views in logical units of 0.1 mm with y growing
// upward: a page's drawing area runs from top 0 down to a negative bottom.

#include <cstdint>
#include <cstdlib>

struct LogicalPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const LogicalPoint&) const = default;
};

struct LogicalSize {
    int32_t cx = 0;
    int32_t cy = 0;
    bool operator==(const LogicalSize&) const = default;
};

// Left, top, right, bottom as the print framework hands the drawing area of a
// page over: top 0, bottom negative in this mapping.
struct LogicalRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    // A page counts as portrait only when strictly taller than wide; a square
    // page is handled as landscape.
    bool IsTallerThanWide() const { return std::abs(Height()) > Width(); }
    bool operator==(const LogicalRect&) const = default;
};

// The scroll sizes a scrolling view is given at its initial update.
struct ScrollSizes {
    LogicalSize total;
    LogicalSize page;
    LogicalSize line;
};
