#include "settings/recent_files.h"

#include "settings/settings_schema.h"

namespace quillora {

namespace keys = settings_keys;

std::vector<std::string> RecentFiles(const ProfileFile& settings) {
    std::vector<std::string> files;
    files.reserve(kRecentFileCount);
    for (int k = 0; k < kRecentFileCount; ++k) {
        files.push_back(ReadText(settings, keys::HistoryFile(k)));
    }
    return files;
}

// One read and one write of the file, so that a copy of the program running beside this one
// cannot shift the list at the same moment and leave an entry twice or lose one.
void RecordRecentFile(ProfileFile& settings, const std::string& path) {
    settings.WriteAll([&path](ProfileBatch& batch) {
        const auto read = [&batch](const TextSetting& setting) {
            return batch.ReadString(setting.section, setting.key, setting.default_value);
        };
        const FlagSetting& hide = keys::kHideReOpen;
        if (batch.ReadInt(hide.section, hide.key, hide.default_value ? 1 : 0) != 0) return;
        std::vector<std::string> files;
        files.reserve(kRecentFileCount);
        for (int k = 0; k < kRecentFileCount; ++k) {
            files.push_back(read(keys::HistoryFile(k)));
            if (files.back() == path) return;
        }
        for (int k = kRecentFileCount - 1; k >= 1; --k) {
            WriteText(batch, keys::HistoryFile(k), files[static_cast<size_t>(k - 1)]);
        }
        WriteText(batch, keys::HistoryFile(0), path);
    });
}

void ClearRecentFiles(ProfileFile& settings) {
    settings.EraseSection(keys::kHistory);
}

}  // namespace quillora
