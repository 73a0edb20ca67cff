#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/pe_string_table.h"

namespace quillora {

// The text that string 1 of a language pack must hold exactly.
inline constexpr std::string_view kPackIdentity = "QuilloraApp";
// A looked-up text is at most this many characters, as a 250-character buffer holds.
constexpr std::size_t kMaxPackStringLength = 249;

// The user's language as a Windows language id, from a locale name such as "de_DE.UTF-8",
// "pt_BR" or "fr". Unknown names, "C" and "POSIX" give US English.
uint16_t LanguageIdFromLocale(std::string_view locale);
// The language of the user's environment: LC_ALL, else LC_MESSAGES, else LANG.
uint16_t UserLanguageFromEnvironment();

// A pack string as the program shows it: ended at its first U+0000, cut to 249 UTF-16 units (one
// fewer when the cut would split a surrogate pair) and converted to UTF-8; an unpaired surrogate
// becomes U+FFFD.
std::string PackTextToUtf8(std::u16string_view text);

// A language pack loaded as data: its string table and the language its blocks are read in.
class LanguageModule {
public:
    // Files larger than this are not read: no pack comes near it.
    static constexpr std::size_t kMaxFileSize = 64u << 20;

    // None when the file cannot be read or is not a PE image with resources.
    static std::optional<LanguageModule> Load(
        const std::string& path, uint16_t user_language = UserLanguageFromEnvironment());
    static std::optional<LanguageModule> FromBytes(std::string_view bytes, uint16_t user_language);

    // The string with this identifier as the program shows it (see PackTextToUtf8); empty when
    // the pack lacks it or holds it empty.
    std::string LoadString(uint16_t id) const;

    uint16_t UserLanguage() const { return user_language_; }

private:
    LanguageModule(PeStringTable table, uint16_t user_language)
        : table_(std::move(table)), user_language_(user_language) {}

    PeStringTable table_;
    uint16_t user_language_;
};

// The text to show for an identifier: the pack's string when a pack is given and the string is
// not empty, else the built-in English text.
std::string GetLangString(const LanguageModule* module, uint16_t id,
                          std::string_view english_default);

// The pack in use for the whole run. The program has one (Instance); tests may make their own.
class LanguageText {
public:
    static LanguageText& Instance();

    void SetModule(std::optional<LanguageModule> module) { module_ = std::move(module); }
    bool HasModule() const { return module_.has_value(); }
    const LanguageModule* Module() const { return module_ ? &*module_ : nullptr; }
    std::string Get(uint16_t id, std::string_view english) const {
        return GetLangString(Module(), id, english);
    }

private:
    std::optional<LanguageModule> module_;
};

// The pack named by the settings, as start-up loads it: a name whose file does not exist in
// `program_folder` is dropped (the pack name in use becomes empty); a file that exists but is
// not a pack leaves the name in use and no module, so every text stays English. The file is
// found without regard to letter case and the name in use is its name on disk; a name that
// holds a folder loads nothing.
struct ConfiguredPack {
    std::string name;
    std::optional<LanguageModule> module;
};
ConfiguredPack LoadConfiguredPack(const std::string& program_folder, const std::string& pack_name,
                                  uint16_t user_language = UserLanguageFromEnvironment());

// One string of a pack that is not the one in use; the default when the file cannot be loaded
// or lacks the string. Every call reads the file anew.
std::string ReadPackString(const std::string& path, uint16_t id, std::string_view english_default,
                           uint16_t user_language = UserLanguageFromEnvironment());

// Whether string 1 of the module is exactly the pack identity.
bool IsLanguagePack(const LanguageModule& module);

// What the Language page shows of a pack, each text read from the pack itself with its default.
struct PackDescription {
    std::string language;          // 101, default empty
    std::string translator;        // 102, "Anonymous"
    std::string release_date;      // 103, "Unknown"
    std::string more_information;  // 11252, "&More Information..."
    std::string translated_by;     // 11253, "Translated by:"
    std::string language_label;    // 11254, "Language:"
    std::string release_label;     // 11255, "Release Date:"
};
PackDescription DescribePack(const LanguageModule* module);

// A pack found in the program's folder.
struct LanguagePackEntry {
    std::string path;        // full path
    std::string file_name;   // name without folder
    std::string list_entry;  // name column padded to 17 characters, a blank, the file name
};

// The list entry for a pack: a name longer than 17 characters is cut to 14 and "..." added,
// then blanks make it 17 characters; one blank and the file name follow. Counted in characters.
std::string PackListEntry(std::string_view language_name, std::string_view file_name);

// The names in `folder` that end in ".dll" in any case, sorted; only regular files.
std::vector<std::string> FindPackFiles(const std::string& folder);

// The packs among `file_names` (names in `folder`), in the given order: each file that loads
// and whose string 1 is the pack identity. Others are left out without a message.
std::vector<LanguagePackEntry> ListLanguagePacks(
    const std::string& folder, const std::vector<std::string>& file_names,
    uint16_t user_language = UserLanguageFromEnvironment());

// The position in `packs` of the pack whose file name is `pack_name`; none for an empty name
// or one that is not listed.
std::optional<std::size_t> FindPackIndex(const std::vector<LanguagePackEntry>& packs,
                                         std::string_view pack_name);

// The information file of a pack: its path with the extension replaced by ".txt".
std::string PackInfoFilePath(const std::string& pack_path);

}  // namespace quillora
