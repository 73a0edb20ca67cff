#include "settings/recent_files.h"

#include "settings/settings_schema.h"

namespace quillora {

namespace {
constexpr const char* kSection = settings_keys::kHistory;
// The key of entry `k` (0 the newest) of the History section: "File0" ... "File9".
std::string KeyOf(int k) {
    return "File" + std::to_string(k);
}
}  // namespace

std::vector<std::string> RecentFiles(const ProfileFile& settings) {
    std::vector<std::string> files;
    files.reserve(kRecentFileCount);
    for (int k = 0; k < kRecentFileCount; ++k) {
        files.push_back(settings.ReadString(kSection, KeyOf(k), ""));
    }
    return files;
}

void RecordRecentFile(ProfileFile& settings, const std::string& path) {
    if (ReadFlag(settings, settings_keys::kHideReOpen)) return;
    const std::vector<std::string> files = RecentFiles(settings);
    for (const std::string& file : files) {
        if (file == path) return;
    }
    for (int k = kRecentFileCount - 1; k >= 1; --k) {
        settings.WriteString(kSection, KeyOf(k), files[static_cast<size_t>(k - 1)]);
    }
    settings.WriteString(kSection, KeyOf(0), path);
}

void ClearRecentFiles(ProfileFile& settings) {
    settings.EraseSection(kSection);
}

}  // namespace quillora
