#include "settings/ui/language_page.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "gui/context_help.h"
#include "gui/lang.h"
#include "gui/platform.h"
#include "gui/text_codec.h"
#include "gui/translate.h"
#include "settings/settings_schema.h"

namespace quillora {

namespace keys = settings_keys;

namespace {
constexpr int kListFontPixels = 11;
constexpr int kListItemHeight = 14;
constexpr int kDescriptionLeft = 16;
constexpr int kDescriptionTextLeft = 120;

QLabel* AddLabel(QWidget* parent, const char* name, QRect place) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(place);
    SetHelpContext(label, 94);
    return label;
}
}  // namespace

LanguagePage::LanguagePage(const QString& program_folder, const QString& pack_in_use,
                           QWidget* parent)
    : SettingsPage("LanguageSheet", 93, parent), pack_in_use_(pack_in_use) {
    QGroupBox* group =
        AddGroup(this, "GroupBox9", GroupBoxCaption(11250, " Language "), {8, 8, 329, 246});
    auto* caption = new QLabel(Lang(11251, "&Language Pack:"), group);
    caption->setObjectName(QStringLiteral("StaticText7"));
    caption->move(16, 20);
    caption->adjustSize();
    languages_ = new QListWidget(group);
    languages_->setObjectName(QStringLiteral("Languages"));
    languages_->setGeometry(16, 38, 297, 100);
    caption->setBuddy(languages_);
    SetHelpContext(languages_, 93);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPixelSize(kListFontPixels);
    languages_->setFont(fixed);

    const std::string folder = ToNative(program_folder);
    packs_ = ListLanguagePacks(folder, FindPackFiles(folder));
    languages_->addItem(QStringLiteral("English"));
    for (const LanguagePackEntry& pack : packs_) {
        languages_->addItem(QString::fromStdString(pack.list_entry));
    }
    for (int row = 0; row < languages_->count(); ++row) {
        languages_->item(row)->setSizeHint({0, kListItemHeight});
    }
    if (const auto index = FindPackIndex(packs_, ToNative(pack_in_use))) {
        initial_row_ = static_cast<int>(*index) + 1;
    }
    languages_->setCurrentRow(initial_row_);

    language_label_ = AddLabel(group, "ST9", {16, 146, 297, 16});
    language_name_ = AddLabel(group, "ST12", {120, 146, 193, 16});
    release_label_ = AddLabel(group, "ST11", {16, 166, 100, 16});
    release_date_ = AddLabel(group, "ST13", {120, 166, 193, 16});
    translator_label_ = AddLabel(group, "ST10", {16, 186, 100, 16});
    translator_ = AddLabel(group, "ST14", {120, 186, 193, 30});
    translator_->setWordWrap(true);
    translator_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    more_info_ =
        AddButton(group, "MoreInfoButton", Lang(11252, "&More Information..."), {16, 214, 140, 25});
    SetHelpContext(more_info_, 95);
    connect(more_info_, &QPushButton::clicked, this, &LanguagePage::MoreInfoButtonClick);
    connect(languages_, &QListWidget::currentRowChanged, this, &LanguagePage::LanguagesClick);
    LanguagesClick();
}

QString LanguagePage::ChosenPack() const {
    const int row = languages_->currentRow();
    if (row <= 0 || row > static_cast<int>(packs_.size())) return {};
    return FromNative(packs_.at(static_cast<std::size_t>(row - 1)).file_name);
}

bool LanguagePage::PackChanged() const {
    return languages_->currentRow() != initial_row_ && ChosenPack() != pack_in_use_;
}

void LanguagePage::LanguagesClick() {
    more_info_->hide();
    const int row = languages_->currentRow();
    if (row <= 0 || row > static_cast<int>(packs_.size())) {
        language_label_->setText(
            QStringLiteral("Language Packs can be downloaded from the website."));
        language_name_->hide();
        for (QLabel* label : {translator_label_, translator_, release_label_, release_date_}) {
            label->clear();
        }
        PlaceDescription();
        return;
    }
    const std::string& path = packs_.at(static_cast<std::size_t>(row - 1)).path;
    const std::optional<LanguageModule> module = LanguageModule::Load(path);
    const PackDescription description = DescribePack(module ? &*module : nullptr);
    language_label_->setText(FromNative(description.language_label));
    language_name_->setText(FromNative(description.language));
    language_name_->show();
    translator_label_->setText(FromNative(description.translated_by));
    translator_->setText(FromNative(description.translator));
    release_label_->setText(FromNative(description.release_label));
    release_date_->setText(FromNative(description.release_date));

    PlaceDescription();

    info_file_ = FromNative(PackInfoFilePath(path));
    if (QFileInfo(info_file_).isFile()) {
        more_info_->setText(FromNative(description.more_information));
        more_info_->show();
    }
}

void LanguagePage::PlaceDescription() {
    // The texts stand right of the widest caption, which a pack may make longer than 100 pixels.
    const QWidget* group = languages_->parentWidget();
    const int right = group->width() - kDescriptionLeft;
    int widest = 0;
    for (QLabel* label : {release_label_, translator_label_}) {
        label->resize(label->sizeHint().width(), label->height());
        widest = std::max(widest, label->width());
    }
    if (language_name_->isVisibleTo(group)) {
        language_label_->resize(language_label_->sizeHint().width(), language_label_->height());
        widest = std::max(widest, language_label_->width());
    } else {
        language_label_->resize(right - kDescriptionLeft, language_label_->height());
    }
    const int text_left = std::max(kDescriptionTextLeft, kDescriptionLeft + widest + 8);
    for (QLabel* text : {language_name_, release_date_, translator_}) {
        text->setGeometry(text_left, text->y(), right - text_left, text->height());
    }
}

void LanguagePage::SetPageWidth(int width) {
    SettingsPage::SetPageWidth(width);
    languages_->resize(languages_->parentWidget()->width() - 2 * kDescriptionLeft,
                       languages_->height());
    PlaceDescription();
}

void LanguagePage::MoreInfoButtonClick() {
    // A desktop that cannot open the file is not reported.
    Platform::Instance().OpenWithDesktop(info_file_);
}

void LanguagePage::Write(ProfileBatch& batch) const {
    if (languages_->currentRow() != initial_row_) {
        WriteText(batch, keys::kLanguagePack, ToNative(ChosenPack()));
    }
}

}  // namespace quillora
