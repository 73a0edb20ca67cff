#include "settings/profile_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace quillora {
namespace {

namespace fs = std::filesystem;
using profile_text::FindValue;
using std::string_literals::operator""s;

// --- Reading a text -------------------------------------------------------------------------

struct ReadCase {
    const char* what;
    std::string text;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

class ProfileTextReadTest : public testing::TestWithParam<ReadCase> {};

TEST_P(ProfileTextReadTest, FindsTheValue) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(FindValue(c.text, c.section, c.key), c.expected) << c.what;
}

const std::optional<std::string> kMissing = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Parsing, ProfileTextReadTest,
    testing::Values(
        ReadCase{"CR LF line ends", "[Main]\r\na=1\r\nb=2\r\n", "Main", "b", "2"},
        ReadCase{"LF line ends", "[Main]\na=1\nb=2\n", "Main", "b", "2"},
        ReadCase{"CR line ends", "[Main]\ra=1\rb=2", "Main", "b", "2"},
        ReadCase{"runs of breaks and blank lines", "\r\n\n[Main]\r\r\n\n  \t\r\nb=2", "Main", "b",
                 "2"},
        ReadCase{"lines trimmed of every blank kind",
                 " \t[ Main ] \x1a\r\n\v\f key \t= \t value \x1a\t\r\n", "Main", "key", "value"},
        ReadCase{"0x1A alone is a blank line", "[Main]\r\n\x1a\r\nk=v", "Main", "k", "v"},
        ReadCase{"section name runs to the last ]", "[a]b]c\r\nk=v\r\n", "a]b", "k", "v"},
        ReadCase{"text after the last ] ignored", "[Main] trailing\r\nk=v\r\n", "Main", "k", "v"},
        ReadCase{"[ without ] is an ordinary line", "[Main]\r\n[odd=1\r\nk=v\r\n", "Main", "k",
                 "v"},
        ReadCase{"[ without ] is a key line", "[Main]\r\n[odd=1\r\n", "Main", "[odd", "1"},
        ReadCase{"lines before the first header are unreachable", "k=v\r\n[Main]\r\n", "Main", "k",
                 kMissing},
        ReadCase{"empty section name unreachable", "k=v\r\n", "", "k", kMissing},
        ReadCase{"[] section unreachable", "[]\r\nk=v\r\n", "", "k", kMissing},
        ReadCase{"splits at the first =", "[Main]\r\na = b = c\r\n", "Main", "a", "b = c"},
        ReadCase{"line without = gives no value", "[Main]\r\nflag\r\n", "Main", "flag", kMissing},
        ReadCase{"k= is an empty value", "[Main]\r\nk=\r\n", "Main", "k", ""},
        ReadCase{"no inline comments", "[Main]\r\nk=v ; x\r\n", "Main", "k", "v ; x"},
        ReadCase{"comment line is not the key", "[Main]\r\n;k=1\r\nk=2\r\n", "Main", "k", "2"},
        ReadCase{"comment line is an ordinary key line", "[Main]\r\n;k=1\r\n", "Main", ";k", "1"},
        ReadCase{"section names ignore case", "[mAiN]\r\nk=v\r\n", "MAIN", "k", "v"},
        ReadCase{"key names ignore case", "[Main]\r\nFEStatusBar=0\r\n", "Main", "FEStatusbar",
                 "0"},
        ReadCase{"asked names are trimmed", "[Main]\r\nk=v\r\n", " Main\t", " k ", "v"},
        ReadCase{"first section of a name is searched", "[A]\r\nx=1\r\n[a]\r\nx=2\r\ny=3\r\n", "A",
                 "y", kMissing},
        ReadCase{"first section wins", "[A]\r\nx=1\r\n[a]\r\nx=2\r\n", "a", "x", "1"},
        ReadCase{"first key wins", "[A]\r\nk=1\r\nK=2\r\n", "A", "k", "1"},
        ReadCase{"keys of the next section are not found", "[A]\r\n[B]\r\nk=1\r\n", "A", "k",
                 kMissing},
        ReadCase{"double quotes stripped", "[A]\r\nk=\"a b\"\r\n", "A", "k", "a b"},
        ReadCase{"single quotes stripped", "[A]\r\nk='a b'\r\n", "A", "k", "a b"},
        ReadCase{"quotes keep inner blanks", "[A]\r\nk=\" a \"\r\n", "A", "k", " a "},
        ReadCase{"mixed quotes kept", "[A]\r\nk=\"ab'\r\n", "A", "k", "\"ab'"},
        ReadCase{"a lone quote kept", "[A]\r\nk=\"\r\n", "A", "k", "\""},
        ReadCase{"empty quotes give empty", "[A]\r\nk=\"\"\r\n", "A", "k", ""},
        ReadCase{"only one pair stripped", "[A]\r\nk=\"\"x\"\"\r\n", "A", "k", "\"x\""},
        ReadCase{"NUL bytes are ordinary", "[A]\r\nk=a\0b\r\n"s, "A", "k", "a\0b"s},
        ReadCase{"last line without a break", "[A]\r\nk=v", "A", "k", "v"},
        ReadCase{"empty text", "", "A", "k", kMissing},
        ReadCase{"missing section", "[A]\r\nk=v\r\n", "B", "k", kMissing},
        ReadCase{"empty key unreachable", "[A]\r\n=v\r\n", "A", "", kMissing}),
    [](const testing::TestParamInfo<ReadCase>& info) {
        std::string name;
        for (char c : std::string(info.param.what)) {
            if (std::isalnum(static_cast<unsigned char>(c))) name += c;
        }
        return name + "_" + std::to_string(info.index);
    });

