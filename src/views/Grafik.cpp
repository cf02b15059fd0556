// The graph view's state: computation on demand, the plot transformation with
// its frame sizes, the magnifier and the passage through printing.

#include "views/Grafik.h"

#include <algorithm>
#include <cmath>

#include "views/Surface.h"
#include "views/Truncate.h"

namespace {

// Frame sizes in 0.1 mm: the screen frame, the magnified screen frame (1.5
// times as large) and the frames of a portrait and a landscape page.
constexpr int32_t kScreenWidth = 1300, kScreenHeight = 750;
constexpr int32_t kMagnifiedWidth = 1950, kMagnifiedHeight = 1125;
constexpr int32_t kPortraitWidth = 1300, kPortraitHeight = 2100;
constexpr int32_t kLandscapeWidth = 2200, kLandscapeHeight = 1300;

}  // namespace

int CGrafik::ValidCount(int32_t count) {
    return std::clamp<int32_t>(count, 0, morvek::kSeriesLength);
}

void CGrafik::SetPage(GraphPage page) {
    m_Page = std::move(page);
    m_bNeu = true;
    // Other data: the whole page again.
    m_Zoom.reset();
    m_ZoomHistory.clear();
}

std::optional<CGrafik::Reading> CGrafik::ReadingAt(LogicalPoint p) const {
    if (m_bBerechnet != 1 || breite <= 0 || hoehe <= 0) return std::nullopt;
    if (p.x < 0 || p.x > breite || p.y > 0 || p.y < -hoehe) return std::nullopt;
    const double across = double(p.x) / breite;
    const double up = double(p.y + hoehe) / hoehe;
    return Reading{xmin + across * (xmax - xmin), ymin + up * (ymax - ymin),
                   y1min + up * (y1max - y1min)};
}

int CGrafik::NearestCurvePoint(double x) const {
    const int count = ValidCount(m_Page.graph.curvePoints);
    int nearest = -1;
    double best = 0;
    for (int i = 0; i < count; ++i) {
        const double d = std::abs(double(m_Page.graph.x[i]) - x);
        if (nearest < 0 || d < best) {
            nearest = i;
            best = d;
        }
    }
    return nearest;
}

CGrafik::Window CGrafik::Shown() const {
    return {xmin, xmax, ymin, ymax, y1min, y1max};
}

bool CGrafik::ZoomTo(const Window& part) {
    if (m_bBerechnet != 1) return false;
    auto wide = [](double lo, double hi) {
        return std::isfinite(lo) && std::isfinite(hi) && hi > lo;
    };
    if (!wide(part.xLow, part.xHigh) || !wide(part.leftLow, part.leftHigh) ||
        !wide(part.rightLow, part.rightHigh))
        return false;
    // No narrower than a millionth of the whole page: the plot's integer
    // coordinates would overflow beyond.
    const Window whole = m_Zoom ? m_Whole : Shown();
    constexpr double kNarrowest = 1e-6;
    if (part.xHigh - part.xLow < kNarrowest * (whole.xHigh - whole.xLow) ||
        part.leftHigh - part.leftLow < kNarrowest * (whole.leftHigh - whole.leftLow) ||
        part.rightHigh - part.rightLow < kNarrowest * (whole.rightHigh - whole.rightLow))
        return false;
    m_Whole = whole;
    m_ZoomHistory.push_back(m_Zoom);
    m_Zoom = part;
    OnGraf();
    return true;
}

bool CGrafik::ZoomBack() {
    if (m_ZoomHistory.empty()) return false;
    m_Zoom = m_ZoomHistory.back();
    m_ZoomHistory.pop_back();
    OnGraf();
    return true;
}

ScrollSizes CGrafik::InitialScrollSizes() {
    return {{2500, 2200}, {1250, 1100}, {50, 44}};
}

void CGrafik::OnInitialUpdate() {
    m_bHochformat = 1;
    m_bPrint = 0;
    m_bBerechnet = 0;
}

void CGrafik::OnDraw(Surface& dc) {
    if (m_bNeu) OnCompute();
    if (m_bBerechnet == 1) DrawPage(dc);
}

int CGrafik::OnPreparePrinting() {
    m_bPrint = 1;
    return 1;
}

int CGrafik::OnPrint(Surface& dc, const LogicalRect& rectDraw) {
    m_rectDruck = rectDraw;
    m_bHochformat = rectDraw.IsTallerThanWide() ? 1 : 0;
    worldtrans();
    OnDraw(dc);
    return 1;
}

void CGrafik::OnEndPrinting() {
    if (m_bHochformat == 0) m_bHochformat = 1;
    m_bPrint = 0;
    if (m_bGrafiklupe == 1) {
        breite = kMagnifiedWidth;
        hoehe = kMagnifiedHeight;
    } else {
        breite = kScreenWidth;
        hoehe = kScreenHeight;
    }
    worldtrans();
}

void CGrafik::OnGrafiklupe() {
    m_bGrafiklupe = m_bGrafiklupe == 0 ? 1 : 0;
    OnCompute();
}

CGrafik::CommandState CGrafik::OnUpdateGrafiklupe() {
    CommandState state;
    state.enabled = true;
    if (m_bGrafiklupe == 1) {
        state.checked = true;
    } else {
        m_bGrafiklupe = 0;
    }
    return state;
}

void CGrafik::OnCompute() {
    m_bBerechnet = 1;
    OnGraf();
    m_bNeu = false;
}

void CGrafik::OnGraf() {
    extreme();
    scale();
    if (m_Zoom) ApplyZoom(*m_Zoom);
    worldtrans();
}

void CGrafik::worldtrans() {
    if (m_bHochformat == 0) {
        breite = kLandscapeWidth;
        hoehe = kLandscapeHeight;
    } else {
        breite = m_bPrint == 1 ? kPortraitWidth : kScreenWidth;
        hoehe = m_bPrint == 1 ? kPortraitHeight : kScreenHeight;
    }
    if (m_bPrint == 0) {
        if (m_bGrafiklupe == 1) {
            breite = kMagnifiedWidth;
            hoehe = kMagnifiedHeight;
        } else {
            hoehe = kScreenHeight;
        }
    }

    const morvek::GraphSeries& g = m_Page.graph;
    auto transform = [&](PointList& points, const morvek::Series& xs, const morvek::Series& ys, int count,
                         double lo, double hi) {
        for (int i = 0; i < count; ++i) {
            points[i].x =
                TruncateToInt32(breite * ((static_cast<double>(xs[i]) - xmin) / (xmax - xmin)));
            points[i].y =
                TruncateToInt32(hoehe * ((static_cast<double>(ys[i]) - lo) / (hi - lo)) - hoehe);
        }
    };
    transform(m_Punkte1, g.x, g.y1, ValidCount(g.curvePoints), ymin, ymax);
    transform(m_Punkte2, g.x, g.y2, ValidCount(g.curvePoints), y1min, y1max);
    transform(m_Punkte3, g.measuredX, g.measuredY, ValidCount(g.measuredPoints), ymin, ymax);
    transform(m_Punkte4, g.measuredGorX, g.measuredGorY, ValidCount(g.measuredGorPoints), y1min,
              y1max);
}
