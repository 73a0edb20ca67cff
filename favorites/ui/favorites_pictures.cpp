#include "favorites/ui/favorites_pictures.h"

#include <array>

#include "favorites/favorites_tree.h"
#include "gui/icons/drawing.h"
#include "gui/icons/node_images.h"

namespace quillora {

namespace {

const QColor kInk(64, 64, 64);

void DrawSeparator(QPainter& p) {
    p.setPen(Stroke(QColor(128, 128, 128)));
    p.drawLine(QPointF(1, 7.5), QPointF(15, 7.5));
    p.setPen(Stroke(Qt::white));
    p.drawLine(QPointF(1, 8.5), QPointF(15, 8.5));
}

void DrawPlaceholder(QPainter& p) {
    QPen pen = Stroke(QColor(128, 128, 128));
    pen.setStyle(Qt::DotLine);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(3.5, 2.5, 9, 11));
}

void DrawCross(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(200, 30, 30), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 4), QPointF(12, 12));
    p.drawLine(QPointF(12, 4), QPointF(4, 12));
}

void DrawProperties(QPainter& p) {
    p.setPen(Stroke(kInk));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, 1.5, 11, 13));
    for (int y : {4, 7, 10}) {
        p.drawLine(QPointF(4.5, y + 0.5), QPointF(6.5, y + 0.5));
        p.drawLine(QPointF(8, y + 0.5), QPointF(11.5, y + 0.5));
    }
}

}  // namespace

QIcon FavoritesEntryIcon(int image) {
    static const std::array<QIcon, 4> icons = {
        DrawingIcon([](QPainter& p) { DrawNodeImage(p, kYellowFolderImage); }),
        DrawingIcon([](QPainter& p) { DrawNodeImage(p, kNotePageImage); }),
        DrawingIcon(DrawSeparator),
        DrawingIcon(DrawPlaceholder),
    };
    if (image < 0 || image >= static_cast<int>(icons.size())) return {};
    return icons[static_cast<std::size_t>(image)];
}

QIcon FavoritesGlyphIcon(FavoritesGlyph glyph) {
    switch (glyph) {
        case FavoritesGlyph::NewSeparator:
            return DrawingIcon(DrawSeparator);
        case FavoritesGlyph::Delete:
            return DrawingIcon(DrawCross);
        case FavoritesGlyph::Properties:
            return DrawingIcon(DrawProperties);
    }
    return {};
}

}  // namespace quillora
