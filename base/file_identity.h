#pragma once

#include <cstdint>
#include <string>

namespace quillora {

// What tells one state of a file from another: where it lives (device and inode, which change
// when a save renames a new file over it), its size, its modification time and a hash of its
// first bytes (which catches a rewrite within the clock's resolution).
struct FileIdentity {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modified_ns = 0;
    std::uint64_t head_hash = 0;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// The identity of the regular file at `path` (links followed). A missing file, or anything that
// is not a regular file, has exists == false.
FileIdentity IdentifyFile(const std::string& path);

}  // namespace quillora