TEST(ProfileTextRead, DefaultsLoseTrailingBlanks) {
    EXPECT_EQ(profile_text::ReadString("", "A", "k", "abc \t "), "abc");
    EXPECT_EQ(profile_text::ReadString("", "A", "k", ""), "");
    EXPECT_EQ(profile_text::ReadString("[A]\r\nk\r\n", "A", "k", "dflt"), "dflt");
    EXPECT_EQ(profile_text::ReadString("[A]\r\nk=\r\n", "A", "k", "dflt"), "");
}

// --- Integers -------------------------------------------------------------------------------

TEST(ProfileTextInt, ParsesLikeTheIntegerReader) {
    struct Case {
        const char* text;
        int expected;
    } cases[] = {
        {"1", 1},
        {"+1", 1},
        {"-1", -1},
        {"4294967297", 1},
        {"42A9", 42},
        {"B42", 0},
        {"0x1F", 31},
        {"0X1f", 31},
        {"-0x10", -16},
        {"0x", 0},
        {"0xG", 0},
        {"-", 0},
        {"+-1", 0},
        {"007", 7},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MIN},
        {"4294967295", -1},
        {"1 2", 1},
        {"99999999999999999999", 1661992959},
    };
    for (const Case& c : cases) EXPECT_EQ(profile_text::ParseInt(c.text), c.expected) << c.text;
}

TEST(ProfileTextInt, EmptyOrMissingGivesTheDefault) {
    const std::string text =
        "[A]\r\nempty=\r\nbare\r\nquoted=\"12\"\r\nletters=B42\r\nsp=  7  \r\n"
        "emptyquotes=\"\"\r\n";
    EXPECT_EQ(profile_text::ReadInt(text, "A", "missing", 9), 9);
    EXPECT_EQ(profile_text::ReadInt(text, "B", "x", 9), 9);
    EXPECT_EQ(profile_text::ReadInt(text, "A", "empty", 9), 9);
    EXPECT_EQ(profile_text::ReadInt(text, "A", "bare", 9), 9);
    EXPECT_EQ(profile_text::ReadInt(text, "A", "emptyquotes", 9), 9);
    EXPECT_EQ(profile_text::ReadInt(text, "A", "quoted", 9), 12);
    EXPECT_EQ(profile_text::ReadInt(text, "A", "letters", 9), 0);
    EXPECT_EQ(profile_text::ReadInt(text, "A", "sp", 9), 7);
}

