#include "settings/ui/notes_list_page.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>

#include "gui/appearance.h"
#include "gui/context_help.h"
#include "gui/icons/image_list.h"
#include "gui/lang.h"
#include "gui/translate.h"
#include "settings/ui/appearance_choice.h"
#include "settings/ui/image_chooser.h"
#include "settings/ui/settings_dialog.h"

namespace quillora {

namespace keys = settings_keys;

namespace {
constexpr int kPreviewWidth = 38;
constexpr int kPreviewHeight = 84;
constexpr int kPreviewBoxWidth = 43;
constexpr int kPreviewBoxHeight = 89;
constexpr int kChooseLeft = 230;
constexpr int kImageSize = 16;

int32_t& ImageOfKind(NodeImages& images, int kind) {
    if (kind == 0) return images.folder;
    if (kind == 1) return images.opened_folder;
    return images.note;
}
}  // namespace

NotesListPage::NotesListPage(const SettingsDialogContext& context, QWidget* parent)
    : SettingsPage("NotesListSheet", 43, parent),
      context_(context),
      look_(ReadAppearance(*context.settings, keys::kNotesListAppearance)),
      images_(context.node_images) {
    BuildNotesListGroup();
    BuildImagesGroup();
    FillExampleTree();
    DrawImagePreview();
}

void NotesListPage::BuildNotesListGroup() {
    QGroupBox* group =
        AddGroup(this, "GroupBox1", GroupBoxCaption(11050, " Notes List "), {8, 8, 329, 118});
    example_tree_ =
        context_.example_tree.create ? context_.example_tree.create(group) : new QTreeView(group);
    example_tree_->setObjectName(QStringLiteral("ExampleTree"));
    example_tree_->setGeometry(16, 24, 183, 57);
    example_tree_->setHeaderHidden(true);
    SetHelpContext(example_tree_, 43);
    example_model_ = new QStandardItemModel(example_tree_);
    example_tree_->setModel(example_model_);

    QPushButton* color =
        AddButton(group, "TreeBGColorButton", Lang(11054, "&Background Color"), {208, 22, 113, 25});
    SetHelpContext(color, 46);
    connect(color, &QPushButton::clicked, this, &NotesListPage::ColorChange);
    QPushButton* font = AddButton(group, "TreeFontSettingsButton", Lang(11055, "&Font Settings"),
                                  {208, 54, 113, 25});
    SetHelpContext(font, 47);
    connect(font, &QPushButton::clicked, this, &NotesListPage::FontSettings);

    const ProfileFile& ini = *context_.settings;
    lines_ = AddCheckBox(group, "LinesCheckBox", Lang(11056, "Show &Lines"), {16, 90},
                         ReadFlag(ini, keys::kLines));
    SetHelpContext(lines_, 49);
    buttons_ = AddCheckBox(group, "ButtonsCheckBox", Lang(11057, "Show B&uttons"),
                           {lines_->geometry().right() + 16, 90}, ReadFlag(ini, keys::kButtons));
    SetHelpContext(buttons_, 84);
    connect(lines_, &QCheckBox::toggled, this, &NotesListPage::ShowBranches);
    connect(buttons_, &QCheckBox::toggled, this, &NotesListPage::ShowBranches);
}

void NotesListPage::BuildImagesGroup() {
    QGroupBox* group =
        AddGroup(this, "GroupBox2", GroupBoxCaption(11058, " Images "), {8, 132, 329, 118});
    const std::array<QString, 3> captions = {Lang(11059, "Folder Image:"),
                                             Lang(11060, "Opened Folder Image:"),
                                             Lang(11061, "Note Image:")};
    const std::array<QString, 3> choose = {
        Lang(11062, "&Choose Image"), Lang(11063, "C&hoose Image"), Lang(11064, "Ch&oose Image")};
    for (int kind = 0; kind < 3; ++kind) {
        auto* label = new QLabel(captions.at(kind), group);
        label->setObjectName(QStringLiteral("StaticText%1").arg(kind + 3));
        label->move(16, 26 + 32 * kind);
        label->adjustSize();
        SetHelpContext(label, 88 + kind);
        image_labels_.at(kind) = label;
        QPushButton* button =
            AddButton(group, QStringLiteral("ChooseButton%1").arg(kind + 1).toLatin1().constData(),
                      choose.at(kind), {kChooseLeft, 20 + 32 * kind, 91, 25});
        SetHelpContext(button, 85 + kind);
        connect(button, &QPushButton::clicked, this, [this, kind] { ChooseButtonClick(kind); });
        choose_buttons_.at(kind) = button;
    }
    // Labels longer than the English ones push the Choose buttons right, so that the preview
    // still has its place between them.
    choose_left_ = std::max(kChooseLeft, WidestImageLabel() + 10 + kPreviewBoxWidth + 12);
    for (QPushButton* button : choose_buttons_) button->move(choose_left_, button->y());
    preview_ = new QLabel(group);
    preview_->setObjectName(QStringLiteral("Panel"));
    preview_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    preview_->setAlignment(Qt::AlignCenter);
    PlacePreview();
}

int NotesListPage::WidestImageLabel() const {
    int widest = 0;
    for (QLabel* label : image_labels_) widest = std::max(widest, label->width());
    return widest;
}

void NotesListPage::PlacePreview() {
    const int after_labels = WidestImageLabel() + 10;
    const int left = (choose_left_ - after_labels) / 2 + after_labels - 21;
    preview_->setGeometry(left, 14, kPreviewBoxWidth, kPreviewBoxHeight);
}

void NotesListPage::FillExampleTree() {
    const auto node = [this](uint16_t id, const char* english, int image) {
        auto* item = new QStandardItem(context_.images->Icon(image), Lang(id, english));
        item->setEditable(false);
        return item;
    };
    example_model_->clear();
    example_model_->appendRow(node(11051, "Folder", images_.folder));
    QStandardItem* opened = node(11052, "Opened Folder", images_.opened_folder);
    example_model_->appendRow(opened);
    opened->appendRow(node(11053, "Note", images_.note));
    ApplyAppearance(*example_tree_, look_);
    example_tree_->expandAll();
    example_tree_->setEnabled(false);
    ShowBranches();
}

void NotesListPage::ShowBranches() {
    if (context_.example_tree.show_branches) {
        context_.example_tree.show_branches(*example_tree_, lines_->isChecked(),
                                            buttons_->isChecked());
    } else {
        example_tree_->setRootIsDecorated(buttons_->isChecked());
    }
    example_tree_->viewport()->update();
}

void NotesListPage::DrawImagePreview() {
    QPixmap picture(kPreviewWidth, kPreviewHeight);
    const QColor background = ToQColor(look_.background);
    picture.fill(background.isValid() ? background : palette().color(QPalette::Base));
    QPainter painter(&picture);
    const std::array<int, 3> shown = {images_.folder, images_.opened_folder, images_.note};
    for (int kind = 0; kind < 3; ++kind) {
        context_.images->Draw(painter, QRectF(11, 7 + 28 * kind, kImageSize, kImageSize),
                              shown.at(kind));
    }
    painter.end();
    preview_->setPixmap(picture);
}

void NotesListPage::ColorChange() {
    if (!ChooseBackground(this, *context_.settings, look_)) return;
    FillExampleTree();
    DrawImagePreview();
}

void NotesListPage::FontSettings() {
    if (ChooseAppearanceFont(this, look_)) ApplyAppearance(*example_tree_, look_);
}

void NotesListPage::ChooseButtonClick(int kind) {
    static const std::array<std::pair<uint16_t, const char*>, 3> titles = {
        {{6006, "Choose Folder Image"},
         {6007, "Choose Opened Folder Image"},
         {6008, "Choose Note Image"}}};
    TImageChooser chooser(*context_.images, *context_.settings, context_.images_saved, this);
    chooser.setWindowTitle(Lang(titles.at(kind).first, titles.at(kind).second));
    chooser.SetInitialIndex(ImageOfKind(images_, kind));
    if (chooser.exec() != QDialog::Accepted || chooser.SelectedIndex() < 0) return;
    ImageOfKind(images_, kind) = chooser.SelectedIndex();
    FillExampleTree();
    DrawImagePreview();
}

void NotesListPage::Write(ProfileBatch& batch) const {
    WriteAppearance(batch, keys::kNotesListAppearance, look_);
    WriteFlag(batch, keys::kLines, lines_->isChecked());
    WriteFlag(batch, keys::kButtons, buttons_->isChecked());
}

}  // namespace quillora
