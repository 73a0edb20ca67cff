#pragma once

// The commands that change the shape of the note tree, on the document model alone. The tree
// view calls these and then shows the result: it selects, expands and collapses the nodes the
// results name, shows messages and refreshes the status bar and the tool buttons.
//
// Every command that changes the tree sets `NotesDocument::modified` itself and says so in its
// result (`marked_modified`), so that the window can show "Modified" and enable Save.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/clock.h"
#include "document/notes_document.h"
#include "document/title_collation.h"

namespace quillora {

// --- New note and new folder ----------------------------------------------------------------

struct NewNodeResult {
    // The store holds 4000 texts already: nothing was created or changed. The caller shows
    // message 7761.
    bool full = false;
    NodeId node = kNoNode;  // the new node; the caller selects it and starts editing its title
    int32_t slot = -1;      // its text slot
    // Folders that now show the open image because the new node must be visible inside them;
    // the view expands them. Outermost first.
    std::vector<NodeId> opened;
    bool marked_modified = false;
};

// Creates a note (kind kNote) or folder (kFolder) titled `title` (messages 7762 "New Note",
// 7763 "New Folder"):
// - `in_folder` with a folder selected: as the last child of the selected folder;
// - otherwise, with a node selected: as a sibling directly before the selected node;
// - with nothing selected (kNoNode): as the last top-level node.
// `in_folder` with a note selected acts as the plain command, since the In-Folder items are
// offered only for folders.
// Leaves `current_text_index` and `current_kind` alone: selecting the new node stores the text
// shown so far into its own slot and then shows the new node's empty text.
NewNodeResult CreateNode(NotesDocument& doc, int32_t kind, NodeId selected, bool in_folder,
                         std::string_view title);

// --- Delete ---------------------------------------------------------------------------------

// The question asked before a delete.
enum class DeleteQuestion : uint16_t {
    kNote = 7764,              // "Delete the selected Note?"
    kEmptyFolder = 7765,       // "Delete the selected Folder?"
    kNodeWithChildren = 7766,  // "Delete the selected Folder and all\nNotes/Folders within?"
};
DeleteQuestion DeleteQuestionFor(const NoteTree& tree, NodeId node);

struct DeleteResult {
    bool deleted = false;
    int released_slots = 0;  // the node and every node below it
    // The node selected afterwards: the next sibling, else the parent, else the previous
    // sibling; kNoNode when the tree is empty. The caller shows its text.
    NodeId new_selection = kNoNode;
    // A folder left without children; it now shows the closed image and the view collapses it.
    NodeId emptied_parent = kNoNode;
    bool tree_empty = false;  // the panes are cleared and disabled
    bool marked_modified = false;
};

// Removes `node` with everything below it, releasing their text slots in reverse display order
// and then the node's own. The caller forgets the shown node first, so that the text still in the
// pane is not stored into a slot that no longer belongs to it.
DeleteResult DeleteNode(NotesDocument& doc, NodeId node);

// --- Titles ---------------------------------------------------------------------------------

// Commits an in-place edit: the title is cut to 99 characters and the document is marked
// modified, also when the title did not change. Returns the title stored.
std::string RenameNode(NotesDocument& doc, NodeId node, std::string_view new_title);

enum class ClockTitle { kDate, kTime };
// Ctrl+Shift+D / Ctrl+Shift+T: sets the title to the current date "mm/dd/yyyy" or the current
// time "h:nnAM/PM" and marks the document modified. Returns the title stored.
std::string SetTitleFromClock(NotesDocument& doc, NodeId node, ClockTitle which, const Clock& clock,
                              const DateTimeSeparators& separators);

// --- Move Up and Move Down (top-level nodes only) ------------------------------------------

// The Move items are offered for every top-level node; on the first (last) one, Move Up (Move
// Down) changes nothing.
bool CanMoveUp(const NoteTree& tree, NodeId node);
bool CanMoveDown(const NoteTree& tree, NodeId node);

// Moves the node before the previous top-level node. Returns true (and marks the document
// modified) when something moved. The selection stays on `node`.
bool MoveUp(NotesDocument& doc, NodeId node);
// Moves the next top-level node before `node`, so the two swap places.
bool MoveDown(NotesDocument& doc, NodeId node);

// --- Drag and drop --------------------------------------------------------------------------

enum class DropAction {
    kRefuse,      // no target, no such node, or a target inside the dragged node's subtree
    kNothing,     // dropped on itself: accepted while dragging, changes nothing
    kIntoFolder,  // the target shows a folder image: becomes its last child
    kBefore,      // becomes the target's sibling directly before it
};

struct DropDecision {
    DropAction action = DropAction::kRefuse;
    NodeId parent = kNoNode;  // the dragged node's new parent (kIntoFolder, kBefore)
    int row = 0;              // its row there, counted before it leaves its old place

