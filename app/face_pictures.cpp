#include "app/face_pictures.h"

#include <QLinearGradient>
#include <QPainter>

#include "gui/icons/app_icon.h"
#include "gui/icons/drawing.h"
#include "gui/lang.h"

namespace quillora {

namespace {

constexpr const char* kYears = "2026";
constexpr const char* kHolder = "the Quillora team";
const QColor kBannerInk(0x1B, 0x3F, 0x7A);
const QColor kTaglineInk(0x6E, 0x7C, 0x90);

// A 16 x 16 design painted at `side` pixels with its top left at `top_left`.
void PaintDesign(QPainter& painter, void (*draw)(QPainter&), const QPointF& top_left, int side) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(top_left);
    painter.scale(side / qreal(kDesignGrid), side / qreal(kDesignGrid));
    draw(painter);
    painter.restore();
}

}  // namespace

void PaintTitleBanner(QPainter& painter, const QPoint& top_left) {
    painter.save();
    painter.translate(top_left);
    PaintDesign(painter, DrawApplicationIcon, QPointF(2, 2.5), 24);

    QFont name(QStringLiteral("DejaVu Serif"));
    name.setStyleHint(QFont::Serif);
    name.setPixelSize(22);
    name.setBold(true);
    painter.setFont(name);
    painter.setPen(kBannerInk);
    const QRect name_box(34, 0, 150, kBannerSize.height());
    painter.drawText(name_box, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Quillora"));
    const int name_end =
        name_box.left() + painter.fontMetrics().horizontalAdvance(QStringLiteral("Quillora"));

    QFont tagline(QStringLiteral("DejaVu Sans"));
    tagline.setStyleHint(QFont::SansSerif);
    tagline.setPixelSize(11);
    tagline.setItalic(true);
    painter.setFont(tagline);
    painter.setPen(kTaglineInk);
    painter.drawText(QRect(name_end + 8, 9, kBannerSize.width() - name_end - 10, 18),
                     Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("notes in a tree"));
    painter.restore();
}

void PaintRule(QPainter& painter, const QPoint& top_left) {
    const QColor shades[] = {QColor(0x1F, 0x40, 0x7A), QColor(0x5C, 0x9C, 0xE6),
                             QColor(0xB4, 0xD6, 0xFA)};
    for (int row = 0; row < kRuleSize.height(); ++row) {
        QColor fade = shades[row];
        fade.setAlpha(0);
        QLinearGradient gradient(top_left.x(), 0, top_left.x() + kRuleSize.width(), 0);
        gradient.setColorAt(0, shades[row]);
        gradient.setColorAt(0.6, shades[row]);
        gradient.setColorAt(1, fade);
        painter.fillRect(QRect(top_left.x(), top_left.y() + row, kRuleSize.width(), 1), gradient);
    }
}

void PaintDocumentCorner(QPainter& painter, const QPoint& top_left) {
    PaintDesign(painter, DrawDocumentIcon, top_left, 32);
}

void PaintApplicationCorner(QPainter& painter, const QPoint& top_left) {
    PaintDesign(painter, DrawApplicationIcon, QPointF(top_left) + QPointF(1, 0), 32);
}

PictureBox::PictureBox(const QString& name, const QRect& geometry, Paint paint, QWidget* parent)
    : QWidget(parent), paint_(std::move(paint)) {
    setObjectName(name);
    setGeometry(geometry);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (paint_) paint_(painter);
}

QString MakerName() {
    return QStringLiteral("The Quillora Team");
}

QString RightsStatement() {
    return Lang(1005, "All rights reserved.");
}

QString OwnershipLine() {
    return FormatMessage(Lang(1004, "Copyright \xC2\xA9 %s %s"),
                         {QString::fromUtf8(kYears), QString::fromUtf8(kHolder)});
}

QString TrademarkLine() {
    return QStringLiteral("Quillora is a trademark of the Quillora team.");
}

QString TrademarkSign() {
    return QString(QChar(0x2122));
}

}  // namespace quillora
