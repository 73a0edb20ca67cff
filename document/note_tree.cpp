#include "document/note_tree.h"

#include <algorithm>
#include <stdexcept>

namespace quillora {

std::string CutTitle(std::string_view title) {
    return std::string(title.substr(0, std::min(title.size(), kMaxTitleLength)));
}

NoteTree::NoteTree() = default;

bool NoteTree::Exists(NodeId node) const {
    return node >= 0 && static_cast<size_t>(node) < nodes_.size() && nodes_[node].alive;
}

NoteTree::Node& NoteTree::At(NodeId node) {
    if (!Exists(node)) throw std::out_of_range("no such node");
    return nodes_[node];
}

const NoteTree::Node& NoteTree::At(NodeId node) const {
    if (!Exists(node)) throw std::out_of_range("no such node");
    return nodes_[node];
}

const std::vector<NodeId>& NoteTree::Children(NodeId parent) const {
    return parent == kNoNode ? top_level_ : At(parent).children;
}

std::vector<NodeId>& NoteTree::ChildList(NodeId parent) {
    return parent == kNoNode ? top_level_ : At(parent).children;
}

NodeId NoteTree::Parent(NodeId node) const {
    return At(node).parent;
}
int NoteTree::Row(NodeId node) const {
    return At(node).row;
}

int NoteTree::Depth(NodeId node) const {
    int depth = 0;
    for (NodeId p = At(node).parent; p != kNoNode; p = nodes_[p].parent) ++depth;
    return depth;
}

const std::string& NoteTree::Title(NodeId node) const {
    return At(node).title;
}
const NodeData& NoteTree::Data(NodeId node) const {
    return At(node).data;
}
int32_t NoteTree::Image(NodeId node) const {
    return At(node).image;
}

NodeId NoteTree::FirstTopLevel() const {
    return top_level_.empty() ? kNoNode : top_level_.front();
}

bool NoteTree::IsInSubtree(NodeId node, NodeId ancestor) const {
    for (NodeId p = node; p != kNoNode; p = At(p).parent) {
        if (p == ancestor) return true;
    }
    return false;
}

void NoteTree::ForEachInDisplayOrder(const std::function<void(NodeId, int)>& visit) const {
    // An explicit stack: a tree may be nested thousands of levels deep.
    struct Frame {
        const std::vector<NodeId>* list;
        size_t next;
    };
    std::vector<Frame> stack{{&top_level_, 0}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next == frame.list->size()) {
            stack.pop_back();
            continue;
        }
        const NodeId node = (*frame.list)[frame.next++];
        visit(node, static_cast<int>(stack.size()) - 1);
        const Node& n = nodes_[node];
        if (!n.children.empty()) stack.push_back({&n.children, 0});
    }
}

std::vector<NodeId> NoteTree::DisplayOrder() const {
    std::vector<NodeId> order;
    order.reserve(static_cast<size_t>(count_));
    ForEachInDisplayOrder([&](NodeId node, int) { order.push_back(node); });
    return order;
}

std::vector<NodeId> NoteTree::Subtree(NodeId node) const {
    std::vector<NodeId> out;
    std::vector<NodeId> stack{node};
    while (!stack.empty()) {
        const NodeId n = stack.back();
        stack.pop_back();
        out.push_back(n);
        const auto& kids = At(n).children;
        for (auto it = kids.rbegin(); it != kids.rend(); ++it) stack.push_back(*it);
    }
    return out;
}

NodeId NoteTree::NextInDisplayOrder(NodeId node) const {
    const Node& n = At(node);
    if (!n.children.empty()) return n.children.front();
    for (NodeId cur = node; cur != kNoNode; cur = nodes_[cur].parent) {
        const auto& siblings = Children(nodes_[cur].parent);
        const size_t next = static_cast<size_t>(nodes_[cur].row) + 1;
        if (next < siblings.size()) return siblings[next];
    }
    return kNoNode;
}

void NoteTree::Renumber(NodeId parent, int from) {
    auto& list = ChildList(parent);
    for (size_t i = static_cast<size_t>(std::max(from, 0)); i < list.size(); ++i) {
        nodes_[list[i]].row = static_cast<int>(i);
    }
}

