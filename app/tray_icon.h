#pragma once

#include <QObject>
#include <QSystemTrayIcon>
#include <functional>

class QMainWindow;
class QMenu;
class QTimer;

namespace quillora {

class ActionRegistry;

// Tray mode of the main window: the icon in the notification area with its menu, the window
// hidden instead of minimised, and the timer that puts the icon back whenever the area comes
// (again). Without a notification area the window keeps its task-bar entry and minimises as
// usual, so it can always be reached.
class TrayController : public QObject {
    Q_OBJECT
public:
    static constexpr int kTimerMs = 1500;

    // Creates the icon and its menu (their commands registered in `actions`), shows the icon
    // when the desktop has a notification area and starts the timer. `exit` runs File > Exit.
    TrayController(QMainWindow& window, ActionRegistry& actions, std::function<void()> exit);
    // Takes the icon out of the notification area.
    ~TrayController() override;

    QSystemTrayIcon& Icon() const { return *icon_; }
    QMenu& Menu() const { return *menu_; }
    // Whether the icon is shown in a notification area.
    bool InArea() const { return in_area_; }
    // Whether the window is hidden in the tray.
    bool Hidden() const { return hidden_; }

    void TrayIconMessage(QSystemTrayIcon::ActivationReason reason);
    void TrayPopupMenuRestoreClick();
    void TrayPopupMenuMinimizeClick();
    void TrayPopupMenuCloseClick();
    void TrayIconTimerTimer();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void AddTrayIcon();
    void LeaveArea();
    void HideToTray();
    void ShowFromTray();
    void BringToFront();

    QMainWindow& window_;
    std::function<void()> exit_;
    QSystemTrayIcon* icon_ = nullptr;
    QMenu* menu_ = nullptr;
    QTimer* timer_ = nullptr;
    bool in_area_ = false;
    bool hidden_ = false;
    bool restore_maximized_ = false;
};

}  // namespace quillora
