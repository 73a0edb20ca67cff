#include "app/tray_icon.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QTimer>
#include <QWindowStateChangeEvent>

#include "gui/action_registry.h"
#include "gui/icons/app_icon.h"
#include "gui/lang.h"
#include "gui/platform.h"

namespace quillora {

TrayController::TrayController(QMainWindow& window, ActionRegistry& actions,
                               std::function<void()> exit)
    : QObject(&window), window_(window), exit_(std::move(exit)) {
    menu_ = new QMenu(&window_);
    menu_->setObjectName(QStringLiteral("TrayPopupMenu"));
    connect(&actions.CreateIn(*menu_, "TrayPopupMenuRestore", Lang(7500, "&Restore")),
            &QAction::triggered, this, &TrayController::TrayPopupMenuRestoreClick);
    connect(&actions.CreateIn(*menu_, "TrayPopupMenuMinimize", Lang(7501, "Mi&nimize")),
            &QAction::triggered, this, &TrayController::TrayPopupMenuMinimizeClick);
    QAction& close = actions.CreateIn(*menu_, "TrayPopupMenuClose", Lang(7502, "&Close"));
    // Shown beside the item as a reminder; the window manager gives Alt+F4 its meaning.
    close.setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    close.setShortcutContext(Qt::WidgetShortcut);
    connect(&close, &QAction::triggered, this, &TrayController::TrayPopupMenuCloseClick);
    menu_->addAction(&actions.Action("TrayPopupMenuRestore"));
    menu_->addAction(&actions.Action("TrayPopupMenuMinimize"));
    menu_->addSeparator();
    menu_->addAction(&close);

    icon_ = new QSystemTrayIcon(ApplicationIcon(), this);
    icon_->setObjectName(QStringLiteral("TrayIcon"));
    icon_->setToolTip(QStringLiteral("Quillora"));
    icon_->setContextMenu(menu_);
    connect(icon_, &QSystemTrayIcon::activated, this, &TrayController::TrayIconMessage);

    window_.installEventFilter(this);
    AddTrayIcon();
    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("TrayIconTimer"));
    timer_->setInterval(kTimerMs);
    connect(timer_, &QTimer::timeout, this, &TrayController::TrayIconTimerTimer);
    timer_->start();
}

TrayController::~TrayController() {
    window_.removeEventFilter(this);
    icon_->hide();
}

// Shows the icon when there is a notification area to show it in; the window then leaves the
// task bar.
void TrayController::AddTrayIcon() {
    if (!Platform::Instance().IsSystemTrayAvailable()) return;
    // Hiding first makes the icon register again with an area that was restarted.
    icon_->hide();
    icon_->show();
    in_area_ = true;
    Platform::Instance().SetTaskBarEntry(window_, false);
    if (window_.isMinimized() && window_.isVisible()) {
        restore_maximized_ = window_.isMaximized();
        HideToTray();
    }
}

// The area is gone: the window takes its task-bar entry back, and a window hidden in the
// tray comes back minimised so that it can still be reached.
void TrayController::LeaveArea() {
    in_area_ = false;
    Platform::Instance().SetTaskBarEntry(window_, true);
    if (hidden_) {
        hidden_ = false;
        window_.showMinimized();
    }
}

void TrayController::TrayIconTimerTimer() {
    const bool available = Platform::Instance().IsSystemTrayAvailable();
    if (available && (!in_area_ || !icon_->isVisible())) {
        AddTrayIcon();
    } else if (!available && in_area_) {
        LeaveArea();
    }
}

bool TrayController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::WindowStateChange && in_area_ &&
        window_.isMinimized() && !hidden_) {
        const auto old_state = static_cast<QWindowStateChangeEvent*>(event)->oldState();
        restore_maximized_ = ((old_state | window_.windowState()) & Qt::WindowMaximized) != 0;
        // Hidden once the state change has been handled.
        QTimer::singleShot(0, this, [this] {
            if (in_area_ && window_.isMinimized() && !hidden_) HideToTray();
        });
    }
    return QObject::eventFilter(watched, event);
}

void TrayController::HideToTray() {
    hidden_ = true;
    window_.hide();
}

void TrayController::ShowFromTray() {
    hidden_ = false;
    window_.setWindowState(restore_maximized_ ? Qt::WindowMaximized : Qt::WindowNoState);
    window_.show();
    if (in_area_) Platform::Instance().SetTaskBarEntry(window_, false);
}

void TrayController::BringToFront() {
    window_.raise();
    window_.activateWindow();
}

// A click or double click on the icon restores the window and brings it to the front; the
// menu of a right click is Qt's.
void TrayController::TrayIconMessage(QSystemTrayIcon::ActivationReason reason) {
    if (reason != QSystemTrayIcon::Trigger && reason != QSystemTrayIcon::DoubleClick) return;
    TrayPopupMenuRestoreClick();
}

void TrayController::TrayPopupMenuRestoreClick() {
    if (hidden_) {
        ShowFromTray();
    } else if (window_.isMinimized()) {
        window_.setWindowState(window_.windowState() & ~Qt::WindowMinimized);
        window_.show();
    }
    BringToFront();
}

void TrayController::TrayPopupMenuMinimizeClick() {
    if (hidden_) return;
    if (in_area_) {
        restore_maximized_ = window_.isMaximized();
        HideToTray();
    } else {
        window_.showMinimized();
    }
}

// Closing asks about unsaved changes; the window is shown first so the question has its window.
void TrayController::TrayPopupMenuCloseClick() {
    if (hidden_ || window_.isMinimized()) TrayPopupMenuRestoreClick();
    if (exit_) exit_();
}

}  // namespace quillora
