#include "app/main_menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "document/notes_file.h"
#include "document/ui/my_tree_view.h"
#include "document/ui/note_pane.h"
#include "gui/action_registry.h"
#include "gui/context_help.h"
#include "tests/support/ui_fixture.h"

namespace quillora::testing {
namespace {

QByteArray OneFolderFile() {
    NotesDocument doc;
    const int slot = *doc.texts.AllocateTextSlot();
    doc.tree.Append(kNoNode, "F", {kFolder, slot}, 3);
    const std::string bytes = NotesFileBytes(doc);
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// The captions of a menu's visible commands, "-" for separators, "Name>" for submenus.
QStringList Lines(const QMenu* menu) {
    QStringList lines;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            lines.append("-");
        } else if (action->menu()) {
            lines.append(action->text() + ">");
        } else {
            lines.append(action->text());
        }
    }
    return lines;
}

QStringList ButtonNames(const QToolBar* bar) {
    QStringList names;
    for (QAction* action : bar->actions()) {
        if (action->isSeparator()) {
            names.append("|");
        } else if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action))) {
            names.append(button->objectName());
        }
    }
    return names;
}

using MainMenuTest = UiTest;

TEST_F(MainMenuTest, MenusHoldTheCommandsOfTheTableInOrder) {
    TMainForm& form = StartMainForm();
    QStringList titles;
    for (const QAction* action : form.menuBar()->actions()) titles.append(action->text());
    // Commands of features not built yet leave their menus out; these exist already.
    for (const char* title : {"&File", "&View", "&Help"}) EXPECT_TRUE(titles.contains(title));
    EXPECT_EQ(titles.front(), "&File");
    EXPECT_EQ(titles.back(), "&Help");

    auto* file = form.findChild<QMenu*>("FileMenu");
    ASSERT_NE(file, nullptr);
    const QStringList lines = Lines(file);
    for (const char* caption : {"&New", "&Open...", "&Re-Open>", "&Save", "Save &As...", "E&xit"}) {
        EXPECT_TRUE(lines.contains(caption)) << caption;
    }
    EXPECT_EQ(lines.mid(0, 5),
              QStringList({"&New", "&Open...", "&Re-Open>", "&Save", "Save &As..."}));
    EXPECT_EQ(lines.back(), "E&xit");
    auto* reopen = form.findChild<QMenu*>("FileMenuReOpen");
    ASSERT_NE(reopen, nullptr);
    EXPECT_EQ(Lines(reopen).mid(0, 2), QStringList({"&Clear List", "-"}));
    EXPECT_EQ(reopen->actions().size(), 12);

    EXPECT_EQ(Lines(form.findChild<QMenu*>("ViewMenu")),
              QStringList({"&Tool Bar", "&Status Bar", "-", "&Always On Top"}));
    const QStringList help = Lines(form.findChild<QMenu*>("HelpMenu"));
    EXPECT_EQ(help.mid(0, 4), QStringList({"&Contents...", "&Show Hints", "-", "&What's New?"}));

    // Help numbers of the window and its menus.
    EXPECT_EQ(HelpContextOf(&form), 14);
    EXPECT_EQ(HelpContextOf(file), 8);
    EXPECT_EQ(HelpContextOf(reopen), 8);
    EXPECT_EQ(HelpContextOf(form.findChild<QMenu*>("ViewMenu")), 11);
    EXPECT_EQ(HelpContextOf(form.findChild<QMenu*>("HelpMenu")), 13);
    EXPECT_EQ(HelpContextOf(form.Tree()), 14);
}

TEST_F(MainMenuTest, CommandsCreatedByOtherControllersAppearInTheirPlaces) {
    // Commands made before the menus are built join them, the tree's context menu falling
    // back to a Notes command when its own is missing.
    context_.settings_file = std::make_unique<ProfileFile>(ToNative(IniPath()));
    TMainForm form(context_);
    for (const char* name : {"EditMenuCut", "EditMenuUndo", "NotesMenuNewNote", "SearchMenuFind"}) {
        if (!form.findChild<QAction*>(name)) form.Actions().Create(name, name);
    }
    if (!form.findChild<QAction*>("PopupMenuDelete"))
        form.Actions().Create("PopupMenuDelete", "del");
    BuildMainMenu(form);

    auto* edit = form.findChild<QMenu*>("EditMenu");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(HelpContextOf(edit), 9);
    EXPECT_TRUE(edit->actions().contains(form.findChild<QAction*>("EditMenuCut")));
    auto* popup = form.findChild<QMenu*>("PopupMenu");
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->actions().contains(form.findChild<QAction*>("PopupMenuDelete")));
    auto* popup_new = popup->findChild<QMenu*>("PopupMenuNew");
    ASSERT_NE(popup_new, nullptr);
    QAction* new_note = form.findChild<QAction*>("PopupMenuNewNote");
    if (!new_note) new_note = form.findChild<QAction*>("NotesMenuNewNote");
    EXPECT_TRUE(popup_new->actions().contains(new_note));
    EXPECT_EQ(form.Tree()->contextMenuPolicy(), Qt::CustomContextMenu);

    auto* bar = form.findChild<QToolBar*>("ToolBar");
    ASSERT_NE(bar, nullptr);
    const QStringList buttons = ButtonNames(bar);
    // Groups keep their gaps; buttons without a command are left out.
    for (const char* name : {"NewButton", "OpenButton", "SaveButton", "NewNoteButton", "CutButton",
                             "UndoButton", "FindButton", "ExitButton"}) {
        EXPECT_TRUE(buttons.contains(name)) << name;
    }
    EXPECT_LT(buttons.indexOf("SaveButton"), buttons.indexOf("NewNoteButton"));
    EXPECT_EQ(buttons.at(buttons.indexOf("SaveButton") + 1), "|");
    EXPECT_EQ(buttons.at(buttons.indexOf("FindButton") + 1), "|");
    EXPECT_EQ(buttons.back(), "ExitButton");
    EXPECT_EQ(form.findChild<QToolButton*>("NewNoteButton")->toolTip(), "New Note");
}

