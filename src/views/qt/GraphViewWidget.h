#pragma once
// The graph view on screen: a graph page in a scrolling area, the
// magnifier, and the page printed with the frame size of the paper's shape.
// It draws the page it is handed; whoever owns the data hands it anew when
// the data change.

#include <QTransform>
#include <optional>

#include "views/Grafik.h"
#include "views/qt/CaseScrollView.h"

class QRubberBand;

class GraphViewWidget : public CaseScrollView {
    Q_OBJECT
public:
    explicit GraphViewWidget(QWidget* parent = nullptr);

    // The page to show from now on (computed anew before it is drawn).
    void SetPage(GraphPage page);
    // The footer's path alone (after "Speichern unter"), without computing anew.
    void SetPath(const std::string& path);

    void OnInitialUpdate() override;
    void PrintTo(QPrinter& printer) override;

    // "Grafik an Fenster anpassen": the page scaled to fill the window (the
    // default) instead of drawn at its natural size with scroll bars. The
    // magnifier then shows the fitted page half as large again.
    void SetFitToWindow(bool fit);
    bool FitsToWindow() const { return m_bFitToWindow; }

    // Command "Grafik Lupe" and its enable/check state.
    void OnGrafiklupe();
    CGrafik::CommandState OnUpdateGrafiklupe() { return m_Grafik.OnUpdateGrafiklupe(); }

    CGrafik& Logic() { return m_Grafik; }

    // --- Reading values off and zooming ------------------------------------------
    // What the status bar shows for a point of the viewport: the values of
    // both axes there and the nearest curve point (for a prediction the
    // nearest step's p, Np and GOR); empty outside the frame.
    QString ReadingText(const QPoint& viewportPoint) const;
    // Zooms into the rectangle between two points of the viewport (as the
    // mouse draws it); false when it is too small or outside the frame.
    bool ZoomToRectangle(const QPoint& from, const QPoint& to);
    // Zooms in (steps > 0) or out around a point of the viewport, by a
    // quarter a step (the mouse wheel).
    bool ZoomAround(const QPoint& viewportPoint, int steps);
    // Back to the part shown before the last zoom (Esc, Backspace).
    bool ZoomBack();

signals:
    // The reading under the mouse, empty when it left the frame.
    void ReadingChanged(const QString& text);

protected:
    void DrawOnScreen(QPainter& painter) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // The scroll range covers everything the page draws: the magnified frame
    // with its right-hand axis and a footer path that reaches left of the
    // drawing area stay within reach.
    void FollowDrawing(Surface& dc);
    // The page scaled into the viewport.
    void DrawFitted(QPainter& painter);
    // Sets the scroll range after this paint, when it differs.
    void ScrollRangeAfterPaint(const ScrollSizes& sizes, int32_t spill);

    // The point of the frame under a point of the viewport (frame units, y
    // upward), from the transformation of the last paint.
    std::optional<LogicalPoint> FramePointAt(const QPoint& viewportPoint) const;

    CGrafik m_Grafik;
    // The painter's transformation when the page was last drawn, and whether
    // there was one.
    QTransform m_PageTransform;
    bool m_bPageDrawn = false;
    QRubberBand* m_pRubberBand = nullptr;
    QPoint m_RubberOrigin;
    // Logical units the page is moved right so that nothing lies left of the
    // scroll range.
    int32_t m_nLeftSpill = 0;
    bool m_bFitToWindow = true;
};
