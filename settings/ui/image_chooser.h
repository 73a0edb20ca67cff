#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

#include "gui/icons/image_list.h"

class QListWidget;
class QMenu;
class QPushButton;

namespace quillora {

class ProfileFile;

// `TImageChooser`: picks one of the 18 node images for the folder, opened-folder or note image,
// and lets the user fill the three custom slots with bitmaps of their own (Change) or empty them
// (Clear). It works on a copy of the main window's image list; on closing after a change it asks
// whether to keep the custom images: Yes writes them to the settings file and gives the copy
// back to `images`, then calls `images_saved` so the windows that show them repaint.
class TImageChooser final : public QDialog {
    Q_OBJECT
public:
    TImageChooser(ImageList& images, ProfileFile& settings, std::function<void()> images_saved,
                  QWidget* parent);

    // The index to select when the dialog is shown: the index now in use.
    void SetInitialIndex(int index) { initial_index_ = index; }
    // The selected image's index; -1 when none is selected.
    int SelectedIndex() const;
    bool CustomImagesChanged() const { return custom_images_changed_; }
    const ImageList& Images() const { return images_; }

    void ChangeButtonClick();
    void PopupMenuClearClick();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildList();
    void ListViewChange();
    void PopupMenuPopup();
    // Whether the selected item is a custom slot (0 to 2).
    bool CustomSlotSelected() const;
    void RefreshItemImage(int index);
    void SaveCustomImages();

    ImageList& main_images_;
    ProfileFile& settings_;
    std::function<void()> images_saved_;
    ImageList images_;
    QStringList custom_image_files_;
    QStringList custom_image_colors_;
    bool custom_images_changed_ = false;
    bool closing_ = false;
    int initial_index_ = 0;

    QListWidget* list_view_ = nullptr;
    QPushButton* change_button_ = nullptr;
    QPushButton* clear_button_ = nullptr;
    QMenu* popup_menu_ = nullptr;
};

}  // namespace quillora
