#include "base/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <limits>
#include <optional>
#include <random>

#include "base/string_growth.h"

namespace quillora {

namespace {

int OpenRetrying(const char* path, int flags, mode_t mode = 0) {
    int fd;
    do {
        fd = ::open(path, flags, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// A path split into its folder (with its trailing '/', empty for the current folder) and the
// name in it.
struct Place {
    std::string folder;
    std::string name;

    std::string FolderOrDot() const { return folder.empty() ? "." : folder; }
};

Place Split(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {"", path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

// The file that a write to `path` lands in: symbolic links are followed, a link to a file that
// does not exist yet included, so that the link itself is never replaced. None for a loop.
std::optional<std::string> FollowLinks(std::string path) {
    constexpr int kMaxHops = 40;  // as the kernel allows before ELOOP
    for (int hop = 0; hop < kMaxHops; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        char target[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), target, sizeof target);
        if (length <= 0 || static_cast<std::size_t>(length) >= sizeof target) return std::nullopt;
        const std::string link_target(target, static_cast<std::size_t>(length));
        if (link_target.front() == '/') {
            path = link_target;
        } else {
            std::string resolved = Split(path).folder;
            resolved += link_target;
            path = std::move(resolved);
        }
    }
    return std::nullopt;
}

// Temporary names are "." + the target's name + "." + 12 hexadecimal digits + ".tmp"; a long
// name is shortened so that the whole stays within the file-name limit.
constexpr std::size_t kRandomDigits = 12;
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr std::size_t kMaxNameBytes = NAME_MAX;

std::string TemporaryPrefix(const std::string& name) {
    const std::size_t room = kMaxNameBytes - 2 - kRandomDigits - kTemporarySuffix.size();
    std::string prefix = ".";
    prefix.append(name, 0, room);
    prefix += '.';
    return prefix;
}

std::string TemporaryName(const std::string& name) {
    thread_local std::mt19937_64 random{std::random_device{}()};
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out = TemporaryPrefix(name);
    uint64_t bits = random();
    for (std::size_t i = 0; i < kRandomDigits; ++i) {
        out += kDigits[bits & 15];
        bits >>= 4;
    }
    out += kTemporarySuffix;
    return out;
}

bool IsTemporaryName(std::string_view entry, std::string_view prefix) {
    if (entry.size() != prefix.size() + kRandomDigits + kTemporarySuffix.size()) return false;
    if (entry.substr(0, prefix.size()) != prefix) return false;
    if (entry.substr(entry.size() - kTemporarySuffix.size()) != kTemporarySuffix) return false;
    const std::string_view digits = entry.substr(prefix.size(), kRandomDigits);
    return std::all_of(digits.begin(), digits.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// A replacement still being written keeps touching its file; one untouched this long was left
// by a save that never finished.
constexpr std::time_t kStaleAfterSeconds = 60;

int RemoveStaleIn(const Place& place) {
    DIR* dir = ::opendir(place.FolderOrDot().c_str());
    if (dir == nullptr) return 0;
    const std::string prefix = TemporaryPrefix(place.name);
    const std::time_t now = std::time(nullptr);
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTemporaryName(entry->d_name, prefix)) continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(st.st_mode) || st.st_mtime > now - kStaleAfterSeconds) continue;
        if (::unlinkat(::dirfd(dir), entry->d_name, 0) == 0) ++removed;
    }
    ::closedir(dir);
    return removed;
}

void SyncFolder(const Place& place) {
    const int fd = OpenRetrying(place.FolderOrDot().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);  // best effort: makes the rename durable; the data is already synced
    ::close(fd);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Reading

InputFile InputFile::Open(const std::string& path, std::uint64_t max_bytes) {
    // O_NONBLOCK: opening a pipe must not wait for a writer; it is refused below anyway.
    const int fd = OpenRetrying(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        switch (errno) {
            case ENOENT:
            case ENOTDIR:
                return InputFile(FileReadStatus::NotFound, -1, 0);
            case ENXIO:  // a socket
                return InputFile(FileReadStatus::NotRegularFile, -1, 0);
            default:
                return InputFile(FileReadStatus::CannotOpen, -1, 0);
        }
    }
    struct stat st {};
    FileReadStatus status = FileReadStatus::Ok;
    if (::fstat(fd, &st) != 0) {
        status = FileReadStatus::ReadError;
    } else if (!S_ISREG(st.st_mode)) {
        status = FileReadStatus::NotRegularFile;
    } else if (static_cast<std::uint64_t>(st.st_size) > max_bytes) {
        status = FileReadStatus::TooLarge;
    }
    if (status != FileReadStatus::Ok) {
        ::close(fd);
        return InputFile(status, -1, 0);
    }
    return InputFile(status, fd, static_cast<std::uint64_t>(st.st_size));
}

InputFile::InputFile(InputFile&& other) noexcept
    : status_(other.status_), fd_(other.fd_), size_(other.size_) {
    other.fd_ = -1;
}

InputFile& InputFile::operator=(InputFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        status_ = other.status_;
        fd_ = other.fd_;
        size_ = other.size_;
        other.fd_ = -1;
    }
    return *this;
}

InputFile::~InputFile() {
    if (fd_ >= 0) ::close(fd_);
}

std::int64_t InputFile::ReadSome(char* dest, std::size_t n) {
    for (;;) {
        const ssize_t got = ::read(fd_, dest, n);
        if (got >= 0 || errno != EINTR) return got;
    }
}

namespace {

// Up to `n` bytes from the start of `file`; fewer when it shrank meanwhile.
FileContents ReadUpTo(InputFile& file, std::size_t n) {
    std::string bytes;
    ResizeForOverwrite(bytes, n);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::int64_t got = file.ReadSome(bytes.data() + done, bytes.size() - done);
        if (got < 0) return {FileReadStatus::ReadError, {}};
        if (got == 0) break;  // the file shrank meanwhile
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return {FileReadStatus::Ok, std::move(bytes)};
}

}  // namespace

FileContents ReadRegularFile(const std::string& path, std::uint64_t max_bytes) {
    InputFile file = InputFile::Open(path, max_bytes);
    if (!file.ok()) return {file.status(), {}};
    return ReadUpTo(file, static_cast<std::size_t>(file.size()));
}

FileContents ReadFileStart(const std::string& path, std::uint64_t max_bytes, bool* cut) {
    InputFile file = InputFile::Open(path, std::numeric_limits<std::uint64_t>::max());
    if (!file.ok()) return {file.status(), {}};
    FileContents start = ReadUpTo(file, static_cast<std::size_t>(std::min(file.size(), max_bytes)));
    if (cut != nullptr) *cut = start.ok() && file.size() > start.bytes.size();
    return start;
}

// ---------------------------------------------------------------------------------------------
// Replacing

namespace {
constexpr std::size_t kWriterBufferSize = 1 << 20;
}  // namespace

ReplacementWriter::ReplacementWriter(int fd, int64_t fail_after_bytes)
    : fd_(fd), budget_(fail_after_bytes), buffer_(new char[kWriterBufferSize]) {}

ReplacementWriter::~ReplacementWriter() = default;

bool ReplacementWriter::Write(const char* data, std::size_t n) {
    if (failed_) return false;
    if (n > kWriterBufferSize - used_) {
        if (!Flush()) return false;
        if (n >= kWriterBufferSize) return WriteThrough(data, n);
    }
    std::memcpy(buffer_.get() + used_, data, n);
    used_ += n;
    return true;
}

bool ReplacementWriter::Flush() {
    if (failed_) return false;
    const std::size_t n = used_;
    used_ = 0;
    return WriteThrough(buffer_.get(), n);
}

bool ReplacementWriter::WriteThrough(const char* data, std::size_t n) {
    bool out_of_space = false;
    if (budget_ >= 0 && n > static_cast<std::size_t>(budget_)) {
        n = static_cast<std::size_t>(budget_);
        out_of_space = true;
    }
    while (n > 0) {
        const ssize_t done = ::write(fd_, data, n);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) {
            failed_ = true;
            return false;
        }
        data += done;
        n -= static_cast<std::size_t>(done);
        if (budget_ >= 0) budget_ -= done;
    }
    if (out_of_space) {
        errno = ENOSPC;
        failed_ = true;
    }
    return !failed_;
}

ReplaceStatus ReplaceFile(const std::string& path, const ContentWriter& write,
                          const WriteFaults& faults) {
    return ReplaceFile(path, write, faults, ReplaceOptions{});
}

ReplaceStatus ReplaceFile(const std::string& path, const ContentWriter& write,
                          const WriteFaults& faults, const ReplaceOptions& options) {
    const std::optional<std::string> target = FollowLinks(path);
    if (!target) return ReplaceStatus::CannotCreate;
    const Place place = Split(*target);
    if (place.name.empty() || faults.fail_create) return ReplaceStatus::CannotCreate;

    constexpr int kAttempts = 10;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < kAttempts && fd < 0; ++attempt) {
        temp = place.folder + TemporaryName(place.name);
        fd = OpenRetrying(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return ReplaceStatus::CannotCreate;
    }
    if (fd < 0) return ReplaceStatus::CannotCreate;

    // Without this the new file would have the default mode (0666 less the umask, as open gave
    // it). A file system without modes refuses the change; the save goes on regardless.
    struct stat old_file {};
    if (::stat(target->c_str(), &old_file) == 0 && S_ISREG(old_file.st_mode)) {
        ::fchmod(fd, old_file.st_mode & 07777);
    }

    ReplaceStatus status = ReplaceStatus::Ok;
    {
        ReplacementWriter writer(fd, faults.fail_after_bytes);
        if (!write(writer) || !writer.Flush()) status = ReplaceStatus::WriteFailed;
    }
    if (status == ReplaceStatus::Ok && (faults.fail_sync || (options.sync && ::fsync(fd) != 0))) {
        status = ReplaceStatus::SyncFailed;
    }
    // A network file system may report a failed write only when the file is closed.
    if (::close(fd) != 0 && status == ReplaceStatus::Ok) status = ReplaceStatus::WriteFailed;
    if (status == ReplaceStatus::Ok &&
        (faults.fail_rename || ::rename(temp.c_str(), target->c_str()) != 0)) {
        status = ReplaceStatus::RenameFailed;
    }
    if (status != ReplaceStatus::Ok) {
        ::unlink(temp.c_str());
        return status;
    }
    if (options.sync) SyncFolder(place);
    if (options.remove_stale) RemoveStaleIn(place);
    return ReplaceStatus::Ok;
}

ReplaceStatus ReplaceFile(const std::string& path, std::string_view bytes,
                          const WriteFaults& faults) {
    return ReplaceFile(path, bytes, faults, ReplaceOptions{});
}

ReplaceStatus ReplaceFile(const std::string& path, std::string_view bytes,
                          const WriteFaults& faults, const ReplaceOptions& options) {
    return ReplaceFile(
        path, [bytes](ReplacementWriter& writer) { return writer.Write(bytes); }, faults, options);
}

int RemoveStaleTemporaries(const std::string& path) {
    const std::optional<std::string> target = FollowLinks(path);
    if (!target) return 0;
    const Place place = Split(*target);
    if (place.name.empty()) return 0;
    return RemoveStaleIn(place);
}

}  // namespace quillora
