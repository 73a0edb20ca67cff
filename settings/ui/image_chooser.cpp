#include "settings/ui/image_chooser.h"

#include <QContextMenuEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPushButton>

#include "gui/appearance.h"
#include "gui/context_help.h"
#include "gui/dialog_frame.h"
#include "gui/lang.h"
#include "gui/platform.h"
#include "gui/text_codec.h"
#include "gui/translate.h"
#include "settings/settings_schema.h"
#include "settings/ui/custom_image.h"

namespace quillora {

namespace {
constexpr int kClientWidth = 400;
constexpr int kClientHeight = 260;
constexpr int kHelpTopic = 51;
constexpr int kChoosableImages = 18;  // the spare question mark is not listed
constexpr int kShownImageSize = 32;

namespace keys = settings_keys;
}  // namespace

TImageChooser::TImageChooser(ImageList& images, ProfileFile& settings,
                             std::function<void()> images_saved, QWidget* parent)
    : QDialog(parent),
      main_images_(images),
      settings_(settings),
      images_saved_(std::move(images_saved)),
      images_(images) {
    setObjectName(QStringLiteral("ImageChooser"));
    SetUpFixedDialogWindow(*this, kClientWidth, kClientHeight);
    SetHelpContext(this, kHelpTopic);
    for (int n = 1; n <= keys::kCustomImageCount; ++n) {
        custom_image_files_.append(FromNative(ReadText(settings_, keys::CustomImageFile(n))));
        custom_image_colors_.append(QString::fromStdString(
            settings_.ReadString(keys::kCustomImages, keys::CustomImageColor(n).key, "")));
    }

    auto* group = new QGroupBox(GroupBoxCaption(6000, " Images "), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setGeometry(kDialogMargin, kDialogMargin, 290, kClientHeight - 2 * kDialogMargin);
    list_view_ = new QListWidget(group);
    list_view_->setObjectName(QStringLiteral("ListView"));
    list_view_->setGeometry(10, 20, 270, group->height() - 30);
    BuildList();

    const auto button = [this](const char* name, const QString& caption, int top) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(kClientWidth - kDialogMargin - 89, top, 89, 25);
        return b;
    };
    auto* ok = button("OKButton", Lang(500, "OK"), 14);
    ok->setDefault(true);
    auto* cancel = button("CancelButton", Lang(501, "Cancel"), 44);
    auto* help = button("HelpButton", Lang(502, "&Help"), 74);
    change_button_ = button("ChangeButton", Lang(6003, "&Change"), 120);
    clear_button_ = button("ClearButton", Lang(6004, "C&lear"), 150);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [] { Platform::Instance().ShowHelpTopic(kHelpTopic); });
    connect(change_button_, &QPushButton::clicked, this, &TImageChooser::ChangeButtonClick);
    connect(clear_button_, &QPushButton::clicked, this, &TImageChooser::PopupMenuClearClick);

    popup_menu_ = new QMenu(this);
    popup_menu_->setObjectName(QStringLiteral("PopupMenu"));
    QAction* change = popup_menu_->addAction(Lang(6003, "&Change"));
    change->setObjectName(QStringLiteral("PopupMenuChange"));
    QAction* clear = popup_menu_->addAction(Lang(6004, "C&lear"));
    clear->setObjectName(QStringLiteral("PopupMenuClear"));
    connect(change, &QAction::triggered, this, &TImageChooser::ChangeButtonClick);
    connect(clear, &QAction::triggered, this, &TImageChooser::PopupMenuClearClick);
    connect(popup_menu_, &QMenu::aboutToShow, this, &TImageChooser::PopupMenuPopup);
    ListViewChange();
}

void TImageChooser::BuildList() {
    list_view_->setViewMode(QListView::IconMode);
    list_view_->setIconSize(QSize(kShownImageSize, kShownImageSize));
    list_view_->setMovement(QListView::Static);
    list_view_->setResizeMode(QListView::Adjust);
    list_view_->setGridSize(QSize(84, 64));
    list_view_->setWordWrap(true);
    list_view_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_view_->setContextMenuPolicy(Qt::DefaultContextMenu);
    list_view_->installEventFilter(this);
    list_view_->viewport()->installEventFilter(this);
    for (int i = 0; i < kChoosableImages; ++i) {
        const QString caption = i < keys::kCustomImageCount
                                    ? Lang(6001, "Custom Image") + QStringLiteral(" %1").arg(i + 1)
                                    : Lang(6002, "Pre-Set Image");
        list_view_->addItem(new QListWidgetItem(caption));
        RefreshItemImage(i);
    }
    connect(list_view_, &QListWidget::currentRowChanged, this, [this] { ListViewChange(); });
    connect(list_view_, &QListWidget::itemSelectionChanged, this, [this] { ListViewChange(); });
    connect(list_view_, &QListWidget::itemDoubleClicked, this, [this] { ChangeButtonClick(); });
}

