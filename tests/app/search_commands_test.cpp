#include "app/commands/search_commands.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "document/notes_file.h"
#include "document/ui/my_tree_view.h"
#include "document/ui/note_pane.h"
#include "gui/context_help.h"
#include "gui/note_tree_model.h"
#include "search/ui/replace_form.h"
#include "search/ui/search_form.h"
#include "settings/language_pack.h"
#include "tests/settings/pe_image_builder.h"
#include "tests/support/ui_fixture.h"

namespace quillora::testing {
namespace {

class SearchCommandsTest : public UiTest {
protected:
    TMainForm& Start() {
        TMainForm& form = StartMainForm();
        return form;
    }

    // A node with `text` (line breaks as CR LF) appended below `parent`.
    NodeId Add(NodeId parent, int32_t kind, const std::string& text) {
        return AddNode(form_->Document(), parent, kind == kNote ? "note" : "folder", kind, text);
    }
    void Select(NodeId node) {
        form_->SelectNode(node);
        form_->UpdatePaneEnabling();
    }

    SearchCommands& Commands() { return *form_->Searches(); }

    // The find dialog answers "&Find" with these fields instead of running modally.
    void AnswerFind(const QString& text, bool all_nodes, bool case_sensitive = false) {
        Commands().SetFindDialogRunner([=, this](TSearchForm& dialog) {
            ++find_dialogs_;
            dialog.TextEdit()->setText(text);
            (all_nodes ? dialog.AllRB() : dialog.SelectedRB())->setChecked(true);
            dialog.CaseCheckBox()->setChecked(case_sensitive);
            return true;
        });
    }
    void Find(const QString& text, bool all_nodes, bool case_sensitive = false) {
        AnswerFind(text, all_nodes, case_sensitive);
        Action("SearchMenuFind")->trigger();
    }
    void FindNext() { Action("SearchMenuFindAgain")->trigger(); }

    TReplaceForm* OpenReplace(const QString& text, const QString& with, bool all_nodes,
                              bool case_sensitive = false) {
        Action("SearchMenuReplace")->trigger();
        TReplaceForm* dialog = Commands().ReplaceForm();
        EXPECT_NE(dialog, nullptr);
        dialog->TextEdit()->setText(text);
        dialog->ReplaceEdit()->setText(with);
        (all_nodes ? dialog->AllRB() : dialog->SelectedRB())->setChecked(true);
        dialog->CaseCheckBox()->setChecked(case_sensitive);
        return dialog;
    }

    // The pane's selection as (start, length) in its own characters.
    static std::pair<int, int> Selection(const NotePane* pane) {
        const QTextCursor c = pane->textCursor();
        return {c.selectionStart(), c.selectionEnd() - c.selectionStart()};
    }
    static void PlaceCaret(NotePane* pane, int start, int length = 0) {
        QTextCursor c = pane->textCursor();
        c.setPosition(start);
        c.setPosition(start + length, QTextCursor::KeepAnchor);
        pane->setTextCursor(c);
    }
    std::vector<QString> MessageTexts() const {
        std::vector<QString> texts;
        for (const auto& m : platform_.messages) texts.push_back(m.text);
        return texts;
    }

    // A node's stored text and a pane's text without the line break every stored line ends with.
    std::string Stored(NodeId node) const {
        std::string text = form_->Document().TextOf(node);
        if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
            text.resize(text.size() - 2);
        return text;
    }
    static QString Shown(const NotePane* pane) {
        QString text = pane->toPlainText();
        if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
        return text;
    }

    int find_dialogs_ = 0;
};

// --- commands, enabling and the find dialog ---

TEST_F(SearchCommandsTest, CommandsAreNamedWithKeysAndEnabledOnlyWhileANodeIsSelected) {
    TMainForm& form = Start();
    struct Expected {
        const char* name;
        const char* caption;
        QKeySequence key;
    };
    for (const Expected& e :
         {Expected{"SearchMenuFind", "&Find...", QKeySequence("Ctrl+F")},
          Expected{"SearchMenuFindAgain", "Find &Next", QKeySequence("F3")},
          Expected{"SearchMenuReplace", "&Replace...", QKeySequence("Ctrl+R")}}) {
        QAction* action = Action(e.name);
        ASSERT_NE(action, nullptr) << e.name;
        EXPECT_EQ(action->text(), e.caption);
        EXPECT_EQ(action->shortcut(), e.key);
        EXPECT_FALSE(action->isEnabled()) << e.name;
    }
    auto* menu = form.findChild<QMenu*>("SearchMenu");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->actions().size(), 4);  // three commands and a separator

