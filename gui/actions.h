#pragma once

#include <QAction>
#include <QKeySequence>
#include <QString>

namespace quillora {

// A command of the main window: a QAction named after its menu item (`FileMenuOpen`, ...), so
// the menu table, the tool bar and the tests find it by name.
inline QAction* CreateAction(QObject* owner, const char* object_name, const QString& caption,
                             const QKeySequence& shortcut = {}) {
    auto* action = new QAction(caption, owner);
    action->setObjectName(QString::fromLatin1(object_name));
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    return action;
}

}  // namespace quillora
