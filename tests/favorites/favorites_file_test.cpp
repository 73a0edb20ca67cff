#include "favorites/favorites_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "favorites/favorites_menu.h"
#include "tests/support/temp_folder.h"

namespace quillora::favorites {
namespace {

using testing::FileBytes;
using testing::PutFile;

// A record's bytes written out by hand, so the layout is checked against itself nowhere.
std::string RawRecord(int32_t level, std::string_view name, std::string_view title) {
    std::string out(4, '\0');
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<char>((static_cast<uint32_t>(level) >> (8 * i)) & 0xFF);
    std::string field(256, '\0');
    out += std::string(name) + field.substr(name.size());
    out += std::string(title) + field.substr(title.size());
    return out;
}

std::string RawHeader(int32_t count, std::string_view root = "Favorites",
                      std::string_view magic = std::string_view("QLFavorites\0", 12),
                      int32_t version = 1) {
    std::string out(magic);
    for (int32_t value : {version, count}) {
        for (int i = 0; i < 4; ++i)
            out += static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF);
    }
    return out + std::string(root) + std::string(256 - root.size(), '\0');
}

class FavoritesFileTest : public ::testing::Test {
protected:
    testing::TempFolder folder_{"quillora-favorites"};
    const std::string file_ = FavoritesFilePath(folder_.path().string());
    Markers markers_;
};

TEST_F(FavoritesFileTest, MenuCreatesTheDefaultFileAndAddReplacesThenAppends) {
    const FavoritesContent fresh = OpenFavoritesForMenu(file_, "Favorites", "[Empty]");
    ASSERT_EQ(fresh.status, FavoritesStatus::Ok);
    EXPECT_EQ(FileBytes(file_), RawHeader(1) + RawRecord(0, "", "[Empty]"));
    EXPECT_EQ(FileBytes(file_).size(), 792U);

    AppendResult first = AppendFavorite(file_, "/home/ann/Work.qlb", markers_);
    EXPECT_EQ(first.status, AppendStatus::ReplacedPlaceholder);
    EXPECT_EQ(FileBytes(file_), RawHeader(1) + RawRecord(0, "/home/ann/Work.qlb", "Work.qlb"));

    const std::string long_name(70, 'n');
    AppendResult second = AppendFavorite(file_, "/d/" + long_name, markers_);
    EXPECT_EQ(second.status, AppendStatus::Appended);
    EXPECT_EQ(second.title, std::string(60, 'n') + "...");
    EXPECT_EQ(FileBytes(file_), RawHeader(2) + RawRecord(0, "/home/ann/Work.qlb", "Work.qlb") +
                                    RawRecord(0, "/d/" + long_name, second.title));
}

TEST_F(FavoritesFileTest, AddLeavesFilesItCannotUseAsTheyAre) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string path;
        WriteFaults faults;
        AppendStatus status;
    };
    const std::string good = RawHeader(1) + RawRecord(0, "/a.qlb", "a.qlb");
    const Case cases[] = {
        {"version 2",
         RawHeader(1, "F", std::string_view("QLFavorites\0", 12), 2) + RawRecord(0, "", "[Empty]"),
         "/b.qlb",
         {},
         AppendStatus::BadFormat},
        {"wrong magic",
         RawHeader(1, "F", std::string_view("QLFavoritez\0", 12)) + RawRecord(0, "", "[Empty]"),
         "/b.qlb",
         {},
         AppendStatus::BadFormat},
        {"cut header", RawHeader(0).substr(0, 100), "/b.qlb", {}, AppendStatus::BadFormat},
        {"path of 256 bytes", good, "/" + std::string(255, 'p'), {}, AppendStatus::PathTooLong},
        {"disk full after 300 bytes", good, "/b.qlb", WriteFaults{false, 300, false, false},
         AppendStatus::WriteFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PutFile(file_, c.bytes);
        EXPECT_EQ(AppendFavorite(file_, c.path, markers_, c.faults).status, c.status);
        EXPECT_EQ(FileBytes(file_), c.bytes);
    }
    std::filesystem::remove(file_);
    EXPECT_EQ(AppendFavorite(file_, "/b.qlb", markers_).status, AppendStatus::CannotOpen);
    EXPECT_FALSE(std::filesystem::exists(file_));
}

