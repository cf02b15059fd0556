#pragma once
// The axes of the charts drawn beside the graph page (the uncertainty run's,
// the forecast's): ends and tick step from the data's range by the graph
// page's rules, and the place of a value on a frame of given size (0.1 mm,
// y growing upward, the frame at negative y).

#include <cstdint>

struct ChartAxis {
    double min = 0, max = 1, step = 1, first = 0;
};

// Ends and ticks from the data's range (the step from CGrafik::delta, the
// first tick from CGrafik::start), flat data widened around it.
ChartAxis NiceAxis(double lo, double hi);

int32_t AxisX(const ChartAxis& axis, double value, int32_t width);
int32_t AxisY(const ChartAxis& axis, double value, int32_t height);
