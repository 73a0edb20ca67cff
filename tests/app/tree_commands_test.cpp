#include "app/commands/tree_commands.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>

#include "document/notes_file.h"
#include "document/ui/my_tree_view.h"
#include "document/ui/note_pane.h"
#include "gui/note_tree_model.h"
#include "tests/support/ui_fixture.h"

namespace quillora::testing {
namespace {

class TreeCommandsTest : public UiTest {
protected:
    TMainForm& Start() {
        TMainForm& form = StartMainForm();
        return form;
    }

    NodeId Add(NodeId parent, const std::string& title, int32_t kind) {
        return AddNode(form_->Document(), parent, title, kind);
    }
    TMyTreeView* Tree() { return form_->Tree(); }
    NoteTreeModel* Model() { return form_->TreeModel(); }
    QModelIndex IndexOf(NodeId node) { return Model()->IndexOf(node); }
    QLineEdit* TitleEditor() {
        for (QLineEdit* editor : Tree()->viewport()->findChildren<QLineEdit*>()) {
            if (editor->isVisible()) return editor;
        }
        return nullptr;
    }
    // Ends the in-place edit with a key; the delegate commits after the editor has seen it.
    void EndEdit(Qt::Key key) {
        QLineEdit* editor = TitleEditor();
        ASSERT_NE(editor, nullptr);
        QTest::keyClick(editor, key);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(Tree(), static_cast<Qt::Key>(key), mods);
    }
    std::vector<std::string> Titles(NodeId parent) {
        std::vector<std::string> titles;
        for (NodeId n : form_->Document().tree.Children(parent)) {
            titles.push_back(form_->Document().tree.Title(n));
        }
        return titles;
    }
    // The payload a drag of `node` inside this tree carries.
    std::unique_ptr<QMimeData> Payload(NodeId node) {
        return std::unique_ptr<QMimeData>(Model()->mimeData({IndexOf(node)}));
    }
    bool Drop(NodeId dragged, NodeId target) {
        auto data = Payload(dragged);
        return Model()->dropMimeData(data.get(), Qt::MoveAction, -1, -1, IndexOf(target));
    }
    // The node the tree shows as selected, which must be the current one and the one whose text
    // the pane holds.
    void ExpectSelectedAndShown(NodeId node) {
        NotesDocument& doc = form_->Document();
        EXPECT_EQ(form_->SelectedNode(), node);
        const QModelIndexList selected = Tree()->selectionModel()->selectedIndexes();
        ASSERT_EQ(selected.size(), 1);
        EXPECT_EQ(Model()->NodeAt(selected.front()), node);
        EXPECT_EQ(doc.current_text_index, doc.tree.Data(node).TextIndex);
        EXPECT_EQ(form_->VisiblePane()->PlainText(), StoreTextToPane(doc.TextOf(node)));
        auto* cut = form_->findChild<QToolButton*>("CutButton");
        ASSERT_NE(cut, nullptr);
        EXPECT_TRUE(cut->isEnabled());
    }
    // True when the node's row is wholly inside the tree's viewport and its image and title start
    // inside it, with as much of the title shown as the width allows.
    bool InView(NodeId node) {
        const QRect rect = Tree()->visualRect(IndexOf(node));
        const QRect view = Tree()->viewport()->rect();
        const int title_right = rect.left() + Tree()->sizeHintForIndex(IndexOf(node)).width();
        return rect.top() >= 0 && rect.bottom() <= view.bottom() && rect.left() >= 0 &&
               (title_right <= view.width() || rect.left() <= Tree()->indentation());
    }
    // Presses `key` in the tree; `node` must then be selected, shown and scrolled into view.
    void KeySelects(Qt::Key key, NodeId node) {
        SCOPED_TRACE(QKeySequence(key).toString().toStdString());
        Key(key);
        ExpectSelectedAndShown(node);
        EXPECT_TRUE(InView(node));
    }
    // A chain of folders, each inside the one before, each with a text of its own.
    std::vector<NodeId> FolderChain(int depth) {
        std::vector<NodeId> chain;
        NodeId parent = kNoNode;
        for (int i = 0; i < depth; ++i) {
            parent = Add(parent, "Folder at level " + std::to_string(i), kFolder);
            form_->Document().texts.SetText(form_->Document().tree.Data(parent).TextIndex,
                                            "level " + std::to_string(i) + "\r\n");
            chain.push_back(parent);
        }
        return chain;
    }
};

TEST_F(TreeCommandsTest, NewNodesGoBeforeTheSelectionIntoFoldersOrLastAndStartTitleEditing) {
    TMainForm& form = Start();
    NotesDocument& doc = form.Document();

    // Empty tree: the only top-level node, selected, its pane enabled, its title being edited.
    Trigger("NotesMenuNewNote");
    ASSERT_EQ(doc.tree.Count(), 1);
    const NodeId first = doc.tree.FirstTopLevel();
    EXPECT_EQ(form.SelectedNode(), first);
    EXPECT_EQ(doc.tree.Title(first), "New Note");
    EXPECT_TRUE(form.Memo()->isEnabled());
    EXPECT_EQ(form.VisiblePane(), form.Memo());
    EXPECT_EQ(form.StatusText(1), "Modified");
    EXPECT_EQ(doc.current_text_index, doc.tree.Data(first).TextIndex);
    ASSERT_TRUE(Tree()->IsEditingTitle());
    QLineEdit* editor = TitleEditor();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "Shopping");
    EndEdit(Qt::Key_Return);
    EXPECT_FALSE(Tree()->IsEditingTitle());
    EXPECT_EQ(doc.tree.Title(first), "Shopping");

