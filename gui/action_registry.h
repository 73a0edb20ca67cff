#pragma once

#include <QKeySequence>
#include <QString>
#include <map>
#include <string>
#include <string_view>

class QAction;
class QMenu;
class QWidget;

namespace quillora {

// The commands and menus of one window, each created once and registered under its object name
// (`FileMenuSave`, `NotesMenu`, ...). Controllers create their actions first; the menus and the
// tool bar are then built from the registry, and each controller attaches to the menus it needs.
//
// Asking for a name that was never registered is a programming error: it stops a debug build or
// a test run at once with the name, and in a release build it is logged and answered with a
// disabled stand-in, so a user never meets a crash for it.
class ActionRegistry {
public:
    // Actions are children of `window`, so their shortcuts work anywhere in it.
    explicit ActionRegistry(QWidget& window) : window_(window) {}
    ActionRegistry(const ActionRegistry&) = delete;
    ActionRegistry& operator=(const ActionRegistry&) = delete;

    QAction& Create(const char* name, const QString& caption, const QKeySequence& shortcut = {});
    QAction& CreateCheckable(const char* name, const QString& caption);
    // An action that belongs to `owner` (a context menu of its own, say) rather than the window.
    QAction& CreateIn(QObject& owner, const char* name, const QString& caption);
    QAction& Action(std::string_view name) const;
    bool HasAction(std::string_view name) const { return actions_.count(name) != 0; }

    void AddMenu(const char* name, QMenu& menu);
    void RemoveMenu(std::string_view name);
    QMenu& Menu(std::string_view name) const;
    bool HasMenu(std::string_view name) const { return menus_.count(name) != 0; }

    void SetEnabled(std::string_view name, bool enabled) const;
    void SetChecked(std::string_view name, bool checked) const;
    bool IsChecked(std::string_view name) const;

    // Whether an unknown name stops the program; on in debug builds. Tests turn it on.
    static void SetStrict(bool strict);

private:
    QWidget& window_;
    std::map<std::string, QAction*, std::less<>> actions_;
    std::map<std::string, QMenu*, std::less<>> menus_;
};

}  // namespace quillora
