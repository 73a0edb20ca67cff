#include "settings/ui/editors_page.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include "gui/appearance.h"
#include "gui/context_help.h"
#include "gui/lang.h"
#include "gui/translate.h"
#include "settings/ui/appearance_choice.h"
#include "settings/ui/settings_dialog.h"

namespace quillora {

namespace keys = settings_keys;

namespace {

struct PaneControls {
    const char* group;
    uint16_t group_id;
    const char* group_caption;
    const char* example;
    int example_help;
    const char* color_button;
    uint16_t color_id;
    const char* color_caption;
    int color_help;
    const char* font_button;
    uint16_t font_id;
    const char* font_caption;
    int font_help;
};

const std::array<PaneControls, 2> kPanes = {{
    {"GroupBox3", 11101, " Notes Editor ", "ExampleNotesMemo", 28, "NotesBGColorButton", 11103,
     "&Background Color", 25, "NotesFontSettingsButton", 11104, "&Font Settings", 26},
    {"GroupBox4", 11105, " Folder Editor ", "ExampleFolderMemo", 55, "FolderBGColorButton", 11106,
     "B&ackground Color", 58, "FolderFontSettingsButton", 11107, "F&ont Settings", 59},
}};

const std::array<const AppearanceSettings*, 2> kPaneKeys = {&keys::kNotesEditorAppearance,
                                                            &keys::kFolderEditorAppearance};

}  // namespace

EditorsPage::EditorsPage(const SettingsDialogContext& context, QWidget* parent)
    : SettingsPage("EditorsSheet", 28, parent),
      settings_(*context.settings),
      looks_{ReadAppearance(settings_, keys::kNotesEditorAppearance),
             ReadAppearance(settings_, keys::kFolderEditorAppearance)} {
    BuildPaneGroup(0);
    BuildPaneGroup(1);
    QGroupBox* options =
        AddGroup(this, "GroupBox5", GroupBoxCaption(11108, " Options "), {8, 210, 329, 44});
    word_wrap_ = AddCheckBox(options, "WordWrapCheckBox", Lang(11109, "&Word Wrap"), {16, 18},
                             ReadFlag(settings_, keys::kWordWrap));
    SetHelpContext(word_wrap_, 27);
    connect(word_wrap_, &QCheckBox::toggled, this, &EditorsPage::WordWrapCheckBoxClick);
    WordWrapCheckBoxClick();
}

void EditorsPage::BuildPaneGroup(int pane) {
    const PaneControls& c = kPanes.at(pane);
    QGroupBox* group =
        AddGroup(this, c.group, Lang(c.group_id, c.group_caption), {8, 8 + 100 * pane, 329, 96});
    auto* example = new QPlainTextEdit(group);
    example->setObjectName(QString::fromLatin1(c.example));
    example->setGeometry(16, 20, 160, 65);
    example->setReadOnly(true);
    const QString line = Lang(11102, "Example Text, Example Text");
    example->setPlainText(line + QLatin1Char('\n') + line + QLatin1Char('\n') + line);
    SetHelpContext(example, c.example_help);
    ApplyAppearance(*example, looks_.at(pane));
    examples_.at(pane) = example;

    QPushButton* color =
        AddButton(group, c.color_button, Lang(c.color_id, c.color_caption), {196, 22, 113, 25});
    SetHelpContext(color, c.color_help);
    connect(color, &QPushButton::clicked, this, [this, pane] { ColorChange(pane); });
    QPushButton* font =
        AddButton(group, c.font_button, Lang(c.font_id, c.font_caption), {196, 56, 113, 25});
    SetHelpContext(font, c.font_help);
    connect(font, &QPushButton::clicked, this, [this, pane] { FontSettings(pane); });
}

void EditorsPage::ColorChange(int pane) {
    if (ChooseBackground(this, settings_, looks_.at(pane))) {
        ApplyAppearance(*examples_.at(pane), looks_.at(pane));
    }
}

void EditorsPage::FontSettings(int pane) {
    if (ChooseAppearanceFont(this, looks_.at(pane))) {
        ApplyAppearance(*examples_.at(pane), looks_.at(pane));
    }
}

void EditorsPage::WordWrapCheckBoxClick() {
    const bool wrap = word_wrap_->isChecked();
    for (QPlainTextEdit* example : examples_) {
        example->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        example->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff
                                                   : Qt::ScrollBarAlwaysOn);
        example->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }
}

void EditorsPage::Write(ProfileBatch& batch) const {
    WriteFlag(batch, keys::kWordWrap, word_wrap_->isChecked());
    for (int pane = 0; pane < 2; ++pane)
        WriteAppearance(batch, *kPaneKeys.at(pane), looks_.at(pane));
}

}  // namespace quillora
