#include "views/qt/PageExport.h"

#include <QBuffer>
#include <QByteArray>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "base/FileIO.h"
#include "base/Format.h"
#include "base/PrintableText.h"
#include "views/Grafik.h"
#include "views/MorvekView.h"
#include "views/qt/ChartExport.h"
#include "views/qt/QtSurface.h"

namespace {

// The exported graph page in 0.1 mm: the screen frame of 130 x 75 mm with
// the view's 40 mm left and 30 mm top margins and room for the right axis's
// labels, the legends below the frame and the footer below them. The page
// never grows with a text: the drawing shortens a long field name or path to
// it, so that the pixel sizes are fixed by this page and the resolution alone.
constexpr int32_t kGraphPageWidthUnits = 2100;
constexpr int32_t kGraphPageHeightUnits = 1400;

constexpr int kPdfDotsPerInch = 1200;
// A printer's usual unprintable border, kept free on the printed pages.
constexpr double kPrintMarginMillimetre = 5.0;

// The graph as the window's view shows it before any magnifying.
void DrawScreenGraph(Surface& surface, const GraphPage& page) {
    CGrafik grafik(page);
    grafik.OnInitialUpdate();
    grafik.OnCompute();
    grafik.DrawPage(surface);
}

void PrepareForDrawing(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
}

// The report pages and the graph page as a print job goes through them.
bool RenderPrintPdf(const std::vector<std::string>& lines, const GraphPage& graphPage,
                    const std::string& title, const std::string& date, QByteArray& bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setTitle(QString::fromUtf8(title.c_str()));
    writer.setResolution(kPdfDotsPerInch);
    writer.setCreator(QStringLiteral("Morvek"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(kPrintMarginMillimetre, kPrintMarginMillimetre,
                                               kPrintMarginMillimetre, kPrintMarginMillimetre),
                                     QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    PrepareForDrawing(painter);
    const LogicalRect page = LogicalPageRect(writer);

    CMorvekView report(lines);
    report.SetPath(graphPage.path);
    report.SetDate(date.empty() ? TodayText() : date);
    const int reportPages = report.OnPreparePrinting(page);
    for (int n = 1; n <= reportPages; ++n) {
        if (n > 1) writer.newPage();
        QtSurface surface(painter);
        report.OnPrint(surface, n, page);
    }

    writer.newPage();
    CGrafik grafik(graphPage);
    grafik.OnInitialUpdate();
    grafik.OnCompute();
    grafik.OnPreparePrinting();
    {
        QtSurface surface(painter);
        grafik.OnPrint(surface, page);
    }
    grafik.OnEndPrinting();
    return painter.end();
}

}  // namespace

bool ExportGraph(const GraphPage& graphPage, const std::string& documentTitle,
                 const std::string& path, std::string& error) {
    const DrawingPage page{kGraphPageWidthUnits, kGraphPageHeightUnits};
    return ExportPage([&graphPage](Surface& surface) { DrawScreenGraph(surface, graphPage); },
                      [page](int) { return page; },
                      QString::fromUtf8(graphPage.graph.labels.heading.c_str()),
                      QString::fromUtf8(documentTitle.c_str()), path, error);
}

bool PrintToPdf(const std::vector<std::string>& report, const GraphPage& page,
                const std::string& documentTitle, const std::string& path, std::string& error,
                const std::string& date) {
    QByteArray bytes;
    if (!RenderPrintPdf(report, page, documentTitle, date, bytes)) {
        error = Format("Die Datei %s kann nicht erzeugt werden: das Zeichnen ist misslungen.",
                       DisplayPath(path).c_str());
        return false;
    }
    std::string systemError;
    if (!WriteFileAtomically(path, bytes.toStdString(), systemError)) {
        error = Format("Die Datei %s kann nicht geschrieben werden.\n%s", DisplayPath(path).c_str(),
                       systemError.c_str());
        return false;
    }
    return true;
}
