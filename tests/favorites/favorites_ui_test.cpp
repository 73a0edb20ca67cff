#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/commands/favorites_commands.h"
#include "favorites/favorites_file.h"
#include "favorites/ui/fav_properties.h"
#include "favorites/ui/favorites_editor.h"
#include "favorites/ui/favorites_tree_view.h"
#include "gui/note_tree_model.h"
#include "settings/settings_schema.h"
#include "tests/support/ui_fixture.h"

namespace quillora::testing {
namespace {

using favorites::FavoriteRecord;

class FavoritesUiTest : public UiTest {
protected:
    QString FavPath() const { return HomeFile(QStringLiteral("Quillora.fav")); }
    void WriteFavorites(const std::string& root, const std::vector<FavoriteRecord>& records) {
        WriteFile(FavPath(), QByteArray::fromStdString(favorites::EncodeFavorites(root, records)));
    }
    QMenu& Menu() { return *form_->findChild<QMenu*>(QStringLiteral("FavoritesMenu")); }
    // The captions of a menu's items; separators are "-", submenus end in ">", disabled items
    // are in brackets.
    static QStringList Lines(const QMenu& menu) {
        QStringList lines;
        for (const QAction* a : menu.actions()) {
            QString line = a->isSeparator() ? QStringLiteral("-") : a->text();
            if (a->menu()) line += QLatin1Char('>');
            if (!a->isEnabled()) line = QLatin1Char('[') + line + QLatin1Char(']');
            lines.append(line);
        }
        return lines;
    }
    void OpenMenu() {
        emit Menu().aboutToShow();
        QApplication::processEvents();
    }
    // Runs `drive` on the favorites editor while Edit has it open; `drive` closes it.
    void WithEditor(const std::function<void(TFavoritesEditor&)>& drive) {
        bool driven = false;
        QTimer::singleShot(0, [&] {
            auto* editor = qobject_cast<TFavoritesEditor*>(QApplication::activeModalWidget());
            ASSERT_NE(editor, nullptr);
            drive(*editor);
            driven = true;
            if (editor->isVisible()) editor->close();
        });
        Trigger("FavoritesMenuEdit");
        EXPECT_TRUE(driven);
    }
    static NodeId Find(TFavoritesEditor& editor, const std::string& title) {
        for (NodeId n : editor.Favorites().Tree().DisplayOrder()) {
            if (editor.Favorites().Tree().Title(n) == title) return n;
        }
        return kNoNode;
    }
};

TEST_F(FavoritesUiTest, MenuShowsTheFileWithFoldersSeparatorsAndPlaceholders) {
    WriteFavorites("Favorites", {{0, "/n/a.qlb", "a & b"},
                                 {0, "", "Work"},
                                 {1, "/n/c.qlb", "c"},
                                 {1, "", "[-- Separator --]"},
                                 {1, "", "Empty"},
                                 {2, "", "[Empty]"}});
    StartMainForm();
    EXPECT_EQ(Menu().title(), "F&avorites");
    EXPECT_EQ(Lines(Menu()),
              (QStringList{"&Add to Favorites", "&Edit Favorites...", "-", "a && b", "Work>"}));
    const QMenu* work = Menu().actions()[4]->menu();
    EXPECT_EQ(Lines(*work), (QStringList{"c", "-", "Empty>"}));
    EXPECT_EQ(Lines(*work->actions()[2]->menu()), QStringList{"[[Empty]]"});
    EXPECT_EQ(Menu().actions()[3]->toolTip(), "/n/a.qlb");
    EXPECT_EQ(Action("FavoritesMenuAdd")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));
}

TEST_F(FavoritesUiTest, MissingFileIsCreatedAndAFileOfAnotherFormatIsLeftAlone) {
    StartMainForm();
    EXPECT_EQ(ReadFile(FavPath()).size(), 792);
    EXPECT_EQ(Lines(Menu()).mid(3), QStringList{"[[Empty]]"});
    form_.reset();

    QByteArray other = ReadFile(FavPath());
    other[12] = 2;  // version 2
    WriteFile(FavPath(), other);
    StartMainForm();
    ASSERT_EQ(platform_.messages.size(), 1U);
    EXPECT_TRUE(platform_.messages[0].text.startsWith("The file format of Quillora.fav"));
    EXPECT_EQ(Lines(Menu()), (QStringList{"Add", "Edit", "-"}));
    form_->Document().current_file_name = "/n/a.qlb";
    Trigger("FavoritesMenuAdd");
    EXPECT_EQ(platform_.messages.size(), 2U);
    EXPECT_EQ(ReadFile(FavPath()), other);
}

TEST_F(FavoritesUiTest, AddFollowsTheDocumentAndReplacesThePlaceholderItem) {
    StartMainForm();
    OpenMenu();
    EXPECT_FALSE(Action("FavoritesMenuAdd")->isEnabled());  // untitled
    emit Menu().aboutToHide();
    TriggerAsItIs("FavoritesMenuAdd");  // Ctrl+D on an untitled document
    EXPECT_EQ(ReadFile(FavPath()).size(), 792);

    form_->Document().current_file_name = "/notes/Work.qlb";
    QTest::keyClick(form_.get(), Qt::Key_D, Qt::ControlModifier);  // the menu was not opened
    QApplication::processEvents();
    EXPECT_EQ(Lines(Menu()).mid(3), QStringList{"Work.qlb"});
    Trigger("FavoritesMenuAdd");
    EXPECT_EQ(Lines(Menu()).mid(3), (QStringList{"Work.qlb", "Work.qlb"}));
    EXPECT_EQ(ReadFile(FavPath()).size(), 792 + 516);
    EXPECT_TRUE(platform_.messages.empty());
}

TEST_F(FavoritesUiTest, ChoosingAFavouriteAsksAboutUnsavedChangesAndCancelKeepsTheDocument) {
    WriteFavorites("Favorites", {{0, "/n/other.qlb", "other"}});
    StartMainForm();
    NotesDocument& doc = form_->Document();
    AddNode(doc, kNoNode, "Kept", kNote, "text\r\n");
    doc.modified = true;
    platform_.message_answers.push_back(MessageAnswer::Cancel);
    Menu().actions()[3]->trigger();
    ASSERT_EQ(platform_.messages.size(), 1U);
    EXPECT_EQ(platform_.messages[0].icon, MessageIcon::Question);
    EXPECT_EQ(doc.tree.Count(), 1);
    EXPECT_TRUE(doc.modified);
}

TEST_F(FavoritesUiTest, EditorArrangesTheFavouritesAndWritesThemWhenItCloses) {
    StartMainForm();
    WithEditor([&](TFavoritesEditor& editor) {
        EXPECT_EQ(editor.windowTitle(), "Quillora - Favorites");
        platform_.open_answers.push_back({"/n/one.qlb"});
        platform_.open_answers.push_back({"/n/two.qlb"});
        editor.Actions().Action("FileMenuNewFavorite").trigger();  // root selected
        editor.Actions().Action("FileMenuNewFavorite").trigger();
        EXPECT_EQ(editor.StatusText(0), "Total Files: 2");
        editor.SelectNode(editor.Favorites().Root());
        editor.Actions().Action("FileMenuNewFolder").trigger();
        const NodeId folder = editor.SelectedNode();
        EXPECT_TRUE(editor.TreeView()->IsEditingTitle());
        EXPECT_EQ(editor.Favorites().Tree().Children(folder).size(), 1U);  // its placeholder
        // The second favourite goes into the folder, and a separator after it.
        QMimeData* payload =
            editor.TreeModel()->mimeData({editor.TreeModel()->IndexOf(Find(editor, "two.qlb"))});
        EXPECT_TRUE(editor.TreeModel()->dropMimeData(payload, Qt::MoveAction, -1, -1,
                                                     editor.TreeModel()->IndexOf(folder)));
        delete payload;
        editor.SelectNode(Find(editor, "two.qlb"));
        editor.Actions().Action("FileMenuNewSeparator").trigger();
        // Renaming the root: the caption follows, cut to 30 characters.
        editor.TreeModel()->setData(editor.TreeModel()->IndexOf(editor.Favorites().Root()),
                                    QString(40, 'R'), Qt::EditRole);
        EXPECT_EQ(editor.windowTitle(), "Quillora - " + QString(30, 'R'));
        editor.resize(500, 300);
    });
    const favorites::FavoritesContent written =
        favorites::ReadFavoritesForEditor(ToNative(FavPath()));
    EXPECT_EQ(written.root_title, std::string(30, 'R'));
    EXPECT_EQ(written.records, (std::vector<FavoriteRecord>{{0, "/n/one.qlb", "one.qlb"},
                                                            {0, "", "New Folder"},
                                                            {1, "/n/two.qlb", "two.qlb"},
                                                            {1, "", "[-- Separator --]"}}));
    EXPECT_EQ(Menu().title(), "&" + QString(30, 'R'));
    EXPECT_EQ(ReadIntSetting(form_->SettingsFile(), settings_keys::kFEWidth), 500);
}

TEST_F(FavoritesUiTest, EditorNeverWritesAFileItCouldNotRead) {
    QByteArray bytes = QByteArray::fromStdString(favorites::DefaultFavorites("F", "[Empty]"));
    StartMainForm();
    bytes[0] = 'X';
    WriteFile(FavPath(), bytes);
    WithEditor([&](TFavoritesEditor& editor) {
        platform_.open_answers.push_back({"/n/one.qlb"});
        editor.Actions().Action("FileMenuNewFavorite").trigger();
    });
    EXPECT_EQ(ReadFile(FavPath()), bytes);
    EXPECT_TRUE(platform_.messages.front().text.startsWith("The file format"));
}

TEST_F(FavoritesUiTest, DoubleClickedFavouriteIsOpenedAfterTheEditorCloses) {
    WriteFavorites("Favorites", {{0, "/n/gone.qlb", "gone"}});
    StartMainForm();
    WithEditor([&](TFavoritesEditor& editor) {
        FavoritesTreeView* view = editor.TreeView();
        const QRect row = view->visualRect(editor.TreeModel()->IndexOf(Find(editor, "gone")));
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, row.center());
        EXPECT_TRUE(editor.FavoriteChosen());
        EXPECT_EQ(editor.ChosenFavorite(), "/n/gone.qlb");
    });
    // The file does not exist: opening it fails as any open does, with its message.
    ASSERT_FALSE(platform_.messages.empty());
    EXPECT_TRUE(platform_.messages.back().text.contains("gone.qlb"));
}

