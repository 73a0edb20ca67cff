#pragma once

#include <string>
#include <vector>

#include "settings/profile_file.h"
#include "settings/settings_schema.h"

namespace quillora {

// The re-open list: keys File0 (most recent) to File9 of section History.
constexpr int kRecentFileCount = settings_keys::kHistoryCount;

// Puts `path` first in the list unless HideReOpen is set or the path is already listed (the
// list is then left in its order). The oldest entry drops off the end.
void RecordRecentFile(ProfileFile& settings, const std::string& path);
// The ten entries, File0 first; missing keys are empty.
std::vector<std::string> RecentFiles(const ProfileFile& settings);
void ClearRecentFiles(ProfileFile& settings);

}  // namespace quillora