// Each image enlarged to twice its size, the user's bitmaps without blurring.
void TImageChooser::RefreshItemImage(int index) {
    QImage shown(kShownImageSize, kShownImageSize, QImage::Format_ARGB32_Premultiplied);
    shown.fill(Qt::transparent);
    {
        QPainter painter(&shown);
        images_.Draw(painter, QRectF(0, 0, kShownImageSize, kShownImageSize), index);
    }
    list_view_->item(index)->setIcon(QIcon(QPixmap::fromImage(shown)));
}

void TImageChooser::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (initial_index_ >= 0 && initial_index_ < kChoosableImages) {
        list_view_->setCurrentRow(initial_index_);
    } else {
        list_view_->clearSelection();
    }
    list_view_->setFocus();
}

int TImageChooser::SelectedIndex() const {
    const QList<QListWidgetItem*> selected = list_view_->selectedItems();
    return selected.isEmpty() ? -1 : list_view_->row(selected.front());
}

bool TImageChooser::CustomSlotSelected() const {
    const int index = SelectedIndex();
    return index >= 0 && index < keys::kCustomImageCount;
}

void TImageChooser::ListViewChange() {
    change_button_->setEnabled(CustomSlotSelected());
    clear_button_->setEnabled(change_button_->isEnabled());
}

void TImageChooser::PopupMenuPopup() {
    const bool custom = CustomSlotSelected();
    for (QAction* action : popup_menu_->actions()) action->setEnabled(custom);
}

bool TImageChooser::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_view_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            ChangeButtonClick();
            return true;
        }
    }
    if (watched == list_view_ && event->type() == QEvent::ContextMenu) {
        popup_menu_->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TImageChooser::ChangeButtonClick() {
    if (!CustomSlotSelected()) return;
    const int slot = SelectedIndex();
    TCustomImage dialog(this);
    if (dialog.exec() != QDialog::Accepted) return;
    custom_image_files_[slot] = dialog.FileName();
    QColor transparent;
    if (dialog.TransparentColorChosen()) {
        custom_image_colors_[slot] = QString::fromStdString(ColorToText(dialog.ChosenColor()));
        transparent = ToQColor(dialog.ChosenColor());
    } else {
        custom_image_colors_[slot] = QStringLiteral("clNone");
    }
    images_.SetCustomNodeImage(slot, MakeCustomNodeImage(dialog.Picture(), transparent));
    RefreshItemImage(slot);
    custom_images_changed_ = true;
}

void TImageChooser::PopupMenuClearClick() {
    if (!CustomSlotSelected()) return;
    const int slot = SelectedIndex();
    images_.ClearCustomNodeImage(slot);
    RefreshItemImage(slot);
    custom_image_files_[slot].clear();
    custom_image_colors_[slot].clear();
    custom_images_changed_ = true;
}

void TImageChooser::done(int result) {
    if (closing_) return;
    closing_ = true;
    if (custom_images_changed_ &&
        Platform::Instance().ShowMessage(this, Lang(6005, "Save changes to Custom Images?"),
                                         AppTitle(), MessageIcon::Question,
                                         MessageButtons::YesNo) == MessageAnswer::Yes) {
        SaveCustomImages();
    }
    QDialog::done(result);
    closing_ = false;
}

void TImageChooser::SaveCustomImages() {
    settings_.WriteAll([this](ProfileBatch& batch) {
        for (int n = 1; n <= keys::kCustomImageCount; ++n) {
            WriteText(batch, keys::CustomImageFile(n), ToNative(custom_image_files_[n - 1]));
            batch.WriteString(keys::kCustomImages, keys::CustomImageColor(n).key,
                              custom_image_colors_[n - 1].toStdString());
        }
    });
    main_images_ = images_;
    if (images_saved_) images_saved_();
}

}  // namespace quillora
