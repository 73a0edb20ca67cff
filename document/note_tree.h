#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillora {

// A node's kind as stored in the notes file. Only 0 and 1 are ever created; most places ask
// "is it a note?" and treat every other value as a folder.
enum NodeKind : int32_t { kFolder = 0, kNote = 1 };

// The record attached to every node: its kind and the text-store slot that holds its text.
// TextIndex never changes while the node exists.
struct NodeData {
    int32_t Kind = kNote;
    int32_t TextIndex = -1;
};

constexpr std::size_t kMaxTitleLength = 99;
constexpr int kMaxDepth = 1999;

// Cuts a title to the 99 characters the notes file can hold.
std::string CutTitle(std::string_view title);

// Identifies a node for as long as it exists; ids of removed nodes are reused later.
using NodeId = int32_t;
constexpr NodeId kNoNode = -1;

// Told about every change of the tree's shape, so that a view can follow it. A bulk change
// (reading a file, closing) is announced as one reset instead of node by node; a reorder (a
// sort) as one change of layout, in which every node stays but rows may change.
class NoteTreeObserver {
public:
    virtual ~NoteTreeObserver() = default;
    virtual void AboutToInsert(NodeId parent, int row) = 0;
    virtual void Inserted(NodeId node) = 0;
    virtual void AboutToRemove(NodeId node) = 0;
    virtual void Removed() = 0;
    // `row` is the destination row counted before the node leaves its old place.
    virtual void AboutToMove(NodeId node, NodeId new_parent, int row) = 0;
    virtual void Moved(NodeId node) = 0;
    virtual void Changed(NodeId node) = 0;
    virtual void AboutToReset() = 0;
    virtual void Reset() = 0;
    virtual void AboutToReorder() = 0;
    virtual void Reordered() = 0;
};

// The note tree: titles, kinds, text slots, order and each node's image index. Top-level nodes
// are the children of the invisible root, written kNoNode.
class NoteTree {
public:
    NoteTree();
    // A tree whose titles may be longer than a note's (the favorites tree's hold 255 bytes).
    explicit NoteTree(std::size_t max_title_length) : max_title_length_(max_title_length) {}

    // --- reading ---
    bool Empty() const { return count_ == 0; }
    int Count() const { return count_; }
    bool Exists(NodeId node) const;
    const std::vector<NodeId>& Children(NodeId parent) const;
    NodeId Parent(NodeId node) const;
    int Row(NodeId node) const;  // position among its siblings
    int Depth(NodeId node) const;
    const std::string& Title(NodeId node) const;
    const NodeData& Data(NodeId node) const;
    bool IsNote(NodeId node) const { return Data(node).Kind == kNote; }
    int32_t Image(NodeId node) const;
    NodeId FirstTopLevel() const;
    // True when `node` is `ancestor` or lies below it.
    bool IsInSubtree(NodeId node, NodeId ancestor) const;

    // Display order: depth first, each node before its children, siblings in order.
    std::vector<NodeId> DisplayOrder() const;
    void ForEachInDisplayOrder(const std::function<void(NodeId, int depth)>& visit) const;
    std::vector<NodeId> Subtree(NodeId node) const;  // node and all below it, in display order
    NodeId NextInDisplayOrder(NodeId node) const;    // kNoNode after the last node

    // --- changing ---
    // Inserts a node at `row` among the children of `parent` (row == child count appends).
    NodeId Insert(NodeId parent, int row, std::string_view title, NodeData data, int32_t image);
    NodeId Append(NodeId parent, std::string_view title, NodeData data, int32_t image);
    // Removes the node and everything below it.
    void Remove(NodeId node);
    // Moves the node (with its subtree) to `row` of `new_parent`, counted before it is taken out.
    // Refused (returns false) when new_parent lies in the node's own subtree.
    bool Move(NodeId node, NodeId new_parent, int row);
    void SetTitle(NodeId node, std::string_view title);  // cut to the tree's title length
    void SetImage(NodeId node, int32_t image);
    // Reorders the children of `parent` with a stable sort.
    void SortChildren(NodeId parent, const std::function<bool(NodeId, NodeId)>& less);
    void Clear();

    // Runs `change` as one bulk change: observers see a reset instead of each step.
    void BulkChange(const std::function<void()>& change);
    // Runs `change`, which only reorders siblings, as one reorder: observers see one change of
    // layout, so a view keeps which nodes are open and selected.
    void ReorderChange(const std::function<void()>& change);

    void SetObserver(NoteTreeObserver* observer) { observer_ = observer; }

private:
    struct Node {
        std::string title;
        NodeData data;
        int32_t image = 0;
        NodeId parent = kNoNode;
        int row = 0;
        std::vector<NodeId> children;
        bool alive = false;
    };

    Node& At(NodeId node);
    const Node& At(NodeId node) const;
    std::vector<NodeId>& ChildList(NodeId parent);
    void Renumber(NodeId parent, int from);
    void Free(NodeId node);
    NoteTreeObserver* Observer() const { return bulk_depth_ > 0 ? nullptr : observer_; }

    std::vector<Node> nodes_;
    std::vector<NodeId> free_ids_;
    std::vector<NodeId> top_level_;
    int count_ = 0;
    int bulk_depth_ = 0;
    std::size_t max_title_length_ = kMaxTitleLength;
    NoteTreeObserver* observer_ = nullptr;
};

}  // namespace quillora
