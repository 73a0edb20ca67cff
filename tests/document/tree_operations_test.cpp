#include "document/tree_operations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace quillora {
namespace {

// One row of a tree description: its depth, 'F' for a folder or 'N' for a note, its title.
struct Row {
    int depth;
    char kind;
    std::string title;
};

// Builds the tree in display order, each node with its own slot and a text naming it.
class TreeOpsTest : public ::testing::Test {
protected:
    void Build(const std::vector<Row>& rows) {
        std::vector<NodeId> last_at_depth;
        for (const Row& row : rows) {
            const int slot = *doc.texts.AllocateTextSlot();
            doc.texts.SetText(slot, "text of " + row.title);
            const int32_t kind = row.kind == 'N' ? kNote : kFolder;
            const NodeId parent = row.depth == 0 ? kNoNode : last_at_depth[row.depth - 1];
            const NodeId id = doc.tree.Append(parent, row.title, NodeData{kind, slot},
                                              doc.images.ImageFor(kind, false));
            last_at_depth.resize(row.depth + 1);
            last_at_depth[row.depth] = id;
            ids[row.title] = id;
        }
    }

    NodeId Id(const std::string& title) const {
        if (title.empty()) return kNoNode;
        return ids.at(title);
    }

    // "A(a1,a2),B": titles with their children in brackets.
    std::string Shape(NodeId parent = kNoNode) const {
        std::string out;
        for (NodeId child : doc.tree.Children(parent)) {
            if (!out.empty()) out += ",";
            out += doc.tree.Title(child);
            if (!doc.tree.Children(child).empty()) out += "(" + Shape(child) + ")";
        }
        return out;
    }

    // Every node's slot is occupied by its own text and no slot is occupied without a node.
    void ExpectStoreMatchesTree() const {
        int nodes = 0;
        doc.tree.ForEachInDisplayOrder([&](NodeId node, int) {
            ++nodes;
            const int slot = doc.tree.Data(node).TextIndex;
            ASSERT_TRUE(doc.texts.IsOccupied(slot)) << doc.tree.Title(node);
        });
        EXPECT_EQ(doc.texts.OccupiedCount(), nodes);
    }

