#pragma once

#include <string>
#include <vector>

#include "base/clock.h"

namespace quillora {

// Previous versions of the user's notes files, kept in one folder of the user's data as
// "<name>-<yyyy-mm-dd_hhmmss>-<8 hex digits>.qlb". The digits come from the file's full path,
// so two files of the same name in different folders keep versions of their own.
class PreviousVersions {
public:
    PreviousVersions(std::string folder, int keep) : folder_(std::move(folder)), keep_(keep) {}

    // Keeps the file at `path` as it is now (before a save replaces it) as the version of the
    // moment `now`, as a hard link when the folder is on the same file system and as a copy
    // otherwise; the user's file itself is never moved. Then only the newest `keep` versions of
    // that file stay. False when nothing could be kept (no such file, no room); the save goes on.
    bool Keep(const std::string& path, const DateTime& now) const;

    // The versions kept of `path`, the newest first.
    std::vector<std::string> Of(const std::string& path) const;

private:
    std::string Prefix(const std::string& path) const;
    void Rotate(const std::string& path) const;

    std::string folder_;
    int keep_;
};

}  // namespace quillora
