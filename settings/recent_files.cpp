#include "settings/recent_files.h"

#include "settings/settings_schema.h"

namespace quillora {

namespace keys = settings_keys;

std::vector<std::string> RecentFiles(const ProfileFile& settings) {
    std::vector<std::string> files;
    for (int k = 0; k < kRecentFileCount; ++k) {
        files.push_back(ReadText(settings, keys::HistoryFile(k)));
    }
    return files;
}

void RecordRecentFile(ProfileFile& settings, const std::string& path) {
    if (ReadFlag(settings, keys::kHideReOpen)) return;
    const std::vector<std::string> files = RecentFiles(settings);
    for (const std::string& file : files) {
        if (file == path) return;
    }
    for (int k = kRecentFileCount - 1; k >= 1; --k) {
        WriteText(settings, keys::HistoryFile(k), files[static_cast<size_t>(k - 1)]);
    }
    WriteText(settings, keys::HistoryFile(0), path);
}

void ClearRecentFiles(ProfileFile& settings) {
    settings.EraseSection(keys::kHistory);
}

}  // namespace quillora