    NotesDocument doc;
    std::map<std::string, NodeId> ids;
};

const std::vector<Row> kSample = {
    {0, 'F', "F1"}, {1, 'N', "N1"}, {1, 'F', "F2"}, {2, 'N', "N2"},
    {2, 'N', "N3"}, {0, 'N', "N4"}, {0, 'F', "F3"},
};

// ---------------------------------------------------------------------------------------------
// New note and new folder

struct InsertCase {
    const char* name;
    std::vector<Row> tree;
    const char* selected;
    bool in_folder;
    const char* expected;
};

TEST_F(TreeOpsTest, NewNodeGoesWhereTheSelectionSays) {
    const std::vector<InsertCase> cases = {
        {"empty tree", {}, "", false, "New"},
        {"nothing selected appends at top", kSample, "", false, "F1(N1,F2(N2,N3)),N4,F3,New"},
        {"before a top-level note", kSample, "N4", false, "F1(N1,F2(N2,N3)),New,N4,F3"},
        {"before a note inside a folder", kSample, "N3", false, "F1(N1,F2(N2,New,N3)),N4,F3"},
        {"before a folder", kSample, "F2", false, "F1(N1,New,F2(N2,N3)),N4,F3"},
        {"in folder: last child", kSample, "F2", true, "F1(N1,F2(N2,N3,New)),N4,F3"},
        {"in an empty folder", kSample, "F3", true, "F1(N1,F2(N2,N3)),N4,F3(New)"},
        {"in folder with a note selected acts as plain", kSample, "N1", true,
         "F1(New,N1,F2(N2,N3)),N4,F3"},
        {"in folder with nothing selected", kSample, "", true, "F1(N1,F2(N2,N3)),N4,F3,New"},
    };
    for (const InsertCase& c : cases) {
        SCOPED_TRACE(c.name);
        doc.Close();
        ids.clear();
        Build(c.tree);
        const NewNodeResult r = CreateNode(doc, kNote, Id(c.selected), c.in_folder, "New");
        ASSERT_FALSE(r.full);
        EXPECT_EQ(Shape(), c.expected);
        EXPECT_EQ(doc.tree.Title(r.node), "New");
        EXPECT_TRUE(r.marked_modified);
        EXPECT_TRUE(doc.modified);
        ExpectStoreMatchesTree();
    }
}

TEST_F(TreeOpsTest, NewNodeHasKindImageAndEmptyText) {
    Build(kSample);
    const NewNodeResult note = CreateNode(doc, kNote, kNoNode, false, "New Note");
    const NewNodeResult folder = CreateNode(doc, kFolder, kNoNode, false, "New Folder");
    EXPECT_EQ(doc.tree.Data(note.node).Kind, kNote);
    EXPECT_EQ(doc.tree.Image(note.node), doc.images.note);
    EXPECT_EQ(doc.tree.Data(folder.node).Kind, kFolder);
    EXPECT_EQ(doc.tree.Image(folder.node), doc.images.folder);
    EXPECT_EQ(doc.tree.Data(note.node).TextIndex, note.slot);
    EXPECT_EQ(note.slot, 7);  // the lowest empty slot
    EXPECT_EQ(folder.slot, 8);
    EXPECT_EQ(doc.TextOf(note.node), "");
    // The selection change that follows stores the old pane text, so the shown slot is untouched.
    EXPECT_EQ(doc.current_text_index, -1);
}

TEST_F(TreeOpsTest, NewNodeInCollapsedFolderOpensEveryFolderAboveIt) {
    doc.images = NodeImages{6, 7, 8};
    Build(kSample);
    const NewNodeResult r = CreateNode(doc, kNote, Id("F2"), true, "New");
    EXPECT_EQ(r.opened, (std::vector<NodeId>{Id("F1"), Id("F2")}));
    EXPECT_EQ(doc.tree.Image(Id("F1")), 7);
    EXPECT_EQ(doc.tree.Image(Id("F2")), 7);
    EXPECT_EQ(doc.tree.Image(Id("F3")), 6);

    const NewNodeResult top = CreateNode(doc, kFolder, Id("N4"), false, "Top");
    EXPECT_TRUE(top.opened.empty());
}

TEST_F(TreeOpsTest, FullStoreRefusesNewNodesUntilOneIsDeleted) {
    std::vector<Row> rows;
    for (int i = 0; i < TextStore::kCapacity; ++i) {
        rows.push_back({i % 3 == 0 ? 0 : 1, i % 3 == 0 ? 'F' : 'N', "n" + std::to_string(i)});
    }
    Build(rows);
    ASSERT_EQ(doc.tree.Count(), 4000);

    for (bool in_folder : {false, true}) {
        const NewNodeResult r = CreateNode(doc, kFolder, Id("n0"), in_folder, "New");
        EXPECT_TRUE(r.full);
        EXPECT_EQ(r.node, kNoNode);
        EXPECT_FALSE(r.marked_modified);
    }
    EXPECT_FALSE(doc.modified);
    EXPECT_EQ(doc.tree.Count(), 4000);

    // Any deleted node's slot is exactly the one the next new node takes.
    for (const char* victim : {"n2", "n1234", "n3998", "n3999"}) {
        SCOPED_TRACE(victim);
        const int freed = doc.tree.Data(Id(victim)).TextIndex;
        ASSERT_TRUE(DeleteNode(doc, Id(victim)).deleted);
        ids.erase(victim);
        const NewNodeResult r = CreateNode(doc, kNote, kNoNode, false, victim);
        ASSERT_FALSE(r.full);
        EXPECT_EQ(r.slot, freed);
        ids[victim] = r.node;
        EXPECT_TRUE(CreateNode(doc, kNote, kNoNode, false, "x").full);
    }
    ExpectStoreMatchesTree();
}

// ---------------------------------------------------------------------------------------------
// Delete

TEST_F(TreeOpsTest, DeleteQuestionFollowsKindAndChildren) {
    Build({{0, 'N', "note"},
           {0, 'F', "empty"},
           {0, 'F', "full"},
           {1, 'N', "child"},
           {0, 'N', "parent note"},
           {1, 'N', "under note"}});
    EXPECT_EQ(DeleteQuestionFor(doc.tree, Id("note")), DeleteQuestion::kNote);
    EXPECT_EQ(DeleteQuestionFor(doc.tree, Id("empty")), DeleteQuestion::kEmptyFolder);
    EXPECT_EQ(DeleteQuestionFor(doc.tree, Id("full")), DeleteQuestion::kNodeWithChildren);
    EXPECT_EQ(DeleteQuestionFor(doc.tree, Id("parent note")), DeleteQuestion::kNodeWithChildren);
    EXPECT_EQ(static_cast<int>(DeleteQuestion::kNodeWithChildren), 7766);
}

TEST_F(TreeOpsTest, DeleteFolderRemovesSubtreeAndFreesEverySlot) {
    Build(
        {{0, 'N', "A"}, {0, 'F', "F"}, {1, 'N', "x"}, {1, 'F', "G"}, {2, 'N', "y"}, {0, 'N', "B"}});
    const DeleteResult r = DeleteNode(doc, Id("F"));
    EXPECT_TRUE(r.deleted);
    EXPECT_EQ(r.released_slots, 4);
    EXPECT_EQ(Shape(), "A,B");
    EXPECT_EQ(doc.texts.OccupiedCount(), 2);
    EXPECT_EQ(doc.TextOf(Id("B")), "text of B\r\n");
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(r.new_selection, Id("B"));
    // The freed slots are the lowest empty ones now: 1, 2, 3, 4.
    for (int expected : {1, 2, 3, 4, 6}) {
        EXPECT_EQ(CreateNode(doc, kNote, kNoNode, false, "n").slot, expected);
    }
}

TEST_F(TreeOpsTest, DeleteOfNoteWithChildrenFreesTheirSlotsToo) {
    Build({{0, 'N', "parent"}, {1, 'N', "c1"}, {2, 'F', "c2"}, {0, 'N', "other"}});
    const DeleteResult r = DeleteNode(doc, Id("parent"));
    EXPECT_EQ(r.released_slots, 3);
    EXPECT_EQ(Shape(), "other");
    ExpectStoreMatchesTree();
}

TEST_F(TreeOpsTest, SelectionAfterDeleteIsNextSiblingElseParentElsePrevious) {
    struct Case {
        const char* victim;
        const char* selected;
    };
    const std::vector<Case> cases = {
        {"N1", "F2"},  // next sibling
        {"N3", "F2"},  // last child: its parent
        {"F3", "N4"},  // last top-level node: the previous one
        {"F1", "N4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.victim);
        doc.Close();
        ids.clear();
        Build(kSample);
        EXPECT_EQ(DeleteNode(doc, Id(c.victim)).new_selection, Id(c.selected));
    }
}

TEST_F(TreeOpsTest, DeleteOfOnlyNodeEmptiesTheDocument) {
    Build({{0, 'N', "only"}});
    const DeleteResult r = DeleteNode(doc, Id("only"));
    EXPECT_TRUE(r.tree_empty);
    EXPECT_EQ(r.new_selection, kNoNode);
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(doc.texts.OccupiedCount(), 0);
    EXPECT_FALSE(DeleteNode(doc, Id("only")).deleted);  // a stale id changes nothing
}

TEST_F(TreeOpsTest, DeleteOfLastChildShowsTheFolderClosed) {
    Build(kSample);
    doc.tree.SetImage(Id("F2"), doc.images.opened_folder);
    DeleteNode(doc, Id("N2"));
    EXPECT_EQ(doc.tree.Image(Id("F2")), doc.images.opened_folder);  // still has N3
    const DeleteResult r = DeleteNode(doc, Id("N3"));
    EXPECT_EQ(r.emptied_parent, Id("F2"));
    EXPECT_EQ(doc.tree.Image(Id("F2")), doc.images.folder);
}

// ---------------------------------------------------------------------------------------------
// Titles

TEST_F(TreeOpsTest, RenameCutsTo99AndAlwaysMarksModified) {
    Build({{0, 'N', "old"}});
    struct Case {
        size_t typed;
        size_t stored;
    };
    for (const Case c : {Case{120, 99}, Case{100, 99}, Case{99, 99}, Case{0, 0}}) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(RenameNode(doc, Id("old"), std::string(c.typed, 'x')).size(), c.stored);
        EXPECT_EQ(doc.tree.Title(Id("old")).size(), c.stored);
    }
    doc.modified = false;
    RenameNode(doc, Id("old"), "");  // unchanged
    EXPECT_TRUE(doc.modified);
}

TEST(ClockTitles, DateAndTimeTexts) {
    const DateTimeSeparators slash;
    const DateTimeSeparators dots{".", "."};
    struct Case {
        DateTime moment;
        const char* date;
        const char* time;
        const char* date_dots;
        const char* time_dots;
    };
    const std::vector<Case> cases = {
        {{2026, 3, 6, 21, 5, 0}, "03/06/2026", "9:05PM", "03.06.2026", "9.05PM"},
        {{2026, 12, 31, 0, 0, 0}, "12/31/2026", "12:00AM", "12.31.2026", "12.00AM"},
        {{999, 1, 2, 12, 30, 59}, "01/02/0999", "12:30PM", "01.02.0999", "12.30PM"},
        {{2026, 3, 6, 9, 5, 0}, "03/06/2026", "9:05AM", "03.06.2026", "9.05AM"},
        {{2026, 3, 6, 11, 59, 0}, "03/06/2026", "11:59AM", "03.06.2026", "11.59AM"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.date);
        EXPECT_EQ(FormatShortDate(c.moment, slash), c.date);
        EXPECT_EQ(FormatShortTime(c.moment, slash), c.time);
        EXPECT_EQ(FormatShortDate(c.moment, dots), c.date_dots);
        EXPECT_EQ(FormatShortTime(c.moment, dots), c.time_dots);
    }
}

TEST_F(TreeOpsTest, ClockTitlesSetTheTitleOnAFixedDate) {
    Build({{0, 'N', "a"}, {0, 'F', "b"}});
    const FixedClock clock({2026, 3, 6, 21, 5, 0});
    EXPECT_EQ(SetTitleFromClock(doc, Id("a"), ClockTitle::kDate, clock, {}), "03/06/2026");
    EXPECT_TRUE(doc.modified);
    SetTitleFromClock(doc, Id("b"), ClockTitle::kTime, clock, {"-", ":"});
    EXPECT_EQ(Shape(), "03/06/2026,9:05PM");
}

// ---------------------------------------------------------------------------------------------
// Move Up and Move Down

TEST_F(TreeOpsTest, MovesSwapTopLevelNeighbours) {
    struct Case {
        const char* name;
        bool up;
        const char* node;
        bool moved;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"up", true, "B", true, "B,A,C(c1,c2)"},
        {"up the folder", true, "C", true, "A,C(c1,c2),B"},
        {"up the first", true, "A", false, "A,B,C(c1,c2)"},
        {"down the first", false, "A", true, "B,A,C(c1,c2)"},
        {"down the last", false, "C", false, "A,B,C(c1,c2)"},
        {"a child cannot move up", true, "c2", false, "A,B,C(c1,c2)"},
        {"a child cannot move down", false, "c1", false, "A,B,C(c1,c2)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        doc.Close();
        ids.clear();
        Build({{0, 'N', "A"}, {0, 'N', "B"}, {0, 'F', "C"}, {1, 'N', "c1"}, {1, 'N', "c2"}});
        EXPECT_EQ(c.up ? MoveUp(doc, Id(c.node)) : MoveDown(doc, Id(c.node)), c.moved);
        EXPECT_EQ(Shape(), c.expected);
        EXPECT_EQ(doc.modified, c.moved);
    }
}

TEST_F(TreeOpsTest, MoveDownOfFolderKeepsItsSubtreeAndIds) {
    Build({{0, 'F', "folder"}, {1, 'N', "inner"}, {2, 'N', "deep"}, {0, 'N', "note"}});
    const int slot = doc.tree.Data(Id("folder")).TextIndex;
    EXPECT_TRUE(MoveDown(doc, Id("folder")));
    EXPECT_EQ(Shape(), "note,folder(inner(deep))");
    EXPECT_EQ(doc.tree.Data(Id("folder")).TextIndex, slot);
    EXPECT_EQ(doc.TextOf(Id("deep")), "text of deep\r\n");
}

TEST_F(TreeOpsTest, MoveItemsAreOfferedForEveryTopLevelNodeOnly) {
    Build(kSample);
    for (const char* top : {"F1", "N4", "F3"}) {
        EXPECT_TRUE(CanMoveUp(doc.tree, Id(top))) << top;
        EXPECT_TRUE(CanMoveDown(doc.tree, Id(top))) << top;
    }
    for (const char* child : {"N1", "F2", "N3"}) {
        EXPECT_FALSE(CanMoveUp(doc.tree, Id(child))) << child;
        EXPECT_FALSE(CanMoveDown(doc.tree, Id(child))) << child;
    }
    EXPECT_FALSE(CanMoveUp(doc.tree, kNoNode));
}

// ---------------------------------------------------------------------------------------------
// Drag and drop

// A folder whose subtree reaches the last node of the whole tree.
const std::vector<Row> kDropTree = {
    {0, 'F', "F1"}, {1, 'N', "N1"}, {1, 'F', "F2"}, {2, 'N', "N2"}, {2, 'N', "N3"}, {0, 'N', "N4"},
    {0, 'F', "F3"}, {0, 'N', "N0"}, {0, 'F', "F"},  {1, 'F', "G"},  {2, 'N', "L"},
};

TEST_F(TreeOpsTest, DropAcceptance) {
    Build(kDropTree);
    struct Case {
        const char* dragged;
        const char* target;
        DropAction action;
        const char* parent;  // the new parent for into/before
        int row;
    };
    const std::vector<Case> cases = {
        {"F1", "N2", DropAction::kRefuse, "", 0},  // into its own subtree
        {"F1", "F2", DropAction::kRefuse, "", 0},  // onto a folder in its own subtree
        {"F1", "N1", DropAction::kRefuse, "", 0},  // first node below it
        {"F", "L", DropAction::kRefuse, "", 0},    // last node of the whole tree
        {"G", "L", DropAction::kRefuse, "", 0},
        {"F1", "F1", DropAction::kNothing, "", 0},  // onto itself
        {"L", "L", DropAction::kNothing, "G", 0},
        {"F1", "N4", DropAction::kBefore, "", 1},
        {"F1", "F3", DropAction::kIntoFolder, "F3", 0},
        {"N4", "F1", DropAction::kIntoFolder, "F1", 2},
        {"N2", "N4", DropAction::kBefore, "", 1},
        {"N3", "F1", DropAction::kIntoFolder, "F1", 2},  // into its grandparent
        {"G", "F", DropAction::kIntoFolder, "F", 1},     // into its own parent
        {"N2", "N3", DropAction::kBefore, "F2", 1},      // before its next sibling
        {"L", "N0", DropAction::kBefore, "", 3},         // the last node dragged out
        {"L", "F1", DropAction::kIntoFolder, "F1", 2},
        {"N4", "N1", DropAction::kBefore, "F1", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.dragged) + " onto " + c.target);
        const DropDecision d = DecideDrop(doc.tree, doc.images, Id(c.dragged), Id(c.target));
        EXPECT_EQ(d.action, c.action);
        EXPECT_EQ(d.Accepted(), c.action != DropAction::kRefuse);
        if (c.action == DropAction::kBefore || c.action == DropAction::kIntoFolder) {
            EXPECT_EQ(d.parent, Id(c.parent));
            EXPECT_EQ(d.row, c.row);
        }
    }
    EXPECT_FALSE(DecideDrop(doc.tree, doc.images, Id("N1"), kNoNode).Accepted());
    EXPECT_FALSE(DecideDrop(doc.tree, doc.images, kNoNode, Id("N1")).Accepted());
}

