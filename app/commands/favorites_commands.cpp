#include "app/commands/favorites_commands.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/about_box.h"
#include "app/commands/command_host.h"
#include "app/commands/document_commands.h"
#include "document/notes_document.h"
#include "favorites/favorites_file.h"
#include "favorites/ui/favorites_editor.h"
#include "favorites/ui/favorites_menu_builder.h"
#include "favorites/ui/favorites_texts.h"
#include "gui/action_registry.h"
#include "gui/lang.h"
#include "gui/platform.h"
#include "gui/text_codec.h"
#include "settings/settings_schema.h"

namespace quillora {

namespace keys = settings_keys;

FavoritesCommands::FavoritesCommands(CommandHost& host, DocumentCommands& documents)
    : host_(host), documents_(documents) {
    setObjectName(QStringLiteral("FavoritesCommands"));
    ActionRegistry& a = host_.Actions();
    connect(
        &a.Create("FavoritesMenuAdd", QStringLiteral("Add"), QKeySequence(Qt::CTRL | Qt::Key_D)),
        &QAction::triggered, this, &FavoritesCommands::FavoritesMenuAddClick);
    connect(&a.Create("FavoritesMenuEdit", QStringLiteral("Edit")), &QAction::triggered, this,
            &FavoritesCommands::FavoritesMenuEditClick);
}

void FavoritesCommands::AttachMenus() {
    QMenu& menu = host_.Actions().Menu("FavoritesMenu");
    connect(&menu, &QMenu::aboutToShow, this, &FavoritesCommands::FavoritesMenuClick);
    // While the menu is closed Ctrl+D stays available; its handler asks for a file name itself.
    connect(&menu, &QMenu::aboutToHide, this,
            [this] { host_.Actions().SetEnabled("FavoritesMenuAdd", true); });
    BuildFavoritesMenu();
}

void FavoritesCommands::BuildFavoritesMenu() {
    QMenu& menu = host_.Actions().Menu("FavoritesMenu");
    const auto* bar = qobject_cast<const QMenuBar*>(menu.parentWidget());
    if (!bar) return;
    quillora::BuildFavoritesMenu(menu, *bar, &host_.Window(),
                                 [this](const QString& path) { OpenFavorite(path); });
}

void FavoritesCommands::OpenFavorite(const QString& path) {
    documents_.LoadFavorite(path);
}

void FavoritesCommands::FavoritesMenuClick() {
    host_.Actions().SetEnabled("FavoritesMenuAdd", !host_.Document().IsUntitled());
}

void FavoritesCommands::FavoritesMenuAddClick() {
    const NotesDocument& doc = host_.Document();
    if (doc.IsUntitled()) return;
    const favorites::AppendResult result =
        favorites::AppendFavorite(FavoritesFile(), doc.current_file_name, LocalizedMarkers());
    switch (result.status) {
        case favorites::AppendStatus::Appended:
        case favorites::AppendStatus::ReplacedPlaceholder:
            // The menu shows the file as it now is, whatever else changed it meanwhile.
            BuildFavoritesMenu();
            return;
        case favorites::AppendStatus::CannotOpen:
            ReportFavoritesProblem(&host_.Window(), FavoritesProblem::CannotOpen);
            return;
        case favorites::AppendStatus::BadFormat:
            ReportFavoritesProblem(&host_.Window(), FavoritesProblem::BadFormat);
            return;
        case favorites::AppendStatus::WriteFailed:
            ReportFavoritesProblem(&host_.Window(), FavoritesProblem::CannotCreate);
            return;
        case favorites::AppendStatus::PathTooLong:
            ReportPathTooLong(&host_.Window(), FromNative(doc.current_file_name));
            return;
    }
}

void FavoritesCommands::FavoritesMenuEditClick() {
    ProfileFile& ini = host_.SettingsFile();
    const QWidget& window = host_.Window();
    DefaultContext defaults;
    defaults.main_window = {window.x(), window.y(), window.width(), window.height()};
    FavoritesEditorServices services;
    services.open_dialog = documents_.OpenDialog();
    services.hints_shown = host_.Actions().IsChecked("HelpMenuShowHints");
    services.show_about = &ShowAboutBox;
    TFavoritesEditor editor(services, &host_.Window());
    editor.move(ReadIntSetting(ini, keys::kFELeft, defaults),
                ReadIntSetting(ini, keys::kFETop, defaults));
    editor.resize(ReadIntSetting(ini, keys::kFEWidth, defaults),
                  ReadIntSetting(ini, keys::kFEHeight, defaults));
    editor.SetBarsVisible(ReadFlag(ini, keys::kFEToolBar), ReadFlag(ini, keys::kFEStatusBar));
    editor.exec();

    if (editor.FavoriteChosen()) documents_.LoadFavorite(editor.ChosenFavorite());
    if (!editor.isMaximized()) {
        WriteInt(ini, keys::kFELeft, editor.x());
        WriteInt(ini, keys::kFETop, editor.y());
        WriteInt(ini, keys::kFEWidth, editor.width());
        WriteInt(ini, keys::kFEHeight, editor.height());
    }
    WriteFlag(ini, keys::kFEToolBar, editor.ToolBarShown());
    WriteFlag(ini, keys::kFEStatusBar, editor.StatusBarShown());
    BuildFavoritesMenu();
}

}  // namespace quillora
