#include "app/ToolbarIcons.h"

#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>

namespace {

// The grid of the bitmap buttons, in pixels at a device-pixel ratio of 1.
constexpr double kGridWidth = 16.0;
constexpr double kGridHeight = 15.0;

const QColor kInk(40, 40, 40);
const QColor kPaper(255, 255, 255);

void Outline(QPainter& p, const QColor& colour, double width = 1.0) {
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void DrawPage(QPainter& p, double left, double top, double right, double bottom, double fold) {
    QPainterPath page;
    page.moveTo(left, top);
    page.lineTo(right - fold, top);
    page.lineTo(right, top + fold);
    page.lineTo(right, bottom);
    page.lineTo(left, bottom);
    page.closeSubpath();
    Outline(p, kInk);
    p.setBrush(kPaper);
    p.drawPath(page);
    if (fold > 0) {
        p.setBrush(QColor(210, 210, 210));
        p.drawPolygon(QPolygonF({QPointF(right - fold, top), QPointF(right - fold, top + fold),
                                 QPointF(right, top + fold)}));
    }
}

void DrawTextLines(QPainter& p, double left, double right, double top, int count, double step) {
    Outline(p, QColor(70, 90, 140), 1.0);
    for (int i = 0; i < count; ++i) {
        double y = top + i * step;
        p.drawLine(QPointF(left, y), QPointF(i % 3 == 2 ? (left + right) / 2 : right, y));
    }
}

void DrawNew(QPainter& p) {
    DrawPage(p, 3.5, 1.5, 12.5, 13.5, 3.5);
    // A small spark tells "new" from the plain page of the report button.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 190, 0));
    p.drawEllipse(QPointF(12.5, 11.5), 2.3, 2.3);
}

void DrawOpen(QPainter& p) {
    Outline(p, QColor(120, 85, 0));
    p.setBrush(QColor(230, 180, 40));
    p.drawPolygon(QPolygonF({QPointF(1.5, 3.5), QPointF(5.5, 3.5), QPointF(7, 5), QPointF(12.5, 5),
                             QPointF(12.5, 12.5), QPointF(1.5, 12.5)}));
    p.setBrush(QColor(250, 215, 100));
    p.drawPolygon(
        QPolygonF({QPointF(4, 7.5), QPointF(15, 7.5), QPointF(12.5, 12.5), QPointF(1.5, 12.5)}));
}

void DrawSave(QPainter& p) {
    Outline(p, QColor(20, 40, 90));
    p.setBrush(QColor(60, 100, 180));
    p.drawRoundedRect(QRectF(1.5, 1.5, 12, 12), 1, 1);
    p.setBrush(kPaper);
    p.drawRect(QRectF(4, 1.5, 7, 5));
    p.setBrush(QColor(200, 200, 210));
    p.drawRect(QRectF(4.5, 8.5, 6, 5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 40, 90));
    p.drawRect(QRectF(8.5, 9.5, 1.5, 3));
}

void DrawGrafik(QPainter& p) {
    // Two axes, a falling pressure curve above a rising gas-oil ratio, and
    // measured points: the graph of every depletion run.
    p.setBrush(kPaper);
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(2, 1, 13, 12.5));
    Outline(p, kInk);
    p.drawPolyline(QPolygonF({QPointF(2, 1), QPointF(2, 13.5), QPointF(15, 13.5)}));
    Outline(p, QColor(200, 0, 0), 1.4);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(
        QPolygonF({QPointF(3, 2.5), QPointF(7, 4.5), QPointF(10.5, 5.8), QPointF(14.5, 6.5)}));
    p.setPen(QPen(QColor(0, 0, 220), 1.4, Qt::DashLine, Qt::FlatCap));
    p.drawPolyline(QPolygonF({QPointF(3, 12), QPointF(8, 11), QPointF(14.5, 8.8)}));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 160, 0));
    for (QPointF m : {QPointF(5.5, 4.8), QPointF(9, 6.4), QPointF(12.5, 7)})
        p.drawEllipse(m, 0.9, 0.9);
}

void DrawText(QPainter& p) {
    DrawPage(p, 2.5, 1.5, 13.5, 13.5, 0);
    DrawTextLines(p, 4.5, 11.5, 4, 4, 2.5);
}

