#include "gui/dialog_frame.h"

#include <QDialog>
#include <QFont>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "gui/context_help.h"
#include "gui/platform.h"

namespace quillora {

namespace {
constexpr int kWidenedOuterWidth = 406;
constexpr int kWidenedButtonWidth = 89;
}  // namespace

void SetUpFixedDialogWindow(QDialog& dialog, int client_width, int client_height) {
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint);
    dialog.setFixedSize(client_width, client_height);
    QFont font = dialog.font();
    font.setPixelSize(11);
    dialog.setFont(font);
    EnableContextHelp(&dialog, [](int topic, const QPoint& position) {
        Platform::Instance().ShowHelpPopup(topic, position);
    });
}

void CenterOnScreen(QWidget& window) {
    QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QSize frame = window.frameGeometry().size();
    window.move(area.x() + (area.width() - frame.width()) / 2,
                area.y() + (area.height() - frame.height()) / 2);
}

int WidenForLanguagePack(QDialog& dialog, const std::vector<QPushButton*>& buttons,
                         const std::vector<QLineEdit*>& edits, int outer_height) {
    // Buttons whose captions need more room widen the column and the dialog with it.
    int button_width = kWidenedButtonWidth;
    for (const QPushButton* button : buttons) {
        button_width = std::max(button_width, button->sizeHint().width());
    }
    const int client_width =
        kWidenedOuterWidth - kDialogFrameWidth + button_width - kWidenedButtonWidth;
    dialog.setFixedSize(client_width, outer_height - kDialogFrameHeight);
    const int button_left = client_width - kDialogMargin - button_width;
    for (QPushButton* button : buttons) {
        button->setGeometry(button_left, button->y(), button_width, button->height());
    }
    for (QLineEdit* edit : edits) {
        edit->setGeometry(edit->x(), edit->y(), button_left - kDialogMargin - edit->x(),
                          edit->height());
    }
    return button_left;
}

}  // namespace quillora
