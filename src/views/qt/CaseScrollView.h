#pragma once
// What both views of the case have in common on screen: a scrolling area whose
// sizes are given in logical units of 0.1 mm, painted white and drawn through
// the engine on a QtSurface, and printing of the whole view on a printer.

#include <QAbstractScrollArea>

#include "views/LogicalGeometry.h"

class QPainter;
class QPrinter;

class CaseScrollView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit CaseScrollView(QWidget* parent = nullptr);

    // Called once after the view is created, and again when a case is opened.
    virtual void OnInitialUpdate() = 0;
    // The case has new results: redraw (and follow a changed extent).
    virtual void OnUpdate();
    // Prints the view on a printer that is set up already (after the print
    // dialog, in the preview, or a PDF file in the tests): every page of the
    // printer's page range.
    virtual void PrintTo(QPrinter& printer) = 0;

    // The scroll range, one page and one line step, in logical units.
    void SetScrollSizes(const ScrollSizes& sizes);
    const ScrollSizes& GetScrollSizes() const { return m_Sizes; }
    // Top-left corner of the visible part, in device pixels of the view.
    QPoint ScrollPosition() const;

protected:
    // The painter is set up on the viewport, already moved by the scroll
    // position.
    virtual void DrawOnScreen(QPainter& painter) = 0;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    // Home and End go to the top and the bottom, Strg+Pos1 and Strg+Ende to
    // the beginning and the end (the left edge as well).
    void keyPressEvent(QKeyEvent* event) override;

    int ToPixelsX(int32_t units) const;
    int ToPixelsY(int32_t units) const;

private:
    void UpdateScrollBars();

    ScrollSizes m_Sizes;
};

// The first and the last page of a print job out of pages 1 to maxPage, as the
// user restricted them in the print dialog (0 in the printer: no restriction).
struct PageRange {
    int first = 1;
    int last = 1;
};
PageRange PrintRange(const QPrinter& printer, int maxPage);
