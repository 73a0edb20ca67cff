#include "settings/settings_schema.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace quillora {
namespace {

namespace fs = std::filesystem;
namespace keys = settings_keys;

// --- Colour texts ---------------------------------------------------------------------------

std::vector<Color> NamedColors() {
    std::vector<Color> all = {colors::kBlack,  colors::kMaroon,  colors::kGreen, colors::kOlive,
                              colors::kNavy,   colors::kPurple,  colors::kTeal,  colors::kGray,
                              colors::kSilver, colors::kRed,     colors::kLime,  colors::kYellow,
                              colors::kBlue,   colors::kFuchsia, colors::kAqua,  colors::kWhite,
                              colors::kNone};
    for (uint32_t n = 0; n <= 24; ++n) all.push_back(Color::System(n));
    return all;
}

TEST(ColorText, WritesNamesWhereTheyExistElseEightUpperCaseHexDigits) {
    EXPECT_EQ(ColorToText(colors::kWhite), "clWhite");
    EXPECT_EQ(ColorToText(Color::FromRgb(0x12, 0x34, 0x56)), "$00563412");
    EXPECT_EQ(ColorToText(Color{0xABCDEF}), "$00ABCDEF");
    EXPECT_EQ(ColorToText(Color{0x0000FF}), "clRed");
    EXPECT_EQ(ColorToText(Color{0x800000}), "clNavy");
    EXPECT_EQ(ColorToText(colors::kWindow), "clWindow");
    EXPECT_EQ(ColorToText(Color{0x80000000}), "clScrollBar");
    EXPECT_EQ(ColorToText(Color{0x80000008}), "clWindowText");
    EXPECT_EQ(ColorToText(Color{0x80000018}), "clInfoBk");
    EXPECT_EQ(ColorToText(Color{0x80000019}), "$80000019");
    EXPECT_EQ(ColorToText(Color{0x1FFFFFFF}), "clNone");
    EXPECT_EQ(ColorToText(Color{0xFFFFFFFF}), "$FFFFFFFF");
}

TEST(ColorText, EveryNameRoundTrips) {
    std::vector<Color> all = NamedColors();
    ASSERT_EQ(all.size(), 42u);
    for (Color color : all) {
        std::string text = ColorToText(color);
        EXPECT_EQ(text.rfind("cl", 0), 0u) << text;
        EXPECT_EQ(ColorFromText(text), color) << text;
    }
}

TEST(ColorText, NumbersRoundTrip) {
    for (uint32_t value : {0x000001u, 0x563412u, 0x00FFFFFEu, 0x12345678u, 0x80000030u, 0xFFFFFFFFu,
                           0x7FFFFFFFu, 0x1FFFFFFEu}) {
        EXPECT_EQ(ColorFromText(ColorToText(Color{value})), Color{value}) << value;
    }
}

TEST(ColorText, ReadsNamesAndNumbers) {
    struct Case {
        const char* text;
        uint32_t value;
    } cases[] = {
        {"clWhite", 0xFFFFFF},       {"CLWHITE", 0xFFFFFF},
        {"clwindow", 0x80000005},    {"255", 0x0000FF},
        {"+255", 0x0000FF},          {"0", 0},
        {"-2147483643", 0x80000005}, {"-1", 0xFFFFFFFF},
        {"4294967295", 0xFFFFFFFF},  {"-2147483648", 0x80000000},
        {"$00563412", 0x563412},     {"$ff", 0xFF},
        {"0xFF0000", 0xFF0000},      {"0X10", 0x10},
        {"$000000000FF", 0xFF},      {"-$10", 0xFFFFFFF0},
        {"536870911", 0x1FFFFFFF},
    };
    for (const Case& c : cases) EXPECT_EQ(ColorFromText(c.text), Color{c.value}) << c.text;
}

TEST(ColorText, RejectsEverythingElse) {
    for (const char* text :
         {"",           "clWhit",      "White",      "red", "$",     "0x",  "+",
          "-",          "--1",         "12a",        "$1G", "0x1G",  " 12", "12 ",
          "4294967296", "-2147483649", "$100000000", "1e3", "0b101", "$-1"}) {
        EXPECT_EQ(ColorFromText(text), std::nullopt) << text;
    }
}

TEST(ColorText, CustomColorSlots) {
    EXPECT_EQ(CustomColorToText(std::nullopt), "FFFFFFFF");
    EXPECT_EQ(CustomColorToText(Color{0x563412}), "563412");
    EXPECT_EQ(CustomColorToText(Color{0x0000FF}), "0000FF");
    EXPECT_EQ(CustomColorFromText("FFFFFFFF"), std::nullopt);
    EXPECT_EQ(CustomColorFromText(""), std::nullopt);
    EXPECT_EQ(CustomColorFromText("xyz"), std::nullopt);
    EXPECT_EQ(CustomColorFromText("123456789"), std::nullopt);
    EXPECT_EQ(CustomColorFromText("563412"), Color{0x563412});
    EXPECT_EQ(CustomColorFromText("ff"), Color{0xFF});
}

// --- Schema over a settings file ------------------------------------------------------------

class SettingsSchemaTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quillora-schema-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        file_.emplace((folder_ / "Quillora.ini").string());
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    void Put(const std::string& bytes) {
        std::ofstream(file_->Path(), std::ios::binary | std::ios::trunc) << bytes;
    }
    std::string Bytes() const {
        std::ifstream in(file_->Path(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path folder_;
    std::optional<ProfileFile> file_;
};

TEST_F(SettingsSchemaTest, FirstStartWithoutAFileUsesTheDefaults) {
    const ProfileFile& file = *file_;
    EXPECT_FALSE(ReadFlag(file, keys::kMultipleCopies));
    EXPECT_FALSE(ReadFlag(file, keys::kUseTrayIcon));
    EXPECT_EQ(ReadText(file, keys::kLanguagePack), "");
    EXPECT_TRUE(ReadFlag(file, keys::kShowSplash));
    EXPECT_TRUE(ReadFlag(file, keys::kShowToolBar));
    EXPECT_TRUE(ReadFlag(file, keys::kShowStatusBar));
    EXPECT_TRUE(ReadFlag(file, keys::kShowHints));
    EXPECT_FALSE(ReadFlag(file, keys::kAlwaysOnTop));
    EXPECT_TRUE(ReadFlag(file, keys::kWordWrap));
    EXPECT_FALSE(ReadFlag(file, keys::kReOpenLastFile));
    EXPECT_FALSE(ReadFlag(file, keys::kHideReOpen));
    EXPECT_TRUE(ReadFlag(file, keys::kFlatToolBarButtons));
    EXPECT_EQ(ReadText(file, keys::kDefaultOpenDir), "\\");
    EXPECT_EQ(ReadText(file, keys::kDefaultSaveDir), "\\");
    EXPECT_TRUE(ReadFlag(file, keys::kFEToolBar));
    EXPECT_TRUE(ReadFlag(file, keys::kFEStatusBar));
    EXPECT_EQ(ReadIntSetting(file, keys::kNotesListWidth), 121);
    EXPECT_EQ(ReadIntSetting(file, keys::kFolderImage), 3);
    EXPECT_EQ(ReadIntSetting(file, keys::kOpenedFolderImage), 4);
    EXPECT_EQ(ReadIntSetting(file, keys::kNoteImage), 5);
    EXPECT_TRUE(ReadFlag(file, keys::kLines));
    EXPECT_TRUE(ReadFlag(file, keys::kButtons));

    Appearance notes = ReadAppearance(file, keys::kNotesEditorAppearance);
    EXPECT_EQ(notes.background, colors::kBlue);
    EXPECT_EQ(notes.font_color, colors::kWhite);
    Appearance folder = ReadAppearance(file, keys::kFolderEditorAppearance);
    EXPECT_EQ(folder.background, colors::kYellow);
    EXPECT_EQ(folder.font_color, colors::kBlack);
    Appearance tree = ReadAppearance(file, keys::kNotesListAppearance);
    EXPECT_EQ(tree.background, colors::kWindow);
    EXPECT_EQ(tree.font_color, colors::kBlack);
    for (const Appearance& look : {notes, folder, tree}) {
        EXPECT_EQ(look.font_name, "MS Sans Serif");
        EXPECT_EQ(look.font_size, 8);
        EXPECT_FALSE(look.bold || look.italic || look.underline || look.strike_out);
    }

    for (int slot = 0; slot < keys::kCustomColorCount; ++slot) {
        EXPECT_EQ(ReadText(file, keys::CustomColor(slot)), "FFFFFFFF");
    }
    for (int n = 1; n <= keys::kCustomImageCount; ++n) {
        EXPECT_EQ(ReadText(file, keys::CustomImageFile(n)), "");
        EXPECT_EQ(ReadColor(file, keys::CustomImageColor(n)), colors::kNone);
    }
    for (int n = 0; n < keys::kHistoryCount; ++n)
        EXPECT_EQ(ReadText(file, keys::HistoryFile(n)), "");
    EXPECT_FALSE(fs::exists(file.Path()));
}

TEST_F(SettingsSchemaTest, ComputedDefaults) {
    DefaultContext context;
    context.screen = {1366, 767};
    EXPECT_EQ(ReadIntSetting(*file_, keys::kLeft, context), 341);
    EXPECT_EQ(ReadIntSetting(*file_, keys::kTop, context), 191 - 30);
    EXPECT_EQ(ReadIntSetting(*file_, keys::kWidth, context), 683);
    EXPECT_EQ(ReadIntSetting(*file_, keys::kHeight, context), 383 + 60);

    context.main_window = {100, 50, 800, 600};
    EXPECT_EQ(ReadIntSetting(*file_, keys::kFELeft, context), 116);
    EXPECT_EQ(ReadIntSetting(*file_, keys::kFETop, context), 66);
    EXPECT_EQ(ReadIntSetting(*file_, keys::kFEWidth, context), 768);
    EXPECT_EQ(ReadIntSetting(*file_, keys::kFEHeight, context), 568);

    EXPECT_EQ(ReadText(*file_, keys::kDefaultExportDir, context), "\\");
    context.documents_folder = "/home/ann/Documents";
    EXPECT_EQ(ReadText(*file_, keys::kDefaultExportDir, context), "/home/ann/Documents");

    Put("[Main]\r\nLeft=7\r\nDefaultExportDir=/srv/out\r\n");
    EXPECT_EQ(ReadIntSetting(*file_, keys::kLeft, context), 7);
    EXPECT_EQ(ReadText(*file_, keys::kDefaultExportDir, context), "/srv/out");
}

TEST_F(SettingsSchemaTest, FlagsAreIntegersWhereNonzeroMeansOn) {
    Put("[Main]\r\nShowSplash=0\r\nUseTrayIcon=2\r\nMultipleCopies=-1\r\nShowHints=yes\r\n"
        "ShowToolBar=\r\nfestatusbar=0\r\n");
    EXPECT_FALSE(ReadFlag(*file_, keys::kShowSplash));
    EXPECT_TRUE(ReadFlag(*file_, keys::kUseTrayIcon));
    EXPECT_TRUE(ReadFlag(*file_, keys::kMultipleCopies));
    EXPECT_FALSE(ReadFlag(*file_, keys::kShowHints));   // text that is no number reads 0
    EXPECT_TRUE(ReadFlag(*file_, keys::kShowToolBar));  // empty reads the default
    EXPECT_FALSE(ReadFlag(*file_, keys::kFEStatusBar));
}

TEST_F(SettingsSchemaTest, InvalidColourTextGivesTheDefault) {
    Put("[NotesEditor]\r\nBGColor=clNoSuchColour\r\nFontColor=\r\n"
        "[FolderEditor]\r\nBGColor=255\r\nFontColor=$00563412\r\n"
        "[NotesList]\r\nBGColor=-2147483643\r\nFontColor=0x0000FF00\r\n"
        "[CustomImages]\r\nColor1=\r\nColor2=clFuchsia\r\nColor3=$\r\n");
    EXPECT_EQ(ReadColor(*file_, keys::kNotesEditorAppearance.background), colors::kBlue);
    EXPECT_EQ(ReadColor(*file_, keys::kNotesEditorAppearance.font_color), colors::kWhite);
    EXPECT_EQ(ReadColor(*file_, keys::kFolderEditorAppearance.background), colors::kRed);
    EXPECT_EQ(ReadColor(*file_, keys::kFolderEditorAppearance.font_color),
              Color::FromRgb(0x12, 0x34, 0x56));
    EXPECT_EQ(ReadColor(*file_, keys::kNotesListAppearance.background), colors::kWindow);
    EXPECT_EQ(ReadColor(*file_, keys::kNotesListAppearance.font_color), colors::kLime);
    EXPECT_EQ(ReadColor(*file_, keys::CustomImageColor(1)), colors::kNone);
    EXPECT_EQ(ReadColor(*file_, keys::CustomImageColor(2)), colors::kFuchsia);
    EXPECT_EQ(ReadColor(*file_, keys::CustomImageColor(3)), colors::kNone);
}

TEST_F(SettingsSchemaTest, ValuesNoWindowCanShowReadAsTheDefault) {
    Put("[NotesEditor]\r\nBGColor=$80000019\r\nFontColor=$01000000\r\nFontSize=0\r\n"
        "[FolderEditor]\r\nBGColor=$80000018\r\nFontColor=clNone\r\nFontSize=1638\r\n"
        "[NotesList]\r\nFontSize=1639\r\n");
    const Appearance note = ReadAppearance(*file_, keys::kNotesEditorAppearance);
    EXPECT_EQ(note.background, colors::kBlue);
    EXPECT_EQ(note.font_color, colors::kWhite);
    EXPECT_EQ(note.font_size, 8);
    const Appearance folder = ReadAppearance(*file_, keys::kFolderEditorAppearance);
    EXPECT_EQ(folder.background, colors::kInfoBk);
    EXPECT_EQ(folder.font_color, colors::kNone);
    EXPECT_EQ(folder.font_size, 1638);
    EXPECT_EQ(ReadAppearance(*file_, keys::kNotesListAppearance).font_size, 8);
}

TEST_F(SettingsSchemaTest, WritesUseTheValueEncodings) {
    WriteFlag(*file_, keys::kShowSplash, false);
    WriteFlag(*file_, keys::kWordWrap, true);
    WriteInt(*file_, keys::kLeft, -8);
    WriteText(*file_, keys::kReOpenFile, "");
    WriteColor(*file_, keys::kNotesEditorAppearance.background, colors::kWhite);
    WriteColor(*file_, keys::kNotesEditorAppearance.font_color, Color::FromRgb(0x12, 0x34, 0x56));
    EXPECT_EQ(Bytes(),
              "[Main]\r\nShowSplash=0\r\nWordWrap=1\r\nLeft=-8\r\nReOpenFile=\r\n"
              "[NotesEditor]\r\nBGColor=clWhite\r\nFontColor=$00563412\r\n");
}

TEST_F(SettingsSchemaTest, AppearanceRoundTripsInTheDialogOrder) {
    Appearance look;
    look.background = Color{0x102030};
    look.font_name = "DejaVu Sans";
    look.font_size = 11;
    look.font_color = colors::kWindowText;
    look.italic = true;
    look.strike_out = true;
    ASSERT_TRUE(WriteAppearance(*file_, keys::kFolderEditorAppearance, look));
    EXPECT_EQ(Bytes(),
              "[FolderEditor]\r\nBGColor=$00102030\r\nFontName=DejaVu Sans\r\nFontSize=11\r\n"
              "FontColor=clWindowText\r\nBold=0\r\nItalic=1\r\nUnderline=0\r\nStrikeOut=1\r\n");
    Appearance back = ReadAppearance(*file_, keys::kFolderEditorAppearance);
    EXPECT_EQ(back.background, look.background);
    EXPECT_EQ(back.font_name, look.font_name);
    EXPECT_EQ(back.font_size, look.font_size);
    EXPECT_EQ(back.font_color, look.font_color);
    EXPECT_EQ(std::vector<bool>({back.bold, back.italic, back.underline, back.strike_out}),
              std::vector<bool>({false, true, false, true}));
    // The other pane keeps its own defaults.
    EXPECT_EQ(ReadAppearance(*file_, keys::kNotesEditorAppearance).background, colors::kBlue);
}

TEST_F(SettingsSchemaTest, NumberedKeys) {
    EXPECT_STREQ(keys::CustomColor(0).key, "ColorA");
    EXPECT_STREQ(keys::CustomColor(15).key, "ColorP");
    EXPECT_STREQ(keys::CustomColor(99).key, "ColorP");
    EXPECT_STREQ(keys::HistoryFile(0).key, "File0");
    EXPECT_STREQ(keys::HistoryFile(9).key, "File9");
    EXPECT_STREQ(keys::HistoryFile(-1).key, "File0");
    EXPECT_STREQ(keys::CustomImageFile(1).key, "Image1");
    EXPECT_STREQ(keys::CustomImageColor(3).key, "Color3");

    // The custom image files are not the image indexes of the tree, though both say "Image1".
    WriteText(*file_, keys::CustomImageFile(1), "/home/ann/folder.bmp");
    WriteInt(*file_, keys::kFolderImage, 9);
    EXPECT_EQ(ReadText(*file_, keys::CustomImageFile(1)), "/home/ann/folder.bmp");
    EXPECT_EQ(ReadIntSetting(*file_, keys::kFolderImage), 9);
}

TEST_F(SettingsSchemaTest, ClearingTheHistoryKeepsEverythingElse) {
    for (int n = 0; n < keys::kHistoryCount; ++n) {
        WriteText(*file_, keys::HistoryFile(n), "/notes/" + std::to_string(n) + ".qlb");
    }
    WriteFlag(*file_, keys::kHideReOpen, true);
    ASSERT_TRUE(file_->EraseSection(keys::kHistory));
    EXPECT_EQ(Bytes(), "[Main]\r\nHideReOpen=1\r\n");
    EXPECT_EQ(ReadText(*file_, keys::HistoryFile(0)), "");
}

TEST(WindowPlace, AWindowOffEveryScreenIsBroughtBackOntoTheFirst) {
    const std::vector<WindowRect> screens = {{0, 0, 1280, 1024}, {1280, 0, 1024, 768}};
    struct Case {
        const char* name;
        WindowRect stored, placed;
    };
    const Case cases[] = {
        {"on the first screen", {40, 50, 500, 350}, {40, 50, 500, 350}},
        {"on the second screen", {1500, 100, 500, 350}, {1500, 100, 500, 350}},
        {"partly off, its top still to be grabbed", {-300, 900, 500, 350}, {-300, 900, 500, 350}},
        {"far right", {9000, 100, 500, 350}, {780, 100, 500, 350}},
        {"far up and left", {-4000, -3000, 500, 350}, {0, 0, 500, 350}},
        {"below the second screen", {1500, 800, 500, 350}, {780, 674, 500, 350}},
        {"only its bottom edge shows", {100, -340, 500, 350}, {100, 0, 500, 350}},
        {"larger than the screen", {5000, 5000, 4000, 3000}, {0, 0, 1280, 1024}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const WindowRect got = PlaceOnScreens(c.stored, screens);
        EXPECT_EQ(got.left, c.placed.left);
        EXPECT_EQ(got.top, c.placed.top);
        EXPECT_EQ(got.width, c.placed.width);
        EXPECT_EQ(got.height, c.placed.height);
    }
    // Without a known screen the place is kept.
    EXPECT_EQ(PlaceOnScreens({9000, 9000, 10, 10}, {}).left, 9000);
}

TEST(SettingsFolders, RootFolderMeansHome) {
    EXPECT_EQ(FolderFromSetting("\\", "/home/ann"), "/home/ann");
    EXPECT_EQ(FolderFromSetting("/srv/notes", "/home/ann"), "/srv/notes");
    EXPECT_EQ(FolderFromSetting("", "/home/ann"), "");
}

}  // namespace
}  // namespace quillora
