#pragma once
// One picture of an uncertainty run on screen (the tornado or the S-curve),
// drawn through the same page drawing as the exported and printed picture and
// scaled to fit the widget.

#include <QWidget>

#include "views/SweepCharts.h"

class SweepChartWidget : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Tornado, Distribution };

    SweepChartWidget(Kind kind, QWidget* parent = nullptr);

    // nullptr shows an empty white page (before the first run).
    void SetData(const SweepChartData* data);
    Kind ChartKind() const { return m_Kind; }
    // The page on a surface with the given frame.
    void DrawPage(Surface& dc, ChartFrame frame) const;
    ChartFrame Frame() const;
    bool HasData() const { return m_pData != nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Kind m_Kind;
    const SweepChartData* m_pData = nullptr;
};
