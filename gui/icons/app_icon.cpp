#include "gui/icons/app_icon.h"

#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "gui/icons/drawing.h"

namespace quillora {

namespace {

const QColor kCoverLight(0x4F, 0x86, 0xD0);
const QColor kCoverDark(0x27, 0x4F, 0x94);
const QColor kSpine(0x1F, 0x40, 0x7A);
const QColor kCoverOutline(0x12, 0x2A, 0x52);
const QColor kLabel(0xFF, 0xF8, 0xE2);
const QColor kVaneLight(0xFF, 0xF6, 0xD8);
const QColor kVaneDark(0xE8, 0xC0, 0x5A);
const QColor kVaneOutline(0x7A, 0x50, 0x0E);
const QColor kNib(0x2A, 0x2A, 0x2A);
const QColor kNoteBlock(0x5C, 0x9C, 0xE6);
const QColor kBranch(0x8C, 0x96, 0xA4);

// One device pixel in design units, read from the painter's scale.
qreal DevicePixel(const QPainter& p) {
    const QTransform& t = p.transform();
    const qreal scale = std::hypot(t.m11(), t.m12());
    return scale > 0 ? 1.0 / scale : 1.0;
}

// Outlines are one pixel wide at the small sizes and grow slowly with the icon, always a whole
// number of device pixels, so that a large icon is not drawn with a heavy border.
qreal OutlineWidth(const QPainter& p) {
    const qreal px = DevicePixel(p);
    const qreal side = kDesignGrid / px;
    return px * std::max(1.0, std::round(side / 32.0));
}

QPen Outline(const QColor& color, qreal width) {
    return QPen(color, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
}

// A rectangle whose outer edge is `outer` and whose outline lies inside it.
void OutlinedRect(QPainter& p, const QRectF& outer, const QBrush& fill, const QColor& line,
                  qreal width) {
    const qreal h = width / 2;
    p.setPen(Outline(line, width));
    p.setBrush(fill);
    p.drawRect(outer.adjusted(h, h, -h, -h));
}

// The blue notebook: cover, spine and a title label.
void DrawNotebook(QPainter& p, qreal w) {
    OutlinedRect(p, QRectF(1, 1, 11, 14), VerticalGradient(1, 15, kCoverLight, kCoverDark),
                 kCoverOutline, w);
    p.setPen(Qt::NoPen);
    p.setBrush(kSpine);
    p.drawRect(QRectF(1 + w, 1 + w, 2, 14 - 2 * w));
    p.setBrush(kCoverOutline);
    p.drawRect(QRectF(3 + w - DevicePixel(p), 1 + w, DevicePixel(p), 14 - 2 * w));
    OutlinedRect(p, QRectF(5, 3, 5, 3), kLabel, kCoverOutline, w);
}

// The quill, drawn along the x axis from its nib at the origin to its tip at `length`.
void DrawQuillAlongAxis(QPainter& p, qreal length, qreal w) {
    QPolygonF nib;
    nib << QPointF(0, 0) << QPointF(2.6, -0.95) << QPointF(2.6, 0.95);
    p.setPen(Qt::NoPen);
    p.setBrush(kNib);
    p.drawPolygon(nib);

    QPainterPath vane;
    vane.moveTo(2.4, 0);
    vane.cubicTo(5.5, -3.0, 11.5, -2.9, length, 0);
    vane.cubicTo(12.0, 2.0, 6.5, 1.7, 2.4, 0);
    QLinearGradient shade(0, -2.5, 0, 2.0);
    shade.setColorAt(0, kVaneLight);
    shade.setColorAt(1, kVaneDark);
    p.setPen(QPen(kVaneOutline, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(shade);
    p.drawPath(vane);
    p.setPen(QPen(kVaneOutline, w * 0.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(2.4, 0), QPointF(length - 0.8, 0));
}

void DrawQuill(QPainter& p, qreal w) {
    const QPointF nib(3.5, 14.8);
    const QPointF tip(15.2, 0.8);
    const QPointF along = tip - nib;
    p.save();
    p.translate(nib);
    p.rotate(std::atan2(along.y(), along.x()) * 180.0 / M_PI);
    DrawQuillAlongAxis(p, std::hypot(along.x(), along.y()), w);
    p.restore();
}

// A page with its top-right corner folded over, spanning x 2..14 and y 1..15, its outline
// inside those edges.
void DrawFoldedPage(QPainter& p, qreal w) {
    const qreal h = w / 2;
    QPainterPath sheet;
    sheet.moveTo(2 + h, 1 + h);
    sheet.lineTo(10, 1 + h);
    sheet.lineTo(14 - h, 5);
    sheet.lineTo(14 - h, 15 - h);
    sheet.lineTo(2 + h, 15 - h);
    sheet.closeSubpath();
    p.setPen(Outline(kInk, w));
    p.setBrush(kPaper);
    p.drawPath(sheet);
    QPolygonF fold;
    fold << QPointF(10, 1 + h) << QPointF(10, 5) << QPointF(14 - h, 5);
    p.setPen(QPen(kInk, w, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin));
    p.setBrush(kPaperShade);
    p.drawPolygon(fold);
}

// A folder with two notes under it, each with a line of text beside it.
void DrawSmallTree(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(kBranch);
    p.drawRect(QRectF(5, 7, 1, 5.5));
    p.drawRect(QRectF(6, 8.5, 1, 1));
    p.drawRect(QRectF(6, 11.5, 1, 1));
    p.setBrush(kYellowFolder.mid);
    p.drawRect(QRectF(4, 5, 3, 2));
    p.setBrush(kNoteBlock);
    p.drawRect(QRectF(7, 8, 2, 2));
    p.drawRect(QRectF(7, 11, 2, 2));
    p.setBrush(kRuling);
    p.drawRect(QRectF(8, 5.5, 2, 1));
    p.drawRect(QRectF(10, 8.5, 2, 1));
    p.drawRect(QRectF(10, 11.5, 2, 1));
}

}  // namespace

void DrawApplicationIcon(QPainter& painter) {
    painter.save();
    const qreal w = OutlineWidth(painter);
    DrawNotebook(painter, w);
    DrawQuill(painter, w);
    painter.restore();
}

void DrawDocumentIcon(QPainter& painter) {
    painter.save();
    DrawFoldedPage(painter, OutlineWidth(painter));
    DrawSmallTree(painter);
    painter.restore();
}

QIcon ApplicationIcon() {
    return DrawingIcon(DrawApplicationIcon);
}

QIcon DocumentIcon() {
    return DrawingIcon(DrawDocumentIcon);
}

}  // namespace quillora
