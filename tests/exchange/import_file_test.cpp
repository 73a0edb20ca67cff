#include "exchange/import_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace quillora {
namespace {

using testing::PutFile;
using testing::TempFolder;

TEST(ImportRulesTest, RtfIsToldByTheNamesLastExtensionInAnyCase) {
    const std::vector<std::pair<const char*, bool>> cases = {
        {"/d/Letter.rtf", true}, {"/d/LETTER.RTF", true},
        {"/d/a.Rtf", true},      {"/d/a.rtf/notes.txt", false},
        {"/d/x.rtf.txt", false}, {"/d/.rtf", false},
        {"/d/rtf", false},       {"/d/a.rtfx", false},
        {"a.txt.rtf", true},
    };
    for (const auto& [path, rtf] : cases) EXPECT_EQ(HasRtfExtension(path), rtf) << path;
}

TEST(ImportRulesTest, TitleDropsTheLastExtensionOnlyAndIsCut) {
    const std::string long_name(150, 'n');
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/d/report.2003.txt", "report.2003"},
        {"/d/.profile", ".profile"},
        {"/d/noext", "noext"},
        {"/d.x/noext", "noext"},
        {"/d/a.", "a"},
        {"/d/" + long_name, std::string(99, 'n')},
        {"/d/" + long_name + ".txt", std::string(99, 'n')},
        {"/d/Caf\xC3\xA9.txt", "Caf\xE9"},  // UTF-8 names become Windows-1252
        {"/d/\xD0\x9F.txt", "?"},           // a character it cannot hold
        {"/d/raw\xE9.txt", "raw\xE9"},      // not UTF-8: taken as it is
    };
    for (const auto& [path, title] : cases) EXPECT_EQ(ImportTitle(path), title) << path;
}

TEST(ImportRulesTest, PlainTextIsDecodedOnlyWhenItIsUnicode) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string text;
        bool truncated = false;
    };
    const std::vector<Case> cases = {
        {"ASCII", "plain", "plain"},
        {"UTF-8 accents", "caf\xC3\xA9 \xE2\x82\xAC", "caf\xE9 \x80"},
        {"UTF-8 beyond the code page", "\xD0\x9F\xD1\x80\xF0\x9F\x98\x80", "???"},
        {"UTF-8 with a byte order mark", "\xEF\xBB\xBF\xC3\xA9", "\xE9"},
        {"UTF-16 LE", std::string("\xFF\xFE\xE9\x00\x3D\xD8\x00\xDE\x41\x00", 10), "\xE9?A"},
        {"UTF-16 BE", std::string("\xFE\xFF\x00\xE9\x20\xAC", 6), "\xE9\x80"},
        {"Windows-1252 bytes stay", "caf\xE9 \x80", "caf\xE9 \x80"},
        {"a cut UTF-8 end of a longer file", "caf\xC3\xA9\xE2\x82", "caf\xE9", true},
        {"a cut UTF-8 end of the whole file", "caf\xC3\xA9\xE2\x82", "caf\xC3\xA9\xE2\x82"},
    };
    for (const Case& c : cases) EXPECT_EQ(DecodePlainText(c.bytes, c.truncated), c.text) << c.what;
}

TEST(ImportRulesTest, LineBreaksBecomeTheNotesBeforeTheCut) {
    EXPECT_EQ(ImportedNoteText("a\rb\nc\r\nd"), "a\r\nb\r\nc\r\nd\r\n");
    EXPECT_EQ(ImportedNoteText(""), "");
    // 70000 characters become the first 65498.
    EXPECT_EQ(ImportedNoteText(std::string(70000, 'x')),
              std::string(kMaxImportLength, 'x') + "\r\n");
    // Lone LFs count as the two characters the note holds for them: 21833 lines of "a" fill
    // 65497 characters, and the last line gets its CR LF.
    std::string lines;
    for (int i = 0; i < 40000; ++i) lines += "a\n";
    const std::string cut = ImportedNoteText(lines);
    EXPECT_EQ(cut.size(), 21833u * 3);
    // A cut between CR and LF drops the CR.
    const std::string text = std::string(kMaxImportLength - 1, 'x') + "\r\nb";
    EXPECT_EQ(ImportedNoteText(text), std::string(kMaxImportLength - 1, 'x') + "\r\n");
}

TEST(ImportFileTest, ReadsRtfByExtensionAndPlainTextOtherwise) {
    const TempFolder folder("import");
    const std::string rtf = "{\\rtf1 caf\\'e9\\par}";
    PutFile(folder.PathOf("LETTER.RTF"), rtf);
    PutFile(folder.PathOf("letter.txt"), rtf);
    PutFile(folder.PathOf("fake.rtf"), "caf\xC3\xA9");
    EXPECT_EQ(ReadImportFile(folder.PathOf("LETTER.RTF")).text, "caf\xE9\r\n");
    EXPECT_EQ(ReadImportFile(folder.PathOf("letter.txt")).text, rtf + "\r\n");
    EXPECT_EQ(ReadImportFile(folder.PathOf("fake.rtf")).text, "caf\xE9\r\n");
}

TEST(ImportFileTest, RefusesWhatIsNotARegularFileWithoutWaiting) {
    const TempFolder folder("import");
    const std::string fifo = folder.PathOf("pipe.txt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ReadImportFile(folder.PathOf("missing.txt")).status, FileReadStatus::NotFound);
    EXPECT_EQ(ReadImportFile(folder.path().string()).status, FileReadStatus::NotRegularFile);
    EXPECT_EQ(ReadImportFile(fifo).status, FileReadStatus::NotRegularFile);
    EXPECT_EQ(ReadImportFile("/dev/zero").status, FileReadStatus::NotRegularFile);
}

TEST(ImportFileTest, AHugeFileCostsOnlyItsFirstMegabytes) {
    const TempFolder folder("import");
    const std::string path = folder.PathOf("huge.txt");
    PutFile(path, "start\n");
    ASSERT_EQ(::truncate(path.c_str(), std::int64_t{2} << 30), 0);  // 2 GB, sparse
    const auto begin = std::chrono::steady_clock::now();
    const ImportedFile file = ReadImportFile(path);
    const auto elapsed = std::chrono::steady_clock::now() - begin;
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(file.text.substr(0, 7), "start\r\n");
    EXPECT_LE(file.text.size(), kMaxImportLength + 2);
    EXPECT_LT(elapsed, std::chrono::seconds(2));
}

}  // namespace
}  // namespace quillora