    const NodeId note = Add(kNoNode, kNote, "text");
    Select(note);
    for (const char* name : {"SearchMenuFind", "SearchMenuFindAgain", "SearchMenuReplace"}) {
        EXPECT_TRUE(Action(name)->isEnabled()) << name;
    }
    // Closing the document leaves nothing selected: disabled again, also when the menu opens.
    form.CloseDocument();
    emit menu->aboutToShow();
    EXPECT_FALSE(Action("SearchMenuFind")->isEnabled());
    // With nothing selected the commands (e.g. the tool button's) do nothing.
    Commands().SetFindDialogRunner([this](TSearchForm&) { return ++find_dialogs_, false; });
    Commands().SearchMenuFindClick();
    Commands().SearchMenuReplaceClick();
    EXPECT_EQ(find_dialogs_, 0);
    EXPECT_EQ(Commands().ReplaceForm(), nullptr);
}

TEST_F(SearchCommandsTest, FindDialogStartsFreshEnablesFindAndAsksForItsHelpTopics) {
    Start();
    TSearchForm dialog(form_.get());
    EXPECT_EQ(dialog.windowTitle(), "Find");
    EXPECT_TRUE(dialog.TextEdit()->text().isEmpty());
    EXPECT_TRUE(dialog.AllRB()->isChecked());
    EXPECT_FALSE(dialog.SelectedRB()->isChecked());
    EXPECT_FALSE(dialog.CaseCheckBox()->isChecked());
    EXPECT_EQ(dialog.TextEdit()->maxLength(), 250);
    EXPECT_FALSE(dialog.FindButton()->isEnabled());
    dialog.TextEdit()->setText("x");
    EXPECT_TRUE(dialog.FindButton()->isEnabled());
    dialog.TextEdit()->clear();
    EXPECT_FALSE(dialog.FindButton()->isEnabled());
    EXPECT_TRUE(dialog.FindButton()->isDefault());
    EXPECT_EQ(dialog.size(), QSize(386, 101));
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::WindowContextHelpButtonHint));

    EXPECT_EQ(HelpContextOf(dialog.findChild<QLabel*>("ST1")), 66);
    EXPECT_EQ(HelpContextOf(dialog.TextEdit()), 66);
    EXPECT_EQ(HelpContextOf(dialog.CaseCheckBox()), 67);
    EXPECT_EQ(HelpContextOf(dialog.AllRB()), 68);
    EXPECT_EQ(HelpContextOf(dialog.SelectedRB()), 68);
    dialog.findChild<QPushButton*>("HelpButton")->click();
    EXPECT_EQ(platform_.help_topics, std::vector<int>{69});
}

