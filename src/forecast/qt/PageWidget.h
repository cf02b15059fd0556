#pragma once
// A page drawn on a Surface (the forecast's graphs, the fan of its
// uncertainty run) on screen, through the same drawing as the exported and
// printed page, fitted into the widget.

#include <QWidget>
#include <functional>

class Surface;

// A page drawn on a Surface, fitted into the widget (the forecast's graphs).
class PageWidget : public QWidget {
    Q_OBJECT
public:
    using Drawing = std::function<void(Surface&)>;
    explicit PageWidget(QWidget* parent = nullptr);
    // An empty drawing shows an empty white page.
    void SetDrawing(Drawing drawing);
    bool HasDrawing() const { return static_cast<bool>(m_Drawing); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Drawing m_Drawing;
};

