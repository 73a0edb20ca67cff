#include "gui/icons/tool_glyphs.h"

#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

#include "gui/icons/drawing.h"

namespace quillora {

namespace {

void DrawPlusBadge(QPainter& p) {
    QPolygonF plus;
    plus << QPointF(10.5, 8.5) << QPointF(13.5, 8.5) << QPointF(13.5, 10.5) << QPointF(15.5, 10.5)
         << QPointF(15.5, 13.5) << QPointF(13.5, 13.5) << QPointF(13.5, 15.5) << QPointF(10.5, 15.5)
         << QPointF(10.5, 13.5) << QPointF(8.5, 13.5) << QPointF(8.5, 10.5) << QPointF(10.5, 10.5);
    p.setPen(Stroke(kGreenOutline));
    p.setBrush(kGreen);
    p.drawPolygon(plus);
}

void DrawFloppy(QPainter& p) {
    QPainterPath body;
    body.moveTo(1.5, 1.5);
    body.lineTo(12.5, 1.5);
    body.lineTo(14.5, 3.5);
    body.lineTo(14.5, 14.5);
    body.lineTo(1.5, 14.5);
    body.closeSubpath();
    p.setPen(Stroke(QColor(0x1A, 0x34, 0x66)));
    p.setBrush(VerticalGradient(1, 15, QColor(0x5A, 0x8E, 0xD8), QColor(0x2C, 0x5C, 0xA8)));
    p.drawPath(body);
    // The metal shutter with its window.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xD4, 0xD9, 0xE0));
    p.drawRect(QRectF(4, 2, 8, 4));
    p.setBrush(QColor(0x2C, 0x40, 0x60));
    p.drawRect(QRectF(9, 2, 2, 3));
    // The label.
    p.setPen(Stroke(QColor(0x1A, 0x34, 0x66)));
    p.setBrush(kPaper);
    p.drawRect(QRectF(3.5, 8.5, 9, 6));
    p.setPen(Stroke(kRuling));
    p.drawLine(QPointF(5, 10.5), QPointF(11, 10.5));
    p.drawLine(QPointF(5, 12.5), QPointF(11, 12.5));
}

void DrawScissors(QPainter& p) {
    const QColor dark(0x2E, 0x34, 0x40);
    // Blades cross at the pivot and meet the handles below it.
    QPainterPath blades;
    blades.moveTo(5, 1.5);
    blades.lineTo(10, 10);
    blades.moveTo(11, 1.5);
    blades.lineTo(6, 10);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(dark, 3.0, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(blades);
    p.setPen(QPen(QColor(0xB6, 0xC0, 0xCC), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(blades);
    p.setPen(QPen(QColor(0xC8, 0x20, 0x20), 2.0));
    for (qreal x : {4.0, 12.0}) p.drawEllipse(QPointF(x, 12), 2.0, 2.0);
    p.setPen(Qt::NoPen);
    p.setBrush(dark);
    p.drawEllipse(QPointF(8, 6.9), 1.0, 1.0);
}

void DrawSmallPage(QPainter& p, const QRectF& r) {
    p.setPen(Stroke(kInk));
    p.setBrush(kPaper);
    p.drawRect(r);
    p.setPen(Stroke(kRuling));
    for (qreal y = r.top() + 2; y < r.bottom() - 1; y += 2)
        p.drawLine(QPointF(r.left() + 1.5, y), QPointF(r.right() - 1.5, y));
}

void DrawTwoPages(QPainter& p) {
    DrawSmallPage(p, QRectF(1.5, 1.5, 8, 10));
    DrawSmallPage(p, QRectF(6.5, 4.5, 8, 10));
}

void DrawClipboard(QPainter& p) {
    p.setPen(Stroke(QColor(0x5A, 0x36, 0x10)));
    p.setBrush(VerticalGradient(2, 15, QColor(0xD2, 0x9A, 0x5A), QColor(0xA8, 0x6C, 0x2C)));
    p.drawRoundedRect(QRectF(1.5, 2.5, 11, 12), 1, 1);
    DrawSmallPage(p, QRectF(6.5, 6.5, 8, 8));
    p.setPen(Stroke(QColor(0x40, 0x46, 0x50)));
    p.setBrush(VerticalGradient(1, 5, QColor(0xF0, 0xF2, 0xF5), QColor(0xA8, 0xB0, 0xBC)));
    p.drawRect(QRectF(4.5, 1.5, 5, 3));
}

void DrawUndoArrow(QPainter& p) {
    const QColor blue(0x24, 0x64, 0xC8);
    const QColor outline(0x10, 0x30, 0x70);
    QPainterPath arc;
    arc.moveTo(5, 6);
    arc.lineTo(9, 6);
    arc.arcTo(QRectF(5, 6, 8, 8), 90, -180);
    arc.lineTo(5, 14);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(outline, 4.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPath(arc);
    QPolygonF head;
    head << QPointF(0.5, 6) << QPointF(6.5, 0.5) << QPointF(6.5, 11.5);
    p.setPen(QPen(outline, 1.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(blue);
    p.drawPolygon(head);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(blue, 2.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    QPainterPath inner;
    inner.moveTo(6, 6);
    inner.lineTo(9, 6);
    inner.arcTo(QRectF(5, 6, 8, 8), 90, -180);
    inner.lineTo(5.5, 14);
    p.drawPath(inner);
}

void DrawCalendar(QPainter& p) {
    p.setPen(Stroke(kInk));
    p.setBrush(kPaper);
    p.drawRect(QRectF(1.5, 2.5, 13, 12));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xD8, 0x34, 0x2C));
    p.drawRect(QRectF(2, 3, 12, 3));
    p.setBrush(kInk);
    p.drawRect(QRectF(4, 1, 1, 3));
    p.drawRect(QRectF(11, 1, 1, 3));
    p.setBrush(QColor(0x88, 0x90, 0x9C));
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) p.drawRect(3 + column * 4, 8 + row * 2, 2, 1);
    }
    p.setBrush(QColor(0xD8, 0x34, 0x2C));
    p.drawRect(7, 10, 2, 1);
}

void DrawClock(QPainter& p) {
    QRadialGradient face(QPointF(6, 6), 8);
    face.setColorAt(0, kPaper);
    face.setColorAt(1, QColor(0xDC, 0xE4, 0xEE));
    p.setPen(Stroke(QColor(0x20, 0x38, 0x60)));
    p.setBrush(face);
    p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x70, 0x7C, 0x8C));
    p.drawRect(7, 3, 2, 1);
    p.drawRect(7, 12, 2, 1);
    p.drawRect(3, 7, 1, 2);
    p.drawRect(12, 7, 1, 2);
    p.setBrush(kInk);
    p.drawRect(7, 4, 2, 5);
    p.drawRect(7, 7, 4, 2);
    p.setBrush(QColor(0xD8, 0x34, 0x2C));
    p.drawRect(7, 7, 2, 2);
}

void DrawMagnifier(QPainter& p) {
    p.setPen(QPen(QColor(0x3A, 0x2A, 0x1A), 3.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 10), QPointF(13.8, 13.8));
    p.setPen(QPen(QColor(0xA8, 0x70, 0x38), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.8, 10.8), QPointF(13.6, 13.6));
    QRadialGradient glass(QPointF(4.5, 4.5), 6);
    glass.setColorAt(0, QColor(0xF4, 0xFA, 0xFF));
    glass.setColorAt(1, QColor(0x8C, 0xC0, 0xEC));
    p.setPen(QPen(QColor(0x28, 0x34, 0x44), 2.0));
    p.setBrush(glass);
    p.drawEllipse(QPointF(6, 6), 4, 4);
    p.setPen(QPen(kPaper, 1.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(3.5, 3.5, 5, 5), 100 * 16, 70 * 16);
}

void DrawExit(QPainter& p) {
    // A door frame with the door swung open, and an arrow leaving through it.
    p.setPen(Stroke(QColor(0x4A, 0x2A, 0x0C)));
    p.setBrush(QColor(0x38, 0x28, 0x1C));
    p.drawRect(QRectF(1.5, 1.5, 8, 13));
    QPolygonF door;
    door << QPointF(1.5, 1.5) << QPointF(6.5, 3.5) << QPointF(6.5, 15.5) << QPointF(1.5, 14.5);
    p.setBrush(VerticalGradient(1, 15, QColor(0xC8, 0x84, 0x40), QColor(0x96, 0x58, 0x22)));
    p.drawPolygon(door);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xF8, 0xD8, 0x40));
    p.drawRect(QRectF(5, 8, 1, 2));
    QPolygonF arrow;
    arrow << QPointF(7.5, 6.5) << QPointF(10.5, 6.5) << QPointF(10.5, 3.5) << QPointF(15.5, 8)
          << QPointF(10.5, 12.5) << QPointF(10.5, 9.5) << QPointF(7.5, 9.5);
    p.setPen(Stroke(kGreenOutline));
    p.setBrush(kGreen);
    p.drawPolygon(arrow);
}

}  // namespace

QIcon ToolGlyphIcon(ToolGlyph glyph) {
    return ToolGlyphIcon(glyph, ImageList(), kYellowFolderImage, kNotePageImage);
}

QIcon ToolGlyphIcon(ToolGlyph glyph, const ImageList& images, int folder_image_index,
                    int note_image_index) {
    switch (glyph) {
        case ToolGlyph::New:
            return DrawingIcon([](QPainter& p) { DrawPage(p, false); });
        case ToolGlyph::Open:
            return DrawingIcon([](QPainter& p) { DrawOpenFolder(p, kYellowFolder); });
        case ToolGlyph::Save:
            return DrawingIcon(DrawFloppy);
        case ToolGlyph::NewNote:
        case ToolGlyph::NewFolder: {
            const int index = glyph == ToolGlyph::NewNote ? note_image_index : folder_image_index;
            return DrawingIcon([images, index](QPainter& p) {
                images.Draw(p, QRectF(0, 0, kNodeImageSize, kNodeImageSize), index);
                DrawPlusBadge(p);
            });
        }
        case ToolGlyph::Cut:
            return DrawingIcon(DrawScissors);
        case ToolGlyph::Copy:
            return DrawingIcon(DrawTwoPages);
        case ToolGlyph::Paste:
            return DrawingIcon(DrawClipboard);
        case ToolGlyph::Undo:
            return DrawingIcon(DrawUndoArrow);
        case ToolGlyph::InsertDate:
            return DrawingIcon(DrawCalendar);
        case ToolGlyph::InsertTime:
            return DrawingIcon(DrawClock);
        case ToolGlyph::Find:
            return DrawingIcon(DrawMagnifier);
        case ToolGlyph::Exit:
            return DrawingIcon(DrawExit);
    }
    return DrawingIcon([](QPainter&) {});
}

}  // namespace quillora