TEST_F(FavoritesUiTest, PropertiesKeepTheTitleRulesAndDeleteLeavesAPlaceholder) {
    WriteFavorites("Favorites", {{0, "", "Work"}, {1, "/n/a.qlb", "a"}});
    StartMainForm();
    WithEditor([&](TFavoritesEditor& editor) {
        editor.SelectNode(Find(editor, "a"));
        editor.FileMenuClick();
        EXPECT_TRUE(editor.Actions().Action("FileMenuProperties").isEnabled());
        EXPECT_EQ(editor.StatusText(1), "/n/a.qlb");
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<TFavProperties*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->TitleEdit()->setText("[Empty]");
            dialog->FileEdit()->setText("/n/b.qlb");
            dialog->accept();
        });
        editor.Actions().Action("FileMenuProperties").trigger();
        EXPECT_EQ(editor.Favorites().Tree().Title(Find(editor, "a")), "a");
        EXPECT_EQ(editor.StatusText(1), "/n/b.qlb");
        QTest::keyClick(editor.TreeView(), Qt::Key_Delete);
        EXPECT_EQ(editor.StatusText(0), "Total Files: 0");
        EXPECT_NE(Find(editor, "[Empty]"), kNoNode);
    });
    EXPECT_EQ(favorites::ReadFavoritesForEditor(ToNative(FavPath())).records,
              (std::vector<FavoriteRecord>{{0, "", "Work"}, {1, "", "[Empty]"}}));
}

