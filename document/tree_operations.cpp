#include "document/tree_operations.h"

#include <algorithm>
#include <cstddef>

namespace quillora {

namespace {

bool IsFolder(const NoteTree& tree, NodeId node) {
    return tree.Data(node).Kind == kFolder;
}

void MarkModified(NotesDocument& doc) {
    doc.modified = true;
}

// A node left without children is shown closed.
NodeId CloseIfEmptied(NotesDocument& doc, NodeId parent) {
    if (parent == kNoNode || !doc.tree.Children(parent).empty()) return kNoNode;
    doc.tree.SetImage(parent, ImageAfterExpandChange(doc.tree, doc.images, parent, false));
    return parent;
}

}  // namespace

NewNodeResult CreateNode(NotesDocument& doc, int32_t kind, NodeId selected, bool in_folder,
                         std::string_view title) {
    NewNodeResult result;
    const std::optional<int> slot = doc.texts.AllocateTextSlot();
    if (!slot) {
        result.full = true;
        return result;
    }
    NoteTree& tree = doc.tree;
    NodeId parent = kNoNode;
    int row = static_cast<int>(tree.Children(kNoNode).size());
    if (tree.Exists(selected)) {
        if (in_folder && IsFolder(tree, selected)) {
            parent = selected;
            row = static_cast<int>(tree.Children(selected).size());
        } else {
            parent = tree.Parent(selected);
            row = tree.Row(selected);
        }
    }
    const int32_t node_kind = kind == kNote ? kNote : kFolder;
    result.node = tree.Insert(parent, row, title, NodeData{node_kind, *slot},
                              doc.images.ImageFor(node_kind, false));
    result.slot = *slot;
    for (NodeId p = parent; p != kNoNode; p = tree.Parent(p)) {
        result.opened.insert(result.opened.begin(), p);
        tree.SetImage(p, ImageAfterExpandChange(tree, doc.images, p, true));
    }
    MarkModified(doc);
    result.marked_modified = true;
    return result;
}

DeleteQuestion DeleteQuestionFor(const NoteTree& tree, NodeId node) {
    if (!tree.Exists(node)) return DeleteQuestion::kNote;
    // A note can hold children too (dropped on it while it shows a folder image); the user is
    // told that they go with it.
    if (!tree.Children(node).empty()) return DeleteQuestion::kNodeWithChildren;
    return tree.IsNote(node) ? DeleteQuestion::kNote : DeleteQuestion::kEmptyFolder;
}

DeleteResult DeleteNode(NotesDocument& doc, NodeId node) {
    DeleteResult result;
    NoteTree& tree = doc.tree;
    if (!tree.Exists(node)) return result;

    // Every node below, from the last back to the first, then the node itself.
    const std::vector<NodeId> doomed = tree.Subtree(node);
    for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) {
        doc.texts.ReleaseTextSlot(tree.Data(*it).TextIndex);
        ++result.released_slots;
    }

    const NodeId parent = tree.Parent(node);
    const int row = tree.Row(node);
    const std::vector<NodeId>& siblings = tree.Children(parent);
    if (static_cast<std::size_t>(row) + 1 < siblings.size()) {
        result.new_selection = siblings[row + 1];
    } else if (parent != kNoNode) {
        result.new_selection = parent;
    } else if (row > 0) {
        result.new_selection = siblings[row - 1];
    }

    tree.Remove(node);
    result.emptied_parent = CloseIfEmptied(doc, parent);
    result.deleted = true;
    result.tree_empty = tree.Empty();
    MarkModified(doc);
    result.marked_modified = true;
    return result;
}

std::string RenameNode(NotesDocument& doc, NodeId node, std::string_view new_title) {
    if (!doc.tree.Exists(node)) return {};
    doc.tree.SetTitle(node, new_title);
    MarkModified(doc);
    return doc.tree.Title(node);
}

std::string SetTitleFromClock(NotesDocument& doc, NodeId node, ClockTitle which, const Clock& clock,
                              const DateTimeSeparators& separators) {
    if (!doc.tree.Exists(node)) return {};
    const DateTime now = clock.Now();
    return RenameNode(doc, node,
                      which == ClockTitle::kDate ? FormatShortDate(now, separators)
                                                 : FormatShortTime(now, separators));
}

bool CanMoveUp(const NoteTree& tree, NodeId node) {
    return tree.Exists(node) && tree.Parent(node) == kNoNode;
}

bool CanMoveDown(const NoteTree& tree, NodeId node) {
    return CanMoveUp(tree, node);
}

bool MoveUp(NotesDocument& doc, NodeId node) {
    if (!CanMoveUp(doc.tree, node)) return false;
    const int row = doc.tree.Row(node);
    if (row == 0) return false;
    doc.tree.Move(node, kNoNode, row - 1);
    MarkModified(doc);
    return true;
}

bool MoveDown(NotesDocument& doc, NodeId node) {
    if (!CanMoveDown(doc.tree, node)) return false;
    const int row = doc.tree.Row(node);
    const std::vector<NodeId>& top = doc.tree.Children(kNoNode);
    if (static_cast<std::size_t>(row) + 1 >= top.size()) return false;
    doc.tree.Move(top[row + 1], kNoNode, row);
    MarkModified(doc);
    return true;
}

