#pragma once

#include <array>

#include "settings/ui/settings_page.h"

class QCheckBox;

namespace quillora {

class ProfileFile;

// The Miscellaneous page: the start-up options and the other switches of section Main.
class MiscellaneousPage final : public SettingsPage {
    Q_OBJECT
public:
    MiscellaneousPage(const ProfileFile& settings, QWidget* parent);

    // Writes the six switches; hiding the Re-Open menu erases the list of recent files.
    void Write(ProfileBatch& batch) const override;
    bool UseTrayIcon() const;

private:
    std::array<QCheckBox*, 6> boxes_{};
};

}  // namespace quillora
