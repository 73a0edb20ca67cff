#include "settings/language_pack.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "base/cp1252.h"
#include "base/file_io.h"

namespace quillora {

namespace {

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

using cp1252::AppendUtf8;

// Characters of a UTF-8 text: every byte that does not continue a sequence starts one.
std::size_t CountCharacters(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return (static_cast<uint8_t>(c) & 0xC0) != 0x80; }));
}

// The first `count` characters of a UTF-8 text.
std::string_view FirstCharacters(std::string_view text, std::size_t count) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<uint8_t>(text[i]) & 0xC0) != 0x80) {
            if (seen == count) return text.substr(0, i);
            ++seen;
        }
    }
    return text;
}

std::string JoinPath(const std::string& folder, std::string_view name) {
    std::string path = folder;
    if (!path.empty() && path.back() != '/') path += '/';
    path += name;
    return path;
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string AsciiLower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return AsciiLower(c); });
    return lower;
}

struct LocaleLanguage {
    std::string_view name;  // "ll" or "ll_TT"
    uint16_t id;
};

// Full locale names whose country is not the language's primary one, then one entry per
// language for its primary country.
constexpr std::array kLocaleLanguages = {
    LocaleLanguage{"en_gb", 0x0809}, LocaleLanguage{"en_au", 0x0C09},
    LocaleLanguage{"en_ca", 0x1009}, LocaleLanguage{"en_nz", 0x1409},
    LocaleLanguage{"en_ie", 0x1809}, LocaleLanguage{"en_za", 0x1C09},
    LocaleLanguage{"de_ch", 0x0807}, LocaleLanguage{"de_at", 0x0C07},
    LocaleLanguage{"de_lu", 0x1007}, LocaleLanguage{"fr_be", 0x080C},
    LocaleLanguage{"fr_ca", 0x0C0C}, LocaleLanguage{"fr_ch", 0x100C},
    LocaleLanguage{"fr_lu", 0x140C}, LocaleLanguage{"es_mx", 0x080A},
    LocaleLanguage{"es_ar", 0x2C0A}, LocaleLanguage{"it_ch", 0x0810},
    LocaleLanguage{"nl_be", 0x0813}, LocaleLanguage{"pt_pt", 0x0816},
    LocaleLanguage{"sv_fi", 0x081D}, LocaleLanguage{"zh_tw", 0x0404},
    LocaleLanguage{"zh_hk", 0x0C04}, LocaleLanguage{"zh_sg", 0x1004},
    LocaleLanguage{"ar", 0x0401},    LocaleLanguage{"bg", 0x0402},
    LocaleLanguage{"ca", 0x0403},    LocaleLanguage{"zh", 0x0804},
    LocaleLanguage{"cs", 0x0405},    LocaleLanguage{"da", 0x0406},
    LocaleLanguage{"de", 0x0407},    LocaleLanguage{"el", 0x0408},
    LocaleLanguage{"en", 0x0409},    LocaleLanguage{"es", 0x0C0A},
    LocaleLanguage{"fi", 0x040B},    LocaleLanguage{"fr", 0x040C},
    LocaleLanguage{"he", 0x040D},    LocaleLanguage{"hu", 0x040E},
    LocaleLanguage{"is", 0x040F},    LocaleLanguage{"it", 0x0410},
    LocaleLanguage{"ja", 0x0411},    LocaleLanguage{"ko", 0x0412},
    LocaleLanguage{"nl", 0x0413},    LocaleLanguage{"nb", 0x0414},
    LocaleLanguage{"no", 0x0414},    LocaleLanguage{"nn", 0x0814},
    LocaleLanguage{"pl", 0x0415},    LocaleLanguage{"pt", 0x0416},
    LocaleLanguage{"ro", 0x0418},    LocaleLanguage{"ru", 0x0419},
    LocaleLanguage{"hr", 0x041A},    LocaleLanguage{"sk", 0x041B},
    LocaleLanguage{"sv", 0x041D},    LocaleLanguage{"th", 0x041E},
    LocaleLanguage{"tr", 0x041F},    LocaleLanguage{"id", 0x0421},
    LocaleLanguage{"uk", 0x0422},    LocaleLanguage{"sl", 0x0424},
    LocaleLanguage{"et", 0x0425},    LocaleLanguage{"lv", 0x0426},
    LocaleLanguage{"lt", 0x0427},    LocaleLanguage{"vi", 0x042A},
    LocaleLanguage{"eu", 0x042D},    LocaleLanguage{"af", 0x0436},
    LocaleLanguage{"hi", 0x0439},    LocaleLanguage{"gl", 0x0456},
    LocaleLanguage{"sr", 0x241A},
};

