#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "remover/removal.h"

namespace quillora::remover {

// Reads one environment variable; empty when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

// The places of the running removal: the program folder is the folder of the executable unless
// QUILLORA_HOME names another; the applications folder is $XDG_DATA_HOME/applications (default
// ~/.local/share/applications); the desktop folder is the one the user's user-dirs.dirs names,
// else ~/Desktop. Relative XDG folders are ignored, as the base-directory rules require.
RemovalPlaces LocatePlaces(const EnvironmentLookup& environment,
                           const std::filesystem::path& executable_folder);

// The desktop folder named by XDG_DESKTOP_DIR in the text of a user-dirs.dirs file, whose values
// are "$HOME/..." or absolute paths in double quotes; empty when the file names none.
std::optional<std::filesystem::path> DesktopFolderFromUserDirs(std::string_view text,
                                                               const std::filesystem::path& home);

}  // namespace quillora::remover
