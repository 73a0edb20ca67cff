#pragma once

#include <QString>
#include <QWidget>
#include <functional>

class QPainter;

namespace quillora {

// The pictures of the About box and the splash screen, painted in code at the screen's density.
inline constexpr QSize kBannerSize{270, 29};
inline constexpr QSize kRuleSize{300, 3};
inline constexpr QSize kCornerPictureSize{33, 33};

// The title banner: the application icon and the product's name, on a transparent ground.
void PaintTitleBanner(QPainter& painter, const QPoint& top_left);
// A horizontal rule in three shades of blue, fading out to the right.
void PaintRule(QPainter& painter, const QPoint& top_left);
// The corner pictures of the splash screen: the notes-file icon (left) and the program's (right).
void PaintDocumentCorner(QPainter& painter, const QPoint& top_left);
void PaintApplicationCorner(QPainter& painter, const QPoint& top_left);

// A control that shows a picture painted by `paint` (in its own coordinates).
class PictureBox : public QWidget {
public:
    using Paint = std::function<void(QPainter&)>;
    PictureBox(const QString& name, const QRect& geometry, Paint paint, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Paint paint_;
};

// The rights notices the About box and the splash screen show.
QString MakerName();
QString RightsStatement();  // string 1005
QString OwnershipLine();    // string 1004 filled with the years and the holder
QString TrademarkLine();
QString TrademarkSign();

}  // namespace quillora
