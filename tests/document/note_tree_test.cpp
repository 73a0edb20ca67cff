#include "document/note_tree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/notes_document.h"

namespace quillora {
namespace {

std::vector<std::string> TitlesInOrder(const NoteTree& tree) {
    std::vector<std::string> out;
    tree.ForEachInDisplayOrder([&](NodeId n, int depth) {
        out.push_back(std::string(static_cast<size_t>(depth), '.') + tree.Title(n));
    });
    return out;
}

NodeId Add(NoteTree& tree, NodeId parent, const std::string& title, int32_t kind = kNote) {
    return tree.Append(parent, title, NodeData{kind, 0}, 0);
}

TEST(NoteTree, DisplayOrderIsDepthFirstParentBeforeChildren) {
    NoteTree tree;
    const NodeId a = Add(tree, kNoNode, "A", kFolder);
    const NodeId b = Add(tree, a, "B", kFolder);
    Add(tree, b, "C");
    Add(tree, a, "D");
    Add(tree, kNoNode, "E");
    EXPECT_EQ(TitlesInOrder(tree), (std::vector<std::string>{"A", ".B", "..C", ".D", "E"}));
    EXPECT_EQ(tree.Count(), 5);
    EXPECT_EQ(tree.Depth(b), 1);
    std::vector<std::string> via_next;
    for (NodeId n = tree.FirstTopLevel(); n != kNoNode; n = tree.NextInDisplayOrder(n)) {
        via_next.push_back(tree.Title(n));
    }
    EXPECT_EQ(via_next, (std::vector<std::string>{"A", "B", "C", "D", "E"}));
}

TEST(NoteTree, TitlesAreCutTo99Characters) {
    NoteTree tree;
    const NodeId n = Add(tree, kNoNode, std::string(120, 'x'));
    EXPECT_EQ(tree.Title(n).size(), 99u);
    tree.SetTitle(n, std::string(99, 'y'));
    EXPECT_EQ(tree.Title(n), std::string(99, 'y'));
}

TEST(NoteTree, RemoveTakesTheSubtreeAndKeepsRowsConsistent) {
    NoteTree tree;
    const NodeId a = Add(tree, kNoNode, "A", kFolder);
    Add(tree, a, "A1");
    const NodeId b = Add(tree, kNoNode, "B");
    const NodeId c = Add(tree, kNoNode, "C");
    tree.Remove(a);
    EXPECT_EQ(tree.Count(), 2);
    EXPECT_EQ(tree.Row(b), 0);
    EXPECT_EQ(tree.Row(c), 1);
    EXPECT_FALSE(tree.Exists(a));
    EXPECT_EQ(TitlesInOrder(tree), (std::vector<std::string>{"B", "C"}));
}

TEST(NoteTree, MoveRefusesItsOwnSubtreeAndCountsRowsBeforeTakingOut) {
    NoteTree tree;
    const NodeId a = Add(tree, kNoNode, "A", kFolder);
    const NodeId a1 = Add(tree, a, "A1", kFolder);
    const NodeId b = Add(tree, kNoNode, "B");
    const NodeId c = Add(tree, kNoNode, "C");
    EXPECT_FALSE(tree.Move(a, a1, 0));
    EXPECT_FALSE(tree.Move(a, a, 0));
    // B before C's position counted with B still in place: B stays where it is.
    EXPECT_TRUE(tree.Move(b, kNoNode, 2));
    EXPECT_EQ(TitlesInOrder(tree), (std::vector<std::string>{"A", ".A1", "B", "C"}));
    // A to the end of the top level.
    EXPECT_TRUE(tree.Move(a, kNoNode, 3));
    EXPECT_EQ(TitlesInOrder(tree), (std::vector<std::string>{"B", "C", "A", ".A1"}));
    EXPECT_TRUE(tree.Move(c, a1, 0));
    EXPECT_EQ(TitlesInOrder(tree), (std::vector<std::string>{"B", "A", ".A1", "..C"}));
    EXPECT_EQ(tree.Parent(c), a1);
    EXPECT_EQ(tree.Row(a), 1);
}

TEST(NoteTree, SortIsStableAndLeavesOtherLevelsAlone) {
    NoteTree tree;
    const NodeId f = Add(tree, kNoNode, "F", kFolder);
    Add(tree, f, "b");
    Add(tree, f, "a");
    Add(tree, f, "B");
    Add(tree, kNoNode, "A");
    auto ci_less = [&](NodeId x, NodeId y) {
        return std::tolower(tree.Title(x)[0]) < std::tolower(tree.Title(y)[0]);
    };
    tree.SortChildren(f, ci_less);
    EXPECT_EQ(TitlesInOrder(tree), (std::vector<std::string>{"F", ".a", ".b", ".B", "A"}));
}

TEST(NoteTree, DeepNestingDoesNotOverflowTheStack) {
    NoteTree tree;
    NodeId parent = kNoNode;
    for (int i = 0; i < 4000; ++i) parent = Add(tree, parent, "n", kFolder);
    EXPECT_EQ(tree.DisplayOrder().size(), 4000u);
    EXPECT_EQ(tree.Depth(parent), 3999);
    tree.Remove(tree.FirstTopLevel());
    EXPECT_TRUE(tree.Empty());
}

TEST(NotesDocument, CloseReturnsToTheEmptyState) {
    NotesDocument doc;
    const int slot = *doc.texts.AllocateTextSlot();
    const NodeId n = doc.tree.Append(kNoNode, "N", NodeData{kNote, slot}, doc.images.note);
    doc.current_text_index = slot;
    doc.current_kind = kNote;
    doc.StoreCurrentText("typed");
    EXPECT_EQ(doc.TextOf(n), "typed\r\n");
    doc.modified = true;
    doc.current_file_name = "/tmp/x.qlb";
    doc.Close();
    EXPECT_TRUE(doc.tree.Empty());
    EXPECT_EQ(doc.texts.OccupiedCount(), 0);
    EXPECT_FALSE(doc.modified);
    EXPECT_TRUE(doc.IsUntitled());
    EXPECT_EQ(doc.current_text_index, -1);
    EXPECT_EQ(doc.current_kind, -1);
}

TEST(NodeImages, FoldersOpenAndCloseNotesDoNot) {
    NodeImages images{7, 8, 9};
    EXPECT_EQ(images.ImageFor(kFolder, false), 7);
    EXPECT_EQ(images.ImageFor(kFolder, true), 8);
    EXPECT_EQ(images.ImageFor(kNote, true), 9);
    EXPECT_EQ(images.ImageFor(42, false), 7);  // any kind but a note is a folder
}

}  // namespace
}  // namespace quillora