TEST_F(MainMenuTest, ToolButtonsFollowTheSelectionAndTheModifiedFlag) {
    const QString path = HomeFile("a.qlb");
    WriteFile(path, OneFolderFile());
    TMainForm& form = StartMainForm();
    auto enabled = [&](const char* name) {
        auto* button = form.findChild<QToolButton*>(name);
        return button ? std::optional<bool>(button->isEnabled()) : std::nullopt;
    };
    const char* selection_buttons[] = {"CutButton",  "CopyButton", "PasteButton", "UndoButton",
                                       "DateButton", "TimeButton", "FindButton"};
    for (const char* name :
         {"NewButton", "OpenButton", "NewNoteButton", "NewFolderButton", "ExitButton"}) {
        EXPECT_NE(enabled(name), std::optional<bool>(false)) << name;
    }
    EXPECT_EQ(enabled("SaveButton"), std::optional<bool>(false));
    for (const char* name : selection_buttons) {
        EXPECT_NE(enabled(name), std::optional<bool>(true)) << name;
    }

    form.ReadNotesFileReporting(path);  // selects the first node
    ASSERT_NE(form.SelectedNode(), kNoNode);
    for (const char* name : selection_buttons) {
        EXPECT_NE(enabled(name), std::optional<bool>(false)) << name;
    }
    EXPECT_EQ(enabled("SaveButton"), std::optional<bool>(false));
    form.FolderMemo()->setPlainText("x");
    EXPECT_EQ(enabled("SaveButton"), std::optional<bool>(true));

    // The Save button saves, though the File menu's item was last shown disabled.
    form.findChild<QMenu*>("FileMenu")->aboutToShow();
    form.findChild<QAction*>("FileMenuSave")->setEnabled(false);
    form.findChild<QToolButton*>("SaveButton")->click();
    EXPECT_FALSE(form.Document().modified);
    EXPECT_EQ(enabled("SaveButton"), std::optional<bool>(false));
}

TEST_F(MainMenuTest, FileMenuEnablesItsItemsByTheDocumentState) {
    TMainForm& form = StartMainForm();
    auto* file = form.findChild<QMenu*>("FileMenu");
    emit file->aboutToShow();
    EXPECT_FALSE(form.findChild<QAction*>("FileMenuSave")->isEnabled());
    EXPECT_FALSE(form.findChild<QAction*>("FileMenuSaveAs")->isEnabled());
    const QString path = HomeFile("a.qlb");
    WriteFile(path, OneFolderFile());
    form.ReadNotesFileReporting(path);
    form.FolderMemo()->setPlainText("x");
    emit file->aboutToShow();
    EXPECT_TRUE(form.findChild<QAction*>("FileMenuSave")->isEnabled());
    EXPECT_TRUE(form.findChild<QAction*>("FileMenuSaveAs")->isEnabled());
}

TEST_F(MainMenuTest, HelpCommandsAndContextHelp) {
    TMainForm& form = StartMainForm();
    form.findChild<QAction*>("HelpMenuContents")->trigger();
    form.findChild<QAction*>("HelpMenuWhatsNew")->trigger();
    EXPECT_EQ(platform_.help_topics, std::vector<int>({0, 60}));

    form.activateWindow();
    form.Tree()->setFocus();
    QTest::keyClick(form.Tree(), Qt::Key_F1);
    ASSERT_EQ(platform_.help_topics.size(), 3u);
    EXPECT_EQ(platform_.help_topics.back(), 14);

    // F1 in an open menu asks for that menu's topic.
    auto* view = form.findChild<QMenu*>("ViewMenu");
    view->popup(form.mapToGlobal(QPoint(20, 20)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_F1);
    view->close();
    EXPECT_EQ(platform_.help_topics.back(), 11);

    // Show Hints switches the tool buttons' tips.
    auto* hints = form.findChild<QAction*>("HelpMenuShowHints");
    auto* open = form.findChild<QToolButton*>("OpenButton");
    ASSERT_TRUE(hints->isChecked());
    EXPECT_EQ(open->toolTip(), "Open");
    hints->trigger();
    EXPECT_FALSE(hints->isChecked());
    EXPECT_EQ(open->toolTip(), "");
    hints->trigger();
    EXPECT_EQ(open->toolTip(), "Open");
}

}  // namespace
}  // namespace quillora::testing
