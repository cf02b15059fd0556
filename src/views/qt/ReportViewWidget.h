#pragma once
// The report view on screen: the report lines in a fixed-pitch font in a
// scrolling area whose range follows the report's length and width, and the
// report printed page by page with its header and footer lines.

#include <functional>
#include <string>
#include <vector>

#include "views/MorvekView.h"
#include "views/qt/CaseScrollView.h"

class ReportViewWidget : public CaseScrollView {
    Q_OBJECT
public:
    // lines: the report shown, owned by the caller; path: the path the
    // printed pages name when they are printed.
    ReportViewWidget(const std::vector<std::string>& lines, std::function<std::string()> path,
                     QWidget* parent = nullptr);
    // The date printed pages show: today's unless set (the tests fix it).
    void SetPrintDate(std::string date) { m_strDate = std::move(date); }

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
    std::function<std::string()> m_Path;
    std::string m_strDate;
};
