#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "document/note_tree.h"
#include "favorites/favorites_file.h"

namespace quillora::favorites {

// The image of each kind of entry; the kind of a node read from the file follows from its title
// and its children, and the image is chosen from it.
enum EntryImage : int32_t {
    kFolderImage = 0,  // also the root
    kFavoriteImage = 1,
    kSeparatorImage = 2,
    kPlaceholderImage = 3,
};

inline constexpr std::size_t kMaxTitleChars = 63;
inline constexpr std::size_t kMaxRootTitleChars = 30;

// The favorites as the editor arranges them: one root node (the favorites root, the only
// top-level node of the tree) above favourites, folders, separators and placeholders. A folder
// always has children: one placeholder when it holds no entries. Every change goes through this
// class, which keeps those rules, the depth and size limits and the favourites' paths.
class FavoritesTree {
public:
    // The default tree: the root titled `root_title` with one placeholder.
    FavoritesTree(Markers markers, std::string_view root_title);

    NoteTree& Tree() { return tree_; }
    const NoteTree& Tree() const { return tree_; }
    const Markers& MarkerTexts() const { return markers_; }
    NodeId Root() const { return tree_.FirstTopLevel(); }

    // Replaces the tree by the file's content.
    void Load(std::string_view root_title, const std::vector<FavoriteRecord>& records);
    std::string RootTitle() const { return tree_.Title(Root()); }
    std::vector<FavoriteRecord> Records() const;
    // Whether anything changed since the tree was made or loaded.
    bool Changed() const { return changed_; }

    bool IsRoot(NodeId node) const { return node == Root(); }
    bool IsPlaceholder(NodeId node) const;
    bool IsSeparator(NodeId node) const;
    bool IsFavorite(NodeId node) const;
    const std::string& Path(NodeId node) const;
    // How many favourites the tree holds (folders, separators and placeholders not counted).
    int FileCount() const;

    // New entries go by the selected node S: into the root or an open folder S (in place of its
    // placeholder when it has one, else at its end), in place of a placeholder S, or else at the
    // end of S's siblings. Each returns the new node, or kNoNode when the tree is full.
    NodeId NewFavorite(NodeId selected, bool selected_open, const std::string& path);
    NodeId NewSeparator(NodeId selected, bool selected_open);
    // Also gives the folder its placeholder. Refused (kNoNode) at depth kMaxLevel or deeper.
    NodeId NewFolder(NodeId selected, bool selected_open, std::string_view title);
    bool FolderAllowedAt(NodeId selected) const;

    bool CanDelete(NodeId node) const;
    // Removes the node and all below it; a parent left empty gets a placeholder.
    void Delete(NodeId node);

    // The title a typed `text` gives `node`: a marker text or "-" keeps the old title, an empty
    // text too; titles are cut to 63 characters, the root's to 30.
    std::string EditedTitle(NodeId node, std::string_view text) const;
    void Rename(NodeId node, std::string_view text);
    void SetPath(NodeId node, std::string_view path);

    enum class DropPlace { kRefused, kOnItself, kInto, kBefore };
    bool CanDrag(NodeId node) const;
    DropPlace DropPlaceFor(NodeId dragged, NodeId target) const;
    // Moves `dragged` into `target` (at its end, in place of its placeholder) or before it.
    // Returns the old parent when it was given a placeholder, else kNoNode.
    NodeId Drop(NodeId dragged, NodeId target);

private:
    NodeId Place(NodeId selected, bool selected_open, std::string_view title, int32_t image);
    NodeId AddPlaceholder(NodeId parent);
    int RecordCount() const { return tree_.Count() - 1; }
    int SubtreeHeight(NodeId node) const;

    NoteTree tree_;
    Markers markers_;
    std::unordered_map<NodeId, std::string> paths_;
    bool changed_ = false;
};

}  // namespace quillora::favorites
