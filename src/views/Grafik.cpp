// The graph view's state: computation on demand, the plot transformation with
// its frame sizes, the magnifier and the passage through printing.

#include "views/Grafik.h"

#include <algorithm>

#include "case/MorvekDoc.h"
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
    return std::clamp<int32_t>(count, 0, kSeriesLength);
}

CGrafik::CGrafik(CMorvekDoc& doc) : m_Doc(doc), m_pDocToClear(&doc) {}

CGrafik::CGrafik(const CMorvekDoc& doc) : m_Doc(doc) {}

ScrollSizes CGrafik::InitialScrollSizes() {
    return {{2500, 2200}, {1250, 1100}, {50, 44}};
}

void CGrafik::OnInitialUpdate() {
    m_bHochformat = 1;
    m_bPrint = 0;
    m_bBerechnet = 0;
}

void CGrafik::OnDraw(Surface& dc) {
    if (m_Doc.m_bGrafikNeu == 1) OnCompute();
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
    if (m_pDocToClear != nullptr) m_pDocToClear->m_bGrafikNeu = 0;
}

void CGrafik::OnGraf() {
    extreme();
    scale();
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

    const CMorvekDoc& doc = m_Doc;
    auto transform = [&](PointList& points, const Series& xs, const Series& ys, int count,
                         double lo, double hi) {
        for (int i = 0; i < count; ++i) {
            points[i].x =
                TruncateToInt32(breite * ((static_cast<double>(xs[i]) - xmin) / (xmax - xmin)));
            points[i].y =
                TruncateToInt32(hoehe * ((static_cast<double>(ys[i]) - lo) / (hi - lo)) - hoehe);
        }
    };
    transform(m_Punkte1, doc.m_XWerte, doc.m_Y1Werte, ValidCount(doc.m_MaxWerte), ymin, ymax);
    transform(m_Punkte2, doc.m_XWerte, doc.m_Y2Werte, ValidCount(doc.m_MaxWerte), y1min, y1max);
    transform(m_Punkte3, doc.m_Mess1XWerte, doc.m_Mess1YWerte, ValidCount(doc.m_Max2Werte), ymin,
              ymax);
    transform(m_Punkte4, doc.m_Mess2XWerte, doc.m_Mess2YWerte, ValidCount(doc.m_Max3Werte), y1min,
              y1max);
}
