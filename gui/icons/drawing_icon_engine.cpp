#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QStyle>
#include <QStyleOption>
#include <memory>
#include <utility>

#include "gui/icons/drawing.h"

namespace quillora {

namespace {

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
        QPixmap pixmap = ApplyMode(QPixmap::fromImage(RenderDrawing(source_->draw, size)), mode);
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

}  // namespace

// Renders a 16 x 16 design into a square of `pixel_size` device pixels, centred when the size
// is not square.
QImage RenderDrawing(const Drawing& draw, QSize pixel_size) {
    QImage image(pixel_size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (!draw || pixel_size.isEmpty()) return image;
    const int side = qMin(pixel_size.width(), pixel_size.height());
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // Whole pixels, so that the design's edges stay on pixel boundaries.
    const int left = (pixel_size.width() - side) / 2;
    const int top = (pixel_size.height() - side) / 2;
    painter.translate(left, top);
    painter.scale(side / qreal(kDesignGrid), side / qreal(kDesignGrid));
    draw(painter);
    return image;
}

QIcon DrawingIcon(Drawing drawing) {
    auto source = std::make_shared<DrawingSource>();
    source->draw = std::move(drawing);
    return QIcon(new DrawingIconEngine(std::move(source)));
}

}  // namespace quillora
