#include "gui/icons/image_list.h"

#include <QPainter>

#include "gui/icons/drawing.h"

namespace quillora {

namespace {
bool IsNodeImageIndex(int index) {
    return index >= 0 && index < kNodeImageCount;
}
}  // namespace

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
    if (!IsNodeImageIndex(index) || index == kQuestionMarkImage) {
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

}  // namespace quillora
