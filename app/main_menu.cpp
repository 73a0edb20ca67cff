#include "app/main_menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <vector>

#include "app/commands/document_commands.h"
#include "gui/context_help.h"
#include "gui/icons/tool_glyphs.h"
#include "gui/lang.h"
#include "app/main_form.h"
#include "document/ui/my_tree_view.h"

namespace quillora {

namespace {

// One line of a menu: a command, a separator or a submenu with its own lines.
struct MenuLine {
    const char* name = nullptr;  // nullptr: a separator
    uint16_t id = 0;             // submenus: the caption's text number
    const char* caption = nullptr;
    std::vector<MenuLine> lines = {};
    const char* fallback = nullptr;  // a command used when `name` does not exist
};

struct MenuTable {
    const char* name;
    uint16_t id;
    const char* caption;
    int help_context;
    std::vector<MenuLine> lines;
};

const MenuLine kSeparator{};

MenuLine Item(const char* name, const char* fallback = nullptr) {
    return MenuLine{name, 0, nullptr, {}, fallback};
}

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
        // The favorites themselves are added after the separator by the favorites menu.
        {"FavoritesMenu",
         7250,
         "F&avorites",
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

// The tree's context menu repeats the Notes commands; a PopupMenu* command that does not exist
// is stood in for by its Notes menu twin.
const MenuTable& PopupMenuTable() {
    static const MenuTable table = {
        "PopupMenu",
        0,
        "",
        0,
        {MenuLine{"PopupMenuNew",
                  7151,
                  "&New",
                  {Item("PopupMenuNewNote", "NotesMenuNewNote"),
                   Item("PopupMenuNewNoteInFolder", "NotesMenuNewNoteInFolder"), kSeparator,
                   Item("PopupMenuNewFolder", "NotesMenuNewFolder"),
                   Item("PopupMenuNewFolderInFolder", "NotesMenuNewFolderInFolder")}},
         kSeparator, Item("PopupMenuDelete", "NotesMenuDelete"),
         Item("PopupMenuRename", "NotesMenuRename"), kSeparator,
         Item("PopupMenuMoveUp", "NotesMenuMoveUp"), Item("PopupMenuMoveDown", "NotesMenuMoveDown"),
         kSeparator, Item("PopupMenuSort", "NotesMenuSort")}};
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

QAction* FindCommand(TMainForm& form, const char* name, const char* fallback) {
    if (auto* action = form.findChild<QAction*>(QString::fromLatin1(name))) return action;
    if (fallback) return form.findChild<QAction*>(QString::fromLatin1(fallback));
    return nullptr;
}

// Adds the lines to `menu`; returns how many commands were added (separators not counted).
int FillMenu(TMainForm& form, QMenu* menu, const std::vector<MenuLine>& lines) {
    int commands = 0;
    for (const MenuLine& line : lines) {
        if (!line.name) {
            menu->addSeparator();
        } else if (line.caption) {
            auto* submenu = new QMenu(Lang(line.id, line.caption), menu);
            submenu->setObjectName(QString::fromLatin1(line.name));
            submenu->menuAction()->setObjectName(QString::fromLatin1(line.name) +
                                                 QStringLiteral("Item"));
            if (FillMenu(form, submenu, line.lines) > 0) {
                menu->addMenu(submenu);
                ++commands;
            } else {
                delete submenu;
            }
        } else if (QAction* action = FindCommand(form, line.name, line.fallback)) {
            menu->addAction(action);
            ++commands;
        }
    }
    return commands;
}

void BuildToolBar(TMainForm& form) {
    auto* bar = new QToolBar(&form);
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
        QAction* command = form.findChild<QAction*>(QString::fromLatin1(line.command));
        if (!command) continue;
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
    form.addToolBar(Qt::TopToolBarArea, bar);
    RefreshNodeGlyphs(form);
}

// The tree shows whichever PopupMenu the form has at the moment of the click.
void AttachTreeMenu(TMainForm& form) {
    QTreeView* tree = form.Tree();
    if (tree->contextMenuPolicy() != Qt::DefaultContextMenu) return;
    tree->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(tree, &QWidget::customContextMenuRequested, tree, [&form, tree](QPoint p) {
        auto* popup = form.findChild<QMenu*>(QStringLiteral("PopupMenu"));
        if (popup && !popup->actions().isEmpty()) popup->popup(tree->viewport()->mapToGlobal(p));
    });
}

}  // namespace

void BuildMainMenu(TMainForm& form) {
    // Building again replaces what an earlier build made.
    QMenuBar* bar = form.menuBar();
    for (QMenu* old : bar->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly)) delete old;
    bar->clear();
    delete form.findChild<QMenu*>(QStringLiteral("PopupMenu"));
    delete form.findChild<QToolBar*>(QStringLiteral("ToolBar"));

    bar->setObjectName(QStringLiteral("MainMenu"));
    for (const MenuTable& table : MainMenuTable()) {
        auto* menu = new QMenu(Lang(table.id, table.caption), bar);
        menu->setObjectName(QString::fromLatin1(table.name));
        SetHelpContext(menu, table.help_context);
        if (FillMenu(form, menu, table.lines) == 0) {
            delete menu;
            continue;
        }
        bar->addMenu(menu);
    }

    const MenuTable& popup_table = PopupMenuTable();
    auto* popup = new QMenu(&form);
    popup->setObjectName(QString::fromLatin1(popup_table.name));
    FillMenu(form, popup, popup_table.lines);
    AttachTreeMenu(form);

    BuildToolBar(form);

    if (auto* commands = form.findChild<DocumentCommands*>()) {
        if (auto* file_menu = form.findChild<QMenu*>(QStringLiteral("FileMenu"))) {
            QObject::connect(file_menu, &QMenu::aboutToShow, commands,
                             &DocumentCommands::FileMenuClick);
        }
    }
}

void RefreshNodeGlyphs(TMainForm& form) {
    const NodeImages& images = form.Document().images;
    if (auto* b = form.findChild<QToolButton*>(QStringLiteral("NewNoteButton"))) {
        b->setIcon(ToolGlyphIcon(ToolGlyph::NewNote, form.Images(), images.folder, images.note));
    }
    if (auto* b = form.findChild<QToolButton*>(QStringLiteral("NewFolderButton"))) {
        b->setIcon(ToolGlyphIcon(ToolGlyph::NewFolder, form.Images(), images.folder, images.note));
    }
}

}  // namespace quillora
