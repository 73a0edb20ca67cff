#include "favorites/favorites_tree.h"

#include <algorithm>

#include "favorites/favorite_text.h"

namespace quillora::favorites {

namespace {
const NodeData kEntryData{kFolder, -1};
}  // namespace

FavoritesTree::FavoritesTree(Markers markers, std::string_view root_title)
    : tree_(kTextFieldSize - 1), markers_(std::move(markers)) {
    const NodeId root = tree_.Append(kNoNode, root_title, kEntryData, kFolderImage);
    AddPlaceholder(root);
}

NodeId FavoritesTree::AddPlaceholder(NodeId parent) {
    return tree_.Append(parent, markers_.placeholder, kEntryData, kPlaceholderImage);
}

void FavoritesTree::Load(std::string_view root_title, const std::vector<FavoriteRecord>& records) {
    tree_.BulkChange([&] {
        tree_.Clear();
        paths_.clear();
        const NodeId root = tree_.Append(kNoNode, root_title, kEntryData, kFolderImage);
        // The last node of each depth; records come with sound levels, each at most one deeper.
        std::vector<NodeId> open{root};
        for (const FavoriteRecord& record : records) {
            const auto depth = static_cast<std::size_t>(record.level) + 1;
            if (depth > open.size()) continue;
            open.resize(depth);
            // A title read as Windows-1252 may be longer in UTF-8 than the field; whole
            // characters are kept.
            const NodeId node =
                tree_.Append(open.back(), FitBytes(record.title, kTextFieldSize - 1), kEntryData,
                             kFavoriteImage);
            paths_[node] = record.file_name;
            open.push_back(node);
        }
        if (tree_.Children(root).empty()) AddPlaceholder(root);
        for (NodeId node : tree_.Subtree(root)) {
            if (node == root) continue;
            const int32_t image = IsPlaceholder(node)            ? kPlaceholderImage
                                  : IsSeparator(node)            ? kSeparatorImage
                                  : tree_.Children(node).empty() ? kFavoriteImage
                                                                 : kFolderImage;
            tree_.SetImage(node, image);
        }
    });
    changed_ = false;
}

std::vector<FavoriteRecord> FavoritesTree::Records() const {
    std::vector<FavoriteRecord> records;
    const NodeId root = Root();
    for (NodeId node : tree_.Subtree(root)) {
        if (node == root) continue;
        records.push_back(FavoriteRecord{tree_.Depth(node) - 1, Path(node), tree_.Title(node)});
    }
    return records;
}

bool FavoritesTree::IsPlaceholder(NodeId node) const {
    return !IsRoot(node) && markers_.IsPlaceholder(tree_.Title(node));
}

bool FavoritesTree::IsSeparator(NodeId node) const {
    return !IsRoot(node) && markers_.IsSeparator(tree_.Title(node));
}

bool FavoritesTree::IsFavorite(NodeId node) const {
    return !IsRoot(node) && !IsPlaceholder(node) && !IsSeparator(node) &&
           tree_.Children(node).empty();
}

const std::string& FavoritesTree::Path(NodeId node) const {
    static const std::string kNone;
    const auto found = paths_.find(node);
    return found == paths_.end() ? kNone : found->second;
}

int FavoritesTree::FileCount() const {
    int count = 0;
    for (NodeId node : tree_.Subtree(Root())) count += IsFavorite(node) ? 1 : 0;
    return count;
}

NodeId FavoritesTree::Place(NodeId selected, bool selected_open, std::string_view title,
                            int32_t image) {
    if (!tree_.Exists(selected)) selected = Root();
    const std::vector<NodeId>& kids = tree_.Children(selected);
    NodeId target = kNoNode;
    if (IsPlaceholder(selected)) {
        target = selected;
    } else if ((IsRoot(selected) || selected_open) && !kids.empty()) {
        if (IsPlaceholder(kids.front())) target = kids.front();
    } else {
        selected = tree_.Parent(selected);
    }
    changed_ = true;
    if (target != kNoNode) {
        // The placeholder becomes the new entry and keeps its place.
        tree_.SetTitle(target, title);
        tree_.SetImage(target, image);
        paths_.erase(target);
        return target;
    }
    if (RecordCount() >= static_cast<int>(kMaxRecords)) return kNoNode;
    return tree_.Append(selected, title, kEntryData, image);
}

NodeId FavoritesTree::NewFavorite(NodeId selected, bool selected_open, const std::string& path) {
    const NodeId node = Place(selected, selected_open, FileNamePart(path), kFavoriteImage);
    if (node != kNoNode) paths_[node] = std::string(FitBytes(path, kMaxPathBytes));
    return node;
}

NodeId FavoritesTree::NewSeparator(NodeId selected, bool selected_open) {
    return Place(selected, selected_open, markers_.separator, kSeparatorImage);
}

bool FavoritesTree::FolderAllowedAt(NodeId selected) const {
    return !tree_.Exists(selected) || tree_.Depth(selected) < kMaxLevel;
}

NodeId FavoritesTree::NewFolder(NodeId selected, bool selected_open, std::string_view title) {
    // The folder and its placeholder take two records.
    if (!FolderAllowedAt(selected) || RecordCount() + 2 > static_cast<int>(kMaxRecords)) {
        return kNoNode;
    }
    const NodeId folder = Place(selected, selected_open, title, kFolderImage);
    if (folder != kNoNode) AddPlaceholder(folder);
    return folder;
}

bool FavoritesTree::CanDelete(NodeId node) const {
    return tree_.Exists(node) && !IsRoot(node) && !IsPlaceholder(node);
}

void FavoritesTree::Delete(NodeId node) {
    if (!CanDelete(node)) return;
    const NodeId parent = tree_.Parent(node);
    for (NodeId gone : tree_.Subtree(node)) paths_.erase(gone);
    tree_.Remove(node);
    if (tree_.Children(parent).empty()) AddPlaceholder(parent);
    changed_ = true;
}

std::string FavoritesTree::EditedTitle(NodeId node, std::string_view text) const {
    if (text.empty() || text == "-" || markers_.IsSeparator(text) || markers_.IsPlaceholder(text)) {
        return tree_.Title(node);
    }
    return FirstChars(text, IsRoot(node) ? kMaxRootTitleChars : kMaxTitleChars);
}

void FavoritesTree::Rename(NodeId node, std::string_view text) {
    const std::string title = EditedTitle(node, text);
    if (title == tree_.Title(node)) return;
    tree_.SetTitle(node, title);
    changed_ = true;
}

void FavoritesTree::SetPath(NodeId node, std::string_view path) {
    const std::string fitted(FitBytes(path, kMaxPathBytes));
    if (fitted == Path(node)) return;
    paths_[node] = fitted;
    changed_ = true;
}

bool FavoritesTree::CanDrag(NodeId node) const {
    return tree_.Exists(node) && !IsRoot(node) && !IsPlaceholder(node);
}

int FavoritesTree::SubtreeHeight(NodeId node) const {
    const int base = tree_.Depth(node);
    int height = 0;
    for (NodeId below : tree_.Subtree(node)) height = std::max(height, tree_.Depth(below) - base);
    return height;
}

FavoritesTree::DropPlace FavoritesTree::DropPlaceFor(NodeId dragged, NodeId target) const {
    if (!CanDrag(dragged) || !tree_.Exists(target) || IsPlaceholder(target)) {
        return DropPlace::kRefused;
    }
    if (target == dragged) return DropPlace::kOnItself;
    if (tree_.IsInSubtree(target, dragged)) return DropPlace::kRefused;
    const bool into = !tree_.Children(target).empty();
    // The deepest entry moved must stay within the levels the file can hold.
    const int new_depth = tree_.Depth(target) + (into ? 1 : 0);
    if (new_depth + SubtreeHeight(dragged) > kMaxLevel + 1) return DropPlace::kRefused;
    // A folder left empty gets a placeholder: one record more, unless the target loses one.
    const bool fills_old_parent = tree_.Children(tree_.Parent(dragged)).size() == 1;
    const bool empties_target = into && IsPlaceholder(tree_.Children(target).front());
    if (fills_old_parent && !empties_target && RecordCount() >= static_cast<int>(kMaxRecords)) {
        return DropPlace::kRefused;
    }
    return into ? DropPlace::kInto : DropPlace::kBefore;
}

NodeId FavoritesTree::Drop(NodeId dragged, NodeId target) {
    const DropPlace place = DropPlaceFor(dragged, target);
    if (place == DropPlace::kRefused || place == DropPlace::kOnItself) return kNoNode;
    const NodeId old_parent = tree_.Parent(dragged);
    if (place == DropPlace::kInto) {
        const NodeId first = tree_.Children(target).front();
        if (IsPlaceholder(first)) {
            paths_.erase(first);
            tree_.Remove(first);
        }
        tree_.Move(dragged, target, static_cast<int>(tree_.Children(target).size()));
    } else {
        tree_.Move(dragged, tree_.Parent(target), tree_.Row(target));
    }
    changed_ = true;
    if (!tree_.Children(old_parent).empty()) return kNoNode;
    AddPlaceholder(old_parent);
    return old_parent;
}

}  // namespace quillora::favorites
