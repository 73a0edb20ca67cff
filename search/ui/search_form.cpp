#include "search/ui/search_form.h"

#include <QCheckBox>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <algorithm>

#include "gui/context_help.h"
#include "gui/dialog_frame.h"
#include "gui/lang.h"
#include "gui/platform.h"
#include "gui/text_codec.h"
#include "settings/language_pack.h"

namespace quillora {

namespace {
constexpr int kFindClientWidth = 386;
constexpr int kFindClientHeight = 101;
constexpr int kFindOuterHeightWithPack = 147;
constexpr int kFindCaseTopWithPack = 96;
constexpr int kFindHelpTopic = 69;
constexpr int kFindButtonsLeft = 297;

constexpr int kMargin = kDialogMargin;

// The text a label shows: its caption without the mnemonic marks.
QString ShownText(const QString& caption) {
    QString out;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) ++i;
        out += caption[i];
    }
    return out;
}
}  // namespace

std::string SearchFieldBytes(const QLineEdit* edit) {
    return std::string(SearchFieldText(ToAnsi(edit->text())));
}

SearchSettings SettingsFrom(const SearchDialogControls& controls) {
    SearchSettings settings;
    settings.text = SearchFieldBytes(controls.text_edit);
    settings.case_sensitive = controls.case_check_box->isChecked();
    settings.all_nodes = controls.all_rb->isChecked();
    return settings;
}

void WidenSearchDialog(QDialog& dialog, const SearchDialogControls& controls,
                       const std::vector<QPushButton*>& buttons,
                       const std::vector<QLineEdit*>& edits, int outer_height, int case_top) {
    const int button_left = WidenForLanguagePack(dialog, buttons, edits, outer_height);
    QLabel* label = controls.label1;
    const int label_width = dialog.fontMetrics().horizontalAdvance(ShownText(label->text()));
    label->resize(std::max(label->width(), label_width), label->height());
    const int radio_left = label->x() + label_width + 6;
    for (QRadioButton* radio : {controls.all_rb, controls.selected_rb}) {
        radio->setGeometry(radio_left, radio->y(), button_left - kDialogMargin - radio_left,
                           radio->height());
    }
    controls.case_check_box->setGeometry(kDialogMargin, case_top, button_left - 2 * kDialogMargin,
                                         controls.case_check_box->height());
}

void AddSearchControls(QDialog& dialog, SearchDialogControls& c, const SearchControlTexts& texts,
                       int options_top, int buttons_left) {
    c.st1 = new QLabel(texts.search_for, &dialog);
    c.st1->setObjectName(QStringLiteral("ST1"));
    c.st1->setGeometry(kMargin, 8, 200, 16);
    c.text_edit = new QLineEdit(&dialog);
    c.text_edit->setObjectName(QStringLiteral("TextEdit"));
    c.text_edit->setGeometry(kMargin, 26, 280, 21);
    c.text_edit->setMaxLength(static_cast<int>(kMaxSearchTextLength));
    c.st1->setBuddy(c.text_edit);

    c.label1 = new QLabel(texts.search, &dialog);
    c.label1->setObjectName(QStringLiteral("Label1"));
    c.label1->setGeometry(kMargin, options_top + 2, 48, 16);
    c.all_rb = new QRadioButton(texts.all, &dialog);
    c.all_rb->setObjectName(QStringLiteral("AllRB"));
    c.all_rb->setGeometry(60, options_top, 136, 18);
    c.all_rb->setChecked(true);
    c.selected_rb = new QRadioButton(texts.selected, &dialog);
    c.selected_rb->setObjectName(QStringLiteral("SelectedRB"));
    c.selected_rb->setGeometry(60, options_top + 20, 150, 18);
    c.case_check_box = new QCheckBox(texts.case_sensitive, &dialog);
    c.case_check_box->setObjectName(QStringLiteral("CaseCheckBox"));

    // Each option as wide as its caption, so none reaches under another. CaseCheckBox stands on
    // the row of the shorter AllRB, its caption ending a small gap clear of the button column.
    constexpr int kOptionGap = 6;
    for (QRadioButton* radio : {c.all_rb, c.selected_rb}) {
        radio->resize(radio->sizeHint().width(), radio->height());
    }
    const int case_right = buttons_left - kOptionGap;
    const int case_left = std::max(case_right - c.case_check_box->sizeHint().width(),
                                   c.all_rb->geometry().right() + 1 + kOptionGap);
    c.case_check_box->setGeometry(case_left, options_top, case_right - case_left, 18);
}

TSearchForm::TSearchForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SearchForm"));
    setWindowTitle(Lang(10000, "Find"));
    SetUpFixedDialogWindow(*this, kFindClientWidth, kFindClientHeight);
    SearchDialogControls& c = controls_;

    AddSearchControls(*this, c,
                      {Lang(10001, "&Text to Search for:"), Lang(10003, "Search:"),
                       Lang(10004, "&All Notes/Folders"), Lang(10005, "&Selected Note/Folder"),
                       Lang(10002, "&Case Sensitive")},
                      56, kFindButtonsLeft);

    const auto button = [this](const char* name, const QString& caption, int top) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(kFindButtonsLeft, top, 81, 25);
        return b;
    };
    c.find_button = button("FindButton", Lang(10006, "&Find"), 8);
    c.cancel_button = button("CancelButton", Lang(501, "Cancel"), 38);
    c.help_button = button("HelpButton", Lang(502, "Help"), 68);
    c.find_button->setDefault(true);
    c.find_button->setAutoDefault(true);

    SetHelpContext(c.st1, 66);
    SetHelpContext(c.text_edit, 66);
    SetHelpContext(c.case_check_box, 67);
    SetHelpContext(c.all_rb, 68);
    SetHelpContext(c.selected_rb, 68);

    if (LanguageText::Instance().HasModule()) {
        WidenSearchDialog(*this, c, {c.find_button, c.cancel_button, c.help_button}, {c.text_edit},
                          kFindOuterHeightWithPack, kFindCaseTopWithPack);
    }

    connect(c.text_edit, &QLineEdit::textChanged, this, &TSearchForm::TextEditChange);
    connect(c.find_button, &QPushButton::clicked, this, &QDialog::accept);
    connect(c.cancel_button, &QPushButton::clicked, this, &QDialog::reject);
    connect(c.help_button, &QPushButton::clicked, this, &TSearchForm::HelpButtonClick);
    TextEditChange();
    c.text_edit->setFocus();
}

void TSearchForm::TextEditChange() {
    controls_.find_button->setEnabled(!controls_.text_edit->text().isEmpty());
}

void TSearchForm::HelpButtonClick() {
    Platform::Instance().ShowHelpTopic(kFindHelpTopic);
}

void TSearchForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) CenterOnScreen(*this);
}

}  // namespace quillora
