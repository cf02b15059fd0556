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
#include "case/MorvekDoc.h"
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
void DrawScreenGraph(Surface& surface, const CMorvekDoc& doc) {
    CGrafik grafik(doc);
    grafik.OnInitialUpdate();
    grafik.OnCompute();
    grafik.DrawPage(surface);
}

void PrepareForDrawing(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
}

// The title a PDF carries: the case's, as the window's caption shows it.
QString DocumentTitle(const CMorvekDoc& doc) {
    return QString::fromUtf8(doc.GetTitle().c_str());
}

// The report pages and the graph page as a print job goes through them.
bool RenderPrintPdf(const CMorvekDoc& doc, QByteArray& bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setTitle(DocumentTitle(doc));
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

    CMorvekView report(doc);
    const int reportPages = report.OnPreparePrinting(page);
    for (int n = 1; n <= reportPages; ++n) {
        if (n > 1) writer.newPage();
        QtSurface surface(painter);
        report.OnPrint(surface, n, page);
    }

    writer.newPage();
    CGrafik grafik(doc);
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

bool ExportGraph(const CMorvekDoc& doc, const std::string& path, std::string& error) {
    const DrawingPage page{kGraphPageWidthUnits, kGraphPageHeightUnits};
    return ExportPage([&doc](Surface& surface) { DrawScreenGraph(surface, doc); },
                      [page](int) { return page; }, QString::fromUtf8(doc.m_Ueberschrift.c_str()),
                      DocumentTitle(doc), path, error);
}

bool PrintToPdf(const CMorvekDoc& doc, const std::string& path, std::string& error) {
    QByteArray bytes;
    if (!RenderPrintPdf(doc, bytes)) {
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