TEST_F(SearchCommandsTest, ModalFindDialogSearchesOnFindAndChangesNothingOnEscape) {
    TMainForm& form = Start();
    const NodeId note = Add(kNoNode, kNote, "one two");
    Select(note);

    // Escape: nothing held, nothing selected.
    QTimer::singleShot(0, &form, [] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(qobject_cast<TSearchForm*>(modal), nullptr);
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    Action("SearchMenuFind")->trigger();
    EXPECT_TRUE(Commands().Settings().text.empty());
    EXPECT_EQ(Selection(form.Memo()), std::make_pair(0, 0));

    QTimer::singleShot(0, &form, [] {
        auto* dialog = qobject_cast<TSearchForm*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QTest::keyClicks(dialog->TextEdit(), "TWO");
        dialog->SelectedRB()->setChecked(true);
        QTest::keyClick(dialog->TextEdit(), Qt::Key_Return);
    });
    Action("SearchMenuFind")->trigger();
    EXPECT_EQ(Commands().Settings().text, "TWO");
    EXPECT_FALSE(Commands().Settings().all_nodes);
    EXPECT_FALSE(Commands().Settings().case_sensitive);
    EXPECT_EQ(Selection(form.Memo()), std::make_pair(4, 3));
    EXPECT_EQ(form.findChildren<TSearchForm*>().size(), 0);  // destroyed after use
}

TEST_F(SearchCommandsTest, FindNextWithoutSearchTextOpensTheFindDialog) {
    Start();
    Select(Add(kNoNode, kNote, "abc"));
    AnswerFind("b", false);
    FindNext();
    EXPECT_EQ(find_dialogs_, 1);
    EXPECT_EQ(Selection(form_->Memo()), std::make_pair(1, 1));
    FindNext();  // now held: no dialog, the end of the note
    EXPECT_EQ(find_dialogs_, 1);
    EXPECT_EQ(MessageTexts(), std::vector<QString>{"End of Note Reached."});
}

// --- searching ---

TEST_F(SearchCommandsTest, RepeatedFindNextStepsThroughAbAbAbThenEndsOrGoesOn) {
    TMainForm& form = Start();
    const NodeId first = Add(kNoNode, kNote, "ab ab ab");
    const NodeId second = Add(kNoNode, kNote, "xab");
    Select(first);

    Find("ab", false);
    EXPECT_EQ(Selection(form.Memo()), std::make_pair(0, 2));
    FindNext();
    EXPECT_EQ(Selection(form.Memo()), std::make_pair(3, 2));
    FindNext();
    EXPECT_EQ(Selection(form.Memo()), std::make_pair(6, 2));
    FindNext();
    EXPECT_EQ(form.SelectedNode(), first);
    EXPECT_EQ(Selection(form.Memo()), std::make_pair(6, 2));
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(platform_.messages[0].text, "End of Note Reached.");
    EXPECT_EQ(platform_.messages[0].caption, "Quillora");
    EXPECT_EQ(platform_.messages[0].icon, MessageIcon::Information);

    // All nodes: the same last hit leads on to the next note.
    Find("ab", true);
    EXPECT_EQ(form.SelectedNode(), second);
    EXPECT_EQ(Selection(form.Memo()), std::make_pair(1, 2));
    EXPECT_FALSE(form.Document().modified);
}

TEST_F(SearchCommandsTest, TheF3KeyInThePaneFindsTheNextHit) {
    TMainForm& form = Start();
    const NodeId first = Add(kNoNode, kNote, "ab ab");
    Select(first);
    QApplication::setActiveWindow(&form);
    // Window shortcuts need an active window; a bare X server without a window manager has none.
    if (!QTest::qWaitForWindowActive(&form)) GTEST_SKIP() << "the window cannot be activated";
    Find("ab", false);
    ASSERT_EQ(QApplication::focusWidget(), form.Memo());
    QTest::keyClick(form.Memo(), Qt::Key_F3);
    EXPECT_EQ(Selection(form.Memo()), std::make_pair(3, 2));
}

TEST_F(SearchCommandsTest, CaseFoldingCoversAsciiLettersOnly) {
    TMainForm& form = Start();
    // "abc AbC \xE4" holds the lower-case a with diaeresis.
    Select(Add(kNoNode, kNote, "abc AbC \xE4"));
    Find("ABC", false);
    EXPECT_EQ(Selection(form.Memo()), std::make_pair(0, 3));
    FindNext();
    EXPECT_EQ(Selection(form.Memo()), std::make_pair(4, 3));

    PlaceCaret(form.Memo(), 0);
    Find(QString::fromUtf8("\xC3\x84"), false);  // the capital A with diaeresis
    EXPECT_EQ(MessageTexts().back(), "End of Note Reached.");
    Find(QString::fromUtf8("\xC3\xA4"), false);
    EXPECT_EQ(Selection(form.Memo()), std::make_pair(8, 1));

    PlaceCaret(form.Memo(), 0);
    Find("ABC", false, /*case_sensitive=*/true);
    EXPECT_EQ(MessageTexts().back(), "End of Note Reached.");
}

TEST_F(SearchCommandsTest, AHitTwoFoldersDownOpensItsNoteFocusedWithoutMarkingModified) {
    TMainForm& form = Start();
    const NodeId top = Add(kNoNode, kFolder, "folder text");
    const NodeId inner = Add(top, kFolder, "");
    const NodeId note = Add(inner, kNote, "line one\r\nthe needle here");
    Select(top);
    form.Tree()->collapseAll();
    ASSERT_EQ(form.VisiblePane(), form.FolderMemo());

    Find("NEEDLE", true);
    EXPECT_EQ(form.SelectedNode(), note);
    EXPECT_EQ(form.VisiblePane(), form.Memo());
    EXPECT_EQ(Shown(form.Memo()), "line one\nthe needle here");
    // The pane counts the line break as one character.
    EXPECT_EQ(Selection(form.Memo()), std::make_pair(13, 6));
    EXPECT_EQ(form.focusWidget(), form.Memo());
    EXPECT_TRUE(form.Tree()->isExpanded(form.TreeModel()->IndexOf(inner)));
    EXPECT_FALSE(form.Document().modified);
    EXPECT_TRUE(form.StatusText(1).isEmpty());
    EXPECT_TRUE(platform_.messages.empty());
}

TEST_F(SearchCommandsTest, FolderTextHitsAreSelectedInTheFolderPane) {
    TMainForm& form = Start();
    Select(Add(kNoNode, kNote, "nothing"));
    const NodeId folder = Add(kNoNode, kFolder, "a\r\nfolder word");
    Find("word", true);
    EXPECT_EQ(form.SelectedNode(), folder);
    EXPECT_EQ(form.VisiblePane(), form.FolderMemo());
    EXPECT_EQ(Selection(form.FolderMemo()), std::make_pair(9, 4));
    EXPECT_EQ(form.focusWidget(), form.FolderMemo());

    // Searching only the folder: the folder's end message.
    FindNext();
    Find("word", false);
    EXPECT_EQ(MessageTexts().back(), "End of Folder Reached.");
}

TEST_F(SearchCommandsTest, TheSelectedNodeLastSearchesNothingBeforeIt) {
    TMainForm& form = Start();
    Add(kNoNode, kNote, "target");
    const NodeId folder = Add(kNoNode, kFolder, "target");
    const NodeId last = Add(folder, kNote, "other");
    Select(last);
    Find("target", true);
    EXPECT_EQ(form.SelectedNode(), last);
    EXPECT_EQ(MessageTexts(), std::vector<QString>{"End of Notes/Folders reached."});
}

TEST_F(SearchCommandsTest, TypedEditsAreSearched) {
    TMainForm& form = Start();
    const NodeId note = Add(kNoNode, kNote, "old");
    Select(note);
    PlaceCaret(form.Memo(), 3);
    QTest::keyClicks(form.Memo(), " fresh");
    PlaceCaret(form.Memo(), 0);
    Find("fresh", false);
    EXPECT_EQ(Selection(form.Memo()), std::make_pair(4, 5));
    EXPECT_EQ(Stored(note), "old fresh");
}

// --- the replace dialog ---

TEST_F(SearchCommandsTest, ReplaceDialogIsKeptHiddenByCancelAndEnablesItsButtonsFromTheText) {
    TMainForm& form = Start();
    Select(Add(kNoNode, kNote, "abc"));
    TReplaceForm* dialog = OpenReplace("", "", true);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), "Replace");
    EXPECT_FALSE(dialog->isModal());
    EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(dialog->size(), QSize(385, 154));
    EXPECT_EQ(dialog->focusWidget(), dialog->TextEdit());
    for (QPushButton* b :
         {dialog->FindButton(), dialog->ReplaceButton(), dialog->ReplaceAllButton()})
        EXPECT_FALSE(b->isEnabled());
    dialog->TextEdit()->setText("b");
    dialog->ReplaceEdit()->setText("B");
    for (QPushButton* b :
         {dialog->FindButton(), dialog->ReplaceButton(), dialog->ReplaceAllButton()})
        EXPECT_TRUE(b->isEnabled());
    EXPECT_EQ(dialog->ReplaceEdit()->maxLength(), 250);
    // Tab goes from the search text to the replacement, then to the options.
    const auto next_tab_stop = [](QWidget* w) {
        do w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus));
        return w;
    };
    EXPECT_EQ(next_tab_stop(dialog->TextEdit()), dialog->ReplaceEdit());
    EXPECT_EQ(next_tab_stop(dialog->ReplaceEdit()), dialog->AllRB());

    EXPECT_EQ(HelpContextOf(dialog->TextEdit()), 71);
    EXPECT_EQ(HelpContextOf(dialog->ReplaceEdit()), 72);
    EXPECT_EQ(HelpContextOf(dialog->findChild<QLabel*>("ST2")), 72);
    EXPECT_EQ(HelpContextOf(dialog->CaseCheckBox()), 73);
    EXPECT_EQ(HelpContextOf(dialog->SelectedRB()), 74);
    dialog->findChild<QPushButton*>("HelpButton")->click();
    EXPECT_EQ(platform_.help_topics, std::vector<int>{70});

    // A message while the dialog is visible belongs to it; Cancel only hides it.
    dialog->SelectedRB()->setChecked(true);
    dialog->FindButton()->click();
    dialog->FindButton()->click();
    EXPECT_EQ(MessageTexts(), std::vector<QString>{"End of Note Reached."});
    dialog->findChild<QPushButton*>("CancelButton")->click();
    EXPECT_FALSE(dialog->isVisible());
    Action("SearchMenuReplace")->trigger();
    EXPECT_EQ(Commands().ReplaceForm(), dialog);
    EXPECT_EQ(dialog->TextEdit()->text(), "b");
    EXPECT_EQ(dialog->ReplaceEdit()->text(), "B");
    EXPECT_EQ(form.findChildren<TReplaceForm*>().size(), 1);
}