// --- Writing a text -------------------------------------------------------------------------

std::string Set(std::string_view text, std::string_view section, std::string_view key,
                std::string_view value) {
    std::optional<std::string> out = profile_text::WithValue(text, section, key, value);
    EXPECT_TRUE(out.has_value());
    return out.value_or("<refused>");
}

TEST(ProfileTextWrite, NewTextIsCrLfWithoutSpaces) {
    EXPECT_EQ(Set("", "Main", "Left", "100"), "[Main]\r\nLeft=100\r\n");
    EXPECT_EQ(Set("", " Main ", " Left ", "  100 "), "[Main]\r\nLeft=100 \r\n");
    EXPECT_EQ(Set("", "Main", "ReOpenFile", ""), "[Main]\r\nReOpenFile=\r\n");
}

TEST(ProfileTextWrite, ReplacingKeepsEveryOtherByte) {
    const std::string before =
        "; settings\n"
        "\r\n"
        "[Main]  \r\n"
        "  Left = 10 \r"
        "Top=20\n"
        "\n"
        "; note\r\n"
        "[Other]\r\n"
        "Left=30";
    const std::string after =
        "; settings\n"
        "\r\n"
        "[Main]  \r\n"
        "Left=55\r"
        "Top=20\n"
        "\n"
        "; note\r\n"
        "[Other]\r\n"
        "Left=30";
    EXPECT_EQ(Set(before, "main", "LEFT", "55"), after);
}

TEST(ProfileTextWrite, ReplacingKeepsTheKeySpellingOfTheFile) {
    EXPECT_EQ(Set("[A]\r\nFEStatusbar=1\r\n", "A", "FEStatusBar", "0"), "[A]\r\nFEStatusbar=0\r\n");
    EXPECT_EQ(Set("[A]\r\nflag\r\n", "A", "FLAG", "1"), "[A]\r\nflag=1\r\n");
}

TEST(ProfileTextWrite, DuplicatesChangeOnlyTheFirstMatch) {
    EXPECT_EQ(Set("[A]\r\nk=1\r\nk=2\r\n[a]\r\nk=3\r\n", "A", "k", "9"),
              "[A]\r\nk=9\r\nk=2\r\n[a]\r\nk=3\r\n");
}

