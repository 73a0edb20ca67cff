#include "remover/places.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace quillora::remover {

namespace fs = std::filesystem;

namespace {

std::optional<fs::path> AbsoluteFolder(const std::optional<std::string>& value) {
    if (!value || value->empty()) return std::nullopt;
    fs::path path(*value);
    if (!path.is_absolute()) return std::nullopt;
    return path;
}

// The value between the double quotes, with the shell's backslash escapes undone; empty when
// the text is not a complete quoted value.
std::optional<std::string> Unquote(std::string_view text) {
    if (text.size() < 2 || text.front() != '"') return std::nullopt;
    std::string value;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') return value;
        if (c == '\\' && i + 1 < text.size()) {
            value += text[++i];
        } else {
            value += c;
        }
    }
    return std::nullopt;
}

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::string ReadWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

std::optional<fs::path> DesktopFolderFromUserDirs(std::string_view text, const fs::path& home) {
    constexpr std::string_view kKey = "XDG_DESKTOP_DIR=";
    std::optional<fs::path> found;
    std::istringstream lines{std::string(text)};
    for (std::string line; std::getline(lines, line);) {
        const std::string_view trimmed = Trimmed(line);
        if (!trimmed.starts_with(kKey)) continue;
        const std::optional<std::string> value = Unquote(trimmed.substr(kKey.size()));
        if (!value) continue;
        constexpr std::string_view kHome = "$HOME";
        if (value->starts_with(kHome) &&
            (value->size() == kHome.size() || (*value)[kHome.size()] == '/')) {
            if (home.empty()) continue;
            const std::string rest = value->substr(kHome.size());
            found = rest.find_first_not_of('/') == std::string::npos
                        ? home
                        : home / fs::path(rest.substr(rest.find_first_not_of('/')));
        } else if (fs::path(*value).is_absolute()) {
            found = fs::path(*value);
        }
    }
    return found;
}

RemovalPlaces LocatePlaces(const EnvironmentLookup& environment,
                           const fs::path& executable_folder) {
    RemovalPlaces places;

    const std::optional<std::string> override_folder = environment("QUILLORA_HOME");
    std::error_code error;
    const fs::path folder = override_folder && !override_folder->empty()
                                ? fs::path(*override_folder)
                                : executable_folder;
    // Resolved through links and "..", so the files deleted and the folder shown at the end are
    // the ones the operating system finds there.
    places.program_folder = fs::weakly_canonical(fs::absolute(folder, error), error);
    if (error) places.program_folder = fs::absolute(folder, error);

    const std::optional<fs::path> home = AbsoluteFolder(environment("HOME"));
    std::optional<fs::path> data_home = AbsoluteFolder(environment("XDG_DATA_HOME"));
    if (!data_home && home) data_home = *home / ".local" / "share";
    if (data_home) {
        places.applications_folder = *data_home / "applications";
        places.data_folder = *data_home;
    }

    std::optional<fs::path> config_home = AbsoluteFolder(environment("XDG_CONFIG_HOME"));
    if (!config_home && home) config_home = *home / ".config";
    if (config_home) {
        places.desktop_folder = DesktopFolderFromUserDirs(
            ReadWholeFile(*config_home / "user-dirs.dirs"), home.value_or(fs::path()));
    }
    if (!places.desktop_folder && home) places.desktop_folder = *home / "Desktop";
    return places;
}

}  // namespace quillora::remover