TEST_F(SearchCommandsTest, ReplaceReplacesASelectionOfTheSearchLengthThenFindsTheNext) {
    TMainForm& form = Start();
    const NodeId note = Add(kNoNode, kNote, "cat cat\r\ncat");
    Select(note);
    TReplaceForm* dialog = OpenReplace("cat", "lion", false);

    // Nothing selected: no replacement, only the search.
    dialog->ReplaceButton()->click();
    EXPECT_EQ(Shown(form.Memo()), "cat cat\ncat");
    EXPECT_EQ(Selection(form.Memo()), std::make_pair(0, 3));
    EXPECT_FALSE(form.Document().modified);

    dialog->ReplaceButton()->click();
    EXPECT_EQ(Shown(form.Memo()), "lion cat\ncat");
    EXPECT_EQ(Selection(form.Memo()), std::make_pair(5, 3));
    EXPECT_TRUE(form.Document().modified);
    EXPECT_EQ(form.StatusText(1), "Modified");
    EXPECT_FALSE(form.Memo()->document()->isUndoAvailable());

    // Any selection of the same length is replaced, whatever it holds.
    PlaceCaret(form.Memo(), 9, 3);
    dialog->ReplaceButton()->click();
    EXPECT_EQ(Shown(form.Memo()), "lion cat\nlion");
    EXPECT_EQ(Selection(form.Memo()), std::make_pair(13, 0));
    EXPECT_EQ(MessageTexts(), std::vector<QString>{"End of Note Reached."});
    EXPECT_EQ(Stored(note), "lion cat\r\nlion");
}

