#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace quillora {

class CommandHost;
class DocumentCommands;

// The main window's controller for the Favorites menu: the favourites built from the favorites
// file, Add (Ctrl+D) for the open notes file and Edit, which opens the favorites editor.
class FavoritesCommands : public QObject {
    Q_OBJECT
public:
    // Favourites open through `documents`, with its question about unsaved changes.
    FavoritesCommands(CommandHost& host, DocumentCommands& documents);
    // Builds the Favorites menu from the file and follows its opening.
    void AttachMenus();

    void BuildFavoritesMenu();
    void FavoritesMenuClick();
    void FavoritesMenuAddClick();
    void FavoritesMenuEditClick();

private:
    void OpenFavorite(const QString& path);

    CommandHost& host_;
    DocumentCommands& documents_;
};

}  // namespace quillora
