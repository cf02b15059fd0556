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

    CGrafik m_Grafik;
    // Logical units the page is moved right so that nothing lies left of the
    // scroll range.
    int32_t m_nLeftSpill = 0;
};