std::optional<uint16_t> FindLocaleLanguage(std::string_view name) {
    for (const LocaleLanguage& entry : kLocaleLanguages) {
        if (entry.name == name) return entry.id;
    }
    return std::nullopt;
}

}  // namespace

uint16_t LanguageIdFromLocale(std::string_view locale) {
    // "ll_TT.codeset@modifier": the codeset and the modifier do not change the language.
    locale = locale.substr(0, locale.find_first_of(".@"));
    const std::string name = AsciiLower(locale);
    if (auto id = FindLocaleLanguage(name)) return *id;
    if (auto id = FindLocaleLanguage(std::string_view(name).substr(0, name.find('_')))) return *id;
    return kLanguageUsEnglish;
}

uint16_t UserLanguageFromEnvironment() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') return LanguageIdFromLocale(value);
    }
    return kLanguageUsEnglish;
}

std::string PackTextToUtf8(std::u16string_view text) {
    // The program reads the string as a zero-terminated one.
    text = text.substr(0, text.find(u'\0'));
    if (text.size() > kMaxPackStringLength) {
        std::size_t keep = kMaxPackStringLength;
        if (IsHighSurrogate(text[keep - 1]) && IsLowSurrogate(text[keep])) --keep;
        text = text.substr(0, keep);
    }
    std::string out;
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                                (static_cast<char32_t>(text[i + 1]) - 0xDC00));
            ++i;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            AppendUtf8(out, 0xFFFD);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

std::optional<LanguageModule> LanguageModule::Load(const std::string& path,
                                                   uint16_t user_language) {
    const FileContents contents = ReadRegularFile(path, kMaxFileSize);
    if (!contents.ok()) return std::nullopt;
    return FromBytes(contents.bytes, user_language);
}

std::optional<LanguageModule> LanguageModule::FromBytes(std::string_view bytes,
                                                        uint16_t user_language) {
    auto table = PeStringTable::Parse(bytes);
    if (!table) return std::nullopt;
    return LanguageModule(std::move(*table), user_language);
}

std::string LanguageModule::LoadString(uint16_t id) const {
    return PackTextToUtf8(table_.Lookup(id, user_language_));
}

std::string GetLangString(const LanguageModule* module, uint16_t id,
                          std::string_view english_default) {
    if (module != nullptr) {
        std::string text = module->LoadString(id);
        if (!text.empty()) return text;
    }
    return std::string(english_default);
}

LanguageText& LanguageText::Instance() {
    static LanguageText instance;
    return instance;
}

namespace {
// The name of the regular file in `folder` that equals `name` without regard to ASCII case;
// empty when there is none. Of several, the first in byte order is taken.
std::string FindFileIgnoringCase(const std::string& folder, const std::string& name) {
    const std::string wanted = AsciiLower(name);
    std::string found;
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error), end;
    for (; !error && it != end; it.increment(error)) {
        std::error_code type_error;
        if (!it->is_regular_file(type_error)) continue;
        std::string candidate = it->path().filename().string();
        if (AsciiLower(candidate) == wanted && (found.empty() || candidate < found)) {
            found = std::move(candidate);
        }
    }
    return found;
}
}  // namespace

