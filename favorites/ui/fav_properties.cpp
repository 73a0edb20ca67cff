#include "favorites/ui/fav_properties.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "gui/context_help.h"
#include "gui/dialog_frame.h"
#include "gui/lang.h"

namespace quillora {

namespace {
constexpr int kClientWidth = 352;
constexpr int kClientHeight = 128;
constexpr int kGroupWidth = 250;
constexpr int kButtonsLeft = 266;
constexpr int kHelpTopic = 61;
constexpr int kTitleHelp = 62;
constexpr int kFileHelp = 63;
constexpr int kBrowseHelp = 64;
constexpr int kMaxTitleLength = 63;
constexpr int kMaxFileNameLength = 255;
}  // namespace

TFavProperties::TFavProperties(const QString& title, const QString& file_name,
                               FileDialogRequest open_dialog, QWidget* parent)
    : QDialog(parent), open_dialog_(std::move(open_dialog)) {
    setObjectName(QStringLiteral("TFavProperties"));
    setWindowTitle(Lang(5000, "Properties"));
    SetUpFixedDialogWindow(*this, kClientWidth, kClientHeight);
    BuildFields();
    BuildButtons();
    title_edit_->setText(title);
    file_edit_->setText(file_name);
    CenterOnScreen(*this);
    title_edit_->setFocus();
}

void TFavProperties::BuildFields() {
    auto* group =
        new QGroupBox(QLatin1Char(' ') + Lang(5000, "Properties") + QLatin1Char(' '), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setGeometry(kDialogMargin, 4, kGroupWidth, kClientHeight - 12);
    auto* title_label = new QLabel(Lang(5001, "&Title:"), group);
    title_label->setGeometry(10, 18, 200, 16);
    title_edit_ = new QLineEdit(group);
    title_edit_->setObjectName(QStringLiteral("TitleEdit"));
    title_edit_->setGeometry(10, 34, kGroupWidth - 20, 21);
    title_edit_->setMaxLength(kMaxTitleLength);
    title_label->setBuddy(title_edit_);
    auto* file_label = new QLabel(Lang(5002, "&File Name:"), group);
    file_label->setGeometry(10, 62, 200, 16);
    file_edit_ = new QLineEdit(group);
    file_edit_->setObjectName(QStringLiteral("FileEdit"));
    file_edit_->setGeometry(10, 78, kGroupWidth - 45, 21);
    file_edit_->setMaxLength(kMaxFileNameLength);
    file_label->setBuddy(file_edit_);
    auto* browse = new QPushButton(QStringLiteral("..."), group);
    browse->setObjectName(QStringLiteral("BrowseButton"));
    browse->setGeometry(kGroupWidth - 31, 78, 21, 21);
    browse->setAutoDefault(false);
    SetHelpContext(title_label, kTitleHelp);
    SetHelpContext(title_edit_, kTitleHelp);
    SetHelpContext(file_label, kFileHelp);
    SetHelpContext(file_edit_, kFileHelp);
    SetHelpContext(browse, kBrowseHelp);
    connect(browse, &QPushButton::clicked, this, &TFavProperties::BrowseButtonClick);
}

void TFavProperties::BuildButtons() {
    const auto button = [this](const char* name, const QString& caption, int top) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(kButtonsLeft, top, 81, 25);
        return b;
    };
    QPushButton* ok = button("OKButton", Lang(500, "OK"), 10);
    QPushButton* cancel = button("CancelButton", Lang(501, "Cancel"), 40);
    QPushButton* help = button("HelpButton", Lang(502, "Help"), 70);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, &TFavProperties::HelpButtonClick);
}

void TFavProperties::BrowseButtonClick() {
    FileDialogRequest request = open_dialog_;
    request.title = Lang(5003, "Choose Favorite");
    request.multiple = false;
    const QStringList chosen = Platform::Instance().GetOpenFileNames(this, request);
    if (!chosen.isEmpty()) file_edit_->setText(chosen.front());
}

void TFavProperties::HelpButtonClick() {
    Platform::Instance().ShowHelpTopic(kHelpTopic);
}

}  // namespace quillora
