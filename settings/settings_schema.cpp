#include "settings/settings_schema.h"

#include <algorithm>

namespace quillora {
namespace {
// How much of a window's top edge must lie on a screen for the window to be moved by it.
constexpr int kGripWidth = 40;
constexpr int kGripHeight = 20;

bool TopEdgeOn(const WindowRect& place, const WindowRect& screen) {
    const int overlap = std::min(place.left + place.width, screen.left + screen.width) -
                        std::max(place.left, screen.left);
    return overlap >= kGripWidth && place.top >= screen.top &&
           place.top + kGripHeight <= screen.top + screen.height;
}
}  // namespace

WindowRect PlaceOnScreens(const WindowRect& place, const std::vector<WindowRect>& screens) {
    if (screens.empty()) return place;
    for (const WindowRect& screen : screens) {
        if (TopEdgeOn(place, screen)) return place;
    }
    const WindowRect& screen = screens.front();
    WindowRect placed = place;
    placed.width = std::min(place.width, screen.width);
    placed.height = std::min(place.height, screen.height);
    placed.left = std::clamp(place.left, screen.left, screen.left + screen.width - placed.width);
    placed.top = std::clamp(place.top, screen.top, screen.top + screen.height - placed.height);
    return placed;
}

namespace settings_keys {
namespace {

constexpr const char* kCustomColorKeys[kCustomColorCount] = {
    "ColorA", "ColorB", "ColorC", "ColorD", "ColorE", "ColorF", "ColorG", "ColorH",
    "ColorI", "ColorJ", "ColorK", "ColorL", "ColorM", "ColorN", "ColorO", "ColorP"};
constexpr const char* kCustomImageFileKeys[kCustomImageCount] = {"Image1", "Image2", "Image3"};
constexpr const char* kCustomImageColorKeys[kCustomImageCount] = {"Color1", "Color2", "Color3"};
constexpr const char* kHistoryKeys[kHistoryCount] = {"File0", "File1", "File2", "File3", "File4",
                                                     "File5", "File6", "File7", "File8", "File9"};

}  // namespace

int DefaultLeft(const DefaultContext& context) {
    return context.screen.width / 4;
}
int DefaultTop(const DefaultContext& context) {
    return context.screen.height / 4 - 30;
}
int DefaultWidth(const DefaultContext& context) {
    return context.screen.width / 2;
}
int DefaultHeight(const DefaultContext& context) {
    return context.screen.height / 2 + 60;
}

int DefaultFavoritesEditorLeft(const DefaultContext& context) {
    return context.main_window.left + 16;
}
int DefaultFavoritesEditorTop(const DefaultContext& context) {
    return context.main_window.top + 16;
}
int DefaultFavoritesEditorWidth(const DefaultContext& context) {
    return context.main_window.width - 32;
}
int DefaultFavoritesEditorHeight(const DefaultContext& context) {
    return context.main_window.height - 32;
}

std::string DefaultExportFolder(const DefaultContext& context) {
    if (context.documents_folder.empty()) return kRootFolder;
    return std::string(context.documents_folder);
}

TextSetting CustomColor(int slot) {
    return {kCustomColors, kCustomColorKeys[std::clamp(slot, 0, kCustomColorCount - 1)],
            "FFFFFFFF"};
}

TextSetting CustomImageFile(int n) {
    return {kCustomImages, kCustomImageFileKeys[std::clamp(n, 1, kCustomImageCount) - 1], ""};
}

ColorSetting CustomImageColor(int n) {
    return {kCustomImages, kCustomImageColorKeys[std::clamp(n, 1, kCustomImageCount) - 1],
            colors::kNone};
}

TextSetting HistoryFile(int n) {
    return {kHistory, kHistoryKeys[std::clamp(n, 0, kHistoryCount - 1)], ""};
}

}  // namespace settings_keys

bool ReadFlag(const ProfileFile& file, const FlagSetting& setting) {
    return file.ReadInt(setting.section, setting.key, setting.default_value ? 1 : 0) != 0;
}

int ReadIntSetting(const ProfileFile& file, const IntSetting& setting,
                   const DefaultContext& context) {
    return file.ReadInt(setting.section, setting.key, setting.DefaultValue(context));
}

std::string ReadText(const ProfileFile& file, const TextSetting& setting,
                     const DefaultContext& context) {
    return file.ReadString(setting.section, setting.key, setting.DefaultValue(context));
}

Color ReadColor(const ProfileFile& file, const ColorSetting& setting) {
    std::string text =
        file.ReadString(setting.section, setting.key, ColorToText(setting.default_value));
    const std::optional<Color> color = ColorFromText(text);
    return color && color->IsUsable() ? *color : setting.default_value;
}

Appearance ReadAppearance(const ProfileFile& file, const AppearanceSettings& settings) {
    Appearance appearance;
    appearance.background = ReadColor(file, settings.background);
    appearance.font_name = ReadText(file, settings.font_name);
    appearance.font_size = ReadIntSetting(file, settings.font_size);
    if (appearance.font_size < kMinFontSize || appearance.font_size > kMaxFontSize) {
        appearance.font_size = settings.font_size.default_value;
    }
    appearance.font_color = ReadColor(file, settings.font_color);
    appearance.bold = ReadFlag(file, settings.bold);
    appearance.italic = ReadFlag(file, settings.italic);
    appearance.underline = ReadFlag(file, settings.underline);
    appearance.strike_out = ReadFlag(file, settings.strike_out);
    return appearance;
}

bool WriteFlag(ProfileWriter& file, const FlagSetting& setting, bool on) {
    return file.WriteString(setting.section, setting.key, on ? "1" : "0");
}

bool WriteInt(ProfileWriter& file, const IntSetting& setting, int value) {
    return file.WriteString(setting.section, setting.key, std::to_string(value));
}

bool WriteText(ProfileWriter& file, const TextSetting& setting, std::string_view value) {
    return file.WriteString(setting.section, setting.key, value);
}

bool WriteColor(ProfileWriter& file, const ColorSetting& setting, Color color) {
    return file.WriteString(setting.section, setting.key, ColorToText(color));
}

bool WriteAppearance(ProfileWriter& file, const AppearanceSettings& settings,
                     const Appearance& appearance) {
    bool ok = WriteColor(file, settings.background, appearance.background);
    ok = WriteText(file, settings.font_name, appearance.font_name) && ok;
    ok = WriteInt(file, settings.font_size, appearance.font_size) && ok;
    ok = WriteColor(file, settings.font_color, appearance.font_color) && ok;
    ok = WriteFlag(file, settings.bold, appearance.bold) && ok;
    ok = WriteFlag(file, settings.italic, appearance.italic) && ok;
    ok = WriteFlag(file, settings.underline, appearance.underline) && ok;
    ok = WriteFlag(file, settings.strike_out, appearance.strike_out) && ok;
    return ok;
}

std::string FolderFromSetting(std::string_view value, std::string_view home_folder) {
    if (value == settings_keys::kRootFolder) return std::string(home_folder);
    return std::string(value);
}

}  // namespace quillora
