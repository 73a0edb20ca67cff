#pragma once

#include <QString>
#include <vector>

#include "settings/language_pack.h"
#include "settings/ui/settings_page.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace quillora {

// The Language page: "English" and the language packs of the program folder, the selected
// pack's description in its own language, and its information file when it has one.
class LanguagePage final : public SettingsPage {
    Q_OBJECT
public:
    LanguagePage(const QString& program_folder, const QString& pack_in_use, QWidget* parent);

    // Writes LanguagePack only when the user chose another entry: a pack in use that is not
    // listed (missing, or not a pack) is not erased by an OK that did not touch the list.
    void Write(ProfileBatch& batch) const override;
    void SetPageWidth(int width) override;
    // Whether the user chose another pack than the one in use: it loads at the next start.
    bool PackChanged() const;

    void LanguagesClick();
    void MoreInfoButtonClick();

private:
    // The file name of the selected pack; empty for English.
    QString ChosenPack() const;
    // The description's captions and texts in two columns.
    void PlaceDescription();

    std::vector<LanguagePackEntry> packs_;
    QString pack_in_use_;
    int initial_row_ = 0;
    QString info_file_;
    QListWidget* languages_ = nullptr;
    QLabel* language_label_ = nullptr;    // ST9
    QLabel* language_name_ = nullptr;     // ST12
    QLabel* release_label_ = nullptr;     // ST11
    QLabel* release_date_ = nullptr;      // ST13
    QLabel* translator_label_ = nullptr;  // ST10
    QLabel* translator_ = nullptr;        // ST14
    QPushButton* more_info_ = nullptr;
};

}  // namespace quillora