TEST_F(SearchCommandsTest, ReplaceAllOverThreeNotesReplacesAfterTheCaretAndEndsOnTheLastHit) {
    TMainForm& form = Start();
    const NodeId one = Add(kNoNode, kNote, "a1a2a");
    const NodeId two = Add(kNoNode, kNote, "xyz");
    const NodeId three = Add(kNoNode, kNote, "A\r\na!");
    Select(one);
    PlaceCaret(form.Memo(), 2);
    TReplaceForm* dialog = OpenReplace("a", "b", true);
    dialog->ReplaceAllButton()->click();

    const NotesDocument& doc = form.Document();
    EXPECT_EQ(Stored(one), "a1b2b");
    EXPECT_EQ(Stored(two), "xyz");
    EXPECT_EQ(Stored(three), "b\r\nb!");
    EXPECT_EQ(form.SelectedNode(), three);
    EXPECT_EQ(Shown(form.Memo()), "b\nb!");
    EXPECT_EQ(Selection(form.Memo()), std::make_pair(3, 0));
    EXPECT_EQ(form.focusWidget(), form.Memo());
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(form.StatusText(1), "Modified");
    EXPECT_EQ(MessageTexts(), std::vector<QString>{"End of Notes/Folders reached."});

    // Going back shows the replaced text: the stale pane was not written back.
    Select(one);
    EXPECT_EQ(Shown(form.Memo()), "a1b2b");
    Select(three);
    EXPECT_EQ(Stored(three), "b\r\nb!");
}

// Alt+P runs Replace All before the key's handling returns, not after a press animation, and
// the button still shows that it was pressed.
TEST_F(SearchCommandsTest, TheAccessKeyOfReplaceAllRunsItAtOnce) {
    Start();
    const NodeId one = Add(kNoNode, kNote, "a1a");
    Select(one);
    TReplaceForm* dialog = OpenReplace("a", "b", true);
    QApplication::setActiveWindow(dialog);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == dialog; }));
    QTest::keyClick(dialog, Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(Stored(one), "b1b");
    EXPECT_EQ(MessageTexts(), std::vector<QString>{"End of Notes/Folders reached."});
    EXPECT_TRUE(dialog->ReplaceAllButton()->isDown());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->ReplaceAllButton()->isDown(); }, 1000));
}

