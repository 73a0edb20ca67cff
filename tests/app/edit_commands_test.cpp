#include "app/commands/edit_commands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "document/notes_file.h"
#include "document/ui/my_tree_view.h"
#include "document/ui/note_pane.h"
#include "tests/support/ui_fixture.h"

namespace quillora::testing {
namespace {

QByteArray FileBytes(const NotesDocument& doc) {
    const std::string bytes = NotesFileBytes(doc);
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Folder F ("folder text") holding note N (two lines), then a second note M ("abc").
QByteArray SmallNotesFile() {
    NotesDocument doc;
    const int f = *doc.texts.AllocateTextSlot();
    const int n = *doc.texts.AllocateTextSlot();
    const int m = *doc.texts.AllocateTextSlot();
    doc.texts.SetText(f, "folder text");
    doc.texts.SetText(n, "hello WORLD\r\nfoo-bar baz");
    doc.texts.SetText(m, "abc");
    const NodeId folder = doc.tree.Append(kNoNode, "F", {kFolder, f}, 3);
    doc.tree.Append(folder, "N", {kNote, n}, 5);
    doc.tree.Append(kNoNode, "M", {kNote, m}, 5);
    return FileBytes(doc);
}

class EditCommandsTest : public UiTest {
protected:
    TMainForm& Open(const QByteArray& bytes = SmallNotesFile()) {
        const QString path = HomeFile("edit.qlb");
        WriteFile(path, bytes);
        TMainForm& form = StartMainForm({path});
        commands_ = form.Edits();
        EXPECT_NE(commands_, nullptr);
        clock_.Set(DateTime{2026, 3, 6, 21, 5, 0});
        commands_->SetClock(&clock_);
        commands_->SetSeparators(DateTimeSeparators{"/", ":"});
        return form;
    }
    NodeId Folder() { return form_->Document().tree.FirstTopLevel(); }
    NodeId Note() { return form_->Document().tree.Children(Folder()).front(); }
    NodeId SecondNote() { return form_->Document().tree.Children(kNoNode).at(1); }
    QAction* Action(const char* name) {
        QAction* a = form_->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
    // Selects `from`..`to` of the visible pane.
    void Select(NotePane* pane, int from, int to) {
        QTextCursor c = pane->textCursor();
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        pane->setTextCursor(c);
    }
    void Key(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(w, key, mods);
    }

    FixedClock clock_{DateTime{}};
    EditCommands* commands_ = nullptr;
};

// --- pure conversions ---

TEST(EditTextConversions, CaseCommandsKeepLengthAndCodePage) {
    EXPECT_EQ(CapitalizeText(QStringLiteral("hello WORLD\nfoo-bar baz")),
              QStringLiteral("Hello World\nFoo-bar Baz"));
    EXPECT_EQ(CapitalizeText(QString::fromUtf8("élan vital")), QString::fromUtf8("élan Vital"));
    EXPECT_EQ(CapitalizeText(QStringLiteral("a\tb c\x2029"
                                            "d")),
              QStringLiteral("A\tb C\x2029"
                             "D"));
    EXPECT_EQ(UpperCaseText(QString::fromUtf8("élan")), QString::fromUtf8("ÉLAN"));
    // ß would become two letters, µ a Greek letter outside the code page: both stay.
    EXPECT_EQ(UpperCaseText(QString::fromUtf8("straße µ ÿ š œ")),
              QString::fromUtf8("STRAßE µ Ÿ Š Œ"));
    EXPECT_EQ(LowerCaseText(QString::fromUtf8("ÀÉÎ Ÿ Ž X")), QString::fromUtf8("àéî ÿ ž x"));
    EXPECT_EQ(CapitalizeText(QString()), QString());
}

TEST(EditTextConversions, EnteringTextIsMadeRepresentableAndFitted) {
    EXPECT_EQ(PaneInputText(QString::fromUtf8("a\r\nb\rc\nd€∑😀")),
              QString::fromUtf8("a\nb\nc\nd€??"));
    // Line breaks count two characters: "ab\n" needs 4.
    EXPECT_EQ(FitToLength(QStringLiteral("ab\ncd"), 3), QStringLiteral("ab"));
    EXPECT_EQ(FitToLength(QStringLiteral("ab\ncd"), 4), QStringLiteral("ab\n"));
    EXPECT_EQ(FitToLength(QStringLiteral("ab\ncd"), 100), QStringLiteral("ab\ncd"));
    EXPECT_EQ(FitToLength(QStringLiteral("ab"), 0), QString());
}

TEST(EditTextConversions, SeparatorsComeFromTheLocaleFormats) {
    const DateTimeSeparators german = SeparatorsOf(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(german.date, ".");
    EXPECT_EQ(german.time, ":");
    const DateTimeSeparators us = SeparatorsOf(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(us.date, "/");
    EXPECT_EQ(us.time, ":");
    // The C locale writes its date with spaces and a month name: the system's short date there
    // uses "/".
    const DateTimeSeparators c = SeparatorsOf(QLocale::c());
    EXPECT_EQ(c.date, "/");
    EXPECT_EQ(c.time, ":");
}

// --- panes and switching ---

TEST_F(EditCommandsTest, PanesAcceptTabsAndFollowWordWrapWithoutMarkingModified) {
    TMainForm& form = Open();
    NotePane* pane = form.FolderMemo();
    EXPECT_FALSE(pane->tabChangesFocus());
    pane->setFocus();
    Key(pane, Qt::Key_Tab);
    EXPECT_TRUE(pane->toPlainText().startsWith(QLatin1Char('\t')));
    form.ClearModified();

    QAction* wrap = Action("EditMenuWordWrap");
    ASSERT_TRUE(wrap->isChecked());  // default on
    EXPECT_EQ(pane->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(pane->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    Key(pane, Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(wrap->isChecked());
    for (NotePane* p : {form.Memo(), form.FolderMemo()}) {
        EXPECT_EQ(p->lineWrapMode(), QPlainTextEdit::NoWrap);
        EXPECT_EQ(p->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    }
    commands_->EditMenuWordWrapClick();
    EXPECT_TRUE(wrap->isChecked());
    EXPECT_EQ(form.Memo()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_FALSE(form.Document().modified);
}

TEST_F(EditCommandsTest, WordWrapOffInTheSettingsIsAppliedAtStart) {
    WriteFile(IniPath(), "[Main]\r\nWordWrap=0\r\n");
    TMainForm& form = Open();
    EXPECT_FALSE(Action("EditMenuWordWrap")->isChecked());
    EXPECT_EQ(form.Memo()->lineWrapMode(), QPlainTextEdit::NoWrap);
}

TEST_F(EditCommandsTest, SwitchingNodesStoresTheTextWithoutMarkingModified) {
    TMainForm& form = Open();
    form.SelectNode(Note());
    form.Memo()->setFocus();
    QTest::keyClicks(form.Memo(), "X");
    EXPECT_TRUE(form.Document().modified);
    form.ClearModified();
    form.SelectNode(Folder());
    EXPECT_EQ(form.Document().TextOf(Note()), "Xhello WORLD\r\nfoo-bar baz\r\n");
    EXPECT_EQ(form.VisiblePane(), form.FolderMemo());
    EXPECT_EQ(form.FolderMemo()->toPlainText(), "folder text\n");
    EXPECT_FALSE(form.Document().modified);
    EXPECT_EQ(form.StatusText(0), "1:1");
}

// --- enabling ---

TEST_F(EditCommandsTest, MenuEnablingFollowsThePaneOfTheSelectedNode) {
    TMainForm& form = Open();
    form.SelectNode(Note());
    commands_->EditMenuClick();
    EXPECT_FALSE(Action("EditMenuCut")->isEnabled());
    EXPECT_FALSE(Action("EditMenuUndo")->isEnabled());
    EXPECT_TRUE(Action("EditMenuPaste")->isEnabled());
    EXPECT_TRUE(Action("EditMenuInsertDate")->isEnabled());
    QMenu* popup = commands_->EditPopupMenu();
    auto popup_action = [&](const char* name) {
        return popup->findChild<QAction*>(QString::fromLatin1(name));
    };
    EXPECT_TRUE(popup_action("EditPopupMenuPaste")->isEnabled());
    EXPECT_TRUE(popup_action("EditPopupMenuSelectAll")->isEnabled());
    EXPECT_FALSE(popup_action("PopupMenuCapitalize")->isEnabled());

    Select(form.Memo(), 0, 5);
    QTest::keyClicks(form.Memo(), "J");
    Select(form.Memo(), 0, 1);
    commands_->EditMenuClick();
    for (const char* name : {"EditMenuCut", "EditMenuCopy", "EditMenuDelete", "EditMenuUndo",
                             "EditMenuCapitalize", "EditMenuUpperCase"}) {
        EXPECT_TRUE(Action(name)->isEnabled()) << name;
    }
    EXPECT_TRUE(popup_action("EditPopupMenuUndo")->isEnabled());
    EXPECT_TRUE(popup_action("PopupMenuLowerCase")->isEnabled());

    // A disabled pane keeps paste and the insert commands off in the Edit menu only.
    form.Memo()->setEnabled(false);
    commands_->EditMenuClick();
    EXPECT_FALSE(Action("EditMenuPaste")->isEnabled());
    EXPECT_FALSE(Action("EditMenuInsertTime")->isEnabled());
    EXPECT_TRUE(popup_action("EditPopupMenuPaste")->isEnabled());
    // Nothing is typed into it either.
    commands_->EditMenuInsertDateClick();
    EXPECT_FALSE(form.Memo()->toPlainText().contains(QStringLiteral("2026")));
}

TEST_F(EditCommandsTest, EmptyDocumentDisablesEverythingAndClosingTheMenuRestoresShortcuts) {
    TMainForm& form = StartMainForm();
    commands_ = form.Edits();
    commands_->EditMenuClick();
    for (QAction* a : commands_->EditPopupMenu()->actions()) EXPECT_FALSE(a->isEnabled());
    EXPECT_FALSE(Action("EditMenuSelectAll")->isEnabled());

    auto* menu = form.findChild<QMenu*>(QStringLiteral("EditMenu"));
    if (menu == nullptr) GTEST_SKIP() << "no Edit menu built";
    for (const char* name : {"EditMenuPaste", "EditMenuInsertDate"}) Action(name)->setEnabled(true);
    emit menu->aboutToShow();
    EXPECT_FALSE(Action("EditMenuPaste")->isEnabled());
    emit menu->aboutToHide();
    EXPECT_TRUE(Action("EditMenuPaste")->isEnabled());
    EXPECT_TRUE(Action("EditMenuInsertDate")->isEnabled());
}

// --- clipboard, undo, delete ---

TEST_F(EditCommandsTest, ClipboardCommandsActOnTheSelectedNodesPane) {
    TMainForm& form = Open();
    form.SelectNode(Note());
    NotePane* memo = form.Memo();
    Select(memo, 0, 5);
    form.ClearModified();
    Action("EditMenuCopy")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "hello");
    EXPECT_FALSE(form.Document().modified);
    Action("EditMenuCut")->trigger();
    EXPECT_EQ(memo->toPlainText(), " WORLD\nfoo-bar baz\n");
    EXPECT_TRUE(form.Document().modified);

    // Paste: breaks of any kind become the pane's, characters outside the code page '?'.
    QApplication::clipboard()->setText(QString::fromUtf8("€1\r\n∑2\r3"));
    Action("EditMenuPaste")->trigger();
    EXPECT_EQ(memo->toPlainText(), QString::fromUtf8("€1\n?2\n3 WORLD\nfoo-bar baz\n"));

    Select(memo, 0, 2);
    QApplication::clipboard()->setText("kept");
    Action("EditMenuDelete")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "kept");
    EXPECT_TRUE(memo->toPlainText().startsWith(QStringLiteral("\n?2")));

    Action("EditMenuUndo")->trigger();
    EXPECT_TRUE(memo->toPlainText().startsWith(QString::fromUtf8("€1\n?2")));

    Action("EditMenuSelectAll")->trigger();
    EXPECT_EQ(memo->textCursor().selectionEnd(), memo->toPlainText().size());
    // The folder is untouched by all of it.
    EXPECT_EQ(form.FolderMemo()->toPlainText(), "folder text\n");
}

TEST_F(EditCommandsTest, CtrlDeleteDeletesTheSelectionThroughTheMenuCommand) {
    TMainForm& form = Open();
    form.SelectNode(SecondNote());
    NotePane* memo = form.Memo();
    memo->setFocus();
    Select(memo, 1, 2);
    Key(memo, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(memo->toPlainText(), "ac\n");
}

// --- case ---

TEST_F(EditCommandsTest, CaseCommandsReplaceTheSelectionForGood) {
    TMainForm& form = Open();
    form.SelectNode(Note());
    NotePane* memo = form.Memo();
    form.ClearModified();
    Select(memo, 0, 23);
    Action("EditMenuCapitalize")->trigger();
    EXPECT_EQ(memo->toPlainText(), "Hello World\nFoo-bar Baz\n");
    EXPECT_TRUE(form.Document().modified);
    EXPECT_EQ(memo->textCursor().selectedText().size(), 23);  // still selected
    EXPECT_FALSE(memo->document()->isUndoAvailable());

    Action("EditMenuUpperCase")->trigger();
    EXPECT_EQ(memo->toPlainText(), "HELLO WORLD\nFOO-BAR BAZ\n");
    commands_->EditPopupMenu()->findChild<QAction*>("PopupMenuLowerCase")->trigger();
    EXPECT_EQ(memo->toPlainText(), "hello world\nfoo-bar baz\n");

    // Starting in the middle of a word capitalizes that character.
    Select(memo, 2, 11);
    Action("EditMenuCapitalize")->trigger();
    EXPECT_EQ(memo->toPlainText(), "heLlo World\nfoo-bar baz\n");

    // An empty selection changes nothing and does not mark the document.
    form.ClearModified();
    Select(memo, 3, 3);
    Action("EditMenuCapitalize")->trigger();
    Action("EditMenuUpperCase")->trigger();
    EXPECT_FALSE(form.Document().modified);
}

TEST_F(EditCommandsTest, UndoAfterACaseChangeCannotCorruptTheText) {
    TMainForm& form = Open();
    form.SelectNode(SecondNote());
    NotePane* memo = form.Memo();
    memo->setFocus();
    QTest::keyClicks(memo, "xyz");
    Select(memo, 0, 6);
    Action("EditMenuUpperCase")->trigger();
    Key(memo, Qt::Key_Z, Qt::ControlModifier);
    Action("EditMenuUndo")->trigger();
    EXPECT_EQ(memo->toPlainText(), "XYZABC\n");
}

// --- date and time ---

TEST_F(EditCommandsTest, InsertsDateAndTimeWithTheSeparatorsAtTheCaret) {
    TMainForm& form = Open();
    form.SelectNode(SecondNote());
    NotePane* memo = form.Memo();
    form.ClearModified();
    Select(memo, 0, 3);  // replaced
    Action("EditMenuInsertDateAndTime")->trigger();
    EXPECT_EQ(memo->toPlainText(), "03/06/2026 9:05PM\n");
    EXPECT_TRUE(form.Document().modified);
    EXPECT_TRUE(memo->document()->isUndoAvailable());

    commands_->SetSeparators(DateTimeSeparators{".", "."});
    clock_.Set(DateTime{2026, 12, 31, 0, 7, 0});
    Select(memo, 0, 0);
    Action("EditMenuInsertDate")->trigger();
    Action("EditMenuInsertTime")->trigger();
    EXPECT_TRUE(memo->toPlainText().startsWith(QStringLiteral("12.31.202612.07AM03/06")));
    clock_.Set(DateTime{2026, 1, 2, 12, 0, 0});
    Select(memo, 0, 0);
    Key(memo, Qt::Key_F6);
    EXPECT_TRUE(memo->toPlainText().startsWith(QStringLiteral("12.00PM")));

    // A folder gets the text in its own pane.
    form.SelectNode(Folder());
    Select(form.FolderMemo(), 0, 0);
    Action("EditMenuInsertDate")->trigger();
    EXPECT_EQ(form.FolderMemo()->toPlainText(), "01.02.2026folder text\n");
}

// --- keys and status panels ---

TEST_F(EditCommandsTest, InsertKeyTogglesEachPanesOwnTypingMode) {
    TMainForm& form = Open();
    form.SelectNode(Note());
    NotePane* memo = form.Memo();
    memo->setFocus();
    EXPECT_EQ(form.StatusText(2), "Insert");
    Key(memo, Qt::Key_Insert);
    EXPECT_EQ(form.StatusText(2), "Overwrite");
    QTest::keyClicks(memo, "J");
    EXPECT_EQ(memo->toPlainText(), "Jello WORLD\nfoo-bar baz\n");

    form.SelectNode(Folder());
    EXPECT_EQ(form.StatusText(2), "Insert");
    form.SelectNode(Note());
    EXPECT_EQ(form.StatusText(2), "Overwrite");
    Key(memo, Qt::Key_Insert);
    EXPECT_EQ(form.StatusText(2), "Insert");
    // Shift+Insert is not the mode key.
    Key(memo, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(form.StatusText(2), "Insert");
}

TEST_F(EditCommandsTest, CtrlYDeletesTheCaretLineForGood) {
    TMainForm& form = Open();
    form.SelectNode(Note());
    NotePane* memo = form.Memo();
    memo->setFocus();
    Select(memo, 3, 3);
    form.ClearModified();
    Key(memo, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(memo->toPlainText(), "foo-bar baz\n");
    EXPECT_TRUE(form.Document().modified);
    EXPECT_FALSE(memo->document()->isUndoAvailable());

    // The last line of a text without a final break: its characters, not the break before it.
    memo->ShowText(QStringLiteral("one\ntwo"));
    Select(memo, 5, 5);
    Key(memo, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(memo->toPlainText(), "one\n");
    // Ctrl+Shift+Y is not the command.
    Select(memo, 0, 0);
    Key(memo, Qt::Key_Y, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(memo->toPlainText(), "one\n");
}

TEST_F(EditCommandsTest, CtrlLGivesTheFocusToTheTree) {
    TMainForm& form = Open();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.SelectNode(Note());
    form.Memo()->setFocus();
    ASSERT_TRUE(form.Memo()->hasFocus());
    Key(form.Memo(), Qt::Key_L, Qt::ControlModifier);
    EXPECT_TRUE(form.Tree()->hasFocus());
}

TEST_F(EditCommandsTest, CaretPanelCountsDisplayLines) {
    TMainForm& form = Open();
    form.SelectNode(Note());
    NotePane* memo = form.Memo();
    EXPECT_EQ(form.StatusText(0), "1:1");
    Select(memo, 14, 14);
    EXPECT_EQ(form.StatusText(0), "2:3");
    // The start of the selection counts.
    Select(memo, 20, 13);
    EXPECT_EQ(form.StatusText(0), "2:2");

    // A paragraph wider than the pane is several display lines while wrapping.
    QString longLine;
    for (int i = 0; i < 200; ++i) longLine += QStringLiteral("word ");
    memo->ShowText(QStringLiteral("x\n") + longLine);
    Select(memo, memo->toPlainText().size(), memo->toPlainText().size());
    const int wrapped_line = form.StatusText(0).section(QLatin1Char(':'), 0, 0).toInt();
    EXPECT_GT(wrapped_line, 3);
    commands_->EditMenuWordWrapClick();
    EXPECT_EQ(form.StatusText(0), QStringLiteral("2:%1").arg(longLine.size() + 1));
}

// --- the length limit ---

TEST_F(EditCommandsTest, PanesRefuseTextBeyondTheLimitCountingBreaksAsTwo) {
    TMainForm& form = Open();
    form.SelectNode(SecondNote());
    NotePane* memo = form.Memo();
    memo->setFocus();
    // 65493 characters + "\n" (2) = 65495: room for two more.
    memo->ShowText(QString(65493, QLatin1Char('a')) + QLatin1Char('\n'));
    EXPECT_EQ(memo->TextLength(), 65495);
    Select(memo, 0, 0);
    Key(memo, Qt::Key_Return);  // a break takes both
    EXPECT_EQ(memo->TextLength(), 65497);
    QTest::keyClicks(memo, "b");
    EXPECT_EQ(memo->TextLength(), 65497);
    EXPECT_FALSE(memo->toPlainText().contains(QLatin1Char('b')));

    // Overwriting does not grow the text; typing over a selection frees its room.
    Key(memo, Qt::Key_Insert);
    Select(memo, 1, 1);
    QTest::keyClicks(memo, "c");
    EXPECT_EQ(memo->toPlainText().mid(1, 1), "c");
    Key(memo, Qt::Key_Insert);
    Select(memo, 2, 4);
    QTest::keyClicks(memo, "de");
    EXPECT_EQ(memo->toPlainText().mid(2, 2), "de");

    // Paste keeps what fits.
    Select(memo, 0, 3);  // "\nc" + 'a' = 4 characters freed
    QApplication::clipboard()->setText("12\r\n345");
    Key(memo, Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(memo->toPlainText().startsWith(QStringLiteral("12\nea")));
    EXPECT_EQ(memo->TextLength(), 65497);
}

TEST_F(EditCommandsTest, TypedCharactersOutsideTheCodePageBecomeQuestionMarks) {
    TMainForm& form = Open();
    form.SelectNode(SecondNote());
    NotePane* memo = form.Memo();
    memo->setFocus();
    // Key presses as a keyboard layout would send them, one character each.
    for (const QString& typed :
         {QString::fromUtf8("€"), QString::fromUtf8("∑"), QString::fromUtf8("é")}) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
        QApplication::sendEvent(memo, &press);
    }
    EXPECT_EQ(memo->toPlainText(), QString::fromUtf8("€?éabc\n"));
    form.SelectNode(Folder());
    EXPECT_EQ(form.Document().TextOf(SecondNote()),
              "\x80?\xE9"
              "abc\r\n");
}

TEST_F(EditCommandsTest, AltWithALetterIsNeverTypedButAltGrIs) {
    TMainForm& form = Open();
    form.SelectNode(SecondNote());
    NotePane* memo = form.Memo();
    memo->setFocus();
    // Alt+Q names no menu: nothing is typed and the document stays unmodified.
    QKeyEvent alt(QEvent::KeyPress, Qt::Key_Q, Qt::AltModifier, QStringLiteral("q"));
    QApplication::sendEvent(memo, &alt);
    EXPECT_EQ(memo->PlainText(), "abc\n");
    EXPECT_FALSE(form.Document().modified);
    // Ctrl+Alt is AltGr on some keyboards: its character is typed.
    QKeyEvent alt_gr(QEvent::KeyPress, Qt::Key_E, Qt::ControlModifier | Qt::AltModifier,
                     QString::fromUtf8("\xE2\x82\xAC"));
    QApplication::sendEvent(memo, &alt_gr);
    EXPECT_EQ(memo->PlainText(), QString::fromUtf8("\xE2\x82\xAC"
                                                   "abc\n"));
}

TEST_F(EditCommandsTest, PaneTextKeepsNoBreakSpacesAndShiftEnterMakesARealBreak) {
    TMainForm& form = Open();
    form.SelectNode(SecondNote());
    NotePane* memo = form.Memo();
    memo->ShowText(QString::fromUtf8("a\u00A0b\n"));
    EXPECT_EQ(memo->PlainText(), QString::fromUtf8("a\u00A0b\n"));
    memo->setFocus();
    Select(memo, 1, 1);
    Key(memo, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(memo->PlainText(), QString::fromUtf8("a\n\u00A0b\n"));
    EXPECT_EQ(memo->document()->blockCount(), 3);
    EXPECT_EQ(memo->TextLength(), 7);
}

// --- speed with a full document ---

TEST_F(EditCommandsTest, SwitchingAndTypingInLargeNotesStayWithinAFrame) {
    NotesDocument doc;
    std::string big;
    while (big.size() < 60000)
        big += "The quick brown fox jumps over the lazy dog, again. 0123456789\r\n";
    NodeId parent = kNoNode;
    for (int i = 0; i < 4000; ++i) {
        const int slot = *doc.texts.AllocateTextSlot();
        const bool folder = i % 20 == 0;
        doc.texts.SetText(slot, i < 2 ? big : "line " + std::to_string(i));
        const NodeId node = doc.tree.Append(folder || parent == kNoNode ? kNoNode : parent,
                                            "Node " + std::to_string(i),
                                            {i < 2 || !folder ? kNote : kFolder, slot}, 5);
        if (folder) parent = node;
    }
    TMainForm& form = Open(FileBytes(doc));
    form.resize(900, 700);
    QApplication::processEvents();
    const NodeId first = form.Document().tree.FirstTopLevel();
    const NodeId second = form.Document().tree.NextInDisplayOrder(first);
    ASSERT_EQ(form.Document().TextLength(second), static_cast<int32_t>(big.size()));

    auto timed = [](auto&& step) {
        QElapsedTimer timer;
        timer.start();
        step();
        QApplication::processEvents();
        return timer.nsecsElapsed() / 1.0e6;
    };
    std::vector<double> switches;
    for (int i = 0; i < 10; ++i) {
        switches.push_back(timed([&] { form.SelectNode(i % 2 ? first : second); }));
    }
    NotePane* memo = form.Memo();
    memo->setFocus();
    memo->moveCursor(QTextCursor::End);
    memo->ensureCursorVisible();
    QApplication::processEvents();
    std::vector<double> keys;
    for (int i = 0; i < 20; ++i) keys.push_back(timed([&] { QTest::keyClick(memo, Qt::Key_X); }));
    memo->moveCursor(QTextCursor::Start);
    for (int i = 0; i < 20; ++i) keys.push_back(timed([&] { QTest::keyClick(memo, Qt::Key_Y); }));
    std::sort(switches.begin(), switches.end());
    std::sort(keys.begin(), keys.end());
    const double worst_switch = switches.back();
    const double worst_key = keys.back();
    std::printf(
        "[ figures  ] 60 KB notes, 4000 nodes: selection change median %.2f ms, worst %.2f ms; "
        "keystroke median %.2f ms, worst %.2f ms\n",
        switches[switches.size() / 2], worst_switch, keys[keys.size() / 2], worst_key);
    // Generous bounds against a slow test machine; the goal is one frame (16 ms).
    EXPECT_LT(worst_switch, 100.0);
    EXPECT_LT(worst_key, 100.0);
}

}  // namespace
}  // namespace quillora::testing