TEST_F(TreeOpsTest, DropIntoOrBeforeIsDecidedByTheTargetsImage) {
    Build({{0, 'N', "drag"}, {0, 'N', "note"}, {0, 'F', "folder"}, {0, 'F', "open"}});
    doc.tree.SetImage(Id("open"), doc.images.opened_folder);
    doc.tree.SetImage(Id("note"), doc.images.folder);  // a note showing the folder picture
    doc.tree.SetImage(Id("folder"), 14);               // a folder showing another picture
    EXPECT_EQ(DecideDrop(doc.tree, doc.images, Id("drag"), Id("note")).action,
              DropAction::kIntoFolder);
    EXPECT_EQ(DecideDrop(doc.tree, doc.images, Id("drag"), Id("folder")).action,
              DropAction::kBefore);
    EXPECT_EQ(DecideDrop(doc.tree, doc.images, Id("drag"), Id("open")).action,
              DropAction::kIntoFolder);
}

TEST_F(TreeOpsTest, ApplyDropMovesAndMarks) {
    struct Case {
        const char* dragged;
        const char* target;
        bool moved;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"N4", "F1", true, "F1(N1,F2(N2,N3),N4),F3,N0,F(G(L))"},
        {"N4", "N1", true, "F1(N4,N1,F2(N2,N3)),F3,N0,F(G(L))"},
        {"F1", "F3", true, "N4,F3(F1(N1,F2(N2,N3))),N0,F(G(L))"},
        {"L", "N4", true, "F1(N1,F2(N2,N3)),L,N4,F3,N0,F(G)"},
        {"N2", "N3", true, "F1(N1,F2(N2,N3)),N4,F3,N0,F(G(L))"},
        {"F1", "N2", false, "F1(N1,F2(N2,N3)),N4,F3,N0,F(G(L))"},
        {"F", "L", false, "F1(N1,F2(N2,N3)),N4,F3,N0,F(G(L))"},
        {"N4", "N4", false, "F1(N1,F2(N2,N3)),N4,F3,N0,F(G(L))"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.dragged) + " onto " + c.target);
        doc.Close();
        ids.clear();
        Build(kDropTree);
        const DropResult r = ApplyDrop(doc, Id(c.dragged), Id(c.target));
        EXPECT_EQ(r.moved, c.moved);
        EXPECT_EQ(doc.modified, c.moved);
        EXPECT_EQ(Shape(), c.expected);
        ExpectStoreMatchesTree();
    }
}