TEST(ProfileTextWrite, NewKeyGoesAfterTheLastEntryOfItsSection) {
    struct Case {
        const char* what;
        std::string before;
        std::string after;
    } cases[] = {
        {"before blank lines", "[A]\r\nx=1\r\n\r\n\r\n[B]\r\ny=2\r\n",
         "[A]\r\nx=1\r\nk=v\r\n\r\n\r\n[B]\r\ny=2\r\n"},
        {"after a trailing comment", "[A]\r\nx=1\r\n; end of A\r\n[B]\r\n",
         "[A]\r\nx=1\r\n; end of A\r\nk=v\r\n[B]\r\n"},
        {"empty section", "[A]\r\n\r\n[B]\r\n", "[A]\r\nk=v\r\n\r\n[B]\r\n"},
        {"header without a break", "[A]", "[A]\r\nk=v\r\n"},
        {"last line without a break", "[A]\nx=1", "[A]\nx=1\r\nk=v\r\n"},
        {"last line with a lone CR", "[A]\rx=1\r", "[A]\rx=1\rk=v\r\n"},
        {"first of duplicate sections", "[A]\r\nx=1\r\n[a]\r\ny=2\r\n",
         "[A]\r\nx=1\r\nk=v\r\n[a]\r\ny=2\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(Set(c.before, "A", "k", "v"), c.after) << c.what;
}

TEST(ProfileTextWrite, NewSectionGoesAtTheEndWithoutABlankLine) {
    EXPECT_EQ(Set("[A]\r\nx=1\r\n", "B", "k", "v"), "[A]\r\nx=1\r\n[B]\r\nk=v\r\n");
    EXPECT_EQ(Set("[A]\r\nx=1", "B", "k", "v"), "[A]\r\nx=1\r\n[B]\r\nk=v\r\n");
    EXPECT_EQ(Set("[A]\r\nx=1\r\n\r\n", "B", "k", "v"), "[A]\r\nx=1\r\n\r\n[B]\r\nk=v\r\n");
    EXPECT_EQ(Set("; only a comment\n", "B", "k", "v"), "; only a comment\n[B]\r\nk=v\r\n");
    // Lines before the first header are no section of an empty name.
    EXPECT_EQ(Set("k=1\r\n", "A", "k", "v"), "k=1\r\n[A]\r\nk=v\r\n");
}

TEST(ProfileTextWrite, RefusesNamesAndValuesThatWouldChangeOtherLines) {
    struct Case {
        const char* what;
        std::string section;
        std::string key;
        std::string value;
    } cases[] = {
        {"empty section", "", "k", "v"},     {"blank section", " \t", "k", "v"},
        {"empty key", "A", "", "v"},         {"blank key", "A", "  ", "v"},
        {"= in key", "A", "a=b", "v"},       {"key opening a header", "A", "[B]", "v"},
        {"LF in value", "A", "k", "v\n[B]"}, {"CR in value", "A", "k", "v\rk2=x"},
        {"LF in key", "A", "k\nx", "v"},     {"CR in section", "A\r", "k", "v"},
        {"NUL in value", "A", "k", "a\0b"s},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(profile_text::IsWritable(c.section, c.key, c.value)) << c.what;
        EXPECT_FALSE(profile_text::WithValue("[A]\r\nk=1\r\n", c.section, c.key, c.value))
            << c.what;
    }
}

TEST(ProfileTextWrite, WrittenValuesReadBack) {
    const std::string values[] = {
        "plain",       "a = b", "v ; x", "trailing  ", "[x]", "\\", "C:\\My Documents",
        "caf\xc3\xa9", ";",     "=",     "'q'"};
    std::string text = "; keep\r\n[A]\r\nother=1\r\n";
    for (const std::string& value : values) {
        text = Set(text, "Section", "Key", value);
        std::string expected(value);
        while (!expected.empty() && expected.back() == ' ') expected.pop_back();
        if (expected == "'q'") expected = "q";
        EXPECT_EQ(FindValue(text, "Section", "Key"), expected) << value;
        EXPECT_EQ(FindValue(text, "A", "other"), "1");
    }
    EXPECT_EQ(Set("", "a]b", "k", "v"), "[a]b]\r\nk=v\r\n");
    EXPECT_EQ(FindValue("[a]b]\r\nk=v\r\n", "a]b", "k"), "v");
}

TEST(ProfileTextWrite, DeletingAKeyRemovesItsLinesOnly) {
    const std::string text = "[A]\r\nx=1\r\n; c\r\nK=2\r\nk=3\r\ny=4\r\n[B]\r\nk=5\r\n";
    EXPECT_EQ(profile_text::WithoutKey(text, "a", "k"),
              "[A]\r\nx=1\r\n; c\r\ny=4\r\n[B]\r\nk=5\r\n");
    EXPECT_EQ(profile_text::WithoutKey(text, "A", "missing"), text);
    EXPECT_EQ(profile_text::WithoutKey(text, "C", "k"), text);
    EXPECT_EQ(profile_text::WithoutKey("[A]\r\nx=1\r\nk=2", "A", "k"), "[A]\r\nx=1\r\n");
    EXPECT_EQ(profile_text::WithoutKey("[A]\nk", "A", "k"), "[A]\n");
}

TEST(ProfileTextWrite, ErasingASectionRemovesItsHeaderAndLines) {
    const std::string text =
        "; top\r\n[Main]\r\nx=1\r\n[History]\r\nFile0=a\r\n; c\r\n\r\nFile1=b\r\n"
        "[Other]\r\ny=2\r\n[history]\nFile2=c";
    EXPECT_EQ(profile_text::WithoutSection(text, "HISTORY"),
              "; top\r\n[Main]\r\nx=1\r\n[Other]\r\ny=2\r\n");
    EXPECT_EQ(profile_text::WithoutSection(text, "None"), text);
    EXPECT_EQ(profile_text::WithoutSection(text, ""), text);
    EXPECT_EQ(FindValue(profile_text::WithoutSection(text, "History"), "History", "File0"),
              std::nullopt);
}

// --- The file on disk -----------------------------------------------------------------------

class ProfileFileTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quillora-profile-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(folder_, ignored);
    }

    std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

    static std::string Bytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void Put(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }
    // Runs `action` with the rights of an ordinary user, so that permissions apply even when the
    // tests run as root: then the folder is given to "nobody" and the action runs in a child
    // process under that user. None when the child could not be run.
    std::optional<bool> AsOrdinaryUser(const std::function<bool()>& action) {
        if (::geteuid() != 0) return action();
        constexpr uid_t kNobody = 65534;
        for (const auto& entry : fs::recursive_directory_iterator(folder_)) {
            if (::lchown(entry.path().c_str(), kNobody, kNobody) != 0) return std::nullopt;
        }
        if (::chown(folder_.c_str(), kNobody, kNobody) != 0) return std::nullopt;
        pid_t child = ::fork();
        if (child < 0) return std::nullopt;
        if (child == 0) {
            if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(2);
            ::_exit(action() ? 1 : 0);
        }
        int status = 0;
        if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return std::nullopt;
        if (WEXITSTATUS(status) > 1) return std::nullopt;
        return WEXITSTATUS(status) == 1;
    }

    std::vector<std::string> FolderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    fs::path folder_;
};