    // Typed text stays with its note when the next new node is selected.
    form.Memo()->setPlainText("milk");
    Key(Qt::Key_Insert, Qt::ControlModifier);  // a folder, directly before the selected note
    ASSERT_EQ(Titles(kNoNode), (std::vector<std::string>{"New Folder", "Shopping"}));
    EXPECT_EQ(doc.TextOf(first), "milk\r\n");
    const NodeId folder = doc.tree.FirstTopLevel();
    EXPECT_EQ(form.VisiblePane(), form.FolderMemo());
    EXPECT_EQ(doc.tree.Image(folder), doc.images.folder);
    EndEdit(Qt::Key_Escape);  // keeps the default title
    EXPECT_EQ(doc.tree.Title(folder), "New Folder");

    // In Folder on a collapsed folder: the last child; the folder opens with the open image.
    Trigger("NotesMenuNewNoteInFolder");
    TriggerAsItIs("NotesMenuNewNoteInFolder");  // a note is selected now: disabled, nothing happens
    EndEdit(Qt::Key_Escape);
    ASSERT_EQ(doc.tree.Children(folder).size(), 1u);
    const NodeId inner = doc.tree.Children(folder).front();
    EXPECT_EQ(form.SelectedNode(), inner);
    EXPECT_TRUE(Tree()->isExpanded(IndexOf(folder)));
    EXPECT_EQ(doc.tree.Image(folder), doc.images.opened_folder);

