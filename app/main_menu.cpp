#include "app/main_menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <vector>

#include "app/main_form.h"
#include "document/ui/my_tree_view.h"
#include "gui/action_registry.h"
#include "gui/context_help.h"
#include "gui/icons/tool_glyphs.h"
#include "gui/lang.h"

namespace quillora {

namespace {

// One line of a menu: a command, a separator or a submenu with its own lines.
struct MenuLine {
    const char* name = nullptr;  // nullptr: a separator
    uint16_t id = 0;             // submenus: the caption's text number
    const char* caption = nullptr;
    std::vector<MenuLine> lines = {};
};

struct MenuTable {
    const char* name;
    uint16_t id;
    const char* caption;
    int help_context;
    std::vector<MenuLine> lines;
};

const MenuLine kSeparator{};

MenuLine Item(const char* name) {
    return MenuLine{name, 0, nullptr, {}};
}

// NOLINTNEXTLINE(readability-function-size): a table of data, not logic
const std::vector<MenuTable>& MainMenuTable() {
    static const std::vector<MenuTable> table = {
        {"FileMenu",
         7000,
         "&File",
         8,
         {Item("FileMenuNew"), Item("FileMenuOpen"),
          MenuLine{"FileMenuReOpen",
                   7003,
                   "&Re-Open",
                   {Item("ReOpenMenuClearList"), kSeparator, Item("ReOpen1"), Item("ReOpen2"),
                    Item("ReOpen3"), Item("ReOpen4"), Item("ReOpen5"), Item("ReOpen6"),
                    Item("ReOpen7"), Item("ReOpen8"), Item("ReOpen9"), Item("ReOpen10")}},
          Item("FileMenuSave"), Item("FileMenuSaveAs"), kSeparator, Item("FileMenuImportFile"),
          kSeparator, Item("FileMenuExportSelected"), Item("FileMenuExportAll"), kSeparator,
          Item("FileMenuProperties"), kSeparator, Item("FileMenuExit")}},
        {"EditMenu",
         7050,
         "&Edit",
         9,
         {Item("EditMenuUndo"),
          kSeparator,
          Item("EditMenuCut"),
          Item("EditMenuCopy"),
          Item("EditMenuPaste"),
          Item("EditMenuDelete"),
          kSeparator,
          Item("EditMenuSelectAll"),
          kSeparator,
          Item("EditMenuCapitalize"),
          Item("EditMenuLowerCase"),
          Item("EditMenuUpperCase"),
          kSeparator,
          Item("EditMenuInsertDate"),
          Item("EditMenuInsertTime"),
          Item("EditMenuInsertDateAndTime"),
          kSeparator,
          Item("EditMenuWordWrap"),
          kSeparator,
          Item("EditMenuSettings")}},
        {"SearchMenu",
         7100,
         "&Search",
         44,
         {Item("SearchMenuFind"), Item("SearchMenuFindAgain"), kSeparator,
          Item("SearchMenuReplace")}},
        {"NotesMenu",
         7150,
         "&Notes",
         10,
         {MenuLine{"NotesMenuNew",
                   7151,
                   "&New",
                   {Item("NotesMenuNewNote"), Item("NotesMenuNewNoteInFolder"), kSeparator,
                    Item("NotesMenuNewFolder"), Item("NotesMenuNewFolderInFolder")}},
          kSeparator, Item("NotesMenuDelete"), Item("NotesMenuRename"), kSeparator,
          Item("NotesMenuMoveUp"), Item("NotesMenuMoveDown"), kSeparator,
          Item("NotesMenuCloseAllFolders"), Item("NotesMenuOpenAllFolders"), kSeparator,
          Item("NotesMenuSort"), Item("NotesMenuSortAll")}},
        {"ViewMenu",
         7200,
         "&View",
         11,
         {Item("ViewMenuToolBar"), Item("ViewMenuStatusBar"), kSeparator,
          Item("ViewMenuAlwaysOnTop")}},
        // Its caption and its favourites are made from the favorites file once the menu exists.
        {"FavoritesMenu",
         7250,
         "Favs",
         12,
         {Item("FavoritesMenuAdd"), Item("FavoritesMenuEdit"), kSeparator}},
        {"HelpMenu",
         7300,
         "&Help",
         13,
         {Item("HelpMenuContents"), Item("HelpMenuShowHints"), kSeparator, Item("HelpMenuWhatsNew"),
          Item("HelpMenuHomepage"), kSeparator, Item("HelpMenuAbout")}},
    };
    return table;
}

// The tree's context menu repeats the Notes commands.
const MenuTable& PopupMenuTable() {
    static const MenuTable table = {
        "PopupMenu",
        0,
        "",
        0,
        {MenuLine{"PopupMenuNew",
                  7151,
                  "&New",
                  {Item("PopupMenuNewNote"), Item("PopupMenuNewNoteInFolder"), kSeparator,
                   Item("PopupMenuNewFolder"), Item("PopupMenuNewFolderInFolder")}},
         kSeparator, Item("PopupMenuDelete"), Item("PopupMenuRename"), kSeparator,
         Item("PopupMenuMoveUp"), Item("PopupMenuMoveDown"), kSeparator, Item("PopupMenuSort")}};
    return table;
}

struct ToolButtonLine {
    const char* name;  // nullptr: the gap between two groups
    ToolGlyph glyph;
    uint16_t hint_id;
    const char* hint;
    const char* command;
    ToolButtonEnabling enabling;
};

using E = ToolButtonEnabling;
const ToolButtonLine kToolGroupGap{nullptr, ToolGlyph::New, 0, nullptr, nullptr, E::Always};
const ToolButtonLine kToolBarTable[] = {
    {"NewButton", ToolGlyph::New, 7600, "New", "FileMenuNew", E::Always},
    {"OpenButton", ToolGlyph::Open, 7601, "Open", "FileMenuOpen", E::Always},
    {"SaveButton", ToolGlyph::Save, 7602, "Save", "FileMenuSave", E::WhileModified},
    kToolGroupGap,
    {"NewNoteButton", ToolGlyph::NewNote, 7603, "New Note", "NotesMenuNewNote", E::Always},
    {"NewFolderButton", ToolGlyph::NewFolder, 7604, "New Folder", "NotesMenuNewFolder", E::Always},
    kToolGroupGap,
    {"CutButton", ToolGlyph::Cut, 7605, "Cut", "EditMenuCut", E::WhileNodeSelected},
    {"CopyButton", ToolGlyph::Copy, 7606, "Copy", "EditMenuCopy", E::WhileNodeSelected},
    {"PasteButton", ToolGlyph::Paste, 7607, "Paste", "EditMenuPaste", E::WhileNodeSelected},
    {"UndoButton", ToolGlyph::Undo, 7608, "Undo", "EditMenuUndo", E::WhileNodeSelected},
    kToolGroupGap,
    {"DateButton", ToolGlyph::InsertDate, 7609, "Insert Date", "EditMenuInsertDate",
     E::WhileNodeSelected},
    {"TimeButton", ToolGlyph::InsertTime, 7610, "Insert Time", "EditMenuInsertTime",
     E::WhileNodeSelected},
    kToolGroupGap,
    {"FindButton", ToolGlyph::Find, 7611, "Find", "SearchMenuFind", E::WhileNodeSelected},
    kToolGroupGap,
    {"ExitButton", ToolGlyph::Exit, 7612, "Exit", "FileMenuExit", E::Always},
};

// Adds the lines to `menu` and registers its submenus; returns how many commands were added
// (separators not counted).
int FillMenu(ActionRegistry& actions, QMenu* menu, const std::vector<MenuLine>& lines) {
    int commands = 0;
    for (const MenuLine& line : lines) {
        if (!line.name) {
            menu->addSeparator();
        } else if (line.caption) {
            auto* submenu = new QMenu(Lang(line.id, line.caption), menu);
            submenu->setObjectName(QString::fromLatin1(line.name));
            submenu->menuAction()->setObjectName(QString::fromLatin1(line.name) +
                                                 QStringLiteral("Item"));
            if (FillMenu(actions, submenu, line.lines) > 0) {
                menu->addMenu(submenu);
                actions.AddMenu(line.name, *submenu);
                ++commands;
            } else {
                delete submenu;
            }
        } else {
            menu->addAction(&actions.Action(line.name));
            ++commands;
        }
    }
    return commands;
}

QToolBar* BuildToolBar(QMainWindow& window, ActionRegistry& actions) {
    auto* bar = new QToolBar(&window);
    bar->setObjectName(QStringLiteral("ToolBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(kNodeImageSize, kNodeImageSize));
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    bar->toggleViewAction()->setVisible(false);
    bool gap_pending = false;
    for (const ToolButtonLine& line : kToolBarTable) {
        if (!line.name) {
            gap_pending = !bar->actions().isEmpty();
            continue;
        }
        QAction* command = &actions.Action(line.command);
        if (gap_pending) bar->addSeparator();
        gap_pending = false;
        // A button of its own rather than the command itself, so that the button's enabling
        // follows the table while the menu item's enabling stays with its controller.
        auto* button = new QToolButton(bar);
        button->setObjectName(QString::fromLatin1(line.name));
        button->setAutoRaise(true);
        button->setFixedSize(25, 25);
        button->setIcon(ToolGlyphIcon(line.glyph));
        button->setProperty("hint", Lang(line.hint_id, line.hint));
        button->setToolTip(Lang(line.hint_id, line.hint));
        button->setProperty(kToolButtonEnablingProperty, static_cast<int>(line.enabling));
        // The button runs the command's handler like its menu item does; whether it may is the
        // button's own enabling, so a menu item left disabled after its menu closed does not
        // block it.
        QObject::connect(button, &QToolButton::clicked, command,
                         [command] { emit command->triggered(command->isChecked()); });
        bar->addWidget(button);
    }
    window.addToolBar(Qt::TopToolBarArea, bar);
    return bar;
}

// The tree shows the registered PopupMenu at the moment of the click.
void AttachTreeMenu(QTreeView& tree, ActionRegistry& actions) {
    if (tree.contextMenuPolicy() != Qt::DefaultContextMenu) return;
    tree.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(&tree, &QWidget::customContextMenuRequested, &tree,
                     [&tree, &actions](QPoint p) {
                         QMenu& popup = actions.Menu("PopupMenu");
                         if (!popup.actions().isEmpty()) {
                             popup.popup(tree.viewport()->mapToGlobal(p));
                         }
                     });
}

// Whatever an earlier build made goes, with its registrations.
void RemoveBuiltMenus(QMainWindow& window, ActionRegistry& actions, QToolBar* old_bar) {
    const auto forget_submenus = [&actions](const std::vector<MenuLine>& lines) {
        for (const MenuLine& line : lines) {
            if (line.caption) actions.RemoveMenu(line.name);
        }
    };
    for (const MenuTable& table : MainMenuTable()) {
        forget_submenus(table.lines);
        if (actions.HasMenu(table.name)) delete &actions.Menu(table.name);
        actions.RemoveMenu(table.name);
    }
    const MenuTable& popup = PopupMenuTable();
    forget_submenus(popup.lines);
    if (actions.HasMenu(popup.name)) delete &actions.Menu(popup.name);
    actions.RemoveMenu(popup.name);
    window.menuBar()->clear();
    delete old_bar;
}

}  // namespace

QToolBar* BuildMenusAndToolBar(QMainWindow& window, QTreeView& tree, ActionRegistry& actions,
                               QToolBar* old_bar) {
    RemoveBuiltMenus(window, actions, old_bar);
    QMenuBar* bar = window.menuBar();
    bar->setObjectName(QStringLiteral("MainMenu"));
    for (const MenuTable& table : MainMenuTable()) {
        auto* menu = new QMenu(Lang(table.id, table.caption), bar);
        menu->setObjectName(QString::fromLatin1(table.name));
        SetHelpContext(menu, table.help_context);
        FillMenu(actions, menu, table.lines);
        bar->addMenu(menu);
        actions.AddMenu(table.name, *menu);
    }

    const MenuTable& popup_table = PopupMenuTable();
    auto* popup = new QMenu(&window);
    popup->setObjectName(QString::fromLatin1(popup_table.name));
    FillMenu(actions, popup, popup_table.lines);
    actions.AddMenu(popup_table.name, *popup);
    AttachTreeMenu(tree, actions);

    return BuildToolBar(window, actions);
}

void RefreshNodeGlyphs(QToolBar& bar, const ImageList& images, const NodeImages& in_use) {
    if (auto* b = bar.findChild<QToolButton*>(QStringLiteral("NewNoteButton"))) {
        b->setIcon(ToolGlyphIcon(ToolGlyph::NewNote, images, in_use.folder, in_use.note));
    }
    if (auto* b = bar.findChild<QToolButton*>(QStringLiteral("NewFolderButton"))) {
        b->setIcon(ToolGlyphIcon(ToolGlyph::NewFolder, images, in_use.folder, in_use.note));
    }
}

void BuildMainMenu(TMainForm& form) {
    form.BuildMenus();
}

}  // namespace quillora