TEST_F(ProfileFileTest, MissingFileReadsDefaultsAndIsNotCreatedByReadsOrRemovals) {
    ProfileFile file(PathOf("Quillora.ini"));
    EXPECT_EQ(file.Path(), PathOf("Quillora.ini"));
    EXPECT_EQ(file.ReadString("Main", "LanguagePack", "none"), "none");
    EXPECT_EQ(file.ReadInt("Main", "ShowSplash", 1), 1);
    EXPECT_TRUE(file.DeleteKey("Main", "ShowSplash"));
    EXPECT_TRUE(file.EraseSection("History"));
    EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(ProfileFileTest, FirstWriteCreatesTheFile) {
    ProfileFile file(PathOf("Quillora.ini"));
    ASSERT_TRUE(file.WriteString("Main", "ShowSplash", "0"));
    ASSERT_TRUE(file.WriteString("Main", "Left", "12"));
    ASSERT_TRUE(file.WriteString("History", "File0", "/home/ann/a.qlb"));
    EXPECT_EQ(Bytes(file.Path()),
              "[Main]\r\nShowSplash=0\r\nLeft=12\r\n[History]\r\nFile0=/home/ann/a.qlb\r\n");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"Quillora.ini"});
}

TEST_F(ProfileFileTest, EveryReadGoesToTheFile) {
    ProfileFile file(PathOf("Quillora.ini"));
    ProfileFile other(PathOf("Quillora.ini"));
    Put(file.Path(), "[Main]\nWidth=1\n");
    EXPECT_EQ(file.ReadInt("Main", "Width", 0), 1);
    Put(file.Path(), "[Main]\nWidth=2\n");
    EXPECT_EQ(file.ReadInt("Main", "Width", 0), 2);
    ASSERT_TRUE(other.WriteString("Main", "Width", "3"));
    EXPECT_EQ(file.ReadInt("Main", "Width", 0), 3);
    fs::remove(file.Path());
    EXPECT_EQ(file.ReadInt("Main", "Width", 7), 7);
}