    // With a note selected inside a folder the new note stands in that folder above it.
    Key(Qt::Key_Insert);
    EndEdit(Qt::Key_Escape);
    ASSERT_EQ(doc.tree.Children(folder).size(), 2u);
    EXPECT_EQ(doc.tree.Children(folder).back(), inner);
    EXPECT_EQ(form.SelectedNode(), doc.tree.Children(folder).front());
    // Keys go to the editor while a title is edited, not to the tree's commands.
    Trigger("NotesMenuRename");
    ASSERT_TRUE(Tree()->IsEditingTitle());
    QTest::keyClick(TitleEditor(), Qt::Key_Insert);
    EndEdit(Qt::Key_Escape);
    EXPECT_EQ(doc.tree.Count(), 4);
}

TEST_F(TreeCommandsTest, TheFourThousandthNodeIsTheLastAndTheNextIsRefusedWithAMessage) {
    TMainForm& form = Start();
    NotesDocument& doc = form.Document();
    doc.tree.BulkChange([&] {
        for (int i = 0; i < 3999; ++i) Add(kNoNode, "n" + std::to_string(i), kNote);
    });
    const NodeId last = Add(kNoNode, "last", kNote);
    form.SelectNode(last);
    ASSERT_EQ(doc.tree.Count(), 4000);
    doc.modified = false;

    Trigger("NotesMenuNewFolder");
    Key(Qt::Key_Insert);
    EXPECT_EQ(doc.tree.Count(), 4000);
    EXPECT_FALSE(doc.modified);
    EXPECT_EQ(form.SelectedNode(), last);
    ASSERT_EQ(platform_.messages.size(), 2u);
    EXPECT_EQ(platform_.messages[0].text,
              "Quillora supports up to 4000 Notes/Folders.\nYou have reached the limit.");
    EXPECT_EQ(platform_.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(platform_.messages[0].caption, "Quillora");

    // Deleting one node frees exactly its slot for the next new node.
    const int freed = doc.tree.Data(last).TextIndex;
    platform_.message_answers.push_back(MessageAnswer::Yes);
    Key(Qt::Key_Delete);
    Trigger("NotesMenuNewNote");
    EXPECT_EQ(doc.tree.Count(), 4000);
    EXPECT_EQ(doc.tree.Data(form.SelectedNode()).TextIndex, freed);
}

TEST_F(TreeCommandsTest, DeleteAsksItsQuestionAndRemovesTheSubtreeWithItsSlots) {
    TMainForm& form = Start();
    NotesDocument& doc = form.Document();
    const NodeId folder = Add(kNoNode, "F", kFolder);
    const NodeId a = Add(folder, "a", kNote);
    const NodeId sub = Add(folder, "sub", kFolder);
    Add(sub, "deep", kNote);
    const NodeId empty = Add(kNoNode, "E", kFolder);
    const NodeId note = Add(kNoNode, "N", kNote);
    const int folder_slot = doc.tree.Data(folder).TextIndex;

    // The question depends on the node; No changes nothing.
    form.SelectNode(note);
    platform_.message_answers = {MessageAnswer::No};
    Key(Qt::Key_Delete);
    form.SelectNode(empty);
    platform_.message_answers = {MessageAnswer::No};
    Trigger("NotesMenuDelete");
    form.SelectNode(folder);
    platform_.message_answers = {MessageAnswer::No};
    Trigger("PopupMenuDelete");
    ASSERT_EQ(platform_.messages.size(), 3u);
    EXPECT_EQ(platform_.messages[0].text, "Delete the selected Note?");
    EXPECT_EQ(platform_.messages[1].text, "Delete the selected Folder?");
    EXPECT_EQ(platform_.messages[2].text,
              "Delete the selected Folder and all\nNotes/Folders within?");
    EXPECT_EQ(platform_.messages[2].buttons, MessageButtons::YesNo);
    EXPECT_EQ(doc.tree.Count(), 6);
    EXPECT_FALSE(doc.modified);

    // Yes on the folder: four nodes and four slots go; the next node takes the lowest free slot.
    form.FolderMemo()->setPlainText("typed into the doomed folder");
    doc.modified = false;
    platform_.message_answers = {MessageAnswer::Yes};
    Trigger("NotesMenuDelete");
    EXPECT_EQ(doc.tree.Count(), 2);
    EXPECT_EQ(doc.texts.OccupiedCount(), 2);
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(form.StatusText(1), "Modified");
    EXPECT_EQ(form.SelectedNode(), empty);
    EXPECT_EQ(form.VisiblePane(), form.FolderMemo());
    EXPECT_EQ(form.FolderMemo()->toPlainText(), "");
    (void)a;
    Trigger("NotesMenuNewNote");
    EXPECT_EQ(doc.tree.Data(form.SelectedNode()).TextIndex, folder_slot);
    EndEdit(Qt::Key_Escape);

    // Deleting everything leaves both panes empty and disabled, Memo in front.
    while (!doc.tree.Empty()) {
        platform_.message_answers = {MessageAnswer::Yes};
        Key(Qt::Key_Delete);
    }
    EXPECT_EQ(doc.texts.OccupiedCount(), 0);
    EXPECT_FALSE(form.Memo()->isEnabled());
    EXPECT_FALSE(form.FolderMemo()->isEnabled());
    EXPECT_EQ(form.VisiblePane(), form.Memo());
    EXPECT_EQ(form.Memo()->toPlainText(), "");
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(doc.current_text_index, -1);
    EXPECT_FALSE(Action("NotesMenuDelete")->isEnabled());
}

TEST_F(TreeCommandsTest, RenameCutsLongTitlesAndMarksModifiedEvenWhenUnchanged) {
    TMainForm& form = Start();
    NotesDocument& doc = form.Document();
    const NodeId node = Add(kNoNode, "same", kNote);
    form.SelectNode(node);
    doc.modified = false;

    Trigger("NotesMenuRename");
    ASSERT_TRUE(Tree()->IsEditingTitle());
    EndEdit(Qt::Key_Return);
    EXPECT_EQ(doc.tree.Title(node), "same");
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(form.StatusText(1), "Modified");

    Trigger("PopupMenuRename");
    TitleEditor()->setText(QString(120, QLatin1Char('x')));
    EndEdit(Qt::Key_Return);
    EXPECT_EQ(doc.tree.Title(node), std::string(99, 'x'));

    // Escape keeps the old title and changes nothing.
    doc.modified = false;
    Trigger("NotesMenuRename");
    TitleEditor()->setText("other");
    EndEdit(Qt::Key_Escape);
    EXPECT_EQ(doc.tree.Title(node), std::string(99, 'x'));
    EXPECT_FALSE(doc.modified);
}

TEST_F(TreeCommandsTest, ClockKeysSetTheTitleFromTheDateOrTheTime) {
    TMainForm& form = Start();
    NotesDocument& doc = form.Document();
    FixedClock clock(DateTime{2026, 3, 6, 0, 5, 0});
    auto* commands = form.TreeCommandsController();
    ASSERT_NE(commands, nullptr);
    commands->SetClock(&clock);
    commands->SetSeparators({"/", ":"});
    const NodeId node = Add(kNoNode, "x", kNote);
    form.SelectNode(node);
    doc.modified = false;

    Key(Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(doc.tree.Title(node), "03/06/2026");
    EXPECT_TRUE(doc.modified);
    Key(Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(doc.tree.Title(node), "12:05AM");
    commands->SetSeparators({".", "."});
    clock.Set(DateTime{2026, 12, 31, 13, 45, 0});
    Key(Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(doc.tree.Title(node), "1.45PM");
    // Without Shift the letters are the tree's own (type-ahead), not commands.
    Key(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(doc.tree.Title(node), "1.45PM");
    commands->SetClock(nullptr);
}

TEST_F(TreeCommandsTest, MovesSwapTopLevelNodesAndAreOfferedOnlyThere) {
    TMainForm& form = Start();
    NotesDocument& doc = form.Document();
    const NodeId folder = Add(kNoNode, "F", kFolder);
    const NodeId child = Add(folder, "c", kNote);
    const NodeId note = Add(kNoNode, "N", kNote);
    form.SelectNode(folder);

    // Menu enabling follows the selection, so the shortcuts and the menus agree.
    EXPECT_TRUE(Action("NotesMenuMoveDown")->isEnabled());
    EXPECT_TRUE(Action("NotesMenuSort")->isEnabled());
    EXPECT_TRUE(Action("PopupMenuNewFolderInFolder")->isEnabled());
    doc.modified = false;
    Trigger("NotesMenuMoveUp");  // first node: nothing moves, not modified
    EXPECT_FALSE(doc.modified);
    Trigger("PopupMenuMoveDown");
    EXPECT_EQ(Titles(kNoNode), (std::vector<std::string>{"N", "F"}));
    EXPECT_EQ(form.SelectedNode(), folder);
    EXPECT_EQ(doc.tree.Children(folder), std::vector<NodeId>{child});
    EXPECT_TRUE(doc.modified);
    Trigger("NotesMenuMoveUp");
    EXPECT_EQ(Titles(kNoNode), (std::vector<std::string>{"F", "N"}));

    form.SelectNode(child);
    for (const char* name :
         {"NotesMenuMoveUp", "NotesMenuMoveDown", "PopupMenuMoveUp", "PopupMenuMoveDown",
          "NotesMenuSort", "PopupMenuSort", "NotesMenuNewNoteInFolder"}) {
        EXPECT_FALSE(Action(name)->isEnabled()) << name;
    }
    EXPECT_TRUE(Action("NotesMenuSortAll")->isEnabled());
    EXPECT_TRUE(Action("NotesMenuRename")->isEnabled());
    EXPECT_TRUE(Action("NotesMenuNewNote")->isEnabled());
    (void)note;

    // Opening the menu applies the same enabling.
    if (auto* menu = form.findChild<QMenu*>("NotesMenu")) {
        Action("NotesMenuMoveUp")->setEnabled(true);
        emit menu->aboutToShow();
        EXPECT_FALSE(Action("NotesMenuMoveUp")->isEnabled());
    }
}

TEST_F(TreeCommandsTest, DropsFollowTheTargetsImageAndNeverEnterTheDraggedSubtree) {
    TMainForm& form = Start();
    NotesDocument& doc = form.Document();
    const NodeId folder = Add(kNoNode, "F", kFolder);
    const NodeId sub = Add(folder, "sub", kFolder);
    const NodeId deep = Add(sub, "deep", kNote);  // the last node of the whole tree
    const NodeId empty = Add(kNoNode, "E", kFolder);
    const NodeId note = Add(kNoNode, "N", kNote);
    const NodeId other = Add(kNoNode, "O", kNote);
    doc.modified = false;

    // Parent onto child, onto the last node, onto itself: nothing changes.
    EXPECT_FALSE(Drop(folder, sub));
    EXPECT_FALSE(Drop(folder, deep));
    Drop(folder, folder);
    EXPECT_FALSE(doc.modified);
    EXPECT_EQ(Titles(kNoNode), (std::vector<std::string>{"F", "E", "N", "O"}));

    // A payload of another window or program is refused.
    QMimeData foreign;
    foreign.setData(NoteTreeModel::NodeMimeType(), "1.2:" + QByteArray::number(note));
    EXPECT_FALSE(Model()->canDropMimeData(&foreign, Qt::MoveAction, -1, -1, IndexOf(other)));

    // A note on a folder image: its last child, and the folder opens.
    form.SelectNode(note);
    EXPECT_TRUE(Drop(note, empty));
    EXPECT_EQ(doc.tree.Parent(note), empty);
    EXPECT_TRUE(Tree()->isExpanded(IndexOf(empty)));
    EXPECT_EQ(doc.tree.Image(empty), doc.images.opened_folder);
    EXPECT_EQ(form.SelectedNode(), note);
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(form.StatusText(1), "Modified");

    // Onto a note: directly above it. The folder left empty shows closed.
    EXPECT_TRUE(Drop(note, other));
    EXPECT_EQ(Titles(kNoNode), (std::vector<std::string>{"F", "E", "N", "O"}));
    EXPECT_EQ(doc.tree.Image(empty), doc.images.folder);

    // Onto the last node of the tree: above it, inside its folder.
    EXPECT_TRUE(Drop(other, deep));
    EXPECT_EQ(Titles(sub), (std::vector<std::string>{"O", "deep"}));

    // Into or before is decided by the image: a folder showing the note image takes it before.
    doc.tree.SetImage(empty, doc.images.note);
    EXPECT_TRUE(Drop(note, empty));
    EXPECT_EQ(Titles(kNoNode), (std::vector<std::string>{"F", "N", "E"}));
}

TEST_F(TreeCommandsTest, SortsKeepOpenFoldersAndOrderTitlesByTheirRules) {
    TMainForm& form = Start();
    NotesDocument& doc = form.Document();
    const NodeId top_b = Add(kNoNode, "b", kFolder);
    Add(kNoNode, "B", kNote);
    Add(kNoNode, "a", kNote);
    Add(top_b, "b", kNote);
    const NodeId inner = Add(top_b, "A", kFolder);
    Add(top_b, "c", kNote);
    Add(inner, "z", kNote);
    Add(inner, "Y", kNote);
    Tree()->expandAll();
    Tree()->collapse(IndexOf(inner));
    form.SelectNode(top_b);
    form.FolderMemo()->setPlainText("kept");
    doc.modified = false;

    Trigger("PopupMenuSort");
    EXPECT_EQ(Titles(top_b), (std::vector<std::string>{"A", "b", "c"}));
    EXPECT_EQ(Titles(inner), (std::vector<std::string>{"Y", "z"}));
    EXPECT_EQ(Titles(kNoNode), (std::vector<std::string>{"b", "B", "a"}));
    EXPECT_TRUE(doc.modified);
    EXPECT_TRUE(Tree()->isExpanded(IndexOf(top_b)));
    EXPECT_FALSE(Tree()->isExpanded(IndexOf(inner)));
    EXPECT_EQ(doc.tree.Image(top_b), doc.images.opened_folder);
    EXPECT_EQ(doc.tree.Image(inner), doc.images.folder);
    EXPECT_EQ(form.SelectedNode(), top_b);
    EXPECT_EQ(doc.TextOf(top_b), "kept\r\n");

    Trigger("NotesMenuSortAll");
    EXPECT_EQ(Titles(kNoNode), (std::vector<std::string>{"a", "b", "B"}));
    EXPECT_TRUE(Tree()->isExpanded(IndexOf(top_b)));
    EXPECT_EQ(form.SelectedNode(), top_b);
}

TEST_F(TreeCommandsTest, FolderImagesFollowExpandingCollapsingAndTheAllFolderCommands) {
    TMainForm& form = Start();
    NotesDocument& doc = form.Document();
    const NodeId folder = Add(kNoNode, "F", kFolder);
    const NodeId sub = Add(folder, "S", kFolder);
    Add(sub, "n", kNote);
    const NodeId bare = Add(kNoNode, "bare", kFolder);
    doc.modified = false;

    Tree()->expand(IndexOf(folder));
    EXPECT_EQ(doc.tree.Image(folder), doc.images.opened_folder);
    EXPECT_EQ(doc.tree.Image(sub), doc.images.folder);
    Tree()->collapse(IndexOf(folder));
    EXPECT_EQ(doc.tree.Image(folder), doc.images.folder);

    Trigger("NotesMenuOpenAllFolders");
    EXPECT_TRUE(Tree()->isExpanded(IndexOf(sub)));
    EXPECT_EQ(doc.tree.Image(folder), doc.images.opened_folder);
    EXPECT_EQ(doc.tree.Image(sub), doc.images.opened_folder);
    EXPECT_EQ(doc.tree.Image(bare), doc.images.folder);
    Trigger("NotesMenuCloseAllFolders");
    EXPECT_FALSE(Tree()->isExpanded(IndexOf(folder)));
    EXPECT_EQ(doc.tree.Image(folder), doc.images.folder);
    EXPECT_EQ(doc.tree.Image(sub), doc.images.folder);
    EXPECT_FALSE(doc.modified);
}

TEST_F(TreeCommandsTest, RightButtonSelectsTheNodeUnderThePointerAndStoresTheShownText) {
    TMainForm& form = Start();
    NotesDocument& doc = form.Document();
    const NodeId first = Add(kNoNode, "one", kNote);
    const NodeId second = Add(kNoNode, "two", kNote);
    form.SelectNode(first);
    form.Memo()->setPlainText("typed");

    const QRect rect = Tree()->visualRect(IndexOf(second));
    QTest::mousePress(Tree()->viewport(), Qt::RightButton, {}, rect.center());
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    EXPECT_EQ(form.SelectedNode(), second);
    EXPECT_EQ(doc.TextOf(first), "typed\r\n");
    EXPECT_TRUE(Action("PopupMenuDelete")->isEnabled());

    // Over empty space the selection stays.
    QTest::mousePress(Tree()->viewport(), Qt::RightButton, {},
                      QPoint(5, Tree()->viewport()->height() - 3));
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    EXPECT_EQ(form.SelectedNode(), second);
}

TEST_F(TreeCommandsTest, DeepTitlesScrollSidewaysAndEveryLevelIsReachedByTheKeys) {
    TMainForm& form = Start();
    const std::vector<NodeId> chain = FolderChain(10);
    Trigger("NotesMenuOpenAllFolders");
    form.SelectNode(chain.front());
    Tree()->setFocus();
    QCoreApplication::processEvents();
    ASSERT_EQ(Tree()->width(), 121);

    // The column is as wide as the deepest title, so the tree scrolls sideways instead of
    // cutting the titles off.
    const QModelIndex deepest = IndexOf(chain.back());
    const int title_right = Tree()->visualRect(deepest).left() +
                            Tree()->horizontalScrollBar()->value() +
                            Tree()->sizeHintForIndex(deepest).width();
    EXPECT_GE(Tree()->columnWidth(0), title_right);
    EXPECT_GT(Tree()->horizontalScrollBar()->maximum(), 0);

    for (size_t level = 1; level < chain.size(); ++level) KeySelects(Qt::Key_Down, chain[level]);
    KeySelects(Qt::Key_Home, chain.front());
    KeySelects(Qt::Key_End, chain.back());
    KeySelects(Qt::Key_Up, chain[8]);
    // A click below the last node changes nothing.
    QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {},
                      QPoint(10, Tree()->viewport()->height() - 3));
    ExpectSelectedAndShown(chain[8]);
}

TEST_F(TreeCommandsTest, EndAndHomeSelectTheLastAndFirstNodeAndScrollToThem) {
    TMainForm& form = Start();
    NotesDocument& doc = form.Document();
    doc.tree.BulkChange([&] {
        for (int i = 0; i < 4000; ++i) Add(kNoNode, "note " + std::to_string(i), kNote);
    });
    const std::vector<NodeId>& top = doc.tree.Children(kNoNode);
    form.SelectNode(top.front());
    Tree()->setFocus();

    KeySelects(Qt::Key_End, top.back());
    KeySelects(Qt::Key_Home, top.front());
    Key(Qt::Key_PageDown);
    const NodeId paged = form.SelectedNode();
    EXPECT_NE(paged, top.front());
    ExpectSelectedAndShown(paged);
    EXPECT_TRUE(InView(paged));
}

// However a folder is closed, a selection inside it moves to the folder, which is then shown and
// is what the next command acts on.
TEST_F(TreeCommandsTest, ClosingAFolderAroundTheSelectionSelectsTheFolder) {
    struct Case {
        const char* how;
        std::function<void(const std::vector<NodeId>&)> close;
        int selected_level;  // the folder that ends up selected
    };
    const std::vector<Case> cases = {
        {"Close All Folders", [this](const auto&) { Trigger("NotesMenuCloseAllFolders"); }, 0},
        {"the folder's expander",
         [this](const std::vector<NodeId>& chain) {
             Tree()->horizontalScrollBar()->setValue(0);
             const QRect row = Tree()->visualRect(IndexOf(chain[1]));
             QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {},
                               QPoint(row.left() - Tree()->indentation() / 2, row.center().y()));
         },
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        TMainForm& form = Start();
        NotesDocument& doc = form.Document();
        const std::vector<NodeId> chain = FolderChain(3);
        const NodeId note = Add(chain.back(), "inner note", kNote);
        Trigger("NotesMenuOpenAllFolders");
        form.SelectNode(note);
        Tree()->setFocus();
        form.Memo()->setPlainText("typed");

        c.close(chain);
        const NodeId folder = chain[static_cast<size_t>(c.selected_level)];
        EXPECT_FALSE(Tree()->isExpanded(IndexOf(folder)));
        ExpectSelectedAndShown(folder);
        EXPECT_EQ(form.VisiblePane(), form.FolderMemo());
        EXPECT_EQ(doc.TextOf(note), "typed\r\n");

        // Delete acts on the folder the user sees selected.
        platform_.message_answers = {MessageAnswer::No};
        Key(Qt::Key_Delete);
        ASSERT_FALSE(platform_.messages.empty());
        EXPECT_EQ(platform_.messages.back().text,
                  "Delete the selected Folder and all\nNotes/Folders within?");
        form_.reset();
        platform_.messages.clear();
    }
}

// A drag with the mouse needs a platform that runs drags (xcb under Xvfb); the offscreen
// platform ends every drag at once without a drop.
TEST_F(TreeCommandsTest, AFolderDraggedWithTheMouseLandsInAnotherFolderAndIsSaved) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        GTEST_SKIP() << "mouse drags need the xcb platform";
    }
    TMainForm& form = Start();
    NotesDocument& doc = form.Document();
    const NodeId target = Add(kNoNode, "Target", kFolder);
    const NodeId folder = Add(kNoNode, "Moving", kFolder);
    Add(folder, "inside", kNote);
    Add(kNoNode, "Last", kNote);
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

    // Real pointer input through the X server, so the drag runs exactly as the user's would.
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    if (xdotool.isEmpty()) GTEST_SKIP() << "xdotool is needed to move the pointer";
    QWidget* viewport = Tree()->viewport();
    const QPoint from = viewport->mapToGlobal(Tree()->visualRect(IndexOf(folder)).center());
    const QPoint to = viewport->mapToGlobal(Tree()->visualRect(IndexOf(target)).center());
    const auto xy = [](QPoint p) {
        return QStringList{QString::number(p.x()), QString::number(p.y())};
    };
    QStringList script = QStringList{"mousemove"} + xy(from) +
                         QStringList{"mousedown", "1", "sleep", "0.2", "mousemove"} +
                         xy(from + QPoint(0, 12)) + QStringList{"sleep", "0.2", "mousemove"} +
                         xy(to - QPoint(0, 2)) + QStringList{"sleep", "0.2", "mousemove"} + xy(to) +
                         QStringList{"sleep", "0.2", "mouseup", "1"};
    QProcess process;
    process.start(xdotool, script);
    ASSERT_TRUE(process.waitForStarted());
    EXPECT_TRUE(QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 10000));
    QTest::qWait(100);
    EXPECT_EQ(doc.tree.Parent(folder), target);
    EXPECT_TRUE(doc.modified);

    const QString path = HomeFile("dragged.qlb");
    ASSERT_TRUE(form.WriteNotesFileReporting(path));
    NotesDocument reread;
    ASSERT_EQ(ReadNotesFile(ToNative(path), reread, {}), ReadStatus::Ok);
    const NodeId re_target = reread.tree.FirstTopLevel();
    ASSERT_EQ(reread.tree.Children(re_target).size(), 1u);
    EXPECT_EQ(reread.tree.Title(reread.tree.Children(re_target).front()), "Moving");
}

}  // namespace
}  // namespace quillora::testing
