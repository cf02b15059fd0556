// Axis ends, tick steps and first ticks of the graph. The tolerances differ
// from axis to axis and the sums of steps are built by repeated addition: the
// tick loops of the drawing repeat the same additions and must meet the same
// end values.

#include <algorithm>
#include <cmath>

#include "views/Grafik.h"
#include "views/GraphPage.h"
#include "views/Truncate.h"

namespace {

void Widen(double& lo, double& hi, float value) {
    if (value < lo) lo = value;
    if (value > hi) hi = value;
}

// Flat data far from zero (a gas-oil ratio of 1e14 at every point) get a step
// of 1 or 0.2, which is lost beside such values in double precision or needs
// millions of additions to reach them: the tick loops of the scaling and of
// the drawing would never end. Such an axis steps by a round value of at
// least a millionth of its magnitude; real data never come near that bound.
constexpr double kMinStepPerMagnitude = 1e-6;

double ResolvableStep(double step, double lo, double hi) {
    const double minimum = std::max(std::fabs(lo), std::fabs(hi)) * kMinStepPerMagnitude;
    return step >= minimum ? step : CGrafik::delta(10.0 * minimum);
}

// The next round step below a round one: 5 -> 2.5 -> 2 -> 1 -> 0.5 (times a
// power of ten).
double FinerStep(double step) {
    if (!(step > 0) || !std::isfinite(step)) return 0;
    const double power = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
    const double mantissa = step / power;
    if (mantissa > 4.5) return 2.5 * power;
    if (mantissa > 2.25) return 2 * power;
    if (mantissa > 1.5) return power;
    return 0.5 * power;
}

}  // namespace

void CGrafik::extreme() {
    const morvek::GraphSeries& g = m_Page.graph;
    const int computed = ValidCount(g.curvePoints);
    // Without results the frame is scaled from nothing, not from an earlier
    // case's extremes.
    if (computed == 0) xmin = xmax = ymin = ymax = y1min = y1max = 0;
    for (int i = 0; i < computed; ++i) {
        if (i == 0) {
            xmin = xmax = g.x[0];
            ymin = ymax = g.y1[0];
            y1min = y1max = g.y2[0];
        }
        Widen(xmin, xmax, g.x[i]);
        Widen(ymin, ymax, g.y1[i]);
        Widen(y1min, y1max, g.y2[i]);
    }

    // Series 3 is the computed third curve of the PVT table, otherwise the
    // measured pressures, one per row entered.
    const int third = m_Page.kind == morvek::ResultKind::PvtTable
                          ? ValidCount(g.curvePoints)
                          : ValidCount(m_Page.measuredRows);
    for (int i = 0; i < third; ++i) {
        Widen(ymin, ymax, g.measuredY[i]);
        Widen(xmin, xmax, g.measuredX[i]);
    }

    const int fourth = ValidCount(g.measuredGorPoints);
    for (int i = 0; i < fourth; ++i) {
        Widen(y1min, y1max, g.measuredGorY[i]);
        Widen(xmin, xmax, g.measuredGorX[i]);
    }

    // The other cases' curves of a comparison: their pressures on the left
    // axis, their gas-oil ratios on the right.
    bool any = computed > 0 || third > 0 || fourth > 0;
    for (const OverlayCurve& o : m_Page.overlays) {
        const size_t n = std::min({o.x.size(), o.y1.size(), o.y2.size()});
        for (size_t i = 0; i < n; ++i) {
            if (!any) {
                xmin = xmax = o.x[i];
                ymin = ymax = o.y1[i];
                y1min = y1max = o.y2[i];
                any = true;
            }
            Widen(xmin, xmax, o.x[i]);
            Widen(ymin, ymax, o.y1[i]);
            Widen(y1min, y1max, o.y2[i]);
        }
    }

    if (g.sharedYScale) {
        ymin = y1min = std::min(ymin, y1min);
        ymax = y1max = std::max(ymax, y1max);
    }
}

void CGrafik::ApplyZoom(const Window& part) {
    xmin = part.xLow, xmax = part.xHigh;
    ymin = part.leftLow, ymax = part.leftHigh;
    y1min = part.rightLow, y1max = part.rightHigh;
    // Ticks at round values within the part; the ends stay where the part
    // ends.
    auto firstTick = [](double lo, double step) {
        return std::ceil(lo / step - 1e-9) * step;
    };
    deltax = ResolvableStep(delta(xmax - xmin), xmin, xmax);
    deltay = ResolvableStep(delta(ymax - ymin), ymin, ymax);
    deltay1 = ResolvableStep(delta(y1max - y1min), y1min, y1max);
    xstart = firstTick(xmin, deltax);
    ystart = firstTick(ymin, deltay);
    y1start = firstTick(y1min, deltay1);
}

