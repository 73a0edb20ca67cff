#pragma once

#include <array>

#include "settings/ui/settings_page.h"

class QLineEdit;

namespace quillora {

class ProfileFile;

// The Folders page: the default folders of the Open, Save As and Export dialogs, kept as typed.
class FoldersPage final : public SettingsPage {
    Q_OBJECT
public:
    FoldersPage(const ProfileFile& settings, QWidget* parent);

    void Write(ProfileBatch& batch) const override;
    void BrowseButtonClick(int folder);  // 0 open, 1 save as, 2 export

private:
    std::array<QLineEdit*, 3> edits_{};
};

}  // namespace quillora