TEST_F(ProfileFileTest, WritesKeepTheRestOfTheFileByteForByte) {
    ProfileFile file(PathOf("Quillora.ini"));
    const std::string before =
        "; hand-edited\n[Main]\nLeft = 10\n\n[NotesEditor]\r\nBGColor=clBlue\r\n\r\n[History]\r\n"
        "File0=a\r\nFile1=b\r\n";
    Put(file.Path(), before);
    ASSERT_TRUE(file.WriteString("MAIN", "left", "20"));
    ASSERT_TRUE(file.WriteString("Main", "Top", "5"));
    EXPECT_EQ(Bytes(file.Path()),
              "; hand-edited\n[Main]\nLeft=20\nTop=5\r\n\n[NotesEditor]\r\nBGColor=clBlue\r\n\r\n"
              "[History]\r\nFile0=a\r\nFile1=b\r\n");
    ASSERT_TRUE(file.DeleteKey("History", "File0"));
    ASSERT_TRUE(file.EraseSection("NotesEditor"));
    EXPECT_EQ(Bytes(file.Path()),
              "; hand-edited\n[Main]\nLeft=20\nTop=5\r\n\n[History]\r\nFile1=b\r\n");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"Quillora.ini"});
}

TEST_F(ProfileFileTest, RefusedNamesLeaveTheFileAsItWas) {
    ProfileFile file(PathOf("Quillora.ini"));
    Put(file.Path(), "[Main]\r\nk=1\r\n");
    EXPECT_FALSE(file.WriteString("Main", "k", "2\r\n[Evil]\r\nx=1"));
    EXPECT_FALSE(file.WriteString("", "k", "2"));
    EXPECT_EQ(Bytes(file.Path()), "[Main]\r\nk=1\r\n");
    ProfileFile absent(PathOf("absent.ini"));
    EXPECT_FALSE(absent.WriteString("Main", "", "1"));
    EXPECT_FALSE(fs::exists(absent.Path()));
}

TEST_F(ProfileFileTest, UnwritableFolderFailsAndLeavesNoTrace) {
    ProfileFile in_missing_folder(PathOf("no-such-folder/Quillora.ini"));
    EXPECT_FALSE(in_missing_folder.WriteString("Main", "k", "v"));

    Put(PathOf("plain-file"), "x");
    ProfileFile under_a_file(PathOf("plain-file/Quillora.ini"));
    EXPECT_FALSE(under_a_file.WriteString("Main", "k", "v"));
    EXPECT_EQ(under_a_file.ReadString("Main", "k", "dflt"), "dflt");

    // The target is a folder: the rename fails, and the temporary file is removed again.
    fs::create_directory(PathOf("Quillora.ini"));
    ProfileFile on_a_folder(PathOf("Quillora.ini"));
    EXPECT_FALSE(on_a_folder.WriteString("Main", "k", "v"));
    EXPECT_EQ(on_a_folder.ReadString("Main", "k", "dflt"), "dflt");
    EXPECT_TRUE(fs::is_directory(PathOf("Quillora.ini")));
    std::vector<std::string> entries = FolderEntries();
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{"Quillora.ini", "plain-file"}));
}

TEST_F(ProfileFileTest, ReadOnlyFolderMakesWritesFailAndKeepsTheFile) {
    ProfileFile file(PathOf("Quillora.ini"));
    Put(file.Path(), "[Main]\r\nk=1\r\n");
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(AsOrdinaryUser([&] { return file.WriteString("Main", "k", "2"); }), false);
    EXPECT_EQ(AsOrdinaryUser([&] { return file.WriteString("Main", "new", "2"); }), false);
    EXPECT_EQ(AsOrdinaryUser([&] { return file.EraseSection("Main"); }), false);
    EXPECT_EQ(AsOrdinaryUser([&] { return file.WriteString("Main", "k", "1"); }), true);
    fs::permissions(folder_, fs::perms::owner_all);
    EXPECT_EQ(Bytes(file.Path()), "[Main]\r\nk=1\r\n");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"Quillora.ini"});
}

