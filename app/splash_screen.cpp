#include "app/splash_screen.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "app/face_pictures.h"
#include "gui/icons/app_icon.h"

namespace quillora {

namespace {

QLabel* NavyLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setStyleSheet(QStringLiteral("color: navy; background: transparent;"));
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(geometry);
    QFont font = label->font();
    font.setPixelSize(11);
    label->setFont(font);
    return label;
}

}  // namespace

TSplashScreen::TSplashScreen()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("SplashScreen"));
    setWindowIcon(ApplicationIcon());
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFixedSize(306, 103);
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(rect());
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    panel->setPalette(white);
    panel->setAutoFillBackground(true);

    QLabel* maker = NavyLabel(panel, "Label1", MakerName(), QRect(0, 7, 306, 16));
    // Where the hand-written face is missing, the next family that exists stands in.
    QFont maker_font;
    maker_font.setFamilies({QStringLiteral("Comic Sans MS"), QStringLiteral("DejaVu Sans"),
                            QStringLiteral("Sans Serif")});
    maker_font.setPixelSize(12);
    maker_font.setBold(true);
    maker->setFont(maker_font);

    new PictureBox(
        QStringLiteral("Image1"), QRect(QPoint(18, 26), kBannerSize),
        [](QPainter& p) { PaintTitleBanner(p, QPoint(0, 0)); }, panel);
    QLabel* sign = NavyLabel(panel, "Label4", TrademarkSign(), QRect(285, 21, 14, 14));
    QFont sign_font(QStringLiteral("Arial"));
    sign_font.setStyleHint(QFont::SansSerif);
    sign_font.setPixelSize(10);
    sign->setFont(sign_font);
    sign->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    new PictureBox(
        QStringLiteral("Image3"), QRect(QPoint(3, 68), kCornerPictureSize),
        [](QPainter& p) { PaintDocumentCorner(p, QPoint(0, 0)); }, panel);
    new PictureBox(
        QStringLiteral("Image2"), QRect(QPoint(271, 68), kCornerPictureSize),
        [](QPainter& p) { PaintApplicationCorner(p, QPoint(0, 0)); }, panel);
    NavyLabel(panel, "Label3", RightsStatement(), QRect(24, 62, 259, 16));
    NavyLabel(panel, "Label2", OwnershipLine(), QRect(29, 80, 247, 16));

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
}

}  // namespace quillora
