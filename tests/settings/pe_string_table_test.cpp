#include "settings/pe_string_table.h"

#include <gtest/gtest.h>

#include <functional>

#include "settings/pe_image_builder.h"

namespace quillora {
namespace {

using testing::BlockOf;
using testing::BlockWith;
using testing::BuildPeImage;
using testing::PeImage;
using testing::PeImageOptions;
using testing::ResourceBlock;
using testing::StringBlockBytes;

constexpr uint16_t kGerman = 0x0407;
constexpr uint16_t kFrench = 0x040C;
constexpr uint16_t kJapanese = 0x0411;

std::optional<PeStringTable> ParseImage(const PeImage& image) {
    return PeStringTable::Parse(image.bytes);
}

// A pack with strings spread over several blocks, in one language.
std::vector<ResourceBlock> SpreadBlocks() {
    std::vector<std::u16string> first;
    for (int i = 0; i < 16; ++i) first.push_back(u"text " + std::u16string(1, u'a' + i));
    return {
        {1, kLanguageUsEnglish, StringBlockBytes(first)},
        {BlockOf(16), kLanguageUsEnglish, BlockWith(16, u"sixteen")},
        {BlockOf(7757), kLanguageUsEnglish, BlockWith(7757, u"Loading Note/Folder")},
        {BlockOf(65535), kLanguageUsEnglish, BlockWith(65535, u"last")},
    };
}

class PeFormatTest : public ::testing::TestWithParam<bool> {
protected:
    PeImageOptions Options() const {
        PeImageOptions options;
        options.pe32_plus = GetParam();
        return options;
    }
};

TEST_P(PeFormatTest, FindsEveryIdInItsBlock) {
    const auto table = ParseImage(BuildPeImage(SpreadBlocks(), Options()));
    ASSERT_TRUE(table);
    for (uint16_t id = 0; id < 16; ++id) {
        EXPECT_EQ(table->Lookup(id, kLanguageUsEnglish), u"text " + std::u16string(1, u'a' + id));
    }
    EXPECT_EQ(table->Lookup(16, kLanguageUsEnglish), u"sixteen");
    EXPECT_EQ(BlockOf(7757), 485);
    EXPECT_EQ(table->Lookup(7757, kLanguageUsEnglish), u"Loading Note/Folder");
    EXPECT_EQ(table->Lookup(65535, kLanguageUsEnglish), u"last");
    EXPECT_EQ(table->BlockNumbers(), (std::vector<uint16_t>{1, 2, 485, 4096}));

    // A block that is not there, and empty entries of blocks that are.
    EXPECT_EQ(table->Lookup(100, kLanguageUsEnglish), u"");
    EXPECT_EQ(table->Lookup(17, kLanguageUsEnglish), u"");
    EXPECT_EQ(table->Lookup(7756, kLanguageUsEnglish), u"");
    EXPECT_EQ(table->Lookup(65534, kLanguageUsEnglish), u"");
}

TEST_P(PeFormatTest, KeepsEveryUtf16UnitAndStringsUpTo65535Units) {
    const std::u16string unusual = u"\u00e4\u20ac\U0001F600\u0000x";
    const std::u16string longest(65535, u'z');
    const auto table = ParseImage(BuildPeImage(
        {{1, kLanguageUsEnglish, StringBlockBytes({u"", unusual, longest, u"after"})}}, Options()));
    ASSERT_TRUE(table);
    EXPECT_EQ(table->Lookup(1, 0), unusual);
    EXPECT_EQ(table->Lookup(2, 0), longest);
    EXPECT_EQ(table->Lookup(3, 0), u"after");
}

TEST_P(PeFormatTest, IgnoresNamedEntriesThatComeBeforeTheIds) {
    PeImageOptions options = Options();
    options.named_entries = true;
    const auto table = ParseImage(BuildPeImage(SpreadBlocks(), options));
    ASSERT_TRUE(table);
    EXPECT_EQ(table->Lookup(0, kLanguageUsEnglish), u"text a");
    EXPECT_EQ(table->Lookup(15, kLanguageUsEnglish), u"text p");
    EXPECT_EQ(table->Lookup(7757, kLanguageUsEnglish), u"Loading Note/Folder");
    EXPECT_EQ(table->Lookup(65535, kGerman), u"last");
    EXPECT_EQ(table->Lookup(7758, kLanguageUsEnglish), u"");
}

INSTANTIATE_TEST_SUITE_P(Formats, PeFormatTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Pe32Plus" : "Pe32"; });

struct LanguageCase {
    const char* name;
    std::vector<uint16_t> languages;  // in directory order
    uint16_t user;
    uint16_t expected;
};

void PrintTo(const LanguageCase& c, std::ostream* out) {
    *out << c.name;
}

class LanguageChoiceTest : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(LanguageChoiceTest, PrefersNeutralThenUserThenUsEnglishThenLowest) {
    const LanguageCase& c = GetParam();
    std::vector<ResourceBlock> blocks;
    for (uint16_t language : c.languages) {
        char16_t hex[5];
        for (int i = 0; i < 4; ++i) hex[i] = u"0123456789abcdef"[(language >> (12 - 4 * i)) & 15];
        hex[4] = 0;
        blocks.push_back({1, language, BlockWith(5, hex)});
    }
    const auto table = ParseImage(BuildPeImage(blocks));
    ASSERT_TRUE(table);
    char16_t expected[5];
    for (int i = 0; i < 4; ++i)
        expected[i] = u"0123456789abcdef"[(c.expected >> (12 - 4 * i)) & 15];
    expected[4] = 0;
    EXPECT_EQ(table->Lookup(5, c.user), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LanguageChoiceTest,
    ::testing::Values(
        LanguageCase{"NeutralBeatsAll", {kGerman, kLanguageUsEnglish, 0x0000}, kGerman, 0x0000},
        LanguageCase{
            "UserBeatsUsEnglish", {kLanguageUsEnglish, kGerman, kFrench}, kFrench, kFrench},
        LanguageCase{"UsEnglishWhenUserMissing",
                     {kGerman, kLanguageUsEnglish},
                     kJapanese,
                     kLanguageUsEnglish},
        LanguageCase{"LowestNotFirst", {kFrench, kGerman, 0x0809}, kJapanese, kGerman},
        LanguageCase{"OtherSublanguageIsNoMatch", {0x0C07, kFrench}, kGerman, kFrench},
        LanguageCase{"OnlyOne", {kJapanese}, kGerman, kJapanese}),
    [](const auto& info) { return info.param.name; });

TEST(PeStringTable, ResolvesTheLanguageOfEachBlockAlone) {
    const auto table = ParseImage(BuildPeImage({
        {1, kGerman, BlockWith(1, u"Sprache")},
        {1, kLanguageUsEnglish, BlockWith(1, u"Language")},
        {2, kGerman, BlockWith(16, u"nur deutsch")},
        {3, kLanguageUsEnglish, BlockWith(32, u"english only")},
    }));
    ASSERT_TRUE(table);
    EXPECT_EQ(table->Lookup(1, kFrench), u"Language");
    EXPECT_EQ(table->Lookup(1, kGerman), u"Sprache");
    EXPECT_EQ(table->Lookup(16, kFrench), u"nur deutsch");
    EXPECT_EQ(table->Lookup(32, kGerman), u"english only");
    // The chosen language's block decides, even where another language has the string.
    const auto mixed = ParseImage(BuildPeImage({
        {1, kGerman, BlockWith(2, u"zwei")},
        {1, kLanguageUsEnglish, BlockWith(3, u"three")},
    }));
    ASSERT_TRUE(mixed);
    EXPECT_EQ(mixed->Lookup(3, kGerman), u"");
    EXPECT_EQ(mixed->Lookup(2, kLanguageUsEnglish), u"");
}

// Section sizes: the resource section reaches as far as the larger of its two sizes.
TEST(PeStringTable, MapsAddressesThroughTheLargerSectionSize) {
    const std::vector<ResourceBlock> blocks = {{BlockOf(7757), kGerman, BlockWith(7757, u"Lade")}};
    struct Sizes {
        std::optional<uint32_t> virtual_size, raw_size;
        bool found;
    };
    const Sizes cases[] = {
        {0, std::nullopt, true},     // no virtual size: the raw size counts
        {0x20, std::nullopt, true},  // virtual size smaller than the data
        {std::nullopt, 0x20, true},  // raw size smaller than the data
        {0x40, 0x40, false},         // the directories fit, the block data does not
    };
    for (const Sizes& sizes : cases) {
        PeImageOptions options;
        options.virtual_size = sizes.virtual_size;
        options.raw_size = sizes.raw_size;
        const auto table = ParseImage(BuildPeImage(blocks, options));
        ASSERT_TRUE(table);
        EXPECT_EQ(table->Lookup(7757, kGerman), sizes.found ? u"Lade" : u"");
    }

    // The resource section far above its place in the file.
    PeImageOptions high;
    high.resource_rva = 0x7FFF0000;
    const auto table = ParseImage(BuildPeImage(blocks, high));
    ASSERT_TRUE(table);
    EXPECT_EQ(table->Lookup(7757, kGerman), u"Lade");
}

TEST(PeStringTable, RejectsFilesThatAreNotModulesWithResources) {
    const PeImage good = BuildPeImage({{1, kLanguageUsEnglish, BlockWith(1, u"QuilloraApp")}});
    ASSERT_TRUE(ParseImage(good));
    const std::size_t pe = 0x40;
    struct Damage {
        const char* what;
        std::function<void(PeImage&)> apply;
    };
    const std::vector<Damage> damages = {
        {"empty", [](PeImage& i) { i.bytes.clear(); }},
        {"shorter than the DOS header", [](PeImage& i) { i.bytes.resize(0x3F); }},
        {"no MZ", [](PeImage& i) { i.bytes[0] = 'X'; }},
        {"signature offset past the end", [](PeImage& i) { i.Put32(0x3C, 0xFFFFFFF0u); }},
        {"signature at the very end",
         [](PeImage& i) { i.Put32(0x3C, static_cast<uint32_t>(i.bytes.size() - 4)); }},
        {"no PE signature", [&](PeImage& i) { i.bytes[pe + 2] = 'X'; }},
        {"unknown optional header magic", [](PeImage& i) { i.Put16(i.optional_header, 0x107); }},
        {"optional header too small", [&](PeImage& i) { i.Put16(pe + 4 + 16, 96 + 16); }},
        {"two data directories", [](PeImage& i) { i.Put32(i.DataDirectoryCountField(false), 2); }},
        {"no resource directory", [](PeImage& i) { i.Put32(i.ResourceDirectoryField(false), 0); }},
        {"resource address outside every section",
         [](PeImage& i) { i.Put32(i.ResourceDirectoryField(false), 0x9000); }},
        {"section table past the end", [](PeImage& i) { i.Put16(i.section_count_field, 0xFFFF); }},
        {"no sections", [](PeImage& i) { i.Put16(i.section_count_field, 0); }},
        {"resource data past the end",
         [](PeImage& i) { i.Put32(i.resource_section_header + 20, 0xFFFFFF00u); }},
        {"root header cut off", [](PeImage& i) { i.bytes.resize(i.resource_root + 15); }},
    };
    for (const Damage& damage : damages) {
        PeImage image = good;
        damage.apply(image);
        EXPECT_FALSE(ParseImage(image)) << damage.what;
    }
}

// Damage below the root: the file still parses, and what cannot be read is simply missing.
TEST(PeStringTable, DamagedDirectoriesGiveMissingStrings) {
    const std::vector<ResourceBlock> blocks = {
        {1, kLanguageUsEnglish, StringBlockBytes({u"zero", u"one", u"two"})},
        {2, kLanguageUsEnglish, BlockWith(16, u"sixteen")},
    };
    const PeImage good = BuildPeImage(blocks);
    const std::size_t root = good.resource_root;
    const std::size_t strings = good.string_type_directory;
    const std::size_t languages = good.language_directories.at(1);
    const std::size_t entry = good.data_entries.at({1, kLanguageUsEnglish});
    const uint32_t relative_strings = static_cast<uint32_t>(strings - root);

    struct Damage {
        const char* what;
        std::function<void(PeImage&)> apply;
        std::u16string id1;
        std::u16string id16;
    };
    const std::vector<Damage> damages = {
        {"huge counts at the root",
         [&](PeImage& i) {
             i.Put16(root + 12, 0xFFFF);
             i.Put16(root + 14, 0xFFFF);
         },
         u"", u""},
        {"string type leads past the end",
         [&](PeImage& i) { i.Put32(PeImage::Entry(root, 1) + 4, 0xFFFFFFF0u); }, u"", u""},
        {"string type is a data entry",
         [&](PeImage& i) { i.Put32(PeImage::Entry(root, 1) + 4, relative_strings); }, u"", u""},
        {"string type leads back to the root",
         [&](PeImage& i) { i.Put32(PeImage::Entry(root, 1) + 4, 0x80000000u); }, u"", u""},
        {"block leads to itself",
         [&](PeImage& i) {
             i.Put32(PeImage::Entry(strings, 0) + 4, 0x80000000u | relative_strings);
         },
         u"", u"sixteen"},
        {"language entry is a directory leading to itself",
         [&](PeImage& i) {
             i.Put32(PeImage::Entry(languages, 0) + 4,
                     0x80000000u | static_cast<uint32_t>(languages - root));
         },
         u"", u"sixteen"},
        {"block counts too large", [&](PeImage& i) { i.Put16(strings + 14, 0xFFFF); }, u"one",
         u"sixteen"},
        {"language counts too large",
         [&](PeImage& i) {
             i.Put16(languages + 12, 0x8000);
             i.Put16(languages + 14, 0x8000);
         },
         u"", u"sixteen"},
        {"data entry past the end",
         [&](PeImage& i) { i.Put32(PeImage::Entry(languages, 0) + 4, 0x7FFFFFF0u); }, u"",
         u"sixteen"},
        {"data address outside every section", [&](PeImage& i) { i.Put32(entry, 0x100); }, u"",
         u"sixteen"},
        {"data address beyond the file",
         [&](PeImage& i) { i.Put32(entry, 0x2000 + static_cast<uint32_t>(i.bytes.size())); }, u"",
         u"sixteen"},
        {"data size larger than the file", [&](PeImage& i) { i.Put32(entry + 4, 0xFFFFFFFFu); },
         u"one", u"sixteen"},
        {"data size cuts the block inside string 1",
         [&](PeImage& i) { i.Put32(entry + 4, 2 + 8 + 2 + 4); }, u"", u"sixteen"},
        {"string 0 claims more than the block holds",
         [&](PeImage& i) {
             i.Put16(i.block_data.at({1, kLanguageUsEnglish}), 0xFFFF);
         },
         u"", u"sixteen"},
    };
    for (const Damage& damage : damages) {
        PeImage image = good;
        damage.apply(image);
        const auto table = ParseImage(image);
        ASSERT_TRUE(table) << damage.what;
        EXPECT_EQ(table->Lookup(1, kLanguageUsEnglish), damage.id1) << damage.what;
        EXPECT_EQ(table->Lookup(16, kLanguageUsEnglish), damage.id16) << damage.what;
        EXPECT_EQ(table->Lookup(65535, kLanguageUsEnglish), u"") << damage.what;
    }
}

// A file cut short anywhere reads as no module or as a module whose strings are either whole
// or missing, never as partial or foreign text.
TEST(PeStringTable, FilesCutShortAnywhereAreReadSafely) {
    for (bool pe32_plus : {false, true}) {
        PeImageOptions options;
        options.pe32_plus = pe32_plus;
        options.named_entries = true;
        const PeImage full = BuildPeImage(SpreadBlocks(), options);
        const auto whole = ParseImage(full);
        ASSERT_TRUE(whole);
        const uint16_t ids[] = {0, 7, 15, 16, 7757, 65535};
        for (std::size_t size = 0; size < full.bytes.size(); ++size) {
            const auto table = PeStringTable::Parse(
                std::string_view(reinterpret_cast<const char*>(full.bytes.data()), size));
            if (!table) continue;
            for (uint16_t id : ids) {
                const std::u16string text = table->Lookup(id, kGerman);
                EXPECT_TRUE(text.empty() || text == whole->Lookup(id, kGerman))
                    << "size " << size << " id " << id;
            }
        }
    }
}

}  // namespace
}  // namespace quillora
