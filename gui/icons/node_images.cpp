#include "gui/icons/node_images.h"

#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <array>
#include <cmath>

#include "gui/icons/drawing.h"
#include "gui/icons/image_list.h"

namespace quillora {

// The back of a folder with its tab, spanning x 1..15 and y 2..14.
static QPainterPath FolderBack() {
    QPainterPath path;
    path.moveTo(1.5, 13.5);
    path.lineTo(1.5, 3.5);
    path.lineTo(2.5, 2.5);
    path.lineTo(6.5, 2.5);
    path.lineTo(8.5, 4.5);
    path.lineTo(14.5, 4.5);
    path.lineTo(14.5, 13.5);
    path.closeSubpath();
    return path;
}

void DrawClosedFolder(QPainter& p, const FolderColors& c) {
    p.setPen(Stroke(c.outline));
    p.setBrush(c.back);
    p.drawPath(FolderBack());
    p.setBrush(VerticalGradient(6, 14, c.light, c.mid));
    p.drawRect(QRectF(1.5, 5.5, 13, 8));
    p.setPen(Stroke(c.light.lighter(112)));
    p.drawLine(QPointF(2, 6.5), QPointF(14, 6.5));
}

void DrawOpenFolder(QPainter& p, const FolderColors& c) {
    p.setPen(Stroke(c.outline));
    p.setBrush(c.back);
    p.drawPath(FolderBack());
    // A sheet of paper standing in the open folder.
    p.setPen(Stroke(c.outline.lighter(160)));
    p.setBrush(kPaper);
    p.drawRect(QRectF(3.5, 4.5, 9, 4));
    QPolygonF flap;
    flap << QPointF(1.5, 13.5) << QPointF(3.5, 7.5) << QPointF(15.5, 7.5) << QPointF(13.5, 13.5);
    p.setPen(Stroke(c.outline));
    p.setBrush(VerticalGradient(8, 14, c.light, c.mid));
    p.drawPolygon(flap);
}

// A sheet of paper with its top-right corner folded over, spanning x 2..14 and y 1..15.
void DrawPage(QPainter& p, bool ruled) {
    QPainterPath sheet;
    sheet.moveTo(2.5, 1.5);
    sheet.lineTo(9.5, 1.5);
    sheet.lineTo(13.5, 5.5);
    sheet.lineTo(13.5, 14.5);
    sheet.lineTo(2.5, 14.5);
    sheet.closeSubpath();
    p.setPen(Stroke(kInk));
    p.setBrush(kPaper);
    p.drawPath(sheet);
    QPolygonF fold;
    fold << QPointF(9.5, 1.5) << QPointF(9.5, 5.5) << QPointF(13.5, 5.5);
    p.setPen(QPen(kInk, 1.0, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin));
    p.setBrush(kPaperShade);
    p.drawPolygon(fold);
    if (ruled) {
        p.setPen(Stroke(kRuling));
        for (qreal y : {7.5, 9.5, 11.5}) p.drawLine(QPointF(4, y), QPointF(12, y));
        p.drawLine(QPointF(4, 5.5), QPointF(8, 5.5));
    }
}

namespace {

void DrawStar(QPainter& p) {
    QPolygonF star;
    const QPointF centre(8, 8.6);
    for (int i = 0; i < 10; ++i) {
        const qreal radius = i % 2 == 0 ? 7.4 : 3.0;
        const qreal angle = -M_PI / 2 + i * M_PI / 5;
        star << centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
    }
    p.setPen(QPen(QColor(0x14, 0x36, 0x84), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(VerticalGradient(1, 15, QColor(0x8C, 0xC4, 0xFF), QColor(0x24, 0x64, 0xD8)));
    p.drawPolygon(star);
}

void DrawSmilingFace(QPainter& p) {
    QRadialGradient shade(QPointF(6, 5.5), 9);
    shade.setColorAt(0, QColor(0xFF, 0xF6, 0x9C));
    shade.setColorAt(1, QColor(0xF4, 0xC0, 0x10));
    p.setPen(Stroke(QColor(0x80, 0x5A, 0x00)));
    p.setBrush(shade);
    p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
    const QColor feature(0x40, 0x2C, 0x00);
    p.setPen(Qt::NoPen);
    p.setBrush(feature);
    p.drawRect(QRectF(5, 5, 2, 3));
    p.drawRect(QRectF(9, 5, 2, 3));
    QPainterPath mouth;
    mouth.moveTo(4.5, 9.5);
    mouth.cubicTo(6, 12.5, 10, 12.5, 11.5, 9.5);
    p.setPen(QPen(feature, 1.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mouth);
}

void DrawQuarteredSquare(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xE0, 0x3C, 0x30));
    p.drawRect(QRectF(3, 3, 5, 5));
    p.setBrush(QColor(0x3C, 0xB0, 0x48));
    p.drawRect(QRectF(8, 3, 5, 5));
    p.setBrush(QColor(0x30, 0x6C, 0xE0));
    p.drawRect(QRectF(3, 8, 5, 5));
    p.setBrush(QColor(0xF8, 0xD0, 0x20));
    p.drawRect(QRectF(8, 8, 5, 5));
    p.setPen(Stroke(kInk));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(2.5, 2.5, 11, 11));
}

void DrawCross(QPainter& p) {
    QPainterPath cross;
    cross.moveTo(4, 4);
    cross.lineTo(12, 12);
    cross.moveTo(12, 4);
    cross.lineTo(4, 12);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x78, 0x10, 0x10), 5.0, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(cross);
    p.setPen(QPen(QColor(0xE8, 0x2C, 0x24), 3.0, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(cross);
}

void DrawQuestionMark(QPainter& p) {
    // A two-pixel grey stroke with a one-pixel dark rim, its corners cut at 45 degrees.
    const QColor rim(0x50, 0x50, 0x50);
    const QColor grey(0xB0, 0xB0, 0xB0);
    auto hook = [](qreal tail) {
        QPainterPath path;
        path.moveTo(5, 6 + tail);
        path.lineTo(5, 4);
        path.lineTo(6, 3);
        path.lineTo(10, 3);
        path.lineTo(11, 4);
        path.lineTo(11, 6);
        path.lineTo(10, 7);
        path.lineTo(9, 7);
        path.lineTo(8, 8);
        path.lineTo(8, 10 + tail);
        return path;
    };
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(rim, 4.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPath(hook(1));
    p.setPen(QPen(grey, 2.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPath(hook(0));
    p.setPen(Stroke(rim));
    p.setBrush(grey);
    p.drawRect(QRectF(6.5, 12.5, 3, 3));
}

// What each entry of the image list shows; the custom slots show the question mark until the
// user fills them.
const Drawing& NodeDrawing(int index) {
    static const std::array<Drawing, kNodeImageCount> drawings = {
        DrawQuestionMark,
        DrawQuestionMark,
        DrawQuestionMark,
        [](QPainter& p) { DrawClosedFolder(p, kYellowFolder); },
        [](QPainter& p) { DrawOpenFolder(p, kYellowFolder); },
        [](QPainter& p) { DrawPage(p, true); },
        [](QPainter& p) { DrawClosedFolder(p, kBlueFolder); },
        [](QPainter& p) { DrawOpenFolder(p, kBlueFolder); },
        DrawStar,
        [](QPainter& p) { DrawClosedFolder(p, kPaleFolder); },
        [](QPainter& p) { DrawOpenFolder(p, kPaleFolder); },
        DrawSmilingFace,
        [](QPainter& p) { DrawClosedFolder(p, kGreenFolder); },
        [](QPainter& p) { DrawOpenFolder(p, kGreenFolder); },
        DrawQuarteredSquare,
        [](QPainter& p) { DrawClosedFolder(p, kRedFolder); },
        [](QPainter& p) { DrawOpenFolder(p, kRedFolder); },
        DrawCross,
        DrawQuestionMark,
    };
    return drawings[static_cast<size_t>(index)];
}

}  // namespace

void DrawNodeImage(QPainter& painter, int index) {
    if (index < 0 || index >= kNodeImageCount) return;
    painter.save();
    NodeDrawing(index)(painter);
    painter.restore();
}

QPixmap PaintNodeImage(int index, qreal device_pixel_ratio) {
    ImageList defaults;
    return defaults.Pixmap(index, device_pixel_ratio);
}

QIcon NodeImageIcon(int index) {
    return DrawingIcon([index](QPainter& painter) { DrawNodeImage(painter, index); });
}

}  // namespace quillora
