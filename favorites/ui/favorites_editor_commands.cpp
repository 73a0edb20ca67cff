#include <QLineEdit>
#include <QStatusBar>
#include <QToolBar>

#include "favorites/ui/fav_properties.h"
#include "favorites/ui/favorites_editor.h"
#include "favorites/ui/favorites_texts.h"
#include "favorites/ui/favorites_tree_view.h"
#include "gui/lang.h"
#include "gui/note_tree_model.h"
#include "gui/platform.h"
#include "gui/text_codec.h"

// The commands of the favorites editor's menus, tool bar and tree.

namespace quillora {

namespace {

constexpr int kContentsTopic = 6;

bool FitsPathField(const QString& path) {
    return ToNative(path).size() <= favorites::kMaxPathBytes;
}

// A new entry past the file's limit of records.
void ReportFull(QWidget* owner) {
    Platform::Instance().ShowMessage(
        owner,
        Lang(4208, "The Favorites Editor supports up to 4000 entries. You have reached the limit."),
        AppTitle(), MessageIcon::Information, MessageButtons::Ok);
}

}  // namespace

// --- commands ---

void TFavoritesEditor::FileMenuNewFavoriteClick() {
    FileDialogRequest request = services_.open_dialog;
    request.title = Lang(4204, "New Favorite");
    request.multiple = false;
    const QStringList chosen = Platform::Instance().GetOpenFileNames(this, request);
    if (chosen.isEmpty()) return;
    if (!FitsPathField(chosen.front())) {
        ReportPathTooLong(this, chosen.front());
        return;
    }
    const NodeId node =
        favorites_.NewFavorite(SelectedNode(), SelectedIsOpen(), ToNative(chosen.front()));
    if (node == kNoNode) ReportFull(this);
    if (node != kNoNode && favorites_.Tree().Parent(node) == favorites_.Root()) {
        tree_view_->expand(model_->IndexOf(favorites_.Root()));
    }
    UpdateFileCount();
    TreeViewChange();
}

void TFavoritesEditor::FileMenuNewSeparatorClick() {
    const NodeId node = favorites_.NewSeparator(SelectedNode(), SelectedIsOpen());
    if (node == kNoNode) ReportFull(this);
    if (node != kNoNode && favorites_.Tree().Parent(node) == favorites_.Root()) {
        tree_view_->expand(model_->IndexOf(favorites_.Root()));
    }
    TreeViewChange();
}

void TFavoritesEditor::FileMenuNewFolderClick() {
    const NodeId s = SelectedNode();
    if (!favorites_.FolderAllowedAt(s)) {
        Platform::Instance().ShowMessage(
            this,
            Lang(4205,
                 "The Favorites Editor supports up to 100 levels of folders. You have "
                 "reached the limit."),
            AppTitle(), MessageIcon::Warning, MessageButtons::Ok);
        return;
    }
    const NodeId folder =
        favorites_.NewFolder(s, SelectedIsOpen(), ToNative(Lang(4203, "New Folder")));
    if (folder == kNoNode) {
        ReportFull(this);
        return;
    }
    const QModelIndex index = model_->IndexOf(folder);
    tree_view_->expand(index.parent());
    SelectNode(folder);
    tree_view_->expand(index);
    tree_view_->setFocus();
    tree_view_->edit(index);
}

void TFavoritesEditor::FileMenuDeleteClick() {
    const NodeId s = SelectedNode();
    if (!favorites_.CanDelete(s)) return;
    favorites_.Delete(s);
    UpdateFileCount();
    TreeViewChange();
}

void TFavoritesEditor::FileMenuPropertiesClick() {
    const NodeId s = SelectedNode();
    if (s == kNoNode || !favorites_.CanDelete(s) || favorites_.IsSeparator(s)) return;
    TFavProperties dialog(FromNative(favorites_.Tree().Title(s)), FromNative(favorites_.Path(s)),
                          services_.open_dialog, this);
    if (dialog.exec() != QDialog::Accepted) return;
    const QString path = dialog.FileEdit()->text();
    if (!FitsPathField(path)) {
        ReportPathTooLong(this, path);
        return;
    }
    favorites_.Rename(s, ToNative(dialog.TitleEdit()->text()));
    favorites_.SetPath(s, ToNative(path));
    TreeViewChange();
}

void TFavoritesEditor::TreeViewEdited(NodeId node, const std::string& text) {
    favorites_.Rename(node, text);
    if (favorites_.IsRoot(node)) UpdateCaption();
}

void TFavoritesEditor::TreeViewDblClick(NodeId clicked) {
    chosen_favorite_ = FromNative(favorites_.Path(clicked));
    favorite_chosen_ = true;
    hide();
    close();
}

void TFavoritesEditor::ViewMenuToolBarClick() {
    tool_bar_->setVisible(!tool_bar_->isVisibleTo(this));
    actions_.SetChecked("ViewMenuToolBar", tool_bar_->isVisibleTo(this));
}

void TFavoritesEditor::ViewMenuStatusBarClick() {
    status_bar_->setVisible(!status_bar_->isVisibleTo(this));
    actions_.SetChecked("ViewMenuStatusBar", status_bar_->isVisibleTo(this));
}

void TFavoritesEditor::HelpMenuContentsClick() {
    Platform::Instance().ShowHelpTopic(kContentsTopic);
}

void TFavoritesEditor::HelpMenuAboutClick() {
    if (services_.show_about) services_.show_about(this);
}

}  // namespace quillora
