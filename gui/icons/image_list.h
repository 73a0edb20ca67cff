#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <array>

#include "gui/icons/node_images.h"

class QPainter;

namespace quillora {

// A 16 x 16 custom image made from a bitmap: its top-left 16 x 16 pixels, with every pixel of
// `transparent` made transparent (an invalid colour: none). Pixels a smaller bitmap does not
// cover stay transparent.
QPixmap MakeCustomNodeImage(const QImage& bitmap, const QColor& transparent);

// The 19 node images of a tree: the built-in pictures with three slots the user may fill with
// bitmaps of their own. Copies are independent.
class ImageList {
public:
    // `slot` 0 to 2; a null pixmap puts the question mark back. Out-of-range slots are ignored.
    void SetCustomNodeImage(int slot, const QPixmap& image);
    void ClearCustomNodeImage(int slot) { SetCustomNodeImage(slot, QPixmap()); }
    bool HasCustomNodeImage(int slot) const;

    // Out-of-range indexes give the blank (transparent) image.
    QPixmap Pixmap(int index, qreal device_pixel_ratio = 1.0) const;
    // The image a node shows: entries 0 to 17; any other index (the spare question mark's
    // included) gives the blank image.
    QIcon Icon(int index) const;
    // Paints entry `index` scaled into `target`; custom bitmaps are enlarged without blurring.
    void Draw(QPainter& painter, const QRectF& target, int index) const;

private:
    std::array<QPixmap, kCustomImageSlotCount> custom_;
    // Icons are made once per entry: the tree asks for one every time it paints a row.
    mutable std::array<QIcon, kNodeImageCount> icons_;
};

}  // namespace quillora