TEST_F(TreeOpsTest, DropOpensTargetAndClosesTheEmptiedFolder) {
    Build(kDropTree);
    doc.tree.SetImage(Id("G"), doc.images.opened_folder);
    const DropResult r = ApplyDrop(doc, Id("L"), Id("F3"));
    EXPECT_EQ(r.opened, Id("F3"));
    EXPECT_EQ(doc.tree.Image(Id("F3")), doc.images.opened_folder);
    EXPECT_EQ(r.emptied_parent, Id("G"));
    EXPECT_EQ(doc.tree.Image(Id("G")), doc.images.folder);

    const DropResult before = ApplyDrop(doc, Id("N1"), Id("N4"));
    EXPECT_EQ(before.opened, kNoNode);
    EXPECT_EQ(before.emptied_parent, kNoNode);  // F1 still holds F2
}

// ---------------------------------------------------------------------------------------------
// Title comparisons and sorting

TEST(TitleComparison, WordSortAndIgnoreCase) {
    struct Case {
        const char* a;
        const char* b;
        int word;    // sign of CompareTitlesWordSort(a, b)
        int nocase;  // sign of CompareTitlesIgnoreCase(a, b)
    };
    const std::vector<Case> cases = {
        {"aaa", "AAA", -1, 0},   // lower case first; equal without case
        {"abc", "ABD", -1, -1},  // letters first, case only breaks ties
        {"Zebra", "apple", 1, 1},
        {"B", "a", 1, 1},
        {"-o", "/m", 1, 1},  // hyphen ignored at first
        {"a-", "a", 1, 1},   // and then breaks the tie
        {"co-op", "coop", 1, 1},
        {"it's", "its", 1, 1},
        {"a-c", "ab", 1, 1},
        {"!", "1", -1, -1},  // punctuation < digits < letters
        {"~", "0", -1, -1},
        {"9", "A", -1, -1},
        {" x", "x", -1, -1},
        {"e", "\xE9", -1, -1},  // e < é < f
        {"\xE9", "f", -1, -1},
        {"\xE9"
         "a",
         "eb", -1, -1},          // the accent counts after the letters
        {"\xC9", "\xE9", 1, 0},  // É and é differ only in case
        {"\xC4pfel", "Birne", -1, -1},
        {"\xE6", "af", -1, -1},  // æ sorts as ae
        {"\xE6", "ad", 1, 1},
        {"\xDF", "st", -1, -1},  // ß sorts as ss
        {"\x9A", "t", -1, -1},   // š next to s
        {"\xFE", "z", 1, 1},
        {"\xB2", "3", -1, -1},  // superscript two with the digits
        {"", "a", -1, -1},
        {"same", "same", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
        const auto sign = [](int v) { return (v > 0) - (v < 0); };
        EXPECT_EQ(sign(CompareTitlesWordSort(c.a, c.b)), c.word);
        EXPECT_EQ(sign(CompareTitlesWordSort(c.b, c.a)), -c.word);
        EXPECT_EQ(sign(CompareTitlesIgnoreCase(c.a, c.b)), c.nocase);
        EXPECT_EQ(sign(CompareTitlesIgnoreCase(c.b, c.a)), -c.nocase);
    }
}

// Sorting needs a strict weak order; a comparison that is not one corrupts the sort.
TEST(TitleComparison, IsAConsistentOrderOverEveryByte) {
    std::vector<std::string> titles;
    for (int b = 1; b < 256; ++b) {
        titles.emplace_back(1, static_cast<char>(b));
        titles.push_back(std::string(1, static_cast<char>(b)) + "a");
        titles.push_back("a" + std::string(1, static_cast<char>(b)));
    }
    titles.insert(titles.end(), {"", "ae", "AE", "a-e", "ss", "SS", "s-s", "--", "''"});
    for (auto* compare : {&CompareTitlesWordSort, &CompareTitlesIgnoreCase}) {
        std::vector<std::string> sorted = titles;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [&](const auto& a, const auto& b) { return compare(a, b) < 0; });
        // Sorted means every later title compares greater or equal to every earlier one.
        for (size_t i = 0; i < sorted.size(); ++i) {
            for (size_t j = i + 1; j < sorted.size(); ++j) {
                ASSERT_LE(compare(sorted[i], sorted[j]), 0) << i << " " << j;
                ASSERT_GE(compare(sorted[j], sorted[i]), 0) << i << " " << j;
            }
        }
    }
    for (const auto& a : titles) {
        for (const auto& b : titles) {
            if (a != b) {
                ASSERT_NE(CompareTitlesWordSort(a, b), 0);
            }
        }
    }
}

