#include "search/ui/replace_form.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "gui/context_help.h"
#include "gui/dialog_frame.h"
#include "gui/lang.h"
#include "gui/platform.h"
#include "settings/language_pack.h"

namespace quillora {

namespace {
constexpr int kReplaceClientWidth = 385;
constexpr int kReplaceClientHeight = 154;
constexpr int kReplaceOuterHeightWithPack = 194;
constexpr int kReplaceCaseTopWithPack = 144;
constexpr int kReplaceHelpTopic = 70;
constexpr int kReplaceButtonsLeft = 296;
constexpr int kMargin = 8;
}  // namespace

// NOLINTNEXTLINE(readability-function-size): the placing of each control, one after another
TReplaceForm::TReplaceForm(QWidget* owner, ReplaceHandlers handlers)
    : QDialog(owner), handlers_(std::move(handlers)) {
    setObjectName(QStringLiteral("ReplaceForm"));
    setWindowTitle(Lang(9000, "Replace"));
    SetUpFixedDialogWindow(*this, kReplaceClientWidth, kReplaceClientHeight);
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    setModal(false);
    SearchDialogControls& c = controls_;

    AddSearchControls(*this, c,
                      {Lang(9001, "&Text to Search for:"), Lang(9004, "Search:"),
                       Lang(9005, "&All Notes/Folders"), Lang(9006, "&Selected Note/Folder"),
                       Lang(9003, "&Case Sensitive")},
                      104, kReplaceButtonsLeft);
    st2_ = new QLabel(Lang(9002, "&Replace with:"), this);
    st2_->setObjectName(QStringLiteral("ST2"));
    st2_->setGeometry(kMargin, 54, 200, 16);
    replace_edit_ = new QLineEdit(this);
    replace_edit_->setObjectName(QStringLiteral("ReplaceEdit"));
    replace_edit_->setGeometry(kMargin, 72, 280, 21);
    replace_edit_->setMaxLength(static_cast<int>(kMaxSearchTextLength));
    st2_->setBuddy(replace_edit_);
    setTabOrder(c.text_edit, replace_edit_);

    const auto button = [this](const char* name, const QString& caption, int top) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(kReplaceButtonsLeft, top, 81, 25);
        b->setAutoDefault(false);
        return b;
    };
    c.find_button = button("FindButton", Lang(9007, "&Find Next"), 8);
    replace_button_ = button("ReplaceButton", Lang(9008, "R&eplace"), 37);
    replace_all_button_ = button("ReplaceAllButton", Lang(9009, "Re&place All"), 66);
    c.cancel_button = button("CancelButton", Lang(501, "Cancel"), 95);
    c.help_button = button("HelpButton", Lang(502, "Help"), 124);
    c.find_button->setDefault(true);

    SetHelpContext(c.st1, 71);
    SetHelpContext(c.text_edit, 71);
    SetHelpContext(st2_, 72);
    SetHelpContext(replace_edit_, 72);
    SetHelpContext(c.case_check_box, 73);
    SetHelpContext(c.all_rb, 74);
    SetHelpContext(c.selected_rb, 74);

    if (LanguageText::Instance().HasModule()) {
        WidenSearchDialog(
            *this, c,
            {c.find_button, replace_button_, replace_all_button_, c.cancel_button, c.help_button},
            {c.text_edit, replace_edit_}, kReplaceOuterHeightWithPack, kReplaceCaseTopWithPack);
    }

    connect(c.text_edit, &QLineEdit::textChanged, this, &TReplaceForm::TextEditChange);
    connect(c.find_button, &QPushButton::clicked, this, &TReplaceForm::FindButtonClick);
    connect(replace_button_, &QPushButton::clicked, this, &TReplaceForm::ReplaceButtonClick);
    connect(replace_all_button_, &QPushButton::clicked, this, &TReplaceForm::ReplaceAllButtonClick);
    connect(c.cancel_button, &QPushButton::clicked, this, &TReplaceForm::CancelButtonClick);
    connect(c.help_button, &QPushButton::clicked, this, &TReplaceForm::HelpButtonClick);
    // Escape hides the dialog like Cancel; it is never destroyed before its owner.
    connect(this, &QDialog::rejected, this, &QWidget::hide);
    TextEditChange();
}

void TReplaceForm::ShowDialog() {
    show();
    if (!placed_) {
        placed_ = true;
        CenterOnScreen(*this);
    }
    raise();
    activateWindow();
    controls_.text_edit->setFocus();
}

void TReplaceForm::TextEditChange() {
    const bool enabled = !controls_.text_edit->text().isEmpty();
    controls_.find_button->setEnabled(enabled);
    replace_button_->setEnabled(enabled);
    replace_all_button_->setEnabled(enabled);
}

void TReplaceForm::FindButtonClick() {
    if (handlers_.find_next) handlers_.find_next(Settings());
}

void TReplaceForm::ReplaceButtonClick() {
    if (handlers_.replace) handlers_.replace(Settings(), Replacement());
}

void TReplaceForm::ReplaceAllButtonClick() {
    if (handlers_.replace_all) handlers_.replace_all(Settings(), Replacement());
}

void TReplaceForm::CancelButtonClick() {
    hide();
}

void TReplaceForm::HelpButtonClick() {
    Platform::Instance().ShowHelpTopic(kReplaceHelpTopic);
}

}  // namespace quillora
