#include "views/qt/PageExport.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <cmath>

#include "base/FileIO.h"
#include "base/Format.h"
#include "base/PrintableText.h"
#include "case/MorvekDoc.h"
#include "views/Grafik.h"
#include "views/MorvekView.h"
#include "views/qt/QtSurface.h"

namespace {

// The exported graph page in 0.1 mm: the screen frame of 130 x 75 mm with
// the view's 40 mm left and 30 mm top margins and room for the right axis's
// labels, the legends below the frame and the footer below them. The page
// never grows with a text: the drawing shortens a long field name or path to
// it, so that the pixel sizes are fixed by this page and the resolution alone.
constexpr int32_t kGraphPageWidthUnits = 2100;
constexpr int32_t kGraphPageHeightUnits = 1400;
constexpr double kUnitsPerMillimetre = 10.0;
constexpr double kUnitsPerInch = 254.0;

constexpr int kPngDotsPerInch = 150;
constexpr int kSvgDotsPerInch = 96;
constexpr int kPdfDotsPerInch = 1200;
// A printer's usual unprintable border, kept free on the printed pages.
constexpr double kPrintMarginMillimetre = 5.0;

enum class GraphFormat { Png, Svg, Pdf, Unknown };

GraphFormat FormatOf(const std::string& path) {
    const std::string name = FileNameOf(path);
    const size_t dot = name.find_last_of('.');
    if (dot == std::string::npos) return GraphFormat::Unknown;
    std::string ext = name.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == "png") return GraphFormat::Png;
    if (ext == "svg") return GraphFormat::Svg;
    if (ext == "pdf") return GraphFormat::Pdf;
    return GraphFormat::Unknown;
}

int PixelsFor(int32_t units, int dotsPerInch) {
    return static_cast<int>(std::lround(units * dotsPerInch / kUnitsPerInch));
}

QImage WhiteImage(int width, int height, int dotsPerInch) {
    QImage image(width, height, QImage::Format_RGB32);
    const int dotsPerMetre = static_cast<int>(std::lround(dotsPerInch / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    return image;
}

// The graph as the window's view shows it before any magnifying.
void DrawScreenGraph(Surface& surface, const CMorvekDoc& doc) {
    CGrafik grafik(doc);
    grafik.OnInitialUpdate();
    grafik.OnCompute();
    grafik.DrawPage(surface);
}

// Size of the exported page and where the view's drawing area starts on it.
struct GraphPage {
    int32_t widthUnits = kGraphPageWidthUnits;
    int32_t heightUnits = kGraphPageHeightUnits;
    int32_t offsetXUnits = 0;
    int32_t offsetYUnits = 0;
};

void PrepareForDrawing(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
}

void DrawGraphPage(QPainter& painter, const CMorvekDoc& doc, const GraphPage& page) {
    PrepareForDrawing(painter);
    const QPaintDevice& device = *painter.device();
    painter.translate(page.offsetXUnits * device.logicalDpiX() / kUnitsPerInch,
                      page.offsetYUnits * device.logicalDpiY() / kUnitsPerInch);
    QtSurface surface(painter);
    DrawScreenGraph(surface, doc);
}

bool RenderPng(const CMorvekDoc& doc, QByteArray& bytes) {
    const GraphPage page;
    QImage image = WhiteImage(PixelsFor(page.widthUnits, kPngDotsPerInch),
                              PixelsFor(page.heightUnits, kPngDotsPerInch), kPngDotsPerInch);
    {
        QPainter painter(&image);
        if (!painter.isActive()) return false;
        DrawGraphPage(painter, doc, page);
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG");
}

bool RenderSvg(const CMorvekDoc& doc, QByteArray& bytes) {
    const GraphPage page;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setResolution(kSvgDotsPerInch);
    const QSize size(PixelsFor(page.widthUnits, kSvgDotsPerInch),
                     PixelsFor(page.heightUnits, kSvgDotsPerInch));
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(QString::fromUtf8(doc.m_Ueberschrift.c_str()));
    generator.setDescription(QStringLiteral("Morvek"));
    QPainter painter;
    if (!painter.begin(&generator)) return false;
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    DrawGraphPage(painter, doc, page);
    return painter.end();
}

void SetUpPdf(QPdfWriter& writer, const QPageSize& pageSize, double marginMillimetre) {
    writer.setResolution(kPdfDotsPerInch);
    writer.setCreator(QStringLiteral("Morvek"));
    writer.setPageLayout(QPageLayout(
        pageSize, QPageLayout::Portrait,
        QMarginsF(marginMillimetre, marginMillimetre, marginMillimetre, marginMillimetre),
        QPageLayout::Millimeter));
}

// The title a PDF carries: the case's, as the window's caption shows it.
QString DocumentTitle(const CMorvekDoc& doc) {
    return QString::fromUtf8(doc.GetTitle().c_str());
}

bool RenderGraphPdf(const CMorvekDoc& doc, QByteArray& bytes) {
    const GraphPage page;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setTitle(DocumentTitle(doc));
    SetUpPdf(writer,
             QPageSize(QSizeF(page.widthUnits / kUnitsPerMillimetre,
                              page.heightUnits / kUnitsPerMillimetre),
                       QPageSize::Millimeter),
             0.0);
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    DrawGraphPage(painter, doc, page);
    return painter.end();
}

// The report pages and the graph page as a print job goes through them.
bool RenderPrintPdf(const CMorvekDoc& doc, QByteArray& bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setTitle(DocumentTitle(doc));
    SetUpPdf(writer, QPageSize(QPageSize::A4), kPrintMarginMillimetre);
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

bool WriteRendered(const std::string& path, const QByteArray& bytes, std::string& error) {
    std::string systemError;
    if (!WriteFileAtomically(path, bytes.toStdString(), systemError)) {
        error = Format("Die Datei %s kann nicht geschrieben werden.\n%s", DisplayPath(path).c_str(),
                       systemError.c_str());
        return false;
    }
    return true;
}

std::string RenderFailed(const std::string& path) {
    return Format("Die Datei %s kann nicht erzeugt werden: das Zeichnen ist misslungen.",
                  DisplayPath(path).c_str());
}

}  // namespace

bool ExportGraph(const CMorvekDoc& doc, const std::string& path, std::string& error) {
    QByteArray bytes;
    bool rendered = false;
    switch (FormatOf(path)) {
        case GraphFormat::Png:
            rendered = RenderPng(doc, bytes);
            break;
        case GraphFormat::Svg:
            rendered = RenderSvg(doc, bytes);
            break;
        case GraphFormat::Pdf:
            rendered = RenderGraphPdf(doc, bytes);
            break;
        case GraphFormat::Unknown:
            error = Format(
                "Die Grafik kann nicht als %s gespeichert werden: erlaubt sind "
                "Dateien mit der Endung .png, .svg oder .pdf.",
                DisplayPath(path).c_str());
            return false;
    }
    if (!rendered) {
        error = RenderFailed(path);
        return false;
    }
    return WriteRendered(path, bytes, error);
}

bool PrintToPdf(const CMorvekDoc& doc, const std::string& path, std::string& error) {
    QByteArray bytes;
    if (!RenderPrintPdf(doc, bytes)) {
        error = RenderFailed(path);
        return false;
    }
    return WriteRendered(path, bytes, error);
}
