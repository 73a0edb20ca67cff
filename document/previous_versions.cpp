#include "document/previous_versions.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "base/file_io.h"

namespace quillora {

namespace {

constexpr std::uint64_t kMaxCopyBytes = std::uint64_t{512} << 20;
constexpr std::size_t kStampLength = 17;  // yyyy-mm-dd_hhmmss

std::uint32_t PathHash(const std::string& path) {
    std::uint32_t hash = 2166136261U;
    for (const char c : path) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619U;
    }
    return hash;
}

std::string Stem(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name;
}

}  // namespace

std::string PreviousVersions::Prefix(const std::string& path) const {
    return Stem(path) + "-";
}

bool PreviousVersions::Keep(const std::string& path, const DateTime& now) const {
    if (keep_ <= 0) return false;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    if (error) return false;

    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d_%02d%02d%02d-%08x", now.year, now.month,
                  now.day, now.hour, now.minute, now.second, PathHash(path));
    const std::string version = folder_ + "/" + Prefix(path) + stamp + ".qlb";
    bool kept = ::link(path.c_str(), version.c_str()) == 0;
    if (!kept && errno != EEXIST) {
        // Another file system (or one without hard links): a copy costs a read and a write.
        const FileContents contents = ReadRegularFile(path, kMaxCopyBytes);
        kept = contents.ok() && ReplaceFile(version, contents.bytes) == ReplaceStatus::Ok;
    }
    Rotate(path);
    return kept;
}

std::vector<std::string> PreviousVersions::Of(const std::string& path) const {
    std::vector<std::string> versions;
    DIR* dir = ::opendir(folder_.c_str());
    if (dir == nullptr) return versions;
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "-%08x.qlb", PathHash(path));
    const std::string prefix = Prefix(path);
    const std::size_t length = prefix.size() + kStampLength + std::string_view(suffix).size();
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name.size() == length && name.substr(0, prefix.size()) == prefix &&
            name.substr(name.size() - std::string_view(suffix).size()) == suffix) {
            versions.push_back(folder_ + "/" + std::string(name));
        }
    }
    ::closedir(dir);
    // The stamps are of one width, so the names sort by time.
    std::sort(versions.rbegin(), versions.rend());
    return versions;
}

void PreviousVersions::Rotate(const std::string& path) const {
    const std::vector<std::string> versions = Of(path);
    for (std::size_t i = static_cast<std::size_t>(keep_); i < versions.size(); ++i) {
        ::unlink(versions[i].c_str());
    }
}

}  // namespace quillora