TEST_F(FavoritesUiTest, TreeKeysAndTheDepthLimitOfFolders) {
    std::vector<FavoriteRecord> chain;
    for (int level = 0; level <= 98; ++level)
        chain.push_back({level, "", "d" + std::to_string(level)});
    chain.push_back({99, "", "[Empty]"});
    WriteFavorites("Favorites", chain);
    StartMainForm();
    WithEditor([&](TFavoritesEditor& editor) {
        FavoritesTreeView* view = editor.TreeView();
        view->setFocus();
        QTest::keyClick(view, Qt::Key_Delete);  // the root: nothing happens
        EXPECT_EQ(editor.Favorites().Tree().Count(), 101);
        QTest::keyClick(view, Qt::Key_Insert);  // New Favorite, cancelled
        ASSERT_EQ(platform_.open_requests.size(), 1U);
        EXPECT_EQ(platform_.open_requests[0].title, "New Favorite");
        editor.SelectNode(Find(editor, "d98"));  // depth 99
        editor.Actions().Action("FileMenuNewFolder").trigger();
        ASSERT_EQ(platform_.messages.size(), 1U);
        EXPECT_TRUE(platform_.messages[0].text.contains("100 levels"));
        EXPECT_EQ(editor.Favorites().Tree().Count(), 101);
    });
    EXPECT_EQ(favorites::ReadFavoritesForEditor(ToNative(FavPath())).records, chain);
}

}  // namespace
}  // namespace quillora::testing
