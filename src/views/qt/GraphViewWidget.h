#pragma once
// The graph view on screen: the engine's graph page in a scrolling area, the
// magnifier, and the page printed with the frame size of the paper's shape.

#include "views/Grafik.h"
#include "views/qt/CaseScrollView.h"

class CMorvekDoc;

class GraphViewWidget : public CaseScrollView {
    Q_OBJECT
public:
    explicit GraphViewWidget(CMorvekDoc& doc, QWidget* parent = nullptr);

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

protected:
    void DrawOnScreen(QPainter& painter) override;

private:
    // The scroll range covers everything the page draws: the magnified frame
    // with its right-hand axis and a footer path that reaches left of the
    // drawing area stay within reach.
    void FollowDrawing(Surface& dc);
    // The page scaled into the viewport.
    void DrawFitted(QPainter& painter);
    // Sets the scroll range after this paint, when it differs.
    void ScrollRangeAfterPaint(const ScrollSizes& sizes, int32_t spill);

    CGrafik m_Grafik;
    // Logical units the page is moved right so that nothing lies left of the
    // scroll range.
    int32_t m_nLeftSpill = 0;
    bool m_bFitToWindow = true;
};
