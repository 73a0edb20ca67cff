#include "gui/immediate_access_keys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QShortcutEvent>
#include <QTimer>

namespace quillora {

namespace {

// As long as Qt shows a button pressed by its access key.
constexpr qint64 kPressShownMs = 100;

class ImmediateAccessKeys final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Shortcut) return false;
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (!button || !qobject_cast<QDialog*>(button->window())) return false;
        const auto* shortcut = static_cast<QShortcutEvent*>(event);
        // Two buttons with one key: Qt moves the focus between them, and that stays.
        if (shortcut->isAmbiguous() || shortcut->key() != button->shortcut()) return false;
        if (!button->isEnabled()) return true;
        if (button->focusPolicy() != Qt::NoFocus) button->setFocus(Qt::ShortcutFocusReason);
        // Shown pressed first: the command may open a message box before it returns.
        QElapsedTimer pressed;
        pressed.start();
        button->setDown(true);
        button->repaint();
        QPointer<QAbstractButton> guard(button);
        button->click();
        if (!guard) return true;
        const qint64 left = kPressShownMs - pressed.elapsed();
        if (left <= 0) {
            guard->update();
            return true;
        }
        guard->setDown(true);
        QTimer::singleShot(static_cast<int>(left), guard, [guard] {
            if (guard) guard->setDown(false);
        });
        return true;
    }
};

}  // namespace

void InstallImmediateAccessKeys() {
    static QPointer<ImmediateAccessKeys> installed;
    if (installed || !qApp) return;
    installed = new ImmediateAccessKeys(qApp);
    qApp->installEventFilter(installed);
}

}  // namespace quillora