TEST_F(TreeOpsTest, SortOrdersEveryFolderBelowCaseInsensitively) {
    Build({{0, 'N', "z"},
           {0, 'F', "top"},
           {1, 'N', "b"},
           {1, 'F', "A"},
           {2, 'N', "y"},
           {2, 'N', "X"},
           {1, 'N', "c"},
           {1, 'N', "note"},
           {2, 'N', "q"},
           {2, 'N', "p"},
           {0, 'N', "a"}});
    EXPECT_TRUE(SortFolder(doc, Id("top")));
    // Children of the note below are left as they were; top level is not touched.
    EXPECT_EQ(Shape(), "z,top(A(X,y),b,c,note(q,p)),a");
    EXPECT_TRUE(doc.modified);
    ExpectStoreMatchesTree();
}

TEST_F(TreeOpsTest, SortKeepsEqualTitlesInOrderAndAlwaysMarks) {
    Build({{0, 'F', "f"}, {1, 'N', "b"}, {1, 'N', "B"}, {1, 'N', "A"}});
    const NodeId lower_b = Id("b");
    EXPECT_TRUE(SortFolder(doc, Id("f")));
    EXPECT_EQ(Shape(), "f(A,b,B)");
    EXPECT_EQ(doc.tree.Children(Id("f"))[1], lower_b);
    doc.modified = false;
    EXPECT_TRUE(SortFolder(doc, Id("f")));  // already sorted
    EXPECT_TRUE(doc.modified);
}

