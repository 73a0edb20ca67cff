#pragma once

#include <array>

#include "settings/settings_schema.h"
#include "settings/ui/settings_page.h"

class QCheckBox;
class QPlainTextEdit;

namespace quillora {

struct SettingsDialogContext;

// The Editors page: the colours and fonts of the note pane and the folder pane, each shown on an
// example pane, and the word wrap of both.
class EditorsPage final : public SettingsPage {
    Q_OBJECT
public:
    EditorsPage(const SettingsDialogContext& context, QWidget* parent);

    void Write(ProfileBatch& batch) const override;

    void ColorChange(int pane);   // 0 note pane, 1 folder pane
    void FontSettings(int pane);  // as ColorChange
    void WordWrapCheckBoxClick();

private:
    void BuildPaneGroup(int pane);

    ProfileFile& settings_;
    std::array<Appearance, 2> looks_;
    std::array<QPlainTextEdit*, 2> examples_{};
    QCheckBox* word_wrap_ = nullptr;
};

}  // namespace quillora
