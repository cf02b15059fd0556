#pragma once
// The graph view's logic: axis scaling of the page's series, the
// transformation into plot coordinates, the page drawing on a Surface, the
// magnifier and the state changes of printing. The window (or an export)
// owns one, hands it the page to draw and supplies the surface; nothing here
// needs a window or a document.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "views/GraphPage.h"
#include "views/LogicalGeometry.h"
#include "views/Surface.h"

class Surface;

class CGrafik {
public:
    static constexpr int kPointCapacity = 500;
    using PointList = std::array<LogicalPoint, kPointCapacity>;

    CGrafik() = default;
    explicit CGrafik(GraphPage page) { SetPage(std::move(page)); }

    // The page to draw from now on; it is computed anew before it is drawn.
    void SetPage(GraphPage page);
    const GraphPage& Page() const { return m_Page; }
    // The footer's path alone: the scaling stays as it is.
    void SetPath(std::string path) { m_Page.path = std::move(path); }
    // A page was handed over and not yet computed.
    bool ComputePending() const { return m_bNeu; }

    // --- Window life -----------------------------------------------------------
    static ScrollSizes InitialScrollSizes();
    void OnInitialUpdate();
    // Recomputes a page handed over since, then draws the page once computed.
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

    // --- Reading values off and zooming (the window's mouse and keys) ------------
    // The window origin DrawPage sets: the frame's top-left corner lies 40 mm
    // right of and 30 mm below the drawing area's.
    static constexpr int32_t kOriginX = -400;
    static constexpr int32_t kOriginY = 300;
    // The values at a point in frame coordinates (0.1 mm from the frame's
    // top-left corner, y upward): x, the left and the right axis. None
    // outside the frame or before the page is computed.
    struct Reading {
        double x = 0, left = 0, right = 0;
    };
    std::optional<Reading> ReadingAt(LogicalPoint frame) const;
    // The curve point nearest in x to a value of the x axis (-1 without any).
    int NearestCurvePoint(double x) const;
    // The axes shown: x, the left and the right axis, each low and high.
    struct Window {
        double xLow = 0, xHigh = 0, leftLow = 0, leftHigh = 0, rightLow = 0, rightHigh = 0;
        bool operator==(const Window&) const = default;
    };
    Window Shown() const;
    // Shows this part of the axes (a rectangle drawn with the mouse, the
    // wheel); the part shown before is kept for ZoomBack. A part narrower
    // than a millionth of the whole page's is not taken.
    bool ZoomTo(const Window& part);
    // Back to the part shown before the last zoom; false when none is left.
    bool ZoomBack();
    bool Zoomed() const { return m_Zoom.has_value(); }

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
    // The axes of the zoomed part: its ends exactly, ticks from the first
    // round value within.
    void ApplyZoom(const Window& part);
    // A curve's points in frame coordinates, cut at the frame's edges while
    // zoomed (the parts inside, each a polyline of its own).
    void DrawCurve(Surface& dc, std::span<const LogicalPoint> points) const;
    void DrawPointMarkers(Surface& dc, std::span<const LogicalPoint> points,
                          MarkerShape shape) const;
    // The other cases' curves and their legend lines; returns how far below
    // the frame the lowest legend line ends (0 without).
    int32_t DrawOverlays(Surface& dc);
    std::vector<LogicalPoint> ToFrame(const std::vector<float>& xs, const std::vector<float>& ys,
                                      double lo, double hi) const;

    GraphPage m_Page;
    bool m_bNeu = false;
    // The part shown (none: the whole page, scaled as always), the parts shown
    // before each zoom, the last on top, and the whole page's axes.
    std::optional<Window> m_Zoom;
    std::vector<std::optional<Window>> m_ZoomHistory;
    Window m_Whole;
};

// The colours of the compared cases' curves, one per case, at most eight.
inline constexpr int kOverlayColours = 8;
Colour OverlayColour(int index);
