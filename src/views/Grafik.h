#pragma once
// The graph view's logic: axis scaling of the case's series, the
// transformation into plot coordinates, the page drawing on a Surface, the
// magnifier and the state changes of printing. The window (or an export)
// owns one and supplies the surface; nothing here needs a window.

#include <array>
#include <cstdint>
#include <span>

#include "views/LogicalGeometry.h"
#include "views/Surface.h"

class CMorvekDoc;
class Surface;

class CGrafik {
public:
    static constexpr int kPointCapacity = 500;
    using PointList = std::array<LogicalPoint, kPointCapacity>;

    // The view of the window: OnCompute clears the case's m_bGrafikNeu.
    explicit CGrafik(CMorvekDoc& doc);
    // A view for an export: reads the case only and leaves its recompute flag
    // for the window's own view.
    explicit CGrafik(const CMorvekDoc& doc);

    // --- Window life -----------------------------------------------------------
    static ScrollSizes InitialScrollSizes();
    void OnInitialUpdate();
    // Recomputes when the case asks for it, then draws the page once computed.
    void OnDraw(Surface& dc);

    // --- Printing (print preview passes through the same states) ---------------
    // Returns the page count of the job.
    int OnPreparePrinting();
    // The page's drawing area in logical units fixes orientation and frame
    // size; then the page is drawn. Returns the maximum page.
    int OnPrint(Surface& dc, const LogicalRect& rectDraw);
    // Back to the screen frame; the window repaints afterwards.
    void OnEndPrinting();

    // --- Magnifier (command "Grafik Lupe") --------------------------------------
    struct CommandState {
        bool enabled = false;
        bool checked = false;
    };
    // Toggles and recomputes; the window repaints afterwards.
    void OnGrafiklupe();
    CommandState OnUpdateGrafiklupe();

    // --- Computation ---------------------------------------------------------------
    void OnCompute();
    void OnGraf();
    void extreme();
    void scale();
    static double delta(double range);
    static double start(double min, double step);
    void worldtrans();

    // --- Drawing ---------------------------------------------------------------------
    void DrawPage(Surface& dc);
    void DrawXAxis(Surface& dc);
    void DrawYAxis(Surface& dc);
    void DrawY1Axis(Surface& dc);
    void DrawGrid(Surface& dc);
    static void DrawMarkers(Surface& dc, std::span<const LogicalPoint> points,
                            MarkerShape shape = MarkerShape::Circle);
    // The footer "Dokument <path>" under the frame, within the drawing area:
    // a path too long for it is shortened with "…" in its middle.
    void DrawFooter(Surface& dc);
    // The width of the drawing area in logical units: the page's when
    // printing, otherwise the screen page's (wider with the magnifier).
    int32_t DrawingAreaWidth() const;

    // --- View state, in the order the view has always kept it ------------------
    int32_t m_bPrint = 0;
    int32_t m_bHochformat = 1;
    int32_t m_bGrafiklupe = 0;
    LogicalRect m_rectDruck;
    int32_t m_bBerechnet = 0;
    double xmin = 0, xmax = 0, ymin = 0, ymax = 0, y1min = 0, y1max = 0;
    double xstart = 0, ystart = 0, y1start = 0;
    double deltax = 0, deltay = 0, deltay1 = 0;
    int32_t breite = 0;  // frame width, 0.1 mm
    int32_t hoehe = 0;   // frame height, 0.1 mm
    PointList m_Punkte1{};
    PointList m_Punkte2{};
    PointList m_Punkte3{};
    PointList m_Punkte4{};

    // Working values of scale: tick intervals of the left and the right axis,
    // equal once scale is done.
    int32_t m_y1 = 0;
    int32_t m_y2 = 0;

private:
    // A point count of the case, kept within the length of its series.
    static int ValidCount(int32_t count);

    const CMorvekDoc& m_Doc;
    CMorvekDoc* m_pDocToClear = nullptr;
};