TEST_F(TreeOpsTest, SortIsOnlyForFolders) {
    Build({{0, 'N', "n"}, {1, 'N', "b"}, {1, 'N', "a"}});
    EXPECT_FALSE(SortFolder(doc, Id("n")));
    EXPECT_FALSE(SortFolder(doc, kNoNode));
    EXPECT_EQ(Shape(), "n(b,a)");
    EXPECT_FALSE(doc.modified);
}

TEST_F(TreeOpsTest, SortAllOrdersWholeTreeCaseSensitively) {
    Build({{0, 'N', "b"},
           {0, 'N', "B"},
           {0, 'F', "a"},
           {1, 'N', "Yy"},
           {1, 'N', "yy"},
           {1, 'N', "x-"},
           {1, 'N', "x"},
           {0, 'N', "note"},
           {1, 'N', "2"},
           {1, 'N', "!"},
           {2, 'N', "k"},
           {2, 'N', "j"}});
    EXPECT_TRUE(SortAll(doc));
    EXPECT_EQ(Shape(), "a(x,x-,yy,Yy),b,B,note(!(j,k),2)");
    EXPECT_TRUE(doc.modified);
    ExpectStoreMatchesTree();
}

TEST_F(TreeOpsTest, SortAllOfEmptyTreeChangesNothing) {
    EXPECT_FALSE(SortAll(doc));
    EXPECT_FALSE(doc.modified);
}

