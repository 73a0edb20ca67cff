#pragma once

#include <string>

namespace quillora {

// An exclusive lock on a folder, taken the same way by every process (an advisory lock on the
// folder itself, so no lock file is left behind), and released when the object goes. Taking it
// waits while another process holds it (writers hold it for one read and one replacement of a
// small file). Held() says whether the lock was had: a folder that cannot be opened gives none.
class FolderLock {
public:
    explicit FolderLock(const std::string& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool Held() const { return held_; }

private:
    int fd_ = -1;
    bool held_ = false;
};

// The folder that holds `path`: what comes before its last "/", "/" for a file in the root and
// "." for a bare name.
std::string FolderOf(const std::string& path);

}  // namespace quillora
