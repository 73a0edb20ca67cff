#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/file_identity.h"
#include "base/file_io.h"
#include "document/recovery_snapshot.h"

namespace quillora {

// What a recovery copy belongs to: the document's path (empty for an untitled document), the
// moment the copy was written (seconds since the epoch) and the file as the document had last
// read or saved it, so that a restored document still notices a file changed meanwhile.
struct RecoveryInfo {
    std::string document_path;
    std::int64_t written_at = 0;
    FileIdentity base;
};

// The info file's text, and back. Parsing is bounded and refuses anything it does not know.
std::string FormatRecoveryInfo(const RecoveryInfo& info);
std::optional<RecoveryInfo> ParseRecoveryInfo(std::string_view text);

// A recovery copy left by a copy of the program that no longer runs.
struct LeftRecovery {
    std::string copy_path;  // a notes file
    RecoveryInfo info;
};

// The recovery place of one running copy of the program in `folder`: "<id>.qlb" (the copy, a
// notes file), "<id>.info" and "<id>.lock". The lock file stays locked while the copy runs, and
// the system drops the lock when the process ends however it ends, which is how another copy
// tells a left recovery copy from one in use.
class RecoveryStore {
public:
    // Creates the folder (private to the user) and takes a lock of its own. None when the
    // folder cannot be made or locked.
    static std::unique_ptr<RecoveryStore> Open(const std::string& folder);
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // Writes the copy and then its info, each replaced atomically; a failure leaves the previous
    // copy as it was.
    bool Write(const FrozenDocument& document, const RecoveryInfo& info,
               const WriteFaults& faults = {});
    // Removes the copy and its info (the document was saved or closed).
    void Remove();
    bool HasCopy() const;
    const std::string& CopyPath() const { return copy_path_; }

    // The copies in the folder whose program no longer runs, the newest first. Their lock files
    // are removed on the way; a copy without a readable info is not offered.
    std::vector<LeftRecovery> FindLeft() const;
    // Deletes a left copy and its info.
    static void Discard(const LeftRecovery& left);

private:
    RecoveryStore(std::string folder, const std::string& id, int lock_fd);

    std::string folder_;
    std::string copy_path_;
    std::string info_path_;
    std::string lock_path_;
    int lock_fd_;
};

}  // namespace quillora