NodeId NoteTree::Insert(NodeId parent, int row, std::string_view title, NodeData data,
                        int32_t image) {
    auto& list = ChildList(parent);
    row = std::clamp(row, 0, static_cast<int>(list.size()));
    if (auto* obs = Observer()) obs->AboutToInsert(parent, row);
    NodeId id;
    if (!free_ids_.empty()) {
        id = free_ids_.back();
        free_ids_.pop_back();
    } else {
        id = static_cast<NodeId>(nodes_.size());
        nodes_.emplace_back();
    }
    Node& n = nodes_[id];
    n.title = title.substr(0, std::min(title.size(), max_title_length_));
    n.data = data;
    n.image = image;
    n.parent = parent;
    n.children.clear();
    n.alive = true;
    // `list` may refer into nodes_, which emplace_back can move: look it up again.
    auto& siblings = ChildList(parent);
    siblings.insert(siblings.begin() + row, id);
    Renumber(parent, row);
    ++count_;
    if (auto* obs = Observer()) obs->Inserted(id);
    return id;
}

NodeId NoteTree::Append(NodeId parent, std::string_view title, NodeData data, int32_t image) {
    return Insert(parent, static_cast<int>(Children(parent).size()), title, data, image);
}

void NoteTree::Free(NodeId node) {
    for (NodeId n : Subtree(node)) {
        Node& dead = nodes_[n];
        dead.alive = false;
        dead.children.clear();
        dead.title.clear();
        free_ids_.push_back(n);
        --count_;
    }
}

void NoteTree::Remove(NodeId node) {
    const Node& n = At(node);
    const NodeId parent = n.parent;
    const int row = n.row;
    if (auto* obs = Observer()) obs->AboutToRemove(node);
    auto& list = ChildList(parent);
    list.erase(list.begin() + row);
    Renumber(parent, row);
    Free(node);
    if (auto* obs = Observer()) obs->Removed();
}

bool NoteTree::Move(NodeId node, NodeId new_parent, int row) {
    if (new_parent != kNoNode && IsInSubtree(new_parent, node)) return false;
    Node& n = At(node);
    const NodeId old_parent = n.parent;
    const int old_row = n.row;
    row = std::clamp(row, 0, static_cast<int>(Children(new_parent).size()));
    if (old_parent == new_parent && (row == old_row || row == old_row + 1)) return true;
    if (auto* obs = Observer()) obs->AboutToMove(node, new_parent, row);
    auto& from = ChildList(old_parent);
    from.erase(from.begin() + old_row);
    Renumber(old_parent, old_row);
    if (old_parent == new_parent && row > old_row) --row;
    auto& to = ChildList(new_parent);
    to.insert(to.begin() + row, node);
    n.parent = new_parent;
    Renumber(new_parent, row);
    if (auto* obs = Observer()) obs->Moved(node);
    return true;
}

void NoteTree::SetTitle(NodeId node, std::string_view title) {
    At(node).title = title.substr(0, std::min(title.size(), max_title_length_));
    if (auto* obs = Observer()) obs->Changed(node);
}

void NoteTree::SetImage(NodeId node, int32_t image) {
    Node& n = At(node);
    if (n.image == image) return;
    n.image = image;
    if (auto* obs = Observer()) obs->Changed(node);
}

void NoteTree::SortChildren(NodeId parent, const std::function<bool(NodeId, NodeId)>& less) {
    ReorderChange([&] {
        auto& list = ChildList(parent);
        std::stable_sort(list.begin(), list.end(), less);
        Renumber(parent, 0);
    });
}

void NoteTree::Clear() {
    BulkChange([&] {
        nodes_.clear();
        free_ids_.clear();
        top_level_.clear();
        count_ = 0;
    });
}

namespace {
// Runs `change` with the observer's notifications of each step held back, announcing the whole
// by `before` and `after`.
template <typename Before, typename After>
void Announced(int& depth, NoteTreeObserver* obs, const std::function<void()>& change,
               Before before, After after) {
    if (obs) (obs->*before)();
    ++depth;
    try {
        change();
    } catch (...) {
        --depth;
        if (obs) (obs->*after)();
        throw;
    }
    --depth;
    if (obs) (obs->*after)();
}
}  // namespace

void NoteTree::BulkChange(const std::function<void()>& change) {
    Announced(bulk_depth_, Observer(), change, &NoteTreeObserver::AboutToReset,
              &NoteTreeObserver::Reset);
}

void NoteTree::ReorderChange(const std::function<void()>& change) {
    Announced(bulk_depth_, Observer(), change, &NoteTreeObserver::AboutToReorder,
              &NoteTreeObserver::Reordered);
}

}  // namespace quillora
