#pragma once
// The report view on screen: the case's report lines in a fixed-pitch font in
// a scrolling area whose range follows the report's length and width, and
// the report printed page by page with its header line.

#include "views/MorvekView.h"
#include "views/qt/CaseScrollView.h"

class CMorvekDoc;

class ReportViewWidget : public CaseScrollView {
    Q_OBJECT
public:
    explicit ReportViewWidget(const CMorvekDoc& doc, QWidget* parent = nullptr);

    void OnInitialUpdate() override;
    void OnUpdate() override;
    void PrintTo(QPrinter& printer) override;

    CMorvekView& Logic() { return m_View; }

protected:
    void DrawOnScreen(QPainter& painter) override;

private:
    // The report's extent as the screen font measures it, in logical units.
    LogicalSize MeasureReport() const;

    CMorvekView m_View;
};
