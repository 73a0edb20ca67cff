#include "app/commands/tree_commands.h"

#include <QAction>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <functional>
#include <vector>

#include "app/commands/command_host.h"
#include "app/commands/edit_commands.h"
#include "document/notes_document.h"
#include "document/tree_operations.h"
#include "document/ui/my_tree_view.h"
#include "document/ui/note_pane.h"
#include "document/ui/note_panes.h"
#include "gui/action_registry.h"
#include "gui/lang.h"
#include "gui/note_tree_model.h"
#include "gui/platform.h"
#include "gui/text_codec.h"

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

TreeCommands::TreeCommands(CommandHost& host) : host_(host) {
    setObjectName(QStringLiteral("TreeCommands"));
    CreateActions();
    HookTree();
    NotesMenuClick();
}

TreeCommands::~TreeCommands() {
    // The model outlives this controller for a moment while the window is destroyed.
    if (NoteTreeModel* model = host_.TreeModel()) {
        model->SetTitleEditor({});
        model->SetDropRules({}, {});
    }
    if (TMyTreeView* tree = host_.Tree()) {
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
    ActionRegistry& actions = host_.Actions();
    for (const NotesCommand& line : kNotesCommands) {
        actions.Create(
            line.name, Lang(line.id, line.caption),
            line.shortcut ? QKeySequence(QString::fromLatin1(line.shortcut)) : QKeySequence());
    }
    const auto on = [this, &actions](const char* name, std::function<void()> handler) {
        connect(&actions.Action(name), &QAction::triggered, this,
                [handler = std::move(handler)] { handler(); });
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
    TMyTreeView* tree = host_.Tree();
    NoteTreeModel* model = host_.TreeModel();
    NotesDocument& doc = host_.Document();

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
    const auto refresh = [this] { NotesMenuClick(); };
    connect(tree->selectionModel(), &QItemSelectionModel::currentChanged, this, refresh);
    connect(model, &QAbstractItemModel::rowsInserted, this, refresh);
    connect(model, &QAbstractItemModel::rowsRemoved, this, refresh);
    connect(model, &QAbstractItemModel::rowsMoved, this, refresh);
    connect(model, &QAbstractItemModel::modelReset, this, refresh);
    connect(model, &QAbstractItemModel::layoutChanged, this, refresh);
}

void TreeCommands::AttachMenus() {
    for (const char* menu : {"NotesMenu", "PopupMenu"}) {
        connect(&host_.Actions().Menu(menu), &QMenu::aboutToShow, this,
                &TreeCommands::NotesMenuClick);
    }
}

void TreeCommands::SetEnabled(const char* name, bool enabled) {
    host_.Actions().SetEnabled(name, enabled);
}

void TreeCommands::NotesMenuClick() {
    const NotesMenuEnabling e =
        ComputeNotesMenuEnabling(host_.Document().tree, host_.SelectedNode());
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
    NotesDocument& doc = host_.Document();
    const NewNodeResult result =
        CreateNode(doc, kind, host_.SelectedNode(), in_folder, ToAnsi(title));
    if (result.full) {
        Platform::Instance().ShowMessage(
            &host_.Window(),
            Lang(7761, "Quillora supports up to 4000 Notes/Folders.\nYou have reached the limit."),
            AppTitle(), MessageIcon::Information, MessageButtons::Ok);
        return;
    }
    host_.Document().modified = true;
    TMyTreeView* tree = host_.Tree();
    NoteTreeModel* model = host_.TreeModel();
    for (NodeId folder : result.opened) tree->expand(model->IndexOf(folder));
    // Selecting the node stores the text shown so far and shows the new node's empty text.
    host_.SelectNode(result.node);
    host_.UpdatePaneEnabling();
    tree->setFocus();
    tree->edit(model->IndexOf(result.node));
}

void TreeCommands::NotesMenuDeleteClick() {
    NotesDocument& doc = host_.Document();
    const NodeId node = host_.SelectedNode();
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
        &host_.Window(), question, AppTitle(), MessageIcon::Question, MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes) return;
    TMyTreeView* tree = host_.Tree();
    // With no current node the view does not pick a neighbour while the rows go, so nothing is
    // shown or stored in the middle of the delete; the text in the pane is dropped with its node.
    tree->selectionModel()->clearCurrentIndex();
    host_.Panes().ForgetShown();
    const DeleteResult result = DeleteNode(doc, node);
    if (result.emptied_parent != kNoNode) {
        tree->collapse(host_.TreeModel()->IndexOf(result.emptied_parent));
    }
    host_.Document().modified = true;
    if (result.new_selection != kNoNode) {
        host_.SelectNode(result.new_selection);
    } else {
        host_.Panes().Clear();
    }
    host_.UpdatePaneEnabling();
}

void TreeCommands::NotesMenuRenameClick() {
    const NodeId node = host_.SelectedNode();
    if (node == kNoNode) return;
    TMyTreeView* tree = host_.Tree();
    tree->setFocus();
    tree->edit(host_.TreeModel()->IndexOf(node));
}

void TreeCommands::NotesTreeEdited(NodeId node, const std::string& title) {
    RenameNode(host_.Document(), node, title);
    host_.Document().modified = true;
}

void TreeCommands::TitleFromClock(bool date) {
    const NodeId node = host_.SelectedNode();
    if (node == kNoNode) return;
    const DateTimeSeparators separators =
        separators_ ? *separators_ : SeparatorsOf(QLocale::system());
    SetTitleFromClock(host_.Document(), node, date ? ClockTitle::kDate : ClockTitle::kTime, *clock_,
                      separators);
    host_.Document().modified = true;
}

// --- moves ---

void TreeCommands::NotesMenuMoveUpClick() {
    const NodeId node = host_.SelectedNode();
    NotesDocument& doc = host_.Document();
    if (node != kNoNode && doc.tree.Parent(node) == kNoNode && MoveUp(doc, node)) {
        host_.Document().modified = true;
        host_.Tree()->scrollTo(host_.TreeModel()->IndexOf(node));
    }
}

void TreeCommands::NotesMenuMoveDownClick() {
    const NodeId node = host_.SelectedNode();
    NotesDocument& doc = host_.Document();
    if (node != kNoNode && doc.tree.Parent(node) == kNoNode && MoveDown(doc, node)) {
        host_.Document().modified = true;
        host_.Tree()->scrollTo(host_.TreeModel()->IndexOf(node));
    }
}

// --- drag and drop ---

void TreeCommands::NotesTreeDragDrop(NodeId dragged, NodeId target) {
    NotesDocument& doc = host_.Document();
    const DropResult result = ApplyDrop(doc, dragged, target);
    if (!result.moved) return;
    host_.Document().modified = true;
    TMyTreeView* tree = host_.Tree();
    NoteTreeModel* model = host_.TreeModel();
    if (result.emptied_parent != kNoNode) tree->collapse(model->IndexOf(result.emptied_parent));
    if (result.opened != kNoNode) tree->expand(model->IndexOf(result.opened));
    tree->scrollTo(model->IndexOf(dragged));
}

// --- sorting and folders ---

// A sort is a change of layout: the view keeps which folders are open and which node is
// selected by itself. What is typed so far is stored first, as every command on the tree does.
void TreeCommands::NotesMenuSortClick() {
    host_.Panes().StoreShownText();
    NotesDocument& doc = host_.Document();
    const NodeId node = host_.SelectedNode();
    if (node != kNoNode && !doc.tree.IsNote(node)) SortFolder(doc, node);
}

void TreeCommands::NotesMenuSortAllClick() {
    host_.Panes().StoreShownText();
    NotesDocument& doc = host_.Document();
    if (!doc.tree.Empty()) SortAll(doc);
}

void TreeCommands::NotesMenuCloseAllFoldersClick() {
    host_.Tree()->collapseAll();
    ApplyCloseAllImages(host_.Document());
}

void TreeCommands::NotesMenuOpenAllFoldersClick() {
    host_.Tree()->expandAll();
    ApplyOpenAllImages(host_.Document());
}

void TreeCommands::NotesTreeExpanded(NodeId node, bool expanded) {
    if (node == kNoNode) return;
    ApplyExpandImage(host_.Document(), node, expanded);
}

// --- the tree's keys and mouse ---

bool TreeCommands::NotesTreeKeyDown(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers();
    const TreeKeyCommand command =
        CommandForTreeKey(TreeKeyOf(event->key()), mods.testFlag(Qt::ControlModifier),
                          mods.testFlag(Qt::ShiftModifier), host_.SelectedNode() != kNoNode,
                          host_.Tree()->IsEditingTitle());
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
    host_.Panes().StoreShownText();
    if (event->button() != Qt::RightButton || host_.Document().tree.Empty()) return;
    TMyTreeView* tree = host_.Tree();
    const QModelIndex index = tree->indexAt(event->position().toPoint());
    if (!index.isValid()) return;
    tree->setCurrentIndex(index);
}

}  // namespace quillora