TEST(FavoritesReaderTest, MalformedFilesAreReadWithinTheirBytes) {
    struct Case {
        const char* what;
        std::string bytes;
        FavoritesStatus status;
        std::vector<int32_t> levels;
    };
    const std::string rec0 = RawRecord(0, "", "a");
    const Case cases[] = {
        {"empty file", "", FavoritesStatus::BadFormat, {}},
        {"count larger than the file", RawHeader(5) + rec0 + rec0, FavoritesStatus::Ok, {0, 0}},
        {"negative count", RawHeader(-3) + rec0, FavoritesStatus::Ok, {}},
        {"record cut short", RawHeader(2) + rec0 + rec0.substr(0, 300), FavoritesStatus::Ok, {0}},
        {"negative and too deep levels skipped",
         RawHeader(4) + rec0 + RawRecord(-1, "", "x") + RawRecord(100, "", "y") +
             RawRecord(1, "", "b"),
         FavoritesStatus::Ok,
         {0, 1}},
        {"a skipped level attaches to the last record",
         RawHeader(3) + rec0 + RawRecord(5, "", "b") + RawRecord(9, "", "c"),
         FavoritesStatus::Ok,
         {0, 1, 2}},
        {"first record too deep", RawHeader(1) + RawRecord(3, "", "b"), FavoritesStatus::Ok, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const FavoritesContent content = ParseFavorites(c.bytes);
        EXPECT_EQ(content.status, c.status);
        std::vector<int32_t> levels;
        for (const FavoriteRecord& r : content.records) levels.push_back(r.level);
        EXPECT_EQ(levels, c.levels);
    }
}

TEST(FavoritesReaderTest, FieldsEndAtTheirZeroOrTheirWidthAndOldBytesBecomeUtf8) {
    std::string header = RawHeader(1, "");
    header.replace(20, 256, std::string(256, 'R'));  // no zero at all
    const std::string record = RawRecord(0, "/x/\xE9t\xE9.qlb", "Caf\xC3\xA9");
    const FavoritesContent content = ParseFavorites(header + record);
    EXPECT_EQ(content.root_title, std::string(256, 'R'));
    ASSERT_EQ(content.records.size(), 1U);
    EXPECT_EQ(content.records[0].file_name, "/x/\xC3\xA9t\xC3\xA9.qlb");
    EXPECT_EQ(content.records[0].title, "Caf\xC3\xA9");
}

TEST(FavoritesReaderTest, AtMostTheLimitOfRecordsIsRead) {
    std::string bytes = RawHeader(4001);
    for (int i = 0; i < 4001; ++i) bytes += RawRecord(0, "", "a");
    EXPECT_EQ(ParseFavorites(bytes).records.size(), kMaxRecords);
}

TEST_F(FavoritesFileTest, EditorRoundTripKeepsFoldersSeparatorsAndPlaceholders) {
    const std::vector<FavoriteRecord> records = {
        {0, "/n/a.qlb", "a.qlb"},           {0, "", "Work"},  {1, "/n/b.qlb", "b & c"},
        {1, "", "[-- Separator --]"},       {1, "", "Empty"}, {2, "", "[Empty]"},
        {0, "/n/\xC3\xA9.qlb", "\xC3\xA9"},
    };
    ASSERT_EQ(WriteFavoritesFromEditor(file_, "Mine", records), ReplaceStatus::Ok);
    const FavoritesContent back = ReadFavoritesForEditor(file_);
    EXPECT_EQ(back.status, FavoritesStatus::Ok);
    EXPECT_EQ(back.root_title, "Mine");
    EXPECT_EQ(back.records, records);
    EXPECT_EQ(FileBytes(file_).size(), 276U + 516U * records.size());

    const std::vector<MenuEntry> menu = MenuEntries(back.records, markers_);
    ASSERT_EQ(menu.size(), 3U);
    EXPECT_EQ(menu[1].kind, MenuEntry::Kind::Folder);
    ASSERT_EQ(menu[1].entries.size(), 3U);
    EXPECT_EQ(menu[1].entries[1].kind, MenuEntry::Kind::Separator);
    EXPECT_EQ(menu[1].entries[2].entries.at(0).kind, MenuEntry::Kind::Placeholder);
    EXPECT_EQ(menu[2].path, "/n/\xC3\xA9.qlb");

    ASSERT_EQ(WriteFavoritesFromEditor(file_, "Other", {}, WriteFaults{false, 10, false, false}),
              ReplaceStatus::WriteFailed);
    EXPECT_EQ(ReadFavoritesForEditor(file_).records, records);
}

TEST(FavoritesMenuTest, TheAccessKeyAvoidsTheOtherMenusKeys) {
    struct Case {
        const char* title;
        const char32_t* taken;
        const char* caption;
    };
    const char32_t* main_menu = U"FESNVH";
    const Case cases[] = {
        {"Favorites", main_menu, "F&avorites"},
        {"File", main_menu, "F&ile"},
        {"fav", main_menu, "f&av"},
        {"X", main_menu, "X"},
        {"FE", main_menu, "FE"},
        {"A&B", main_menu, "&A&&B"},
        {"&&x", U"A", "&&&&x"},
        {"\xC3\xA9t\xC3\xA9", U"\xC9", "\xC3\xA9&t\xC3\xA9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(CaptionWithAccessKey(c.title, c.taken), c.caption);
    }
    EXPECT_EQ(AccessKeyOf("&File"), U'F');
    EXPECT_EQ(AccessKeyOf("Fa&&b&c"), U'C');
    EXPECT_EQ(AccessKeyOf("None"), U'\0');
}

}  // namespace
}  // namespace quillora::favorites
