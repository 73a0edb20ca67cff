#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

#include "base/clock.h"
#include "document/note_tree.h"

class QAction;
class QKeyEvent;
class QMenu;
class QMouseEvent;

namespace quillora {

class CommandHost;

// The main window's controller for the Notes menu and the tree's context menu, the tree's keys,
// its mouse presses, in-place title edits, drag and drop and the folder images that follow
// expanding and collapsing. The rules live in the core (document/tree_operations.h); this class
// asks them and shows the result in the tree, the panes, the status bar and the tool buttons.
//
// Enabling: `NotesMenuClick` runs when either menu opens and whenever the selection or the tree
// changes, so the commands' shortcuts obey it too; every handler still checks that it may act.
class TreeCommands : public QObject {
    Q_OBJECT
public:
    explicit TreeCommands(CommandHost& host);
    // Attaches to the menus it enables, once they are built.
    void AttachMenus();
    ~TreeCommands() override;

    // Where titles from the clock come from (the machine's clock unless set) and the separators
    // they are written with (the system's unless set).
    void SetClock(const Clock* clock);
    void SetSeparators(const DateTimeSeparators& separators);

    // --- handlers ---
    void NotesMenuNewNoteClick(bool in_folder);
    void NotesMenuNewFolderClick(bool in_folder);
    void NotesMenuDeleteClick();
    void NotesMenuRenameClick();
    void NotesMenuMoveUpClick();
    void NotesMenuMoveDownClick();
    void NotesMenuCloseAllFoldersClick();
    void NotesMenuOpenAllFoldersClick();
    void NotesMenuSortClick();
    void NotesMenuSortAllClick();
    void NotesMenuClick();

    // A committed in-place edit of a title.
    void NotesTreeEdited(NodeId node, const std::string& title);
    // Drops the node `dragged` on `target` (the node under the pointer) when the rules allow it.
    void NotesTreeDragDrop(NodeId dragged, NodeId target);

private:
    void CreateActions();
    void HookTree();
    void NewNode(int32_t kind, bool in_folder);
    bool NotesTreeKeyDown(QKeyEvent* event);
    void NotesTreeMouseDown(QMouseEvent* event);
    void NotesTreeExpanded(NodeId node, bool expanded);
    void TitleFromClock(bool date);
    void SetEnabled(const char* name, bool enabled);

    CommandHost& host_;
    SystemClock system_clock_;
    const Clock* clock_ = &system_clock_;
    std::unique_ptr<DateTimeSeparators> separators_;
};

}  // namespace quillora
