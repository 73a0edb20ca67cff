#include "app/commands/tree_commands.h"

#include <QAction>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTimer>
#include <functional>
#include <vector>

#include "gui/actions.h"
#include "app/commands/edit_commands.h"
#include "gui/lang.h"
#include "app/main_form.h"
#include "document/ui/my_tree_view.h"
#include "document/ui/note_pane.h"
#include "document/ui/note_tree_model.h"
#include "gui/platform.h"
#include "gui/text_codec.h"
#include "document/tree_operations.h"

namespace quillora {

namespace {

struct NotesCommand {
    const char* name;
    uint16_t id;
    const char* caption;
    const char* shortcut;
};

// The Notes menu's commands and their twins in the tree's context menu. Only the Notes menu's
// items carry the shortcuts: the same shortcut on two actions would reach neither.
constexpr NotesCommand kNotesCommands[] = {
    {"NotesMenuNewNote", 7152, "&Note", "Ctrl+N"},
    {"NotesMenuNewNoteInFolder", 7153, "N&ote In Folder", nullptr},
    {"NotesMenuNewFolder", 7154, "&Folder", "Ctrl+O"},
    {"NotesMenuNewFolderInFolder", 7155, "Fo&lder In Folder", nullptr},
    {"NotesMenuDelete", 7156, "&Delete...", nullptr},
    {"NotesMenuRename", 7157, "&Rename", nullptr},
    {"NotesMenuMoveUp", 7158, "&Move Up", nullptr},
    {"NotesMenuMoveDown", 7159, "Mo&ve Down", nullptr},
    {"NotesMenuCloseAllFolders", 7160, "&Close All Folders", nullptr},
    {"NotesMenuOpenAllFolders", 7161, "&Open All Folders", nullptr},
    {"NotesMenuSort", 7162, "&Sort", nullptr},
    {"NotesMenuSortAll", 7163, "Sort &All", nullptr},
    {"PopupMenuNewNote", 7152, "&Note", nullptr},
    {"PopupMenuNewNoteInFolder", 7153, "N&ote In Folder", nullptr},
    {"PopupMenuNewFolder", 7154, "&Folder", nullptr},
    {"PopupMenuNewFolderInFolder", 7155, "Fo&lder In Folder", nullptr},
    {"PopupMenuDelete", 7156, "&Delete...", nullptr},
    {"PopupMenuRename", 7157, "&Rename", nullptr},
    {"PopupMenuMoveUp", 7158, "&Move Up", nullptr},
    {"PopupMenuMoveDown", 7159, "Mo&ve Down", nullptr},
    {"PopupMenuSort", 7162, "&Sort", nullptr},
};

TreeKey TreeKeyOf(int key) {
    switch (key) {
        case Qt::Key_Insert:
            return TreeKey::kInsert;
        case Qt::Key_Delete:
            return TreeKey::kDelete;
        case Qt::Key_D:
            return TreeKey::kD;
        case Qt::Key_T:
            return TreeKey::kT;
        default:
            return TreeKey::kOther;
    }
}

}  // namespace

TreeCommands::TreeCommands(TMainForm& form) : QObject(&form), form_(form) {
    setObjectName(QStringLiteral("TreeCommands"));
    CreateActions();
    HookTree();
    // The menus are built from the actions after this constructor has run.
    QTimer::singleShot(0, this, [this] {
        HookMenus();
        NotesMenuClick();
    });
}

TreeCommands::~TreeCommands() {
    // The model outlives this controller for a moment while the window is destroyed.
    if (NoteTreeModel* model = form_.TreeModel()) {
        model->SetTitleEditor({});
        model->SetDropRules({}, {});
    }
    if (TMyTreeView* tree = form_.Tree()) {
        tree->SetKeyDownHandler({});
        tree->SetMouseDownHandler({});
    }
}

void TreeCommands::SetClock(const Clock* clock) {
    clock_ = clock ? clock : &system_clock_;
}

void TreeCommands::SetSeparators(const DateTimeSeparators& separators) {
    separators_ = std::make_unique<DateTimeSeparators>(separators);
}

void TreeCommands::CreateActions() {
    for (const NotesCommand& line : kNotesCommands) {
        CreateAction(
            &form_, line.name, Lang(line.id, line.caption),
            line.shortcut ? QKeySequence(QString::fromLatin1(line.shortcut)) : QKeySequence());
    }
    const auto on = [this](const char* name, std::function<void()> handler) {
        QAction* action = form_.findChild<QAction*>(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
    };
    for (const char* prefix : {"NotesMenu", "PopupMenu"}) {
        const QString p = QString::fromLatin1(prefix);
        const auto name = [&p](const char* rest) { return (p + QLatin1String(rest)).toLatin1(); };
        on(name("NewNote").constData(), [this] { NotesMenuNewNoteClick(false); });
        on(name("NewNoteInFolder").constData(), [this] { NotesMenuNewNoteClick(true); });
        on(name("NewFolder").constData(), [this] { NotesMenuNewFolderClick(false); });
        on(name("NewFolderInFolder").constData(), [this] { NotesMenuNewFolderClick(true); });
        on(name("Delete").constData(), [this] { NotesMenuDeleteClick(); });
        on(name("Rename").constData(), [this] { NotesMenuRenameClick(); });
        on(name("MoveUp").constData(), [this] { NotesMenuMoveUpClick(); });
        on(name("MoveDown").constData(), [this] { NotesMenuMoveDownClick(); });
        on(name("Sort").constData(), [this] { NotesMenuSortClick(); });
    }
    on("NotesMenuCloseAllFolders", [this] { NotesMenuCloseAllFoldersClick(); });
    on("NotesMenuOpenAllFolders", [this] { NotesMenuOpenAllFoldersClick(); });
    on("NotesMenuSortAll", [this] { NotesMenuSortAllClick(); });
}

void TreeCommands::HookTree() {
    TMyTreeView* tree = form_.Tree();
    NoteTreeModel* model = form_.TreeModel();
    NotesDocument& doc = form_.Document();

    model->SetTitleEditor(
        [this](NodeId node, const std::string& title) { NotesTreeEdited(node, title); });
    model->SetDropRules(
        [&doc](NodeId dragged, NodeId target) {
            using Place = NoteTreeModel::DropPlace;
            switch (DecideDrop(doc.tree, doc.images, dragged, target).action) {
                case DropAction::kRefuse:
                    return Place::kRefused;
                case DropAction::kNothing:
                    return Place::kOnItself;
                case DropAction::kIntoFolder:
                    return Place::kInto;
                case DropAction::kBefore:
                    return Place::kBefore;
            }
            return Place::kRefused;
        },
        [this](NodeId dragged, NodeId target) { NotesTreeDragDrop(dragged, target); });

    tree->SetKeyDownHandler([this](QKeyEvent* event) { return NotesTreeKeyDown(event); });
    tree->SetMouseDownHandler([this](QMouseEvent* event) { NotesTreeMouseDown(event); });
    connect(tree, &QTreeView::expanded, this, [this, model](const QModelIndex& index) {
        NotesTreeExpanded(model->NodeAt(index), true);
    });
    connect(tree, &QTreeView::collapsed, this, [this, model](const QModelIndex& index) {
        NotesTreeExpanded(model->NodeAt(index), false);
    });

    // Keep the commands' enabling in step with the selection and the tree, so that their
    // shortcuts obey it as the menus do.
    const auto refresh = [this] {
        HookMenus();
        NotesMenuClick();
    };
    connect(tree->selectionModel(), &QItemSelectionModel::currentChanged, this, refresh);
    connect(model, &QAbstractItemModel::rowsInserted, this, refresh);
    connect(model, &QAbstractItemModel::rowsRemoved, this, refresh);
    connect(model, &QAbstractItemModel::rowsMoved, this, refresh);
    connect(model, &QAbstractItemModel::modelReset, this, refresh);
}

// The menus may be built (and rebuilt) after this controller: attach to whichever exist now.
void TreeCommands::HookMenus() {
    auto* notes = form_.findChild<QMenu*>(QStringLiteral("NotesMenu"));
    if (notes && notes != notes_menu_) {
        notes_menu_ = notes;
        connect(notes, &QMenu::aboutToShow, this, &TreeCommands::NotesMenuClick);
    }
    auto* popup = form_.findChild<QMenu*>(QStringLiteral("PopupMenu"));
    if (popup && popup != popup_menu_) {
        popup_menu_ = popup;
        connect(popup, &QMenu::aboutToShow, this, &TreeCommands::NotesMenuClick);
    }
}

void TreeCommands::SetEnabled(const char* name, bool enabled) {
    if (auto* action = form_.findChild<QAction*>(QString::fromLatin1(name))) {
        action->setEnabled(enabled);
    }
}

void TreeCommands::NotesMenuClick() {
    const NotesMenuEnabling e =
        ComputeNotesMenuEnabling(form_.Document().tree, form_.SelectedNode());
    for (const char* name : {"NotesMenuNewNoteInFolder", "NotesMenuNewFolderInFolder",
                             "PopupMenuNewNoteInFolder", "PopupMenuNewFolderInFolder"}) {
        SetEnabled(name, e.in_folder_items);
    }
    SetEnabled("NotesMenuDelete", e.delete_node);
    SetEnabled("PopupMenuDelete", e.delete_node);
    SetEnabled("NotesMenuRename", e.rename);
    SetEnabled("PopupMenuRename", e.rename);
    SetEnabled("NotesMenuSort", e.sort);
    SetEnabled("PopupMenuSort", e.sort);
    SetEnabled("NotesMenuSortAll", e.sort_all);
    SetEnabled("NotesMenuMoveUp", e.move_up);
    SetEnabled("PopupMenuMoveUp", e.move_up);
    SetEnabled("NotesMenuMoveDown", e.move_down);
    SetEnabled("PopupMenuMoveDown", e.move_down);
}

// --- new, delete, rename ---

void TreeCommands::NotesMenuNewNoteClick(bool in_folder) {
    NewNode(kNote, in_folder);
}

void TreeCommands::NotesMenuNewFolderClick(bool in_folder) {
    NewNode(kFolder, in_folder);
}

void TreeCommands::NewNode(int32_t kind, bool in_folder) {
    const QString title = kind == kNote ? Lang(7762, "New Note") : Lang(7763, "New Folder");
    NotesDocument& doc = form_.Document();
    const NewNodeResult result =
        CreateNode(doc, kind, form_.SelectedNode(), in_folder, ToAnsi(title));
    if (result.full) {
        Platform::Instance().ShowMessage(
            &form_,
            Lang(7761, "Quillora supports up to 4000 Notes/Folders.\nYou have reached the limit."),
            AppTitle(), MessageIcon::Information, MessageButtons::Ok);
        return;
    }
    form_.MarkModified();
    TMyTreeView* tree = form_.Tree();
    NoteTreeModel* model = form_.TreeModel();
    for (NodeId folder : result.opened) tree->expand(model->IndexOf(folder));
    // Selecting the node stores the text shown so far and shows the new node's empty text.
    form_.SelectNode(result.node);
    form_.UpdatePaneEnabling();
    tree->setFocus();
    tree->edit(model->IndexOf(result.node));
    form_.UpdateToolButtons();
}

void TreeCommands::NotesMenuDeleteClick() {
    NotesDocument& doc = form_.Document();
    const NodeId node = form_.SelectedNode();
    if (node == kNoNode) return;
    QString question;
    switch (DeleteQuestionFor(doc.tree, node)) {
        case DeleteQuestion::kNote:
            question = Lang(7764, "Delete the selected Note?");
            break;
        case DeleteQuestion::kEmptyFolder:
            question = Lang(7765, "Delete the selected Folder?");
            break;
        case DeleteQuestion::kNodeWithChildren:
            question = Lang(7766, "Delete the selected Folder and all\nNotes/Folders within?");
            break;
    }
    const MessageAnswer answer = Platform::Instance().ShowMessage(
        &form_, question, AppTitle(), MessageIcon::Question, MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes) {
        form_.UpdateToolButtons();
        return;
    }
    TMyTreeView* tree = form_.Tree();
    // With no current node the view does not pick a neighbour while the rows go, so nothing is
    // shown or stored in the middle of the delete; the text in the pane is dropped with its node.
    tree->selectionModel()->clearCurrentIndex();
    const DeleteResult result = DeleteNode(doc, node);
    if (result.emptied_parent != kNoNode) {
        tree->collapse(form_.TreeModel()->IndexOf(result.emptied_parent));
    }
    form_.MarkModified();
    if (result.new_selection != kNoNode) {
        form_.SelectNode(result.new_selection);
    } else {
        form_.Memo()->ShowText(QString());
        form_.FolderMemo()->ShowText(QString());
        if (auto* panes = qobject_cast<QStackedWidget*>(form_.Memo()->parentWidget())) {
            panes->setCurrentWidget(form_.Memo());
        }
    }
    form_.UpdatePaneEnabling();
    form_.UpdateToolButtons();
}

void TreeCommands::NotesMenuRenameClick() {
    const NodeId node = form_.SelectedNode();
    if (node == kNoNode) return;
    TMyTreeView* tree = form_.Tree();
    tree->setFocus();
    tree->edit(form_.TreeModel()->IndexOf(node));
}

void TreeCommands::NotesTreeEdited(NodeId node, const std::string& title) {
    RenameNode(form_.Document(), node, title);
    form_.MarkModified();
}

void TreeCommands::TitleFromClock(bool date) {
    const NodeId node = form_.SelectedNode();
    if (node == kNoNode) return;
    const DateTimeSeparators separators =
        separators_ ? *separators_ : SeparatorsOf(QLocale::system());
    SetTitleFromClock(form_.Document(), node, date ? ClockTitle::kDate : ClockTitle::kTime, *clock_,
                      separators);
    form_.MarkModified();
}

// --- moves ---

void TreeCommands::NotesMenuMoveUpClick() {
    const NodeId node = form_.SelectedNode();
    NotesDocument& doc = form_.Document();
    if (node != kNoNode && doc.tree.Parent(node) == kNoNode && MoveUp(doc, node)) {
        form_.MarkModified();
        form_.Tree()->scrollTo(form_.TreeModel()->IndexOf(node));
    }
    form_.UpdateToolButtons();
}

void TreeCommands::NotesMenuMoveDownClick() {
    const NodeId node = form_.SelectedNode();
    NotesDocument& doc = form_.Document();
    if (node != kNoNode && doc.tree.Parent(node) == kNoNode && MoveDown(doc, node)) {
        form_.MarkModified();
        form_.Tree()->scrollTo(form_.TreeModel()->IndexOf(node));
    }
    form_.UpdateToolButtons();
}

// --- drag and drop ---

void TreeCommands::NotesTreeDragDrop(NodeId dragged, NodeId target) {
    NotesDocument& doc = form_.Document();
    const DropResult result = ApplyDrop(doc, dragged, target);
    if (!result.moved) return;
    form_.MarkModified();
    TMyTreeView* tree = form_.Tree();
    NoteTreeModel* model = form_.TreeModel();
    if (result.emptied_parent != kNoNode) tree->collapse(model->IndexOf(result.emptied_parent));
    if (result.opened != kNoNode) tree->expand(model->IndexOf(result.opened));
    tree->scrollTo(model->IndexOf(dragged));
    form_.UpdateToolButtons();
}

// --- sorting and folders ---

void TreeCommands::KeepingExpansion(const std::function<void()>& sort) {
    NotesDocument& doc = form_.Document();
    TMyTreeView* tree = form_.Tree();
    NoteTreeModel* model = form_.TreeModel();
    const NodeId selected = form_.SelectedNode();
    // What is typed so far belongs to the selected node, whatever the view does while the model
    // is rebuilt.
    form_.StoreCurrentText();
    std::vector<NodeId> expanded;
    doc.tree.ForEachInDisplayOrder([&](NodeId node, int) {
        if (tree->isExpanded(model->IndexOf(node))) expanded.push_back(node);
    });
    sort();
    for (NodeId node : expanded) tree->setExpanded(model->IndexOf(node), true);
    ReapplyImages(doc, [&](NodeId node) { return tree->isExpanded(model->IndexOf(node)); });
    if (selected != kNoNode && form_.SelectedNode() != selected) form_.SelectNode(selected);
}

void TreeCommands::NotesMenuSortClick() {
    NotesDocument& doc = form_.Document();
    const NodeId node = form_.SelectedNode();
    if (node != kNoNode && !doc.tree.IsNote(node)) {
        bool sorted = false;
        KeepingExpansion([&] { sorted = SortFolder(doc, node); });
        if (sorted) form_.MarkModified();
    }
    form_.UpdateToolButtons();
}

void TreeCommands::NotesMenuSortAllClick() {
    NotesDocument& doc = form_.Document();
    if (!doc.tree.Empty()) {
        bool marked = false;
        KeepingExpansion([&] { marked = SortAll(doc); });
        if (marked) form_.MarkModified();
    }
    form_.UpdateToolButtons();
}

void TreeCommands::NotesMenuCloseAllFoldersClick() {
    form_.Tree()->collapseAll();
    ApplyCloseAllImages(form_.Document());
}

void TreeCommands::NotesMenuOpenAllFoldersClick() {
    form_.Tree()->expandAll();
    ApplyOpenAllImages(form_.Document());
}

void TreeCommands::NotesTreeExpanded(NodeId node, bool expanded) {
    if (node == kNoNode) return;
    ApplyExpandImage(form_.Document(), node, expanded);
}

// --- the tree's keys and mouse ---

bool TreeCommands::NotesTreeKeyDown(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers();
    const TreeKeyCommand command =
        CommandForTreeKey(TreeKeyOf(event->key()), mods.testFlag(Qt::ControlModifier),
                          mods.testFlag(Qt::ShiftModifier), form_.SelectedNode() != kNoNode,
                          form_.Tree()->IsEditingTitle());
    switch (command) {
        case TreeKeyCommand::kNone:
            return false;
        case TreeKeyCommand::kNewNote:
            NotesMenuNewNoteClick(false);
            break;
        case TreeKeyCommand::kNewFolder:
            NotesMenuNewFolderClick(false);
            break;
        case TreeKeyCommand::kDelete:
            NotesMenuDeleteClick();
            break;
        case TreeKeyCommand::kDateTitle:
            TitleFromClock(true);
            break;
        case TreeKeyCommand::kTimeTitle:
            TitleFromClock(false);
            break;
    }
    return true;
}

void TreeCommands::NotesTreeMouseDown(QMouseEvent* event) {
    form_.StoreCurrentText();
    if (event->button() != Qt::RightButton || form_.Document().tree.Empty()) return;
    TMyTreeView* tree = form_.Tree();
    const QModelIndex index = tree->indexAt(event->position().toPoint());
    if (!index.isValid()) return;
    tree->setCurrentIndex(index);
}

}  // namespace quillora
