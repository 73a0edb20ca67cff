#include "app/splash_screen.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "gui/lang.h"

namespace quillora {

namespace {
constexpr const char* kYears = "2026";
constexpr const char* kHolder = "the Quillora developers";

QLabel* NavyLabel(QWidget* parent, const QString& text, const QRect& geometry) {
    auto* label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("color: navy; background: transparent;"));
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(geometry);
    return label;
}
}  // namespace

QString RightsStatement() {
    return Lang(1005, "All rights reserved.");
}

QString OwnershipLine() {
    return FormatMessage(Lang(1004, "Copyright \xC2\xA9 %s %s"),
                         {QString::fromUtf8(kYears), QString::fromUtf8(kHolder)});
}

TSplashScreen::TSplashScreen()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("SplashScreen"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFixedSize(306, 103);
    auto* panel = new QFrame(this);
    panel->setGeometry(rect());
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setStyleSheet(QStringLiteral("QFrame { background: white; }"));

    QLabel* name = NavyLabel(panel, AppTitle(), QRect(0, 10, 306, 40));
    QFont font = name->font();
    font.setBold(true);
    font.setPointSize(20);
    name->setFont(font);
    NavyLabel(panel, RightsStatement(), QRect(24, 60, 259, 18));
    NavyLabel(panel, OwnershipLine(), QRect(29, 78, 247, 18));

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
}

}  // namespace quillora
