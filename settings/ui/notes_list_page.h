#pragma once

#include <array>

#include "document/notes_document.h"
#include "settings/settings_schema.h"
#include "settings/ui/settings_page.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QStandardItemModel;
class QTreeView;

namespace quillora {

struct SettingsDialogContext;

// The Notes List page: the tree's background, font, lines and buttons shown on an example tree,
// and the three node images with their preview.
class NotesListPage final : public SettingsPage {
    Q_OBJECT
public:
    NotesListPage(const SettingsDialogContext& context, QWidget* parent);

    void Write(ProfileBatch& batch) const override;
    const NodeImages& ChosenImages() const { return images_; }

    void ColorChange();
    void FontSettings();
    void ChooseButtonClick(int kind);  // 0 folder, 1 opened folder, 2 note
    void DrawImagePreview();

private:
    void BuildNotesListGroup();
    void BuildImagesGroup();
    void FillExampleTree();
    void ShowBranches();
    // Centres the preview between the widest image label and the Choose buttons.
    void PlacePreview();
    int WidestImageLabel() const;

    const SettingsDialogContext& context_;
    Appearance look_;
    NodeImages images_;
    QTreeView* example_tree_ = nullptr;
    QStandardItemModel* example_model_ = nullptr;
    QCheckBox* lines_ = nullptr;
    QCheckBox* buttons_ = nullptr;
    std::array<QLabel*, 3> image_labels_{};
    std::array<QPushButton*, 3> choose_buttons_{};
    int choose_left_ = 0;
    QLabel* preview_ = nullptr;
};

}  // namespace quillora
