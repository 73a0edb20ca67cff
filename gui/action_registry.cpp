#include "gui/action_registry.h"

#include <QAction>
#include <QMenu>
#include <QWidget>
#include <QtGlobal>

namespace quillora {

namespace {

#ifdef NDEBUG
bool g_strict = false;
#else
bool g_strict = true;
#endif

// What a release build answers for a name nobody registered: a disabled action of its own.
template <typename T>
T& Missing(QWidget& window, const char* kind, std::string_view name) {
    const QByteArray text(name.data(), static_cast<qsizetype>(name.size()));
    if (g_strict) qFatal("No %s is registered as \"%s\"", kind, text.constData());
    qWarning("No %s is registered as \"%s\"", kind, text.constData());
    auto* stand_in = new T(&window);
    stand_in->setObjectName(QString::fromLatin1(text) + QStringLiteral("Missing"));
    stand_in->setEnabled(false);
    return *stand_in;
}

}  // namespace

void ActionRegistry::SetStrict(bool strict) {
    g_strict = strict;
}

QAction& ActionRegistry::CreateIn(QObject& owner, const char* name, const QString& caption) {
    if (HasAction(name)) qFatal("The action \"%s\" is created twice", name);
    auto* action = new QAction(caption, &owner);
    action->setObjectName(QString::fromLatin1(name));
    actions_.emplace(name, action);
    return *action;
}

QAction& ActionRegistry::Create(const char* name, const QString& caption,
                                const QKeySequence& shortcut) {
    QAction& action = CreateIn(window_, name, caption);
    if (!shortcut.isEmpty()) action.setShortcut(shortcut);
    return action;
}

QAction& ActionRegistry::CreateCheckable(const char* name, const QString& caption) {
    QAction& action = Create(name, caption);
    action.setCheckable(true);
    return action;
}

QAction& ActionRegistry::Action(std::string_view name) const {
    const auto it = actions_.find(name);
    if (it != actions_.end()) return *it->second;
    return Missing<QAction>(window_, "action", name);
}

void ActionRegistry::AddMenu(const char* name, QMenu& menu) {
    menus_[name] = &menu;
}

void ActionRegistry::RemoveMenu(std::string_view name) {
    const auto it = menus_.find(name);
    if (it != menus_.end()) menus_.erase(it);
}

QMenu& ActionRegistry::Menu(std::string_view name) const {
    const auto it = menus_.find(name);
    if (it != menus_.end()) return *it->second;
    return Missing<QMenu>(window_, "menu", name);
}

void ActionRegistry::SetEnabled(std::string_view name, bool enabled) const {
    Action(name).setEnabled(enabled);
}

void ActionRegistry::SetChecked(std::string_view name, bool checked) const {
    Action(name).setChecked(checked);
}

bool ActionRegistry::IsChecked(std::string_view name) const {
    return Action(name).isChecked();
}

}  // namespace quillora
