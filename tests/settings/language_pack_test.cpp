#include "settings/language_pack.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "settings/pe_image_builder.h"

namespace quillora {
namespace {

namespace fs = std::filesystem;
using testing::BlockOf;
using testing::BlockWith;
using testing::BuildPeImage;
using testing::PackBytes;
using testing::ResourceBlock;
using testing::StringBlockBytes;

constexpr uint16_t kGerman = 0x0407;

class TempFolder {
public:
    TempFolder() {
        std::random_device random;
        path_ = fs::temp_directory_path() / ("quillora-langpack-" + std::to_string(random()));
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    std::string Path() const { return path_.string(); }
    std::string Write(const std::string& name, const std::string& bytes) const {
        const fs::path file = path_ / name;
        std::ofstream(file, std::ios::binary) << bytes;
        return file.string();
    }

private:
    fs::path path_;
};

LanguageModule ModuleOf(const std::map<uint16_t, std::u16string>& strings) {
    auto module = LanguageModule::FromBytes(PackBytes(strings), kLanguageUsEnglish);
    EXPECT_TRUE(module);
    return std::move(*module);
}

TEST(PackText, CutsTo249UnitsWithoutSplittingAPair) {
    EXPECT_EQ(PackTextToUtf8(std::u16string(300, u'x')), std::string(249, 'x'));
    EXPECT_EQ(PackTextToUtf8(std::u16string(249, u'x')), std::string(249, 'x'));
    EXPECT_EQ(PackTextToUtf8(std::u16string(250, u'x')), std::string(249, 'x'));

    // A pair whose second half would be unit 250 goes as a whole.
    const std::u16string straddling = std::u16string(248, u'a') + u"\U0001F600" + u"zz";
    EXPECT_EQ(PackTextToUtf8(straddling), std::string(248, 'a'));
    // A pair that ends at unit 249 stays.
    const std::u16string ending = std::u16string(247, u'a') + u"\U0001F600" + u"zz";
    EXPECT_EQ(PackTextToUtf8(ending), std::string(247, 'a') + "\xF0\x9F\x98\x80");
}

TEST(PackText, ConvertsToUtf8) {
    EXPECT_EQ(PackTextToUtf8(u"Gr\u00f6\u00dfe \u20ac"),
              "Gr\xC3\xB6\xC3\x9F"
              "e \xE2\x82\xAC");
    EXPECT_EQ(PackTextToUtf8(u"\U0001D11E"), "\xF0\x9D\x84\x9E");
    // Halves of pairs that have no partner.
    EXPECT_EQ(PackTextToUtf8(std::u16string{u'a', 0xD800, u'b', 0xDC00}),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD");
    EXPECT_EQ(PackTextToUtf8(std::u16string{0xDC00, 0xD800}), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(PackTextToUtf8(u""), "");
    // A zero unit ends the string, so one that starts with it reads as empty.
    EXPECT_EQ(PackTextToUtf8(std::u16string(u"ab\0cd", 5)), "ab");
    EXPECT_EQ(PackTextToUtf8(std::u16string(u"\0cd", 3)), "");
}

TEST(GetLangString, FallsBackToEnglishWhenThePackHasNothing) {
    const LanguageModule module = ModuleOf({{1, u"QuilloraApp"},
                                            {7700, u"Ge\u00e4ndert"},
                                            {7701, u""},
                                            {7703, std::u16string(u"\0hidden", 7)},
                                            {7757, std::u16string(300, u'L')}});
    EXPECT_EQ(GetLangString(nullptr, 7700, "Modified"), "Modified");
    EXPECT_EQ(GetLangString(&module, 7700, "Modified"), "Ge\xC3\xA4ndert");
    EXPECT_EQ(GetLangString(&module, 7701, "Insert"), "Insert");        // empty in the pack
    EXPECT_EQ(GetLangString(&module, 7702, "Overwrite"), "Overwrite");  // missing from its block
    EXPECT_EQ(GetLangString(&module, 7703, "Lines"), "Lines");          // empty as a C string
    EXPECT_EQ(GetLangString(&module, 9000, "Replace"), "Replace");      // block missing
    EXPECT_EQ(GetLangString(&module, 7757, "Loading"), std::string(249, 'L'));
    // Placeholders pass through untouched for the caller to fill in.
    const LanguageModule formats = ModuleOf({{7754, u"Kan \"%s\" niet openen."}});
    EXPECT_EQ(GetLangString(&formats, 7754, "Unable to open \"%s\"."), "Kan \"%s\" niet openen.");
}

TEST(LanguageText, UsesTheModuleItHolds) {
    LanguageText text;
    EXPECT_FALSE(text.HasModule());
    EXPECT_EQ(text.Module(), nullptr);
    EXPECT_EQ(text.Get(500, "OK"), "OK");
    text.SetModule(ModuleOf({{500, u"Oké"}, {501, u""}}));
    EXPECT_TRUE(text.HasModule());
    EXPECT_EQ(text.Get(500, "OK"), "Ok\xC3\xA9");
    EXPECT_EQ(text.Get(501, "Cancel"), "Cancel");
    text.SetModule(std::nullopt);
    EXPECT_EQ(text.Get(500, "OK"), "OK");
    EXPECT_EQ(&LanguageText::Instance(), &LanguageText::Instance());
}

TEST(UserLanguage, MapsLocaleNamesToLanguageIds) {
    EXPECT_EQ(LanguageIdFromLocale("de_DE.UTF-8"), 0x0407);
    EXPECT_EQ(LanguageIdFromLocale("de_AT"), 0x0C07);
    EXPECT_EQ(LanguageIdFromLocale("de_BE.UTF-8"), 0x0407);  // unknown country: the language's own
    EXPECT_EQ(LanguageIdFromLocale("fr"), 0x040C);
    EXPECT_EQ(LanguageIdFromLocale("fr_CA.utf8"), 0x0C0C);
    EXPECT_EQ(LanguageIdFromLocale("nl_NL@euro"), 0x0413);
    EXPECT_EQ(LanguageIdFromLocale("pt_BR"), 0x0416);
    EXPECT_EQ(LanguageIdFromLocale("pt_PT"), 0x0816);
    EXPECT_EQ(LanguageIdFromLocale("en_GB.UTF-8"), 0x0809);
    EXPECT_EQ(LanguageIdFromLocale("zh_TW"), 0x0404);
    for (const char* english : {"C", "POSIX", "C.UTF-8", "", "xx_YY", "en_US"}) {
        EXPECT_EQ(LanguageIdFromLocale(english), kLanguageUsEnglish) << english;
    }
}

TEST(UserLanguage, ReadsTheEnvironmentInPosixOrder) {
    struct Saved {
        const char* name;
        std::optional<std::string> value;
    };
    std::vector<Saved> saved;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        saved.push_back({name, value ? std::optional<std::string>(value) : std::nullopt});
        unsetenv(name);
    }
    EXPECT_EQ(UserLanguageFromEnvironment(), kLanguageUsEnglish);
    setenv("LANG", "fr_FR.UTF-8", 1);
    EXPECT_EQ(UserLanguageFromEnvironment(), 0x040C);
    setenv("LC_MESSAGES", "it_IT", 1);
    EXPECT_EQ(UserLanguageFromEnvironment(), 0x0410);
    setenv("LC_ALL", "de_DE", 1);
    EXPECT_EQ(UserLanguageFromEnvironment(), 0x0407);
    setenv("LC_ALL", "", 1);
    EXPECT_EQ(UserLanguageFromEnvironment(), 0x0410);
    for (const Saved& s : saved) {
        if (s.value) {
            setenv(s.name, s.value->c_str(), 1);
        } else {
            unsetenv(s.name);
        }
    }
}

TEST(LanguageModule, LoadsPacksAndRefusesOtherFiles) {
    TempFolder folder;
    const auto pack = LanguageModule::Load(
        folder.Write("Dutch.dll", PackBytes({{1, u"QuilloraApp"}, {101, u"Nederlands"}})), kGerman);
    ASSERT_TRUE(pack);
    EXPECT_EQ(pack->UserLanguage(), kGerman);
    EXPECT_EQ(pack->LoadString(101), "Nederlands");
    EXPECT_TRUE(IsLanguagePack(*pack));

    EXPECT_FALSE(LanguageModule::Load(folder.Path() + "/missing.dll"));
    EXPECT_FALSE(LanguageModule::Load(folder.Path()));
    EXPECT_FALSE(LanguageModule::Load(folder.Write("text.dll", "MZ but not a module")));
    EXPECT_FALSE(LanguageModule::Load(folder.Write("empty.dll", "")));
}

TEST(LanguageModule, ReadsTheLanguageTheUserSpeaks) {
    const std::string bytes = BuildPeImage({
                                               {1, kLanguageUsEnglish, BlockWith(2, u"Save")},
                                               {1, kGerman, BlockWith(2, u"Speichern")},
                                           })
                                  .AsString();
    EXPECT_EQ(LanguageModule::FromBytes(bytes, kGerman)->LoadString(2), "Speichern");
    EXPECT_EQ(LanguageModule::FromBytes(bytes, 0x040C)->LoadString(2), "Save");
}

TEST(ConfiguredPack, LoadsTheNamedPackFromTheProgramFolder) {
    TempFolder folder;
    folder.Write("Dutch.dll", PackBytes({{7757, u"Notitie laden"}}));
    folder.Write("Broken.dll", "not a module");

    ConfiguredPack none = LoadConfiguredPack(folder.Path(), "");
    EXPECT_EQ(none.name, "");
    EXPECT_FALSE(none.module);

    // A name whose file is missing is dropped for the run.
    ConfiguredPack missing = LoadConfiguredPack(folder.Path(), "French.dll");
    EXPECT_EQ(missing.name, "");
    EXPECT_FALSE(missing.module);

    // A file that is there but cannot be loaded keeps its name; every text stays English.
    ConfiguredPack broken = LoadConfiguredPack(folder.Path() + "/", "Broken.dll");
    EXPECT_EQ(broken.name, "Broken.dll");
    EXPECT_FALSE(broken.module);

    ConfiguredPack dutch = LoadConfiguredPack(folder.Path(), "Dutch.dll");
    EXPECT_EQ(dutch.name, "Dutch.dll");
    ASSERT_TRUE(dutch.module);
    EXPECT_EQ(GetLangString(&*dutch.module, 7757, "Loading"), "Notitie laden");

    // Another letter case finds the file under its name on disk.
    ConfiguredPack other_case = LoadConfiguredPack(folder.Path(), "dutch.DLL");
    EXPECT_EQ(other_case.name, "Dutch.dll");
    EXPECT_TRUE(other_case.module);

    // A value naming a folder loads nothing, even when the file is there.
    fs::create_directories(fs::path(folder.Path()) / "sub");
    folder.Write("sub/Dutch.dll", PackBytes({{7757, u"Notitie laden"}}));
    for (const char* outside :
         {"sub/Dutch.dll", "../Dutch.dll", "/tmp/Dutch.dll", "sub\\Dutch.dll", ".", ".."}) {
        ConfiguredPack rejected = LoadConfiguredPack(folder.Path(), outside);
        EXPECT_EQ(rejected.name, "") << outside;
        EXPECT_FALSE(rejected.module) << outside;
    }
}

TEST(PackList, ListsOnlyFilesThatIdentifyAsPacks) {
    TempFolder folder;
    folder.Write("Dutch.dll", PackBytes({{1, u"QuilloraApp"}, {101, u"Dutch"}}));
    folder.Write("b.DLL", PackBytes({{1, u"QuilloraApp"}, {101, u"Portugu\u00eas do Brasil!"}}));
    folder.Write("Nameless.Dll", PackBytes({{1, u"QuilloraApp"}}));
    folder.Write("Other.dll", PackBytes({{1, u"OtherProgram"}, {101, u"Other"}}));
    folder.Write("Longer.dll", PackBytes({{1, u"QuilloraApp2"}, {101, u"Longer"}}));
    folder.Write("Lower.dll", PackBytes({{1, u"quilloraapp"}, {101, u"Lower"}}));
    folder.Write("NoStrings.dll", PackBytes({{2, u"QuilloraApp"}}));
    folder.Write("Garbage.dll", "garbage");
    folder.Write("Dutch.txt", "about the Dutch pack");
    folder.Write("dll", "no extension");
    fs::create_directory(fs::path(folder.Path()) / "Folder.dll");

    const std::vector<std::string> files = FindPackFiles(folder.Path());
    EXPECT_EQ(files, (std::vector<std::string>{"b.DLL", "Dutch.dll", "Garbage.dll", "Longer.dll",
                                               "Lower.dll", "Nameless.Dll", "NoStrings.dll",
                                               "Other.dll"}));

    const auto packs = ListLanguagePacks(folder.Path(), files);
    ASSERT_EQ(packs.size(), 3u);
    EXPECT_EQ(packs[0].file_name, "b.DLL");
    EXPECT_EQ(packs[0].path, folder.Path() + "/b.DLL");
    EXPECT_EQ(packs[0].list_entry, "Portugu\xC3\xAAs do B... b.DLL");
    EXPECT_EQ(packs[1].list_entry, "Dutch" + std::string(12, ' ') + " Dutch.dll");
    EXPECT_EQ(packs[2].list_entry, std::string(17, ' ') + " Nameless.Dll");

    EXPECT_EQ(FindPackIndex(packs, "Dutch.dll"), 1u);
    EXPECT_EQ(FindPackIndex(packs, ""), std::nullopt);
    EXPECT_EQ(FindPackIndex(packs, "utch.dll"), std::nullopt);
    EXPECT_EQ(FindPackIndex(packs, "Other.dll"), std::nullopt);

    EXPECT_TRUE(FindPackFiles(folder.Path() + "/missing").empty());
}

TEST(PackList, FormatsTheNameColumn) {
    EXPECT_EQ(PackListEntry("Nineteen characters", "n.dll"), "Nineteen chara... n.dll");
    EXPECT_EQ(PackListEntry("Seventeen chars!!", "s.dll"), "Seventeen chars!! s.dll");
    EXPECT_EQ(PackListEntry("Eighteen chars!!!!", "e.dll"), "Eighteen chars... e.dll");
    EXPECT_EQ(PackListEntry("", "x.dll"), std::string(17, ' ') + " x.dll");
    // Characters, not bytes: "Русский" is 7 characters in 14 bytes.
    EXPECT_EQ(PackListEntry("\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9", "r.dll"),
              "\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9" + std::string(10, ' ') +
                  " r.dll");
}

TEST(PackList, DescribesAPackInItsOwnWordsWithDefaults) {
    const LanguageModule full = ModuleOf({{101, u"Deutsch"},
                                          {102, u"Anna"},
                                          {103, u"2026"},
                                          {11252, u"&Mehr..."},
                                          {11253, u"\u00dcbersetzt von:"},
                                          {11254, u"Sprache:"},
                                          {11255, u"Datum:"}});
    const PackDescription described = DescribePack(&full);
    EXPECT_EQ(described.language, "Deutsch");
    EXPECT_EQ(described.translator, "Anna");
    EXPECT_EQ(described.release_date, "2026");
    EXPECT_EQ(described.more_information, "&Mehr...");
    EXPECT_EQ(described.translated_by,
              "\xC3\x9C"
              "bersetzt von:");
    EXPECT_EQ(described.language_label, "Sprache:");
    EXPECT_EQ(described.release_label, "Datum:");

    const LanguageModule bare = ModuleOf({{1, u"QuilloraApp"}});
    const PackDescription defaults = DescribePack(&bare);
    EXPECT_EQ(defaults.language, "");
    EXPECT_EQ(defaults.translator, "Anonymous");
    EXPECT_EQ(defaults.release_date, "Unknown");
    EXPECT_EQ(defaults.more_information, "&More Information...");
    EXPECT_EQ(defaults.translated_by, "Translated by:");
    EXPECT_EQ(defaults.language_label, "Language:");
    EXPECT_EQ(defaults.release_label, "Release Date:");
}

TEST(PackList, ReadsSingleStringsAndFindsTheInformationFile) {
    TempFolder folder;
    const std::string path = folder.Write("Dutch.dll", PackBytes({{101, u"Nederlands"}}));
    EXPECT_EQ(ReadPackString(path, 101, ""), "Nederlands");
    EXPECT_EQ(ReadPackString(path, 102, "Anonymous"), "Anonymous");
    EXPECT_EQ(ReadPackString(folder.Path() + "/gone.dll", 101, "fallback"), "fallback");

    EXPECT_EQ(PackInfoFilePath("/opt/q/Dutch.dll"), "/opt/q/Dutch.txt");
    EXPECT_EQ(PackInfoFilePath("/opt/q/Dutch.pack.DLL"), "/opt/q/Dutch.pack.txt");
    EXPECT_EQ(PackInfoFilePath("/opt/q.d/Dutch"), "/opt/q.d/Dutch.txt");
}

// Packs made by the Windows resource tools, read as they come out of them.
class RealPackTest : public ::testing::Test {
protected:
    static bool Have(const char* tool) {
        return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
    }
    static int Run(const std::string& command) {
        return std::system((command + " >/dev/null 2>&1").c_str());
    }
};

TEST_F(RealPackTest, ReadsPacksBuiltByWindresAndLd) {
    for (const char* tool : {"x86_64-w64-mingw32-windres", "x86_64-w64-mingw32-ld", "cpp"}) {
        if (!Have(tool)) GTEST_SKIP() << tool << " is not installed";
    }
    TempFolder folder;
    folder.Write("pack.rc",
                 "LANGUAGE 0x07, 0x01\n"
                 "STRINGTABLE\nBEGIN\n"
                 "  1 \"QuilloraApp\"\n"
                 "  101 \"Deutsch\"\n"
                 "  500 \"OK\"\n"
                 "  7700 \"Ge\xC3\xA4ndert\"\n"
                 "  7757 \"Lade Notiz/Ordner\"\n"
                 "  11305 \"Quillora neu starten \xE2\x80\x93 Gr\xC3\xB6\xC3\x9F"
                 "e\"\n"
                 "END\n"
                 "LANGUAGE 0x09, 0x01\n"
                 "STRINGTABLE\nBEGIN\n"
                 "  7700 \"Modified\"\n"
                 "END\n");
    const std::string dir = folder.Path();
    ASSERT_EQ(Run("cd '" + dir +
                  "' && x86_64-w64-mingw32-windres --preprocessor=cpp -c 65001 pack.rc -O coff "
                  "-o pack.o && x86_64-w64-mingw32-ld --dll -e 0 -o Deutsch.dll pack.o"),
              0);
    std::vector<std::string> made = {"Deutsch.dll"};
    if (Have("x86_64-w64-mingw32-objcopy") &&
        Run("cd '" + dir +
            "' && x86_64-w64-mingw32-objcopy -O pei-i386 Deutsch.dll Deutsch32.dll") == 0) {
        made.push_back("Deutsch32.dll");
    }
    for (const std::string& name : made) {
        SCOPED_TRACE(name);
        std::ifstream file(dir + "/" + name, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(file)), {});
        ASSERT_GE(bytes.size(), 0x40u);
        const uint32_t pe =
            static_cast<uint8_t>(bytes[0x3C]) | (static_cast<uint8_t>(bytes[0x3D]) << 8);
        const uint16_t magic =
            static_cast<uint8_t>(bytes[pe + 24]) | (static_cast<uint8_t>(bytes[pe + 25]) << 8);
        EXPECT_EQ(magic, name == "Deutsch.dll" ? 0x20B : 0x10B);

        const auto german = LanguageModule::Load(dir + "/" + name, kGerman);
        ASSERT_TRUE(german);
        EXPECT_TRUE(IsLanguagePack(*german));
        EXPECT_EQ(german->LoadString(101), "Deutsch");
        EXPECT_EQ(german->LoadString(7757), "Lade Notiz/Ordner");
        EXPECT_EQ(german->LoadString(11305),
                  "Quillora neu starten \xE2\x80\x93 Gr\xC3\xB6\xC3\x9F"
                  "e");
        EXPECT_EQ(GetLangString(&*german, 7700, "Modified"), "Ge\xC3\xA4ndert");
        EXPECT_EQ(GetLangString(&*german, 501, "Cancel"), "Cancel");
        // Block 482 exists in both languages; the others only in German.
        const auto french = LanguageModule::Load(dir + "/" + name, 0x040C);
        ASSERT_TRUE(french);
        EXPECT_EQ(french->LoadString(7700), "Modified");
        EXPECT_EQ(french->LoadString(7757), "Lade Notiz/Ordner");
    }
    const auto packs = ListLanguagePacks(dir, FindPackFiles(dir), kGerman);
    ASSERT_EQ(packs.size(), made.size());
    EXPECT_EQ(packs[0].list_entry, "Deutsch" + std::string(10, ' ') + " Deutsch.dll");
}

}  // namespace
}  // namespace quillora