ConfiguredPack LoadConfiguredPack(const std::string& program_folder, const std::string& pack_name,
                                  uint16_t user_language) {
    // A pack is a file of the program folder itself: a value naming a folder loads nothing.
    if (pack_name.empty() || pack_name == "." || pack_name == ".." ||
        pack_name.find_first_of("/\\") != std::string::npos) {
        return {};
    }
    std::string name = pack_name;
    std::error_code error;
    if (!std::filesystem::is_regular_file(JoinPath(program_folder, name), error)) {
        // File names are matched without regard to case, as on the system packs are made for.
        name = FindFileIgnoringCase(program_folder, pack_name);
        if (name.empty()) return {};
    }
    return ConfiguredPack{name,
                          LanguageModule::Load(JoinPath(program_folder, name), user_language)};
}

std::string ReadPackString(const std::string& path, uint16_t id, std::string_view english_default,
                           uint16_t user_language) {
    const auto module = LanguageModule::Load(path, user_language);
    return GetLangString(module ? &*module : nullptr, id, english_default);
}

bool IsLanguagePack(const LanguageModule& module) {
    return module.LoadString(1) == kPackIdentity;
}

PackDescription DescribePack(const LanguageModule* module) {
    return PackDescription{
        GetLangString(module, 101, ""),
        GetLangString(module, 102, "Anonymous"),
        GetLangString(module, 103, "Unknown"),
        GetLangString(module, 11252, "&More Information..."),
        GetLangString(module, 11253, "Translated by:"),
        GetLangString(module, 11254, "Language:"),
        GetLangString(module, 11255, "Release Date:"),
    };
}

std::string PackListEntry(std::string_view language_name, std::string_view file_name) {
    constexpr std::size_t kNameColumn = 17;
    constexpr std::size_t kCutName = 14;
    std::string entry;
    if (CountCharacters(language_name) > kNameColumn) {
        entry = FirstCharacters(language_name, kCutName);
        entry += "...";
    } else {
        entry = language_name;
    }
    entry.append(kNameColumn - CountCharacters(entry), ' ');
    entry += ' ';
    entry += file_name;
    return entry;
}

std::vector<std::string> FindPackFiles(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error), end;
    for (; !error && it != end; it.increment(error)) {
        std::error_code type_error;
        if (!it->is_regular_file(type_error)) continue;
        std::string name = it->path().filename().string();
        if (name.size() >= 4 &&
            AsciiLower(std::string_view(name).substr(name.size() - 4)) == ".dll") {
            names.push_back(std::move(name));
        }
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string la = AsciiLower(a), lb = AsciiLower(b);
        return la != lb ? la < lb : a < b;
    });
    return names;
}

std::vector<LanguagePackEntry> ListLanguagePacks(const std::string& folder,
                                                 const std::vector<std::string>& file_names,
                                                 uint16_t user_language) {
    std::vector<LanguagePackEntry> packs;
    for (const std::string& name : file_names) {
        std::string path = JoinPath(folder, name);
        const auto module = LanguageModule::Load(path, user_language);
        if (!module || !IsLanguagePack(*module)) continue;
        packs.push_back({std::move(path), name, PackListEntry(module->LoadString(101), name)});
    }
    return packs;
}

std::optional<std::size_t> FindPackIndex(const std::vector<LanguagePackEntry>& packs,
                                         std::string_view pack_name) {
    if (pack_name.empty()) return std::nullopt;
    for (std::size_t i = 0; i < packs.size(); ++i) {
        if (packs[i].file_name == pack_name) return i;
    }
    return std::nullopt;
}

std::string PackInfoFilePath(const std::string& pack_path) {
    const std::size_t name_start = pack_path.find_last_of('/') + 1;  // npos + 1 == 0
    const std::size_t dot = pack_path.find_last_of('.');
    if (dot == std::string::npos || dot < name_start) return pack_path + ".txt";
    return pack_path.substr(0, dot) + ".txt";
}

}  // namespace quillora
