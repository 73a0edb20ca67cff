#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "document/note_tree.h"
#include "favorites/favorites_tree.h"
#include "gui/action_registry.h"
#include "gui/platform.h"

class QLabel;
class QMenu;
class QMenuBar;
class QStatusBar;
class QToolBar;

namespace quillora {

class FavoritesTreeView;
class NoteTreeModel;

// What the editor takes from the main window.
struct FavoritesEditorServices {
    FileDialogRequest open_dialog;  // offers notes files; the editor gives it its own titles
    bool hints_shown = true;        // tool tips of the tool buttons
    std::function<void(QWidget*)> show_about;
};

// `TFavoritesEditor`: the favourites as a tree under their root, arranged with new favourites,
// separators and folders, Delete, renaming in place, drag and drop and a properties dialog. The
// file is read when the window is made and written when it closes, only when the tree changed
// and never over a file it could not read. Double-clicking a favourite closes the window with
// that favourite chosen.
class TFavoritesEditor : public QDialog {
    Q_OBJECT
public:
    explicit TFavoritesEditor(FavoritesEditorServices services, QWidget* parent = nullptr);
    ~TFavoritesEditor() override;

    bool FavoriteChosen() const { return favorite_chosen_; }
    const QString& ChosenFavorite() const { return chosen_favorite_; }
    void SetBarsVisible(bool tool_bar, bool status_bar);
    bool ToolBarShown() const;
    bool StatusBarShown() const;

    favorites::FavoritesTree& Favorites() { return favorites_; }
    FavoritesTreeView* TreeView() const { return tree_view_; }
    NoteTreeModel* TreeModel() const { return model_; }
    ActionRegistry& Actions() { return actions_; }
    QString StatusText(int panel) const;
    NodeId SelectedNode() const;
    void SelectNode(NodeId node);

    void FileMenuClick();
    void FileMenuNewFavoriteClick();
    void FileMenuNewSeparatorClick();
    void FileMenuNewFolderClick();
    void FileMenuDeleteClick();
    void FileMenuPropertiesClick();
    void ViewMenuToolBarClick();
    void ViewMenuStatusBarClick();
    void HelpMenuContentsClick();
    void HelpMenuAboutClick();
    void TreeViewChange();
    void TreeViewDblClick(NodeId clicked);
    // The new title of `node` typed in place, after the marker and length rules.
    void TreeViewEdited(NodeId node, const std::string& text);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

private:
    void ReadFile();
    void CreateCommands();
    void BuildMenus();
    void BuildToolBar();
    void BuildTree();
    void BuildStatusBar();
    void AttachDropRules();
    void UpdateFileCount();
    void UpdateCaption();
    bool SelectedIsOpen() const;
    void WriteFile();
    QMenuBar* menuBar();

    FavoritesEditorServices services_;
    favorites::FavoritesTree favorites_;
    ActionRegistry actions_{*this};
    NoteTreeModel* model_ = nullptr;
    FavoritesTreeView* tree_view_ = nullptr;
    QMenuBar* menu_bar_ = nullptr;
    QToolBar* tool_bar_ = nullptr;
    QStatusBar* status_bar_ = nullptr;
    QLabel* status_panels_[2] = {};
    QMenu* popup_menu_ = nullptr;
    bool file_writable_ = true;  // false when the file exists but could not be read
    bool favorite_chosen_ = false;
    bool written_ = false;
    QString chosen_favorite_;
};

}  // namespace quillora
