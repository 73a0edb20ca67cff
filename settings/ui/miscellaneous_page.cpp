#include "settings/ui/miscellaneous_page.h"

#include <QCheckBox>
#include <QGroupBox>

#include "gui/context_help.h"
#include "gui/lang.h"
#include "gui/translate.h"
#include "settings/settings_schema.h"

namespace quillora {

namespace keys = settings_keys;

namespace {

struct Switch {
    const char* name;
    uint16_t id;
    const char* caption;
    int help;
    const FlagSetting* key;
};

// In the order they are written; the first two stand in the Start Up group.
const std::array<Switch, 6> kSwitches = {{
    {"ShowSplashCheckBox", 11202, "Display &Splash Screen", 29, &keys::kShowSplash},
    {"ReOpenCheckBox", 11203, "Remember &Last File Opened", 30, &keys::kReOpenLastFile},
    {"FlatButtonsCheckBox", 11205, "Use &Flat Tool Bar Buttons", 31, &keys::kFlatToolBarButtons},
    {"UseTrayIconCheckBox", 11206, "Use &Tray Icon", 32, &keys::kUseTrayIcon},
    {"MultipleCopiesCheckBox", 11207, "Allow &Multiple Copies of Quillora to Run at Once", 65,
     &keys::kMultipleCopies},
    {"DisableReOpenCheckBox", 11208, "Hide && Disable &Re-Open Menu", 80, &keys::kHideReOpen},
}};

constexpr std::size_t kTrayIcon = 3;
constexpr std::size_t kHideReOpen = 5;

}  // namespace

MiscellaneousPage::MiscellaneousPage(const ProfileFile& settings, QWidget* parent)
    : SettingsPage("MiscellaneousSheet", 29, parent) {
    QGroupBox* start_up =
        AddGroup(this, "GroupBox7", GroupBoxCaption(11201, " Start Up "), {8, 8, 329, 66});
    QGroupBox* other =
        AddGroup(this, "GroupBox8", GroupBoxCaption(11204, " Miscellaneous "), {8, 82, 329, 112});
    for (std::size_t i = 0; i < kSwitches.size(); ++i) {
        const Switch& s = kSwitches.at(i);
        QGroupBox* group = i < 2 ? start_up : other;
        const int row = static_cast<int>(i < 2 ? i : i - 2);
        QCheckBox* box = AddCheckBox(group, s.name, Lang(s.id, s.caption), {16, 20 + 22 * row},
                                     ReadFlag(settings, *s.key));
        SetHelpContext(box, s.help);
        boxes_.at(i) = box;
    }
}

bool MiscellaneousPage::UseTrayIcon() const {
    return boxes_.at(kTrayIcon)->isChecked();
}

void MiscellaneousPage::Write(ProfileBatch& batch) const {
    for (std::size_t i = 0; i < kSwitches.size(); ++i) {
        WriteFlag(batch, *kSwitches.at(i).key, boxes_.at(i)->isChecked());
    }
    if (boxes_.at(kHideReOpen)->isChecked()) batch.EraseSection(keys::kHistory);
}

}  // namespace quillora
