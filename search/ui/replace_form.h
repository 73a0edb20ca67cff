#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "search/note_search.h"
#include "search/ui/search_form.h"

namespace quillora {

// What the replace dialog's buttons ask of the window, with the dialog's settings and, for the
// replacing ones, the `ReplaceEdit` text.
struct ReplaceHandlers {
    std::function<void(const SearchSettings&)> find_next;
    std::function<void(const SearchSettings&, const std::string&)> replace;
    std::function<void(const SearchSettings&, const std::string&)> replace_all;
};

// `TReplaceForm`: the modeless replace dialog, kept on top. It is created once and afterwards
// only shown and hidden, so its fields keep what was typed; Cancel and the close box hide it.
class TReplaceForm : public QDialog {
    Q_OBJECT
public:
    TReplaceForm(QWidget* owner, ReplaceHandlers handlers);

    const SearchDialogControls& Controls() const { return controls_; }
    QLineEdit* TextEdit() const { return controls_.text_edit; }
    QLineEdit* ReplaceEdit() const { return replace_edit_; }
    QCheckBox* CaseCheckBox() const { return controls_.case_check_box; }
    QRadioButton* AllRB() const { return controls_.all_rb; }
    QRadioButton* SelectedRB() const { return controls_.selected_rb; }
    QPushButton* FindButton() const { return controls_.find_button; }
    QPushButton* ReplaceButton() const { return replace_button_; }
    QPushButton* ReplaceAllButton() const { return replace_all_button_; }

    SearchSettings Settings() const { return SettingsFrom(controls_); }
    std::string Replacement() const { return SearchFieldBytes(replace_edit_); }

    // Shows the dialog (centred the first time), brings it to the front and focuses `TextEdit`.
    void ShowDialog();

    // --- handlers ---
    void FindButtonClick();
    void ReplaceButtonClick();
    void ReplaceAllButtonClick();
    void CancelButtonClick();
    void HelpButtonClick();
    void TextEditChange();

private:
    SearchDialogControls controls_;
    QLabel* st2_ = nullptr;
    QLineEdit* replace_edit_ = nullptr;
    QPushButton* replace_button_ = nullptr;
    QPushButton* replace_all_button_ = nullptr;
    ReplaceHandlers handlers_;
    bool placed_ = false;
};

}  // namespace quillora