// ---------------------------------------------------------------------------------------------
// Node images

TEST_F(TreeOpsTest, ImagesFollowExpandState) {
    doc.images = NodeImages{9, 10, 11};
    Build(
        {{0, 'F', "full"}, {1, 'N', "n"}, {0, 'F', "empty"}, {0, 'N', "note"}, {1, 'N', "under"}});
    struct Case {
        const char* node;
        bool expanded;
        int32_t image;
    };
    const std::vector<Case> cases = {
        {"full", true, 10},  {"full", false, 9}, {"empty", true, 9},
        {"empty", false, 9}, {"note", true, 11}, {"note", false, 11},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.node) + (c.expanded ? " expanded" : " collapsed"));
        EXPECT_EQ(ImageAfterExpandChange(doc.tree, doc.images, Id(c.node), c.expanded), c.image);
        ApplyExpandImage(doc, Id(c.node), c.expanded);
        EXPECT_EQ(doc.tree.Image(Id(c.node)), c.image);
    }
}

TEST_F(TreeOpsTest, ReapplyImagesAfterTheImagesChanged) {
    Build(kSample);
    doc.images = NodeImages{12, 13, 8};
    ReapplyImages(doc, [&](NodeId node) { return node == Id("F1") || node == Id("F3"); });
    EXPECT_EQ(doc.tree.Image(Id("F1")), 13);
    EXPECT_EQ(doc.tree.Image(Id("F2")), 12);
    EXPECT_EQ(doc.tree.Image(Id("F3")), 12);  // expanded but empty
    EXPECT_EQ(doc.tree.Image(Id("N2")), 8);
    ApplyOpenAllImages(doc);
    EXPECT_EQ(doc.tree.Image(Id("F2")), 13);
    ApplyCloseAllImages(doc);
    for (const char* folder : {"F1", "F2", "F3"}) EXPECT_EQ(doc.tree.Image(Id(folder)), 12);
    EXPECT_FALSE(doc.modified);
}

