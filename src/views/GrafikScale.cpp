// Axis ends, tick steps and first ticks of the graph. The tolerances differ
// from axis to axis and the sums of steps are built by repeated addition: the
// tick loops of the drawing repeat the same additions and must meet the same
// end values.

#include <algorithm>
#include <cmath>

#include "case/MorvekDoc.h"
#include "views/Grafik.h"
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

}  // namespace

void CGrafik::extreme() {
    const CMorvekDoc& doc = m_Doc;
    const int computed = ValidCount(doc.m_MaxWerte);
    // Without results the frame is scaled from nothing, not from an earlier
    // case's extremes.
    if (computed == 0) xmin = xmax = ymin = ymax = y1min = y1max = 0;
    for (int i = 0; i < computed; ++i) {
        if (i == 0) {
            xmin = xmax = doc.m_XWerte[0];
            ymin = ymax = doc.m_Y1Werte[0];
            y1min = y1max = doc.m_Y2Werte[0];
        }
        Widen(xmin, xmax, doc.m_XWerte[i]);
        Widen(ymin, ymax, doc.m_Y1Werte[i]);
        Widen(y1min, y1max, doc.m_Y2Werte[i]);
    }

    // Series 3 is the computed third curve of the PVT table, otherwise the
    // measured pressures, one per row entered.
    const int third = doc.m_bPVTAusgabe ? ValidCount(doc.m_MaxWerte)
                                        : ValidCount(static_cast<int32_t>(std::min<size_t>(
                                              doc.m_Messwerte.size(), kSeriesLength)));
    for (int i = 0; i < third; ++i) {
        Widen(ymin, ymax, doc.m_Mess1YWerte[i]);
        Widen(xmin, xmax, doc.m_Mess1XWerte[i]);
    }

    const int fourth = ValidCount(doc.m_Max3Werte);
    for (int i = 0; i < fourth; ++i) {
        Widen(y1min, y1max, doc.m_Mess2YWerte[i]);
        Widen(xmin, xmax, doc.m_Mess2XWerte[i]);
    }

    if (doc.m_Graph.sharedYScale) {
        ymin = y1min = std::min(ymin, y1min);
        ymax = y1max = std::max(ymax, y1max);
    }
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
        ymax = m_y2 * deltay + ystart;
    }

    if (m_Doc.m_Graph.sharedYScale) {
        y1min = ymin;
        y1max = ymax;
        deltay1 = deltay;
        y1start = ystart;
    }
}
