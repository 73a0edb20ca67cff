#include "app/image_painter.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QStyle>
#include <QStyleOption>
#include <cmath>
#include <functional>
#include <memory>
#include <utility>

namespace quillora {
namespace {

// Every picture is designed on a 16 x 16 grid. Fills have integer edges and one-unit strokes run
// along half-unit coordinates, so both land exactly on pixels at whole-number scales.
using Drawing = std::function<void(QPainter&)>;

QPen Stroke(const QColor& color, qreal width = 1.0) {
    return QPen(color, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
}

QLinearGradient VerticalGradient(qreal top, qreal bottom, const QColor& from, const QColor& to) {
    QLinearGradient gradient(0, top, 0, bottom);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    return gradient;
}

// Closed and open folders share one shape in four shades of a hue.
struct FolderColors {
    QColor light;  // top of the front
    QColor mid;    // bottom of the front
    QColor back;   // the back and the tab
    QColor outline;
};

const FolderColors kYellowFolder{QColor(0xFF, 0xE8, 0x8A), QColor(0xF2, 0xC2, 0x3C),
                                 QColor(0xD9, 0xA0, 0x1E), QColor(0x86, 0x5A, 0x00)};
const FolderColors kBlueFolder{QColor(0xB4, 0xD6, 0xFA), QColor(0x5C, 0x9C, 0xE6),
                               QColor(0x3B, 0x76, 0xC4), QColor(0x1B, 0x40, 0x7A)};
const FolderColors kPaleFolder{QColor(0xFF, 0xFC, 0xE8), QColor(0xF7, 0xEC, 0xB8),
                               QColor(0xE2, 0xD0, 0x8E), QColor(0x8E, 0x7C, 0x44)};
const FolderColors kGreenFolder{QColor(0xBC, 0xEC, 0xA2), QColor(0x68, 0xC0, 0x48),
                                QColor(0x46, 0x94, 0x2C), QColor(0x22, 0x56, 0x16)};
const FolderColors kRedFolder{QColor(0xFA, 0xB4, 0xA4), QColor(0xE6, 0x5C, 0x46),
                              QColor(0xC0, 0x38, 0x24), QColor(0x6C, 0x18, 0x0E)};

const QColor kInk(0x3C, 0x3C, 0x3C);  // outline of neutral pictures
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kPaperShade(0xE4, 0xE8, 0xEE);  // folded corners, shadows on paper
const QColor kRuling(0x86, 0xA6, 0xCC);      // lines of text on a page
const QColor kGreen(0x34, 0xA8, 0x44);
const QColor kGreenOutline(0x16, 0x5A, 0x20);

// The back of a folder with its tab, spanning x 1..15 and y 2..14.
QPainterPath FolderBack() {
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

// ---- Tool-bar glyphs -------------------------------------------------------------------------

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

// ---- Rendering -------------------------------------------------------------------------------

// Renders a 16 x 16 design into a square of `pixel_size` device pixels, centred when the size
// is not square.
QImage RenderDrawing(const Drawing& draw, QSize pixel_size) {
    QImage image(pixel_size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (!draw || pixel_size.isEmpty()) return image;
    const int side = qMin(pixel_size.width(), pixel_size.height());
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate((pixel_size.width() - side) / 2, (pixel_size.height() - side) / 2);
    painter.scale(side / qreal(kNodeImageSize), side / qreal(kNodeImageSize));
    draw(painter);
    return image;
}

// The look of an icon in a mode other than Normal comes from the style, as for icons made
// from pixmaps, so a disabled button's glyph is greyed like every other disabled icon.
QPixmap ApplyMode(const QPixmap& pixmap, QIcon::Mode mode) {
    if (mode == QIcon::Normal || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return pixmap;
    QStyleOption option;
    option.palette = QApplication::palette();
    QPixmap styled = QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
    return styled.isNull() ? pixmap : styled;
}

// A design with the pixmaps already rendered from it, shared by an icon and its copies. A tree
// asks for the same few sizes on every repaint, so each is painted once.
struct DrawingSource {
    Drawing draw;
    QHash<quint64, QPixmap> rendered;  // by device size and mode
};

// An icon that paints its design afresh for every size and density asked of it.
class DrawingIconEngine final : public QIconEngine {
public:
    explicit DrawingIconEngine(std::shared_ptr<DrawingSource> source)
        : source_(std::move(source)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        QPixmap pixmap = scaledPixmap(rect.size() * ratio, mode, state, ratio);
        pixmap.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect.topLeft(), pixmap);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }

    // `size` is in device pixels; QIcon sets the device pixel ratio of the result.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State,
                         qreal /*scale*/) override {
        const quint64 key = (quint64(quint32(size.width())) << 32) |
                            (quint64(quint16(size.height())) << 8) | quint64(mode);
        const auto found = source_->rendered.constFind(key);
        if (found != source_->rendered.constEnd()) return *found;
        if (source_->rendered.size() >= 32) source_->rendered.clear();
        const QPixmap pixmap =
            ApplyMode(QPixmap::fromImage(RenderDrawing(source_->draw, size)), mode);
        source_->rendered.insert(key, pixmap);
        return pixmap;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = qMin(size.width(), size.height());
        return QSize(side, side);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {QSize(16, 16), QSize(24, 24), QSize(32, 32), QSize(48, 48)};
    }

    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("quillora.drawing"); }
    QIconEngine* clone() const override { return new DrawingIconEngine(source_); }

private:
    std::shared_ptr<DrawingSource> source_;
};

QIcon DrawingIcon(Drawing drawing) {
    auto source = std::make_shared<DrawingSource>();
    source->draw = std::move(drawing);
    return QIcon(new DrawingIconEngine(std::move(source)));
}

bool IsNodeImageIndex(int index) {
    return index >= 0 && index < kNodeImageCount;
}

}  // namespace

void DrawNodeImage(QPainter& painter, int index) {
    painter.save();
    switch (index) {
        case kCustomImage1:
        case kCustomImage2:
        case kCustomImage3:
        case kQuestionMarkImage:
            DrawQuestionMark(painter);
            break;
        case kYellowFolderImage:
            DrawClosedFolder(painter, kYellowFolder);
            break;
        case kYellowOpenFolderImage:
            DrawOpenFolder(painter, kYellowFolder);
            break;
        case kNotePageImage:
            DrawPage(painter, true);
            break;
        case kBlueFolderImage:
            DrawClosedFolder(painter, kBlueFolder);
            break;
        case kBlueOpenFolderImage:
            DrawOpenFolder(painter, kBlueFolder);
            break;
        case kBlueStarImage:
            DrawStar(painter);
            break;
        case kPaleFolderImage:
            DrawClosedFolder(painter, kPaleFolder);
            break;
        case kPaleOpenFolderImage:
            DrawOpenFolder(painter, kPaleFolder);
            break;
        case kSmilingFaceImage:
            DrawSmilingFace(painter);
            break;
        case kGreenFolderImage:
            DrawClosedFolder(painter, kGreenFolder);
            break;
        case kGreenOpenFolderImage:
            DrawOpenFolder(painter, kGreenFolder);
            break;
        case kQuarteredSquareImage:
            DrawQuarteredSquare(painter);
            break;
        case kRedFolderImage:
            DrawClosedFolder(painter, kRedFolder);
            break;
        case kRedOpenFolderImage:
            DrawOpenFolder(painter, kRedFolder);
            break;
        case kRedCrossImage:
            DrawCross(painter);
            break;
        default:
            break;
    }
    painter.restore();
}

QPixmap PaintNodeImage(int index, qreal device_pixel_ratio) {
    ImageList defaults;
    return defaults.Pixmap(index, device_pixel_ratio);
}

QIcon NodeImageIcon(int index) {
    return DrawingIcon([index](QPainter& painter) { DrawNodeImage(painter, index); });
}

QPixmap MakeCustomNodeImage(const QImage& bitmap, const QColor& transparent) {
    QImage image(kNodeImageSize, kNodeImageSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const QImage source = bitmap.convertToFormat(QImage::Format_ARGB32);
    const int width = qMin(kNodeImageSize, source.width());
    const int height = qMin(kNodeImageSize, source.height());
    const QRgb key = transparent.isValid() ? transparent.rgb() : 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = source.pixel(x, y);
            const bool clear = transparent.isValid() && (pixel | 0xFF000000u) == key;
            image.setPixel(x, y, clear ? 0u : pixel);
        }
    }
    return QPixmap::fromImage(image);
}

void ImageList::SetCustomNodeImage(int slot, const QPixmap& image) {
    if (slot < 0 || slot >= kCustomImageSlotCount) return;
    custom_[static_cast<size_t>(slot)] = image;
    icons_[static_cast<size_t>(slot)] = QIcon();
}

bool ImageList::HasCustomNodeImage(int slot) const {
    return slot >= 0 && slot < kCustomImageSlotCount &&
           !custom_[static_cast<size_t>(slot)].isNull();
}

void ImageList::Draw(QPainter& painter, const QRectF& target, int index) const {
    if (!IsNodeImageIndex(index)) return;
    if (index < kCustomImageSlotCount && HasCustomNodeImage(index)) {
        const QPixmap& custom = custom_[static_cast<size_t>(index)];
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.drawPixmap(target, custom, QRectF(custom.rect()));
        painter.restore();
        return;
    }
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / kNodeImageSize, target.height() / kNodeImageSize);
    DrawNodeImage(painter, index);
    painter.restore();
}

QPixmap ImageList::Pixmap(int index, qreal device_pixel_ratio) const {
    const qreal ratio = device_pixel_ratio > 0 ? device_pixel_ratio : 1.0;
    const int side = qRound(kNodeImageSize * ratio);
    QPixmap pixmap = QPixmap::fromImage(RenderDrawing(
        [this, index](QPainter& painter) {
            Draw(painter, QRectF(0, 0, kNodeImageSize, kNodeImageSize), index);
        },
        QSize(side, side)));
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

QIcon ImageList::Icon(int index) const {
    if (!IsNodeImageIndex(index)) {
        static const QIcon blank = DrawingIcon([](QPainter&) {});
        return blank;
    }
    QIcon& icon = icons_[static_cast<size_t>(index)];
    if (icon.isNull()) {
        const QPixmap custom =
            index < kCustomImageSlotCount ? custom_[static_cast<size_t>(index)] : QPixmap();
        ImageList picture;
        if (!custom.isNull()) picture.custom_[static_cast<size_t>(index)] = custom;
        icon = DrawingIcon([picture, index](QPainter& painter) {
            picture.Draw(painter, QRectF(0, 0, kNodeImageSize, kNodeImageSize), index);
        });
    }
    return icon;
}

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