DropDecision DecideDrop(const NoteTree& tree, const NodeImages& images, NodeId dragged,
                        NodeId target) {
    DropDecision decision;
    if (!tree.Exists(dragged) || !tree.Exists(target)) return decision;
    if (target == dragged) {
        decision.action = DropAction::kNothing;
        decision.parent = tree.Parent(dragged);
        decision.row = tree.Row(dragged);
        return decision;
    }
    if (tree.IsInSubtree(target, dragged)) return decision;
    const int32_t image = tree.Image(target);
    if (image == images.folder || image == images.opened_folder) {
        decision.action = DropAction::kIntoFolder;
        decision.parent = target;
        decision.row = static_cast<int>(tree.Children(target).size());
    } else {
        decision.action = DropAction::kBefore;
        decision.parent = tree.Parent(target);
        decision.row = tree.Row(target);
    }
    return decision;
}

DropResult ApplyDrop(NotesDocument& doc, NodeId dragged, NodeId target) {
    DropResult result;
    result.decision = DecideDrop(doc.tree, doc.images, dragged, target);
    const DropAction action = result.decision.action;
    if (action != DropAction::kIntoFolder && action != DropAction::kBefore) return result;

    NoteTree& tree = doc.tree;
    const NodeId old_parent = tree.Parent(dragged);
    if (!tree.Move(dragged, result.decision.parent, result.decision.row)) return result;
    result.moved = true;
    MarkModified(doc);
    if (action == DropAction::kIntoFolder) {
        result.opened = target;
        tree.SetImage(target, ImageAfterExpandChange(tree, doc.images, target, true));
    }
    result.emptied_parent = CloseIfEmptied(doc, old_parent);
    return result;
}

bool SortFolder(NotesDocument& doc, NodeId folder) {
    NoteTree& tree = doc.tree;
    if (!tree.Exists(folder) || !IsFolder(tree, folder)) return false;
    const auto less = [&tree](NodeId a, NodeId b) {
        return CompareTitlesIgnoreCase(tree.Title(a), tree.Title(b)) < 0;
    };
    tree.ReorderChange([&] {
        for (NodeId node : tree.Subtree(folder)) {
            if (IsFolder(tree, node)) tree.SortChildren(node, less);
        }
    });
    MarkModified(doc);
    return true;
}

bool SortAll(NotesDocument& doc) {
    NoteTree& tree = doc.tree;
    if (tree.Empty()) return false;
    const auto less = [&tree](NodeId a, NodeId b) {
        return CompareTitlesWordSort(tree.Title(a), tree.Title(b)) < 0;
    };
    tree.ReorderChange([&] {
        tree.SortChildren(kNoNode, less);
        for (NodeId node : tree.DisplayOrder()) {
            if (!tree.Children(node).empty()) tree.SortChildren(node, less);
        }
    });
    MarkModified(doc);
    return true;
}

int32_t ImageAfterExpandChange(const NoteTree& tree, const NodeImages& images, NodeId node,
                               bool expanded) {
    if (tree.IsNote(node)) return images.note;
    return images.ImageFor(kFolder, expanded && !tree.Children(node).empty());
}

void ApplyExpandImage(NotesDocument& doc, NodeId node, bool expanded) {
    if (!doc.tree.Exists(node)) return;
    doc.tree.SetImage(node, ImageAfterExpandChange(doc.tree, doc.images, node, expanded));
}

void ReapplyImages(NotesDocument& doc, const std::function<bool(NodeId)>& is_expanded) {
    doc.tree.ForEachInDisplayOrder([&](NodeId node, int) {
        doc.tree.SetImage(node,
                          ImageAfterExpandChange(doc.tree, doc.images, node, is_expanded(node)));
    });
}

void ApplyCloseAllImages(NotesDocument& doc) {
    ReapplyImages(doc, [](NodeId) { return false; });
}

void ApplyOpenAllImages(NotesDocument& doc) {
    ReapplyImages(doc, [](NodeId) { return true; });
}

NotesMenuEnabling ComputeNotesMenuEnabling(const NoteTree& tree, NodeId selected) {
    NotesMenuEnabling e;
    if (!tree.Exists(selected)) return e;
    e.delete_node = true;
    e.rename = true;
    e.sort_all = true;
    if (IsFolder(tree, selected)) {
        e.sort = true;
        e.in_folder_items = true;
    }
    e.move_up = e.move_down = tree.Parent(selected) == kNoNode;
    return e;
}

TreeKeyCommand CommandForTreeKey(TreeKey key, bool ctrl, bool shift, bool has_selection,
                                 bool editing_title) {
    if (editing_title) return TreeKeyCommand::kNone;
    switch (key) {
        case TreeKey::kInsert:
            if (shift) return TreeKeyCommand::kNone;
            return ctrl ? TreeKeyCommand::kNewFolder : TreeKeyCommand::kNewNote;
        case TreeKey::kDelete:
            return has_selection ? TreeKeyCommand::kDelete : TreeKeyCommand::kNone;
        case TreeKey::kD:
            return ctrl && shift && has_selection ? TreeKeyCommand::kDateTitle
                                                  : TreeKeyCommand::kNone;
        case TreeKey::kT:
            return ctrl && shift && has_selection ? TreeKeyCommand::kTimeTitle
                                                  : TreeKeyCommand::kNone;
        case TreeKey::kOther:
            break;
    }
    return TreeKeyCommand::kNone;
}

}  // namespace quillora