    bool Accepted() const { return action != DropAction::kRefuse; }
};

// Decides whether `dragged` may be dropped on `target` and where it goes. Into or before is
// decided by the target's image (either folder image of `images`), not by its kind.
DropDecision DecideDrop(const NoteTree& tree, const NodeImages& images, NodeId dragged,
                        NodeId target);

struct DropResult {
    DropDecision decision;
    bool moved = false;       // true for kIntoFolder and kBefore; the document is then modified
    NodeId opened = kNoNode;  // the target folder, which now shows the open image
    NodeId emptied_parent = kNoNode;  // the old parent left without children: shows closed
};

// Decides the drop and carries it out. Nothing changes when the drop is refused or on itself.
DropResult ApplyDrop(NotesDocument& doc, NodeId dragged, NodeId target);

// --- Sorting --------------------------------------------------------------------------------

// The selected folder's children, and the children of every folder below it, case-insensitively
// (CompareTitlesIgnoreCase); equal titles keep their order. Notes are never moved into or out of
// folders. Refused (false, nothing changes) unless `folder` is a folder; otherwise the document
// is marked modified even when the order did not change.
bool SortFolder(NotesDocument& doc, NodeId folder);

// The top-level nodes and the children of every node, case-sensitively (CompareTitlesWordSort).
// Marks the document modified when the tree has at least one node; returns whether it did.
bool SortAll(NotesDocument& doc);

// --- Node images on expand and collapse -----------------------------------------------------

// The image a node shows: a note keeps the note image; a folder shows the open image only
// while it is expanded and has children.
int32_t ImageAfterExpandChange(const NoteTree& tree, const NodeImages& images, NodeId node,
                               bool expanded);
// For the view's expanded and collapsed signals.
void ApplyExpandImage(NotesDocument& doc, NodeId node, bool expanded);
// Gives every node its image again in display order, e.g. after the images were changed in the
// settings. `is_expanded` tells whether the view shows a node expanded.
void ReapplyImages(NotesDocument& doc, const std::function<bool(NodeId)>& is_expanded);
// Close All Folders and Open All Folders: the images that follow. The view collapses or expands
// every node itself. Neither marks the document modified.
void ApplyCloseAllImages(NotesDocument& doc);
void ApplyOpenAllImages(NotesDocument& doc);

// --- Menus and keys -------------------------------------------------------------------------

// Enabling of the Notes menu and the tree's context menu for the selected node. Each PopupMenu
// item takes the value of its NotesMenu twin (the context menu has no Sort All). New Note, New
// Folder, Close All Folders and Open All Folders are always enabled.
struct NotesMenuEnabling {
    bool in_folder_items = false;  // NewNoteInFolder and NewFolderInFolder in both menus
    bool delete_node = false;
    bool rename = false;
    bool sort = false;
    bool sort_all = false;
    bool move_up = false;
    bool move_down = false;
};
NotesMenuEnabling ComputeNotesMenuEnabling(const NoteTree& tree, NodeId selected);

enum class TreeKey { kInsert, kDelete, kD, kT, kOther };
enum class TreeKeyCommand { kNone, kNewNote, kNewFolder, kDelete, kDateTitle, kTimeTitle };
// The command a key pressed in the tree leads to. Keys are ignored while a title is edited in
// place; Alt is not looked at.
TreeKeyCommand CommandForTreeKey(TreeKey key, bool ctrl, bool shift, bool has_selection,
                                 bool editing_title);

}  // namespace quillora