// ---------------------------------------------------------------------------------------------
// Menus and keys

TEST_F(TreeOpsTest, NotesMenuEnabling) {
    Build(kSample);
    struct Case {
        const char* selected;
        NotesMenuEnabling expected;
    };
    const std::vector<Case> cases = {
        // in folder, delete, rename, sort, sort all, move up, move down
        {"", {false, false, false, false, false, false, false}},
        {"N4", {false, true, true, false, true, true, true}},
        {"F1", {true, true, true, true, true, true, true}},
        {"N1", {false, true, true, false, true, false, false}},
        {"F2", {true, true, true, true, true, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selected);
        const NotesMenuEnabling e = ComputeNotesMenuEnabling(doc.tree, Id(c.selected));
        EXPECT_EQ(e.in_folder_items, c.expected.in_folder_items);
        EXPECT_EQ(e.delete_node, c.expected.delete_node);
        EXPECT_EQ(e.rename, c.expected.rename);
        EXPECT_EQ(e.sort, c.expected.sort);
        EXPECT_EQ(e.sort_all, c.expected.sort_all);
        EXPECT_EQ(e.move_up, c.expected.move_up);
        EXPECT_EQ(e.move_down, c.expected.move_down);
    }
}

TEST(TreeKeys, CommandForKey) {
    using K = TreeKey;
    using C = TreeKeyCommand;
    struct Case {
        TreeKey key;
        bool ctrl, shift, selection, editing;
        TreeKeyCommand command;
    };
    const std::vector<Case> cases = {
        {K::kInsert, false, false, false, false, C::kNewNote},
        {K::kInsert, false, false, true, false, C::kNewNote},
        {K::kInsert, true, false, true, false, C::kNewFolder},
        {K::kInsert, false, true, true, false, C::kNone},
        {K::kInsert, true, true, true, false, C::kNone},
        {K::kInsert, false, false, true, true, C::kNone},  // editing a title
        {K::kDelete, false, false, true, false, C::kDelete},
        {K::kDelete, true, true, true, false, C::kDelete},
        {K::kDelete, false, false, false, false, C::kNone},
        {K::kD, true, true, true, false, C::kDateTitle},
        {K::kD, true, false, true, false, C::kNone},
        {K::kD, true, true, false, false, C::kNone},
        {K::kT, true, true, true, false, C::kTimeTitle},
        {K::kT, false, true, true, false, C::kNone},
        {K::kT, true, true, true, true, C::kNone},
        {K::kOther, true, true, true, false, C::kNone},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(CommandForTreeKey(c.key, c.ctrl, c.shift, c.selection, c.editing), c.command)
            << "case " << i;
    }
}

}  // namespace
}  // namespace quillora
