#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace quillora {

// ---------------------------------------------------------------------------------------------
// Reading

enum class FileReadStatus {
    Ok,
    NotFound,        // nothing of that name, or a folder on the way is missing
    CannotOpen,      // it exists but cannot be opened (permissions, too many links ...)
    NotRegularFile,  // a folder, a pipe, a socket or a device
    TooLarge,        // more bytes than the caller accepts
    ReadError,       // opened, but reading failed
};

// A regular file open for reading, its size checked against a cap. Opening never blocks: a pipe
// with no writer is refused instead of waiting for one. The descriptor is closed with the object.
class InputFile {
public:
    static InputFile Open(const std::string& path, std::uint64_t max_bytes);

    InputFile(InputFile&& other) noexcept;
    InputFile& operator=(InputFile&& other) noexcept;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile();

    FileReadStatus status() const { return status_; }
    bool ok() const { return status_ == FileReadStatus::Ok; }
    int fd() const { return fd_; }
    // The size when it was opened; readers take at most this many bytes, so a file that grows
    // meanwhile cannot push them past the cap.
    std::uint64_t size() const { return size_; }

    // Reads up to `n` bytes; retries when interrupted. The count read (0 at the end), -1 on error.
    std::int64_t ReadSome(char* dest, std::size_t n);

private:
    InputFile(FileReadStatus status, int fd, std::uint64_t size)
        : status_(status), fd_(fd), size_(size) {}

    FileReadStatus status_;
    int fd_;
    std::uint64_t size_;
};

struct FileContents {
    FileReadStatus status = FileReadStatus::CannotOpen;
    std::string bytes;  // empty unless status is Ok
    bool ok() const { return status == FileReadStatus::Ok; }
};

// The whole of a regular file of at most `max_bytes` bytes.
FileContents ReadRegularFile(const std::string& path, std::uint64_t max_bytes);

// The first `max_bytes` bytes of a regular file of any size. `cut`, when given, tells whether the
// file holds more than was read.
FileContents ReadFileStart(const std::string& path, std::uint64_t max_bytes, bool* cut = nullptr);

// ---------------------------------------------------------------------------------------------
// Replacing

// Failures to simulate while a file is replaced, so tests can prove that a failed save keeps the
// old file.
struct WriteFaults {
    bool fail_create = false;       // the temporary file cannot be created
    int64_t fail_after_bytes = -1;  // the disk is full after this many bytes
    bool fail_sync = false;
    bool fail_rename = false;
};

enum class ReplaceStatus {
    Ok,
    CannotCreate,  // no temporary file could be made beside the target
    WriteFailed,   // writing failed (a full disk) or the content could not be produced
    SyncFailed,
    RenameFailed,  // the target is a folder, or the folder refuses the change
};

// Buffered output into the temporary file of a replacement. After the first failure every
// further write fails too.
class ReplacementWriter {
public:
    ReplacementWriter(int fd, int64_t fail_after_bytes);
    ~ReplacementWriter();
    ReplacementWriter(const ReplacementWriter&) = delete;
    ReplacementWriter& operator=(const ReplacementWriter&) = delete;

    bool Write(const char* data, std::size_t n);
    bool Write(std::string_view bytes) { return Write(bytes.data(), bytes.size()); }
    bool Flush();

private:
    bool WriteThrough(const char* data, std::size_t n);

    int fd_;
    int64_t budget_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    bool failed_ = false;
};

// Writes the new content; false when it cannot be produced, which abandons the replacement.
using ContentWriter = std::function<bool(ReplacementWriter&)>;

// Replaces the file at `path` as one step: the content goes to a new hidden file beside the
// target, is synced, and is renamed over the target; the folder is synced afterwards (best
// effort). An existing target's permissions are kept; a new file gets 0666 less the umask. When
// `path` is a symbolic link, the file it points to is replaced, so the link stays a link. On any
// failure the temporary file is removed and the target is as it was. After a success the
// temporary files that interrupted replacements of the same target left behind are removed
// (see RemoveStaleTemporaries).
ReplaceStatus ReplaceFile(const std::string& path, const ContentWriter& write,
                          const WriteFaults& faults = {});
ReplaceStatus ReplaceFile(const std::string& path, std::string_view bytes,
                          const WriteFaults& faults = {});

// What a replacement does beyond the rename. A batch of many small files that are copies of
// data kept elsewhere (an export) may leave the syncing to the system and skip the search of
// the folder for stale temporary files, which costs a scan of the folder per file.
struct ReplaceOptions {
    bool sync = true;          // the file and its folder are synced
    bool remove_stale = true;  // stale temporaries of the target are removed afterwards
};
ReplaceStatus ReplaceFile(const std::string& path, const ContentWriter& write,
                          const WriteFaults& faults, const ReplaceOptions& options);
ReplaceStatus ReplaceFile(const std::string& path, std::string_view bytes,
                          const WriteFaults& faults, const ReplaceOptions& options);

// Removes the temporary files that earlier, interrupted replacements of `path` (or of the file
// its link points to) left beside it: exactly the names ReplaceFile gives them, and only those
// last changed over a minute ago, so that a save running at this moment is not disturbed.
// Returns how many were removed.
int RemoveStaleTemporaries(const std::string& path);

}  // namespace quillora
