#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/color_text.h"
#include "settings/profile_file.h"

namespace quillora {

// Every key of the settings file with its section, type and default. Settings are read from the
// file at the moment they are needed and written at once; nothing here keeps a value.

struct ScreenSize {
    int width = 0;
    int height = 0;
};

struct WindowRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// A window's place read from the settings file, kept when its top edge can still be grabbed on
// one of `screens` (the first is the primary one). A place off every screen (a hand-edited
// file, a screen taken away) is moved onto the first screen as little as it takes, and cut to
// that screen's size.
WindowRect PlaceOnScreens(const WindowRect& place, const std::vector<WindowRect>& screens);

// What the defaults of some keys are worked out from at the moment of reading.
struct DefaultContext {
    ScreenSize screen;
    WindowRect main_window;             // the main window's place now (favorites editor keys)
    std::string_view documents_folder;  // the user's documents folder; empty when it is missing
};

// Flags are written "1" or "0" and read as integers, any nonzero value meaning on.
struct FlagSetting {
    const char* section;
    const char* key;
    bool default_value;
};

// Integers are written as decimal text.
struct IntSetting {
    const char* section;
    const char* key;
    int default_value;
    int (*computed_default)(const DefaultContext&) = nullptr;

    int DefaultValue(const DefaultContext& context) const {
        return computed_default ? computed_default(context) : default_value;
    }
};

// Texts are written and read unchanged.
struct TextSetting {
    const char* section;
    const char* key;
    const char* default_value;
    std::string (*computed_default)(const DefaultContext&) = nullptr;