TEST_F(SearchCommandsTest, ReplaceAllOfAByAaTerminatesAndTakesTypedEdits) {
    TMainForm& form = Start();
    const NodeId note = Add(kNoNode, kNote, "a");
    const NodeId after = Add(kNoNode, kNote, "banana");
    Select(note);
    PlaceCaret(form.Memo(), 1);
    QTest::keyClicks(form.Memo(), "ab");  // typed just before, not stored yet
    PlaceCaret(form.Memo(), 0);
    TReplaceForm* dialog = OpenReplace("a", "aa", false);
    dialog->ReplaceAllButton()->click();
    // Only the selected note: it keeps the pane, which shows the edited text.
    EXPECT_EQ(Stored(note), "aaaab");
    EXPECT_EQ(Shown(form.Memo()), "aaaab");
    EXPECT_EQ(Selection(form.Memo()), std::make_pair(4, 0));
    EXPECT_EQ(Stored(after), "banana");
    EXPECT_EQ(MessageTexts(), std::vector<QString>{"End of Note Reached."});

    // Typing into the pane afterwards is stored into the same node.
    QTest::keyClicks(form.Memo(), "Z");
    form.StoreCurrentText();
    EXPECT_EQ(Stored(note), "aaaaZb");
}

TEST_F(SearchCommandsTest, ReplacingNeverGrowsANotePastThePaneAndSavingKeepsItsTail) {
    TMainForm& form = Start();
    const std::string tail = "IMPORTANT TAIL the user wrote";
    const NodeId note = Add(kNoNode, kNote, std::string(40000, 'x') + "\r\n" + tail);
    const NodeId next = Add(kNoNode, kNote, "x");
    Select(note);
    TReplaceForm* dialog = OpenReplace("x", "xx", false);
    dialog->ReplaceAllButton()->click();

    EXPECT_EQ(form.Memo()->TextLength(), NotePane::kMaxLength);
    EXPECT_TRUE(Shown(form.Memo()).endsWith(QString::fromStdString("x\n" + tail)));
    ASSERT_EQ(platform_.messages.size(), 2u);
    EXPECT_EQ(platform_.messages[0].text, "End of Note Reached.");
    EXPECT_EQ(platform_.messages[1].text,
              "Some notes were not fully replaced because they would have grown past 65497 "
              "characters:\nnote");
    EXPECT_EQ(platform_.messages[1].icon, MessageIcon::Information);
    EXPECT_EQ(platform_.messages[1].caption, "Quillora");

    // A single Replace in the full note is refused and said so; the occurrence stays selected.
    PlaceCaret(form.Memo(), 0, 1);
    dialog->ReplaceButton()->click();
    EXPECT_EQ(form.Memo()->TextLength(), NotePane::kMaxLength);
    EXPECT_EQ(Selection(form.Memo()), std::make_pair(0, 1));
    ASSERT_EQ(platform_.messages.size(), 3u);
    EXPECT_EQ(platform_.messages[2].text,
              "The text was not replaced because \"note\" would have grown past 65497 "
              "characters.");

    // What is saved is what the pane shows, the tail included.
    const QString path = HomeFile("grown.qlb");
    ASSERT_TRUE(form.WriteNotesFileReporting(path));
    NotesDocument read;
    ASSERT_EQ(ReadNotesFile(ToNative(path), read), ReadStatus::Ok);
    const std::string& saved = read.TextOf(read.tree.FirstTopLevel());
    EXPECT_EQ(saved.size(), static_cast<std::size_t>(NotePane::kMaxLength));
    EXPECT_EQ(saved.substr(saved.size() - tail.size() - 2), tail + "\r\n");
    EXPECT_TRUE(Stored(note) == saved.substr(0, saved.size() - 2));
    EXPECT_EQ(Stored(next), "x");
}

TEST_F(SearchCommandsTest, ReplaceAllWithoutAHitChangesNothing) {
    TMainForm& form = Start();
    Select(Add(kNoNode, kNote, "abc"));
    PlaceCaret(form.Memo(), 1, 1);
    TReplaceForm* dialog = OpenReplace("zz", "y", true);
    dialog->ReplaceAllButton()->click();
    EXPECT_FALSE(form.Document().modified);
    EXPECT_EQ(Selection(form.Memo()), std::make_pair(1, 1));
    EXPECT_EQ(MessageTexts(), std::vector<QString>{"End of Notes/Folders reached."});
}

