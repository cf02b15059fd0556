#include "views/qt/ChartExport.h"

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
#include "views/BoundsSurface.h"
#include "views/qt/QtSurface.h"

namespace {

// The exported graph page's drawing area and spill margin, 0.1 mm.
constexpr int32_t kPageWidthUnits = 2100;
constexpr int32_t kPageHeightUnits = 1350;
constexpr int32_t kSpillMarginUnits = 20;
constexpr double kUnitsPerInch = 254.0;
constexpr double kUnitsPerMillimetre = 10.0;
constexpr int kPngDotsPerInch = 150;
constexpr int kSvgDotsPerInch = 96;
constexpr int kPdfDotsPerInch = 1200;

enum class Kind { Png, Svg, Pdf, Unknown };

Kind KindOf(const std::string& path) {
    const std::string name = FileNameOf(path);
    const size_t dot = name.find_last_of('.');
    if (dot == std::string::npos) return Kind::Unknown;
    std::string ext = name.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == "png") return Kind::Png;
    if (ext == "svg") return Kind::Svg;
    if (ext == "pdf") return Kind::Pdf;
    return Kind::Unknown;
}

int Pixels(int32_t units, int dotsPerInch) {
    return static_cast<int>(std::lround(units * dotsPerInch / kUnitsPerInch));
}

QImage WhiteImage(int width, int height, int dotsPerInch) {
    QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    const int dotsPerMetre = static_cast<int>(std::lround(dotsPerInch / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    return image;
}

// Measures the drawing with the fonts of a device of the export's resolution.
DrawingPage LayOut(const PageDrawing& draw, int dotsPerInch) {
    QImage scratch = WhiteImage(1, 1, dotsPerInch);
    QPainter painter(&scratch);
    QtSurface measure(painter);
    BoundsSurface bounds(measure);
    draw(bounds);
    LogicalRect area{0, 0, kPageWidthUnits, -kPageHeightUnits};
    if (const auto box = bounds.Box()) {
        area.left = std::min(area.left, box->left - kSpillMarginUnits);
        area.top = std::max(area.top, box->top + kSpillMarginUnits);
        area.right = std::max(area.right, box->right + kSpillMarginUnits);
        area.bottom = std::min(area.bottom, box->bottom - kSpillMarginUnits);
    }
    return {area.right - area.left, area.top - area.bottom, -area.left, area.top};
}

void Draw(QPainter& painter, const PageDrawing& draw, const DrawingPage& page) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QPaintDevice& device = *painter.device();
    painter.translate(page.offsetXUnits * device.logicalDpiX() / kUnitsPerInch,
                      page.offsetYUnits * device.logicalDpiY() / kUnitsPerInch);
    QtSurface surface(painter);
    draw(surface);
}

bool RenderPng(const PageDrawing& draw, const DrawingPage& page, QByteArray& bytes) {
    QImage image = WhiteImage(Pixels(page.widthUnits, kPngDotsPerInch),
                              Pixels(page.heightUnits, kPngDotsPerInch), kPngDotsPerInch);
    {
        QPainter painter(&image);
        if (!painter.isActive()) return false;
        Draw(painter, draw, page);
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG");
}

bool RenderSvg(const PageDrawing& draw, const DrawingPage& page, const QString& title,
               QByteArray& bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setResolution(kSvgDotsPerInch);
    const QSize size(Pixels(page.widthUnits, kSvgDotsPerInch),
                     Pixels(page.heightUnits, kSvgDotsPerInch));
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(title);
    generator.setDescription(QStringLiteral("Morvek"));
    QPainter painter;
    if (!painter.begin(&generator)) return false;
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    Draw(painter, draw, page);
    return painter.end();
}

bool RenderPdf(const PageDrawing& draw, const DrawingPage& page, const QString& title,
               QByteArray& bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfDotsPerInch);
    writer.setCreator(QStringLiteral("Morvek"));
    writer.setTitle(title);
    writer.setPageLayout(QPageLayout(QPageSize(QSizeF(page.widthUnits / kUnitsPerMillimetre,
                                                      page.heightUnits / kUnitsPerMillimetre),
                                               QPageSize::Millimeter),
                                     QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    Draw(painter, draw, page);
    return painter.end();
}

}  // namespace

bool IsDrawingFileName(const std::string& path) {
    return KindOf(path) != Kind::Unknown;
}

bool ExportDrawing(const PageDrawing& draw, const std::string& title, const std::string& path,
                   std::string& error) {
    const QString shownTitle = QString::fromStdString(title);
    return ExportPage(
        draw, [&draw](int dotsPerInch) { return LayOut(draw, dotsPerInch); }, shownTitle,
        shownTitle, path, error);
}

bool ExportPage(const PageDrawing& draw, const std::function<DrawingPage(int)>& pageAt,
                const QString& svgTitle, const QString& pdfTitle, const std::string& path,
                std::string& error) {
    const std::string shownPath = DisplayPath(path);
    QByteArray bytes;
    bool rendered = false;
    switch (KindOf(path)) {
        case Kind::Png:
            rendered = RenderPng(draw, pageAt(kPngDotsPerInch), bytes);
            break;
        case Kind::Svg:
            rendered = RenderSvg(draw, pageAt(kSvgDotsPerInch), svgTitle, bytes);
            break;
        case Kind::Pdf:
            rendered = RenderPdf(draw, pageAt(kPdfDotsPerInch), pdfTitle, bytes);
            break;
        case Kind::Unknown:
            error = Format(
                "Die Grafik kann nicht als %s gespeichert werden: erlaubt sind "
                "Dateien mit der Endung .png, .svg oder .pdf.",
                shownPath.c_str());
            return false;
    }
    if (!rendered) {
        error = Format("Die Datei %s kann nicht erzeugt werden: das Zeichnen ist misslungen.",
                       shownPath.c_str());
        return false;
    }
    std::string systemError;
    if (!WriteFileAtomically(path, bytes.toStdString(), systemError)) {
        error = Format("Die Datei %s kann nicht geschrieben werden.\n%s", shownPath.c_str(),
                       systemError.c_str());
        return false;
    }
    return true;
}