TEST_F(ProfileFileTest, UnreadableFileIsNeverOverwritten) {
    ProfileFile file(PathOf("Quillora.ini"));
    Put(file.Path(), "[Main]\r\nk=1\r\n");
    fs::permissions(file.Path(), fs::perms::owner_write);
    EXPECT_EQ(AsOrdinaryUser([&] { return file.ReadString("Main", "k", "unread") == "unread"; }),
              true);
    EXPECT_EQ(AsOrdinaryUser([&] { return file.WriteString("Main", "other", "2"); }), false);
    fs::permissions(file.Path(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Bytes(file.Path()), "[Main]\r\nk=1\r\n");
}

TEST_F(ProfileFileTest, WriteKeepsPermissionsAndSymbolicLinks) {
    ProfileFile file(PathOf("Quillora.ini"));
    Put(file.Path(), "[Main]\r\n");
    fs::permissions(file.Path(), fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(file.WriteString("Main", "k", "1"));
    EXPECT_EQ(fs::status(file.Path()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);

    fs::create_symlink("Quillora.ini", PathOf("link.ini"));
    ProfileFile through_link(PathOf("link.ini"));
    ASSERT_TRUE(through_link.WriteString("Main", "k", "2"));
    EXPECT_TRUE(fs::is_symlink(PathOf("link.ini")));
    EXPECT_EQ(Bytes(file.Path()), "[Main]\r\nk=2\r\n");
}

TEST_F(ProfileFileTest, ManyChangesAreOneReplacementKeepingTheRest) {
    ProfileFile file(PathOf("Quillora.ini"));
    Put(file.Path(), "; mine\r\n[Main]\r\nLeft=1\r\n[History]\r\nFile0=a\r\n");
    const auto inode = [&] {
        struct stat info {};
        ::stat(file.Path().c_str(), &info);
        return info.st_ino;
    };
    const ino_t before = inode();
    ASSERT_TRUE(file.WriteAll([](ProfileBatch& batch) {
        batch.WriteString("Main", "Left", "2");
        EXPECT_EQ(batch.ReadInt("Main", "Left", 0), 2);  // later changes see earlier ones
        batch.WriteString("Main", "Top", "3");
        batch.EraseSection("History");
        batch.WriteString("NotesList", "Image1", "7");
    }));
    EXPECT_EQ(Bytes(file.Path()),
              "; mine\r\n[Main]\r\nLeft=2\r\nTop=3\r\n[NotesList]\r\nImage1=7\r\n");
    EXPECT_NE(inode(), before);  // replaced, not written in place

    // A refused change is reported; the others are written all the same.
    EXPECT_FALSE(file.WriteAll([](ProfileBatch& batch) {
        batch.WriteString("Main", "Bad\nKey", "1");
        batch.WriteString("Main", "Left", "4");
    }));
    EXPECT_EQ(file.ReadInt("Main", "Left", 0), 4);
}

TEST_F(ProfileFileTest, CopiesWritingSideBySideLoseNoKey) {
    const std::string path = PathOf("Quillora.ini");
    constexpr int kWrites = 1000;
    std::vector<pid_t> children;
    for (const char* section : {"A", "B"}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ProfileFile file(path);
            bool ok = true;
            for (int i = 0; i < kWrites; ++i) {
                ok = file.WriteString(section, "Key" + std::to_string(i), std::to_string(i)) && ok;
            }
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    }
    ProfileFile file(path);
    int missing = 0;
    for (const char* section : {"A", "B"}) {
        for (int i = 0; i < kWrites; ++i) {
            if (file.ReadInt(section, "Key" + std::to_string(i), -1) != i) ++missing;
        }
    }
    EXPECT_EQ(missing, 0);
}

TEST_F(ProfileFileTest, NonAsciiFolderAndValues) {
    fs::create_directory(folder_ / "Notizen \xc3\xa4\xc3\xb6");
    ProfileFile file((folder_ / "Notizen \xc3\xa4\xc3\xb6" / "Quillora.ini").string());
    ASSERT_TRUE(file.WriteString("History", "File0", "/home/j\xc3\xbcrgen/Caf\xc3\xa9.qlb"));
    EXPECT_EQ(file.ReadString("History", "File0", ""), "/home/j\xc3\xbcrgen/Caf\xc3\xa9.qlb");
}

}  // namespace
}  // namespace quillora