double CGrafik::delta(double range) {
    if (range == 0) return 1;
    const double x = range / 10;
    // Truncation toward zero puts the mantissa r into [1, 10) for ranges of
    // 10 and more but into (0.1, 1] below 10; the table below covers both.
    const int32_t n = TruncateToInt32(std::log10(x));
    const double p = std::pow(10.0, n);
    const double r = x / p;
    if (r >= 4) return 10 * p;
    if (r >= 2) return 5 * p;
    if (r >= 1) return 2 * p;
    if (r >= 0.5) return p;
    if (r >= 0.2) return 0.5 * p;
    if (r > 0.1 && r < 0.2) return 0.2 * p;
    if (r == 0.1) return 0.1 * p;
    return 1;
}

double CGrafik::start(double min, double step) {
    if (min == 0) return 0;
    const double q = min / step;
    if (q == TruncateToInt32(q)) return min;
    // For q < 0 the logarithm is not a number and the truncation gives the
    // lowest integer, which counts as below 5.
    const int32_t n = TruncateToInt32(std::log10(q));
    if (n < 5) {
        double result = TruncateToInt32(q) * step;
        if (min < 0) result -= step;
        return result;
    }
    // Far from zero the quotient is not converted to an integer: step up from
    // the power of ten below it instead.
    double result = std::pow(10.0, n) * step - step;
    while (result <= min - step) result += step;
    return result;
}

void CGrafik::scale() {
    const double dataYmin = ymin, dataYmax = ymax;
    deltax = ResolvableStep(delta(xmax - xmin), xmin, xmax);
    deltay = ResolvableStep(delta(ymax - ymin), ymin, ymax);
    xstart = start(xmin, deltax);
    ystart = start(ymin, deltay);
    if (xstart < xmin) xmin = xstart;
    if (ystart < ymin) ymin = ystart;

    double t = xstart;
    while (xmax - 0.00001 > t) t += deltax;
    xmax = t;
    // All x values equal and on the grid (or no points at all) would leave a
    // zero-width axis and a division by zero in the transformation: give it a
    // step of room on each side, as the left axis gets.
    if (xmax == xmin) {
        xmax += deltax;
        xmin -= deltax;
    }

    t = ystart;
    while (ymax - 0.000001 > t) t += deltay;
    ymax = t;
    if (ymax == ymin) {
        ymax += deltay;
        ymin -= deltay;
    }

    m_y1 = 0;
    t = ymin;
    while (ymax - 0.001 > t) {
        t += deltay;
        m_y1 += 1;
    }

    if (y1max == y1min) y1max = y1min + 1;
    deltay1 = ResolvableStep(delta(y1max - y1min), y1min, y1max);
    y1start = start(y1min, deltay1);
    if (y1start < y1min) y1min = y1start;

    m_y2 = 0;
    t = y1min;
    while (y1max - 0.0001 > t) {
        t += deltay1;
        m_y2 += 1;
    }
    y1max = t;

    // One set of horizontal grid lines serves both axes: stretch the axis with
    // fewer intervals to the other's count.
    if (m_y2 <= m_y1) {
        y1max = m_y1 * deltay1 + y1min;
    } else {
        // The right axis needs more intervals: a finer round step of the
        // left axis fills them, where stretching it by whole steps would
        // double it (a pressure axis to 550 for a 250-bar case whose ratio
        // needs 11 intervals).
        if (dataYmax > dataYmin) {
            for (double finer = FinerStep(deltay);
                 finer >= deltay / 10 && finer == ResolvableStep(finer, dataYmin, dataYmax);
                 finer = FinerStep(finer)) {
                const double first = start(dataYmin, finer);
                if (!(std::ceil((dataYmax - first) / finer - 1e-9) <= m_y2)) break;
                deltay = finer;
                ystart = first;
                ymin = std::min(dataYmin, first);
                m_y1 = m_y2;
            }
        }
        ymax = m_y2 * deltay + ystart;
    }

    if (m_Page.graph.sharedYScale) {
        // Both axes show one quantity (the diagnostic graphs): a marker at the
        // top tick (a drive-index sum of 1) would sit on the frame's edge; the
        // axis gets a step more room.
        const morvek::GraphSeries& g = m_Page.graph;
        for (int i = 0; i < ValidCount(g.measuredPoints); ++i) {
            if (double(g.measuredY[i]) >= ymax - 1e-9 * std::fabs(ymax)) {
                ymax += deltay;
                break;
            }
        }
        y1min = ymin;
        y1max = ymax;
        deltay1 = deltay;
        y1start = ystart;
    }
}
