#include "favorites/favorites_tree.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace quillora::favorites {
namespace {

// A tree from an outline: each line's leading spaces give its level; "=" marks a separator and
// "." a placeholder.
std::vector<FavoriteRecord> Outline(const std::vector<std::string>& lines) {
    std::vector<FavoriteRecord> records;
    for (const std::string& line : lines) {
        const std::size_t indent = line.find_first_not_of(' ');
        std::string title = line.substr(indent);
        if (title == "=") title = kSeparatorLiteral;
        if (title == ".") title = kPlaceholderLiteral;
        records.push_back({static_cast<int32_t>(indent), "/f/" + title, title});
    }
    return records;
}

// The tree as an outline again, titles only.
std::vector<std::string> Shape(const FavoritesTree& favorites) {
    std::vector<std::string> lines;
    for (const FavoriteRecord& r : favorites.Records()) {
        std::string title = r.title == kSeparatorLiteral     ? "="
                            : r.title == kPlaceholderLiteral ? "."
                                                             : r.title;
        lines.push_back(std::string(static_cast<std::size_t>(r.level), ' ') + title);
    }
    return lines;
}

NodeId Find(const FavoritesTree& favorites, std::string title) {
    if (title == "root") return favorites.Root();
    if (title == "=") title = kSeparatorLiteral;
    for (NodeId node : favorites.Tree().DisplayOrder()) {
        if (favorites.Tree().Title(node) == title) return node;
    }
    ADD_FAILURE() << "no node " << title;
    return kNoNode;
}

const std::vector<std::string> kStart = {"a", "Work", " b", " c", "Empty", " .", "="};

TEST(FavoritesTreeTest, NewEntriesGoWhereTheSelectionSays) {
    struct Case {
        const char* what;
        std::vector<std::string> start;
        std::string selected;
        bool open;
        std::vector<std::string> result;
    };
    const Case cases[] = {
        {"root of the default tree: the placeholder becomes it", {"."}, "root", false, {"n.qlb"}},
        {"root with entries: at its end",
         kStart,
         "root",
         false,
         {"a", "Work", " b", " c", "Empty", " .", "=", "n.qlb"}},
        {"favourite in a folder: at the folder's end",
         kStart,
         "b",
         false,
         {"a", "Work", " b", " c", " n.qlb", "Empty", " .", "="}},
        {"placeholder: replaced",
         kStart,
         "[Empty]",
         false,
         {"a", "Work", " b", " c", "Empty", " n.qlb", "="}},
        {"open empty folder: its placeholder",
         kStart,
         "Empty",
         true,
         {"a", "Work", " b", " c", "Empty", " n.qlb", "="}},
        {"closed folder: after its siblings",
         kStart,
         "Work",
         false,
         {"a", "Work", " b", " c", "Empty", " .", "=", "n.qlb"}},
        {"open folder: at its end",
         kStart,
         "Work",
         true,
         {"a", "Work", " b", " c", " n.qlb", "Empty", " .", "="}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FavoritesTree favorites({}, "Favorites");
        favorites.Load("Favorites", Outline(c.start));
        const NodeId node = favorites.NewFavorite(Find(favorites, c.selected), c.open, "/x/n.qlb");
        EXPECT_EQ(Shape(favorites), c.result);
        EXPECT_EQ(favorites.Path(node), "/x/n.qlb");
        EXPECT_TRUE(favorites.Changed());
    }
}

TEST(FavoritesTreeTest, DeleteFoldersAndCountsKeepTheirRules) {
    FavoritesTree favorites({}, "Favorites");
    favorites.Load("Favorites", Outline(kStart));
    EXPECT_FALSE(favorites.Changed());
    EXPECT_EQ(favorites.FileCount(), 3);  // a, b, c
    favorites.Delete(Find(favorites, "b"));
    favorites.Delete(Find(favorites, "c"));
    EXPECT_EQ(Shape(favorites), (std::vector<std::string>{"a", "Work", " .", "Empty", " .", "="}));
    EXPECT_FALSE(favorites.CanDelete(favorites.Root()));
    EXPECT_FALSE(favorites.CanDelete(Find(favorites, "[Empty]")));
    const NodeId folder = favorites.NewFolder(Find(favorites, "a"), false, "New Folder");
    EXPECT_EQ(Shape(favorites).back(), " .");
    EXPECT_EQ(favorites.Tree().Children(folder).size(), 1U);
    EXPECT_EQ(favorites.FileCount(), 1);
}

TEST(FavoritesTreeTest, FoldersAndDropsStayWithinTheDepthLimit) {
    // A chain of folders down to level 99, whose last holds one favourite.
    std::vector<FavoriteRecord> records;
    records.reserve(102);
    for (int level = 0; level < 99; ++level)
        records.push_back({level, "", "d" + std::to_string(level)});
    records.push_back({99, "/f/deep", "deep"});
    records.push_back({0, "", "Top"});
    records.push_back({1, "/f/x", "x"});
    FavoritesTree favorites({}, "Favorites");
    favorites.Load("Favorites", records);
    EXPECT_EQ(favorites.NewFolder(Find(favorites, "d98"), true, "F"), kNoNode);  // depth 99
    EXPECT_NE(favorites.NewFolder(Find(favorites, "d97"), true, "F"), kNoNode);  // depth 98
    using P = FavoritesTree::DropPlace;
    EXPECT_EQ(favorites.DropPlaceFor(Find(favorites, "x"), Find(favorites, "deep")), P::kBefore);
    EXPECT_EQ(favorites.DropPlaceFor(Find(favorites, "Top"), Find(favorites, "deep")), P::kRefused);
    EXPECT_EQ(favorites.DropPlaceFor(Find(favorites, "Top"), Find(favorites, "d98")), P::kRefused);
    EXPECT_EQ(favorites.DropPlaceFor(Find(favorites, "Top"), Find(favorites, "d97")), P::kInto);
}

TEST(FavoritesTreeTest, DropsFollowTheRules) {
    using P = FavoritesTree::DropPlace;
    struct Case {
        const char* what;
        std::string dragged;
        std::string target;
        P place;
        std::vector<std::string> result;  // empty: unchanged
    };
    const std::vector<std::string> start = {"a", "Work", " b", " Sub", "  c", "Empty", " .", "="};
    const Case cases[] = {
        {"onto a favourite: before it",
         "a",
         "b",
         P::kBefore,
         {"Work", " a", " b", " Sub", "  c", "Empty", " .", "="}},
        {"only child onto a favourite elsewhere: placeholder left",
         "c",
         "a",
         P::kBefore,
         {"c", "a", "Work", " b", " Sub", "  .", "Empty", " .", "="}},
        {"onto a folder with a placeholder: replaces it",
         "a",
         "Empty",
         P::kInto,
         {"Work", " b", " Sub", "  c", "Empty", " a", "="}},
        {"onto a folder: at its end",
         "=",
         "Work",
         P::kInto,
         {"a", "Work", " b", " Sub", "  c", " =", "Empty", " ."}},
        {"onto the root: at its end",
         "b",
         "root",
         P::kInto,
         {"a", "Work", " Sub", "  c", "Empty", " .", "=", "b"}},
        {"folder into its own descendant", "Work", "c", P::kRefused, {}},
        {"folder into its own subfolder", "Work", "Sub", P::kRefused, {}},
        {"onto itself", "Work", "Work", P::kOnItself, {}},
        {"onto a placeholder", "a", "[Empty]", P::kRefused, {}},
        {"a placeholder dragged", "[Empty]", "a", P::kRefused, {}},
        {"the root dragged", "root", "a", P::kRefused, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FavoritesTree favorites({}, "Favorites");
        favorites.Load("Favorites", Outline(start));
        const NodeId dragged = Find(favorites, c.dragged);
        const NodeId target = Find(favorites, c.target);
        EXPECT_EQ(favorites.DropPlaceFor(dragged, target), c.place);
        favorites.Drop(dragged, target);
        EXPECT_EQ(Shape(favorites), c.result.empty() ? start : c.result);
        EXPECT_EQ(favorites.Changed(), !c.result.empty());
    }
}

TEST(FavoritesTreeTest, TypedTitlesFollowTheMarkerAndLengthRules) {
    Markers markers{"[-- Trenner --]", "[Leer]"};
    FavoritesTree favorites(markers, "Favoriten");
    favorites.Load("Favoriten", Outline({"a"}));
    const NodeId a = Find(favorites, "a");
    const NodeId root = favorites.Root();
    struct Case {
        NodeId node;
        std::string typed;
        std::string title;
    };
    const Case cases[] = {
        {a, "-", "a"},
        {a, "[Empty]", "a"},
        {a, "[Leer]", "a"},
        {a, "[-- Separator --]", "a"},
        {a, "[-- Trenner --]", "a"},
        {a, "", "a"},
        {a, std::string(80, 'x'), std::string(63, 'x')},
        {root, std::string(40, 'r'), std::string(30, 'r')},
    };
    for (const Case& c : cases)
        EXPECT_EQ(favorites.EditedTitle(c.node, c.typed), c.title) << c.typed;
    const std::string umlauts = [] {
        std::string s;
        for (int i = 0; i < 70; ++i) s += "\xC3\xA4";
        return s;
    }();
    EXPECT_EQ(favorites.EditedTitle(a, umlauts), umlauts.substr(0, 126));
}

}  // namespace
}  // namespace quillora::favorites
