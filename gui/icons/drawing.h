#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPen>
#include <QSize>
#include <functional>

namespace quillora {

// Every picture is designed on a 16 x 16 grid. Fills have integer edges and one-unit strokes run
// along half-unit coordinates, so both land exactly on pixels at whole-number scales.
using Drawing = std::function<void(QPainter&)>;
inline constexpr int kDesignGrid = 16;

// Renders a 16 x 16 design into a square of `pixel_size` device pixels, centred when the size
// is not square.
QImage RenderDrawing(const Drawing& draw, QSize pixel_size);

// An icon that paints `drawing` afresh for every size and density asked of it, keeping the few
// sizes a view asks for again and again.
QIcon DrawingIcon(Drawing drawing);

// ---- The palette and shapes the pictures share --------------------------------------------

inline QPen Stroke(const QColor& color, qreal width = 1.0) {
    return QPen(color, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
}

inline QLinearGradient VerticalGradient(qreal top, qreal bottom, const QColor& from,
                                        const QColor& to) {
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

inline const FolderColors kYellowFolder{QColor(0xFF, 0xE8, 0x8A), QColor(0xF2, 0xC2, 0x3C),
                                        QColor(0xD9, 0xA0, 0x1E), QColor(0x86, 0x5A, 0x00)};
inline const FolderColors kBlueFolder{QColor(0xB4, 0xD6, 0xFA), QColor(0x5C, 0x9C, 0xE6),
                                      QColor(0x3B, 0x76, 0xC4), QColor(0x1B, 0x40, 0x7A)};
inline const FolderColors kPaleFolder{QColor(0xFF, 0xFC, 0xE8), QColor(0xF7, 0xEC, 0xB8),
                                      QColor(0xE2, 0xD0, 0x8E), QColor(0x8E, 0x7C, 0x44)};
inline const FolderColors kGreenFolder{QColor(0xBC, 0xEC, 0xA2), QColor(0x68, 0xC0, 0x48),
                                       QColor(0x46, 0x94, 0x2C), QColor(0x22, 0x56, 0x16)};
inline const FolderColors kRedFolder{QColor(0xFA, 0xB4, 0xA4), QColor(0xE6, 0x5C, 0x46),
                                     QColor(0xC0, 0x38, 0x24), QColor(0x6C, 0x18, 0x0E)};

inline const QColor kInk(0x3C, 0x3C, 0x3C);  // outline of neutral pictures
inline const QColor kPaper(0xFF, 0xFF, 0xFF);
inline const QColor kPaperShade(0xE4, 0xE8, 0xEE);  // folded corners, shadows on paper
inline const QColor kRuling(0x86, 0xA6, 0xCC);      // lines of text on a page
inline const QColor kGreen(0x34, 0xA8, 0x44);
inline const QColor kGreenOutline(0x16, 0x5A, 0x20);

void DrawClosedFolder(QPainter& p, const FolderColors& c);
void DrawOpenFolder(QPainter& p, const FolderColors& c);
// A sheet of paper with its top-right corner folded over, spanning x 2..14 and y 1..15.
void DrawPage(QPainter& p, bool ruled);

}  // namespace quillora