    std::string DefaultValue(const DefaultContext& context) const {
        return computed_default ? computed_default(context) : std::string(default_value);
    }
};

// Colours are written as colour text (see color_text.h).
struct ColorSetting {
    const char* section;
    const char* key;
    Color default_value;
};

// The keys of one pane or of the notes tree: background, font and font styles.
struct AppearanceSettings {
    ColorSetting background;
    TextSetting font_name;
    IntSetting font_size;
    ColorSetting font_color;
    FlagSetting bold;
    FlagSetting italic;
    FlagSetting underline;
    FlagSetting strike_out;
};

// The font sizes in points a window can show; a size outside reads as the key's default.
inline constexpr int kMinFontSize = 1;
inline constexpr int kMaxFontSize = 1638;

// The values of AppearanceSettings.
struct Appearance {
    Color background;
    std::string font_name;
    int font_size = 0;
    Color font_color;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike_out = false;
};

namespace settings_keys {

int DefaultLeft(const DefaultContext& context);                   // screen width / 4
int DefaultTop(const DefaultContext& context);                    // screen height / 4 - 30
int DefaultWidth(const DefaultContext& context);                  // screen width / 2
int DefaultHeight(const DefaultContext& context);                 // screen height / 2 + 60
int DefaultFavoritesEditorLeft(const DefaultContext& context);    // main window left + 16
int DefaultFavoritesEditorTop(const DefaultContext& context);     // main window top + 16
int DefaultFavoritesEditorWidth(const DefaultContext& context);   // main window width - 32
int DefaultFavoritesEditorHeight(const DefaultContext& context);  // main window height - 32
// The documents folder when there is one, else kRootFolder.
std::string DefaultExportFolder(const DefaultContext& context);

inline constexpr const char* kMain = "Main";
inline constexpr const char* kNotesList = "NotesList";
inline constexpr const char* kNotesEditor = "NotesEditor";
inline constexpr const char* kFolderEditor = "FolderEditor";
inline constexpr const char* kCustomColors = "CustomColors";
inline constexpr const char* kCustomImages = "CustomImages";
inline constexpr const char* kHistory = "History";
inline constexpr const char* kSafety = "Safety";

// The folder default "\": the root of the current drive where the file was first written, the
// user's home folder here (see FolderFromSetting).
inline constexpr const char* kRootFolder = "\\";
inline constexpr const char* kDefaultFontName = "MS Sans Serif";

// Section Main.
inline constexpr FlagSetting kMultipleCopies{kMain, "MultipleCopies", false};
inline constexpr FlagSetting kUseTrayIcon{kMain, "UseTrayIcon", false};
inline constexpr TextSetting kLanguagePack{kMain, "LanguagePack", ""};
inline constexpr FlagSetting kShowSplash{kMain, "ShowSplash", true};
inline constexpr IntSetting kLeft{kMain, "Left", 0, &DefaultLeft};
inline constexpr IntSetting kTop{kMain, "Top", 0, &DefaultTop};
inline constexpr IntSetting kWidth{kMain, "Width", 0, &DefaultWidth};
inline constexpr IntSetting kHeight{kMain, "Height", 0, &DefaultHeight};
inline constexpr FlagSetting kShowToolBar{kMain, "ShowToolBar", true};
inline constexpr FlagSetting kShowStatusBar{kMain, "ShowStatusBar", true};
inline constexpr FlagSetting kShowHints{kMain, "ShowHints", true};
inline constexpr FlagSetting kAlwaysOnTop{kMain, "AlwaysOnTop", false};
inline constexpr FlagSetting kWordWrap{kMain, "WordWrap", true};
inline constexpr FlagSetting kReOpenLastFile{kMain, "ReOpenLastFile", false};
inline constexpr TextSetting kReOpenFile{kMain, "ReOpenFile", ""};
inline constexpr FlagSetting kHideReOpen{kMain, "HideReOpen", false};
inline constexpr FlagSetting kFlatToolBarButtons{kMain, "FlatToolBarButtons", true};
inline constexpr TextSetting kDefaultOpenDir{kMain, "DefaultOpenDir", kRootFolder};
inline constexpr TextSetting kDefaultSaveDir{kMain, "DefaultSaveDir", kRootFolder};
inline constexpr TextSetting kDefaultExportDir{kMain, "DefaultExportDir", kRootFolder,
                                               &DefaultExportFolder};
inline constexpr IntSetting kFELeft{kMain, "FELeft", 0, &DefaultFavoritesEditorLeft};
inline constexpr IntSetting kFETop{kMain, "FETop", 0, &DefaultFavoritesEditorTop};
inline constexpr IntSetting kFEWidth{kMain, "FEWidth", 0, &DefaultFavoritesEditorWidth};
inline constexpr IntSetting kFEHeight{kMain, "FEHeight", 0, &DefaultFavoritesEditorHeight};
inline constexpr FlagSetting kFEToolBar{kMain, "FEToolBar", true};
inline constexpr FlagSetting kFEStatusBar{kMain, "FEStatusBar", true};

// Section NotesList: the notes tree.
inline constexpr IntSetting kNotesListWidth{kNotesList, "Width", 121};
inline constexpr IntSetting kFolderImage{kNotesList, "Image1", 3};
inline constexpr IntSetting kOpenedFolderImage{kNotesList, "Image2", 4};
inline constexpr IntSetting kNoteImage{kNotesList, "Image3", 5};
inline constexpr FlagSetting kLines{kNotesList, "Lines", true};
inline constexpr FlagSetting kButtons{kNotesList, "Buttons", true};

inline constexpr AppearanceSettings kNotesListAppearance{{kNotesList, "BGColor", colors::kWindow},
                                                         {kNotesList, "FontName", kDefaultFontName},
                                                         {kNotesList, "FontSize", 8},
                                                         {kNotesList, "FontColor", colors::kBlack},
                                                         {kNotesList, "Bold", false},
                                                         {kNotesList, "Italic", false},
                                                         {kNotesList, "Underline", false},
                                                         {kNotesList, "StrikeOut", false}};

// Sections NotesEditor and FolderEditor: the note pane and the folder pane.
inline constexpr AppearanceSettings kNotesEditorAppearance{
    {kNotesEditor, "BGColor", colors::kBlue},
    {kNotesEditor, "FontName", kDefaultFontName},
    {kNotesEditor, "FontSize", 8},
    {kNotesEditor, "FontColor", colors::kWhite},
    {kNotesEditor, "Bold", false},
    {kNotesEditor, "Italic", false},
    {kNotesEditor, "Underline", false},
    {kNotesEditor, "StrikeOut", false}};

inline constexpr AppearanceSettings kFolderEditorAppearance{
    {kFolderEditor, "BGColor", colors::kYellow},
    {kFolderEditor, "FontName", kDefaultFontName},
    {kFolderEditor, "FontSize", 8},
    {kFolderEditor, "FontColor", colors::kBlack},
    {kFolderEditor, "Bold", false},
    {kFolderEditor, "Italic", false},
    {kFolderEditor, "Underline", false},
    {kFolderEditor, "StrikeOut", false}};

// Numbered keys. Each takes an index in the stated range and clamps one outside it.
inline constexpr int kCustomColorCount = 16;
inline constexpr int kCustomImageCount = 3;
inline constexpr int kHistoryCount = 10;
// CustomColors "ColorA" (slot 0) to "ColorP" (slot 15), default "FFFFFFFF" (empty slot).
TextSetting CustomColor(int slot);
// CustomImages "Image1" to "Image3" (n = 1 to 3): a user bitmap's file, default empty.
TextSetting CustomImageFile(int n);
// CustomImages "Color1" to "Color3": that bitmap's transparent colour, default clNone.
ColorSetting CustomImageColor(int n);
// History "File0" (newest) to "File9" (n = 0 to 9), default empty.
TextSetting HistoryFile(int n);

// Section Safety: the recovery copy of unsaved changes, written at most every RecoverySeconds
// (read as at least 5), and how many previous versions of each file are kept (0: none).
inline constexpr FlagSetting kRecovery{kSafety, "Recovery", true};
inline constexpr IntSetting kRecoverySeconds{kSafety, "RecoverySeconds", 30};
inline constexpr IntSetting kKeepVersions{kSafety, "KeepVersions", 10};

}  // namespace settings_keys

bool ReadFlag(const ProfileFile& file, const FlagSetting& setting);
int ReadIntSetting(const ProfileFile& file, const IntSetting& setting,
                   const DefaultContext& context = {});
std::string ReadText(const ProfileFile& file, const TextSetting& setting,
                     const DefaultContext& context = {});
// A text that is not a colour, or a colour no window can show (a system colour past the last
// one, a number with bits above the RGB part), gives the key's default.
Color ReadColor(const ProfileFile& file, const ColorSetting& setting);
// A font size outside kMinFontSize to kMaxFontSize reads as the key's default.
Appearance ReadAppearance(const ProfileFile& file, const AppearanceSettings& settings);

// Each returns whether the file now holds the value; callers may ignore it.
bool WriteFlag(ProfileWriter& file, const FlagSetting& setting, bool on);
bool WriteInt(ProfileWriter& file, const IntSetting& setting, int value);
bool WriteText(ProfileWriter& file, const TextSetting& setting, std::string_view value);
bool WriteColor(ProfileWriter& file, const ColorSetting& setting, Color color);
// Writes the eight keys in the order: background, font name, size, colour, the four styles.
bool WriteAppearance(ProfileWriter& file, const AppearanceSettings& settings,
                     const Appearance& appearance);

// The folder that a folder setting names: `home_folder` for the root folder "\".
std::string FolderFromSetting(std::string_view value, std::string_view home_folder);

}  // namespace quillora
