#pragma once

#include <QDialog>
#include <vector>

#include "gui/dialog_frame.h"
#include "search/note_search.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quillora {

// The controls both search dialogs share, placed by hand so that the layout a language pack
// asks for can be applied to exact positions.
struct SearchDialogControls {
    QLabel* st1 = nullptr;
    QLineEdit* text_edit = nullptr;
    QLabel* label1 = nullptr;
    QRadioButton* all_rb = nullptr;
    QRadioButton* selected_rb = nullptr;
    QCheckBox* case_check_box = nullptr;
    QPushButton* find_button = nullptr;
    QPushButton* cancel_button = nullptr;
    QPushButton* help_button = nullptr;
};

// The captions of the shared controls; each dialog takes them from its own strings.
struct SearchControlTexts {
    QString search_for;      // ST1
    QString search;          // Label1
    QString all;             // AllRB
    QString selected;        // SelectedRB
    QString case_sensitive;  // CaseCheckBox
};

// Creates `ST1` with its `TextEdit` at the top of `dialog`, and the option group (`Label1`,
// `AllRB` chosen, `SelectedRB`, `CaseCheckBox`) with its first row at `options_top`, to the left
// of the button column that begins at `buttons_left`.
void AddSearchControls(QDialog& dialog, SearchDialogControls& controls,
                       const SearchControlTexts& texts, int options_top, int buttons_left);

// Search and replace texts as the core takes them: Windows-1252 bytes of the first line, at
// most 250 characters.
std::string SearchFieldBytes(const QLineEdit* edit);
// The settings a dialog's fields give: the text, `CaseCheckBox` and `AllRB`.
SearchSettings SettingsFrom(const SearchDialogControls& controls);

// The wider layout used while a language pack is loaded: the outer width becomes 406, every push
// button 89 wide at the right edge, the radio buttons move right of `Label1`'s text, and
// `CaseCheckBox` goes below them at (8, `case_top`).
void WidenSearchDialog(QDialog& dialog, const SearchDialogControls& controls,
                       const std::vector<QPushButton*>& buttons,
                       const std::vector<QLineEdit*>& edits, int outer_height, int case_top);

// `TSearchForm`: the modal find dialog, created for one use. It starts with an empty
// `TextEdit`, `AllRB` chosen and `CaseCheckBox` clear; "&Find" (the default button) closes it
// with Accepted, Cancel and Escape with Rejected.
class TSearchForm : public QDialog {
    Q_OBJECT
public:
    explicit TSearchForm(QWidget* parent = nullptr);

    const SearchDialogControls& Controls() const { return controls_; }
    QLineEdit* TextEdit() const { return controls_.text_edit; }
    QCheckBox* CaseCheckBox() const { return controls_.case_check_box; }
    QRadioButton* AllRB() const { return controls_.all_rb; }
    QRadioButton* SelectedRB() const { return controls_.selected_rb; }
    QPushButton* FindButton() const { return controls_.find_button; }

    SearchSettings Settings() const { return SettingsFrom(controls_); }

    void TextEditChange();
    void HelpButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    SearchDialogControls controls_;
};

}  // namespace quillora
