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
    CGrafik m_Grafik;
};