void DrawDatenAendern(QPainter& p) {
    DrawPage(p, 1.5, 1.5, 10.5, 13.5, 0);
    DrawTextLines(p, 3.5, 8.5, 4, 4, 2.5);
    // A pencil across the form.
    p.save();
    p.translate(11.5, 8);
    p.rotate(45);
    Outline(p, QColor(90, 60, 0), 0.8);
    p.setBrush(QColor(245, 180, 30));
    p.drawRect(QRectF(-1.4, -6, 2.8, 8.5));
    p.setBrush(QColor(240, 210, 160));
    p.drawPolygon(QPolygonF({QPointF(-1.4, 2.5), QPointF(1.4, 2.5), QPointF(0, 5.5)}));
    p.setBrush(QColor(230, 110, 120));
    p.drawRect(QRectF(-1.4, -7.5, 2.8, 1.5));
    p.restore();
}

void DrawLupe(QPainter& p) {
    p.setPen(QPen(QColor(90, 60, 30), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
    Outline(p, kInk, 1.3);
    p.setBrush(QColor(190, 225, 250));
    p.drawEllipse(QPointF(6.5, 6.5), 4.8, 4.8);
    p.setPen(QPen(kPaper, 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(3.5, 3.5, 6, 6), 100 * 16, 70 * 16);
}

void DrawPrint(QPainter& p) {
    Outline(p, kInk);
    p.setBrush(kPaper);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(150, 150, 160));
    p.drawRoundedRect(QRectF(1.5, 6, 13, 5.5), 1, 1);
    p.setBrush(kPaper);
    p.drawRect(QRectF(4.5, 9.5, 7, 4));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 190, 0));
    p.drawEllipse(QPointF(12.5, 7.8), 0.8, 0.8);
}

void DrawAbout(QPainter& p) {
    Outline(p, QColor(20, 60, 140));
    p.setBrush(QColor(50, 110, 210));
    p.drawEllipse(QPointF(8, 7.5), 6.5, 6.5);
    QFont font;
    font.setBold(true);
    font.setPixelSize(10);
    p.setFont(font);
    p.setPen(kPaper);
    p.drawText(QRectF(1.5, 1, 13, 13), Qt::AlignCenter, QStringLiteral("?"));
}

void DrawIcon(QPainter& p, ToolIcon kind) {
    switch (kind) {
        case ToolIcon::New:
            DrawNew(p);
            break;
        case ToolIcon::Open:
            DrawOpen(p);
            break;
        case ToolIcon::Save:
            DrawSave(p);
            break;
        case ToolIcon::Grafik:
            DrawGrafik(p);
            break;
        case ToolIcon::Text:
            DrawText(p);
            break;
        case ToolIcon::DatenAendern:
            DrawDatenAendern(p);
            break;
        case ToolIcon::Lupe:
            DrawLupe(p);
            break;
        case ToolIcon::Print:
            DrawPrint(p);
            break;
        case ToolIcon::About:
            DrawAbout(p);
            break;
    }
}

// Greys a picture out for a disabled button: brightness kept, colour and half
// the opacity taken away.
void Disable(QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x];
            const int alpha = qAlpha(c) / 2;
            const int grey = 128 + qGray(c) / 3;
            line[x] = qPremultiply(qRgba(grey, grey, grey, alpha));
        }
    }
}

class DrawnIconEngine : public QIconEngine {
public:
    explicit DrawnIconEngine(ToolIcon kind) : m_Kind(kind) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap picture = Render(rect.size() * ratio, mode);
        picture.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect.topLeft(), picture);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        return Render(size, mode);
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }

    QIconEngine* clone() const override { return new DrawnIconEngine(m_Kind); }

    QString key() const override { return QStringLiteral("morvek-drawn"); }

private:
    QPixmap Render(const QSize& size, QIcon::Mode mode) const {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            p.setRenderHint(QPainter::TextAntialiasing);
            const double scale = std::min(size.width() / kGridWidth, size.height() / kGridHeight);
            p.translate((size.width() - kGridWidth * scale) / 2,
                        (size.height() - kGridHeight * scale) / 2);
            p.scale(scale, scale);
            DrawIcon(p, m_Kind);
        }
        if (mode == QIcon::Disabled) Disable(image);
        return QPixmap::fromImage(image);
    }

    ToolIcon m_Kind;
};

}  // namespace

QIcon MakeToolIcon(ToolIcon kind) {
    return QIcon(new DrawnIconEngine(kind));
}

// The picture lives in the resources of the static UI library, which the
// linker keeps only when they are asked for by name.
static void InitProgramResources() {
    Q_INIT_RESOURCE(morvek);
}

QIcon ProgramIcon() {
    InitProgramResources();
    return QIcon(QStringLiteral(":/morvek/morvek.svg"));
}
