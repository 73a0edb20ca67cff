#include "document/recovery_store.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>

namespace quillora {

namespace {

constexpr std::string_view kInfoMagic = "QuilloraRecovery 1\n";
constexpr std::uint64_t kMaxInfoBytes = 16 * 1024;
constexpr std::uint64_t kMaxCopyBytes = std::uint64_t{512} << 20;
constexpr std::string_view kInfoSuffix = ".info";

template <typename T>
bool ParseNumber(std::string_view text, T& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

int OpenLock(const std::string& path) {
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// True when the program that made `lock_path` still holds its lock.
bool LockHeld(const std::string& lock_path) {
    int fd;
    do {
        fd = ::open(lock_path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return false;  // no lock file: nobody holds it
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

std::string NewId() {
    std::random_device random;
    const std::uint64_t bits = (std::uint64_t{random()} << 32) ^ random();
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(bits));
    return std::to_string(::getpid()) + "-" + hex;
}

}  // namespace

std::string FormatRecoveryInfo(const RecoveryInfo& info) {
    std::string text(kInfoMagic);
    auto field = [&text](std::string_view key, auto value) {
        text.append(key).append("=").append(std::to_string(value)).append("\n");
    };
    field("written", info.written_at);
    field("exists", info.base.exists ? 1 : 0);
    field("device", info.base.device);
    field("inode", info.base.inode);
    field("size", info.base.size);
    field("modified", info.base.modified_ns);
    field("head", info.base.head_hash);
    // The path comes last and runs to the end, so that no character of it needs escaping.
    text.append("path=").append(info.document_path);
    return text;
}

std::optional<RecoveryInfo> ParseRecoveryInfo(std::string_view text) {
    if (text.substr(0, kInfoMagic.size()) != kInfoMagic) return std::nullopt;
    text.remove_prefix(kInfoMagic.size());
    RecoveryInfo info;
    int exists = 0;
    struct Field {
        std::string_view key;
        std::function<bool(std::string_view)> parse;
    };
    const Field fields[] = {
        {"written", [&](std::string_view v) { return ParseNumber(v, info.written_at); }},
        {"exists", [&](std::string_view v) { return ParseNumber(v, exists); }},
        {"device", [&](std::string_view v) { return ParseNumber(v, info.base.device); }},
        {"inode", [&](std::string_view v) { return ParseNumber(v, info.base.inode); }},
        {"size", [&](std::string_view v) { return ParseNumber(v, info.base.size); }},
        {"modified", [&](std::string_view v) { return ParseNumber(v, info.base.modified_ns); }},
        {"head", [&](std::string_view v) { return ParseNumber(v, info.base.head_hash); }},
    };
    for (const Field& f : fields) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) return std::nullopt;
        const std::string_view line = text.substr(0, end);
        if (line.size() <= f.key.size() || line.substr(0, f.key.size()) != f.key ||
            line[f.key.size()] != '=' || !f.parse(line.substr(f.key.size() + 1))) {
            return std::nullopt;
        }
        text.remove_prefix(end + 1);
    }
    if (text.substr(0, 5) != "path=") return std::nullopt;
    info.document_path = std::string(text.substr(5));
    if (info.document_path.find('\0') != std::string::npos) return std::nullopt;
    info.base.exists = exists != 0;
    return info;
}

RecoveryStore::RecoveryStore(std::string folder, const std::string& id, int lock_fd)
    : folder_(std::move(folder)),
      copy_path_(folder_ + "/" + id + ".qlb"),
      info_path_(folder_ + "/" + id + std::string(kInfoSuffix)),
      lock_path_(folder_ + "/" + id + ".lock"),
      lock_fd_(lock_fd) {}

std::unique_ptr<RecoveryStore> RecoveryStore::Open(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) return nullptr;
    ::chmod(folder.c_str(), 0700);
    // Another copy starting at the same moment may take a lock file for one left over and
    // remove it between its creation and its locking: then the lock is taken again.
    constexpr int kAttempts = 5;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const std::string id = NewId();
        std::string lock = folder;
        lock += '/';
        lock += id;
        lock += ".lock";
        const int fd = OpenLock(lock);
        if (fd < 0) return nullptr;
        struct stat locked {};
        struct stat named {};
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &locked) == 0 &&
            ::stat(lock.c_str(), &named) == 0 && locked.st_ino == named.st_ino &&
            locked.st_dev == named.st_dev) {
            return std::unique_ptr<RecoveryStore>(new RecoveryStore(folder, id, fd));
        }
        ::close(fd);
    }
    return nullptr;
}

RecoveryStore::~RecoveryStore() {
    Remove();
    ::unlink(lock_path_.c_str());
    ::close(lock_fd_);
}

bool RecoveryStore::Write(const FrozenDocument& document, const RecoveryInfo& info,
                          const WriteFaults& faults) {
    if (WriteNotesRecords(copy_path_, document.View(), faults) != ReplaceStatus::Ok) return false;
    return ReplaceFile(info_path_, FormatRecoveryInfo(info), faults) == ReplaceStatus::Ok;
}

void RecoveryStore::Remove() {
    // The info first: a copy without its info is never offered.
    ::unlink(info_path_.c_str());
    ::unlink(copy_path_.c_str());
}

bool RecoveryStore::HasCopy() const {
    struct stat st {};
    return ::stat(info_path_.c_str(), &st) == 0;
}

std::vector<LeftRecovery> RecoveryStore::FindLeft() const {
    std::vector<LeftRecovery> left;
    DIR* dir = ::opendir(folder_.c_str());
    if (dir == nullptr) return left;
    std::vector<std::string> ids;
    std::vector<std::string> locks;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (EndsWith(name, kInfoSuffix)) ids.emplace_back(name.substr(0, name.size() - 5));
        if (EndsWith(name, ".lock")) locks.emplace_back(folder_ + "/" + std::string(name));
    }
    ::closedir(dir);
    // The lock files of programs that ended without a copy to leave (killed while nothing was
    // unsaved) are of no more use.
    for (const std::string& lock : locks) {
        const std::string base = lock.substr(0, lock.size() - 5);
        struct stat st {};
        if (lock != lock_path_ && ::stat((base + std::string(kInfoSuffix)).c_str(), &st) != 0 &&
            !LockHeld(lock)) {
            ::unlink(lock.c_str());
        }
    }
    for (const std::string& id : ids) {
        const std::string base = folder_ + "/" + id;
        if (base + std::string(kInfoSuffix) == info_path_) continue;
        if (LockHeld(base + ".lock")) continue;
        const FileContents text = ReadRegularFile(base + std::string(kInfoSuffix), kMaxInfoBytes);
        std::optional<RecoveryInfo> info;
        if (text.ok()) info = ParseRecoveryInfo(text.bytes);
        if (!info || !InputFile::Open(base + ".qlb", kMaxCopyBytes).ok()) continue;
        ::unlink((base + ".lock").c_str());
        left.push_back({base + ".qlb", std::move(*info)});
    }
    std::sort(left.begin(), left.end(), [](const LeftRecovery& a, const LeftRecovery& b) {
        return a.info.written_at > b.info.written_at;
    });
    return left;
}

void RecoveryStore::Discard(const LeftRecovery& left) {
    const std::string base = left.copy_path.substr(0, left.copy_path.size() - 4);
    ::unlink((base + std::string(kInfoSuffix)).c_str());
    ::unlink(left.copy_path.c_str());
}

}  // namespace quillora