TEST_F(SearchCommandsTest, ReplaceDialogWithAnEmptyTreeDoesNothing) {
    TMainForm& form = Start();
    Select(Add(kNoNode, kNote, "abc"));
    TReplaceForm* dialog = OpenReplace("a", "b", true);
    form.CloseDocument();
    ASSERT_TRUE(dialog->isVisible());
    dialog->FindButton()->click();
    dialog->ReplaceButton()->click();
    dialog->ReplaceAllButton()->click();
    EXPECT_TRUE(platform_.messages.empty());
    EXPECT_FALSE(form.Document().modified);
    EXPECT_TRUE(Commands().Settings().text.empty());
}

TEST_F(SearchCommandsTest, CaseSensitiveHasRoomBesideTheRadioButtonsAndClearOfTheButtons) {
    Start();
    Select(Add(kNoNode, kNote, "x"));
    Action("SearchMenuReplace")->trigger();
    TSearchForm find(form_.get());
    for (QDialog* dialog :
         {static_cast<QDialog*>(&find), static_cast<QDialog*>(Commands().ReplaceForm())}) {
        SCOPED_TRACE(dialog->objectName().toStdString());
        const SearchDialogControls& c =
            dialog == &find ? find.Controls() : Commands().ReplaceForm()->Controls();
        const QRect box = c.case_check_box->geometry();
        EXPECT_GE(box.width(), c.case_check_box->sizeHint().width());
        EXPECT_GE(c.find_button->x() - (box.right() + 1), 4);  // visibly clear of the buttons
        for (const QRadioButton* radio : {c.all_rb, c.selected_rb}) {
            EXPECT_GE(radio->width(), radio->sizeHint().width());
            EXPECT_FALSE(box.intersects(radio->geometry())) << radio->objectName().toStdString();
        }
    }
}

// --- a language pack ---

class SearchDialogsWithPackTest : public SearchCommandsTest {
protected:
    void SetUp() override {
        SearchCommandsTest::SetUp();
        std::vector<ResourceBlock> blocks;
        // Only the replace dialog's caption is translated; the rest stays English.
        blocks.push_back({BlockOf(9000), kLanguageUsEnglish, BlockWith(9000, u"Ersetzen")});
        auto module =
            LanguageModule::FromBytes(BuildPeImage(blocks).AsString(), kLanguageUsEnglish);
        ASSERT_TRUE(module);
        LanguageText::Instance().SetModule(std::move(module));
    }
    void TearDown() override {
        LanguageText::Instance().SetModule(std::nullopt);
        SearchCommandsTest::TearDown();
    }

    static void ExpectWidened(QDialog& dialog, const SearchDialogControls& c, int height,
                              int case_top) {
        EXPECT_EQ(dialog.width() + kDialogFrameWidth, 406);
        EXPECT_EQ(dialog.height() + kDialogFrameHeight, height);
        for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
            EXPECT_EQ(b->width(), 89) << b->objectName().toStdString();
            EXPECT_EQ(b->geometry().right(), dialog.width() - 9);
        }
        const int left = c.label1->x() + dialog.fontMetrics().horizontalAdvance("Search:") + 6;
        EXPECT_EQ(c.all_rb->x(), left);
        EXPECT_EQ(c.selected_rb->x(), left);
        EXPECT_EQ(c.case_check_box->pos(), QPoint(8, case_top));
    }
};

TEST_F(SearchDialogsWithPackTest, DialogsTranslateAndWidenTheirLayout) {
    Start();
    TSearchForm find(form_.get());
    EXPECT_EQ(find.windowTitle(), "Find");
    ExpectWidened(find, find.Controls(), 147, 96);

    Select(Add(kNoNode, kNote, "x"));
    Action("SearchMenuReplace")->trigger();
    TReplaceForm& replace = *Commands().ReplaceForm();
    EXPECT_EQ(replace.windowTitle(), "Ersetzen");
    ExpectWidened(replace, replace.Controls(), 194, 144);
    EXPECT_LE(replace.ReplaceEdit()->geometry().right(), replace.FindButton()->x());
}

}  // namespace
}  // namespace quillora::testing
