#include "document/notes_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"
#include "tests/support/tree_builder.h"

namespace quillora {
namespace {

namespace fs = std::filesystem;

std::string Int32(int32_t v) {
    std::string out(4, '\0');
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
    return out;
}

std::string Header(std::string_view version = "1.0") {
    std::string h("QuilloraApp\0\0", 13);
    h += version;
    h.resize(19, '\0');
    return h;
}

std::string TitleField(std::string_view title) {
    std::string field(title);
    field.resize(100, '\0');
    return field;
}

std::string Record(int32_t depth, int32_t kind, std::string_view title, std::string_view text) {
    return Int32(depth) + Int32(kind) + TitleField(title) +
           Int32(static_cast<int32_t>(text.size())) + std::string(text);
}

// A file from a list of records, as another program might have written it.
std::string File(const std::vector<std::string>& records) {
    std::string out = Header() + Int32(static_cast<int32_t>(records.size()));
    for (const auto& r : records) out += r;
    return out;
}

// The folder F (empty text) holding the note N (one line abc), zeros in every reserved byte.
std::string WorkedExample() {
    return File({Record(0, 0, "F", ""), Record(1, 1, "N", "abc\r\n")});
}

class NotesFileTest : public ::testing::Test {
protected:
    std::string PathOf(const std::string& name) const { return folder_.PathOf(name); }

    static void Put(const std::string& path, std::string_view bytes) {
        testing::PutFile(path, bytes);
    }
    static std::string Get(const std::string& path) { return testing::FileBytes(path); }
    std::vector<std::string> Entries() const { return testing::SortedEntries(dir_); }

    testing::TempFolder folder_{"quillora-notes"};
    const fs::path& dir_ = folder_.path();
};

NodeId Add(NotesDocument& doc, NodeId parent, std::string_view title, int32_t kind,
           std::string_view text) {
    return testing::AddNode(doc, parent, title, kind, text);
}

void Delete(NotesDocument& doc, NodeId node) {
    for (NodeId n : doc.tree.Subtree(node)) doc.texts.ReleaseTextSlot(doc.tree.Data(n).TextIndex);
    doc.tree.Remove(node);
}

struct Flat {
    int depth;
    int32_t kind;
    int32_t slot;
    std::string title;
    std::string text;
    bool operator==(const Flat&) const = default;
};

std::vector<Flat> Flatten(const NotesDocument& doc) {
    std::vector<Flat> out;
    doc.tree.ForEachInDisplayOrder([&](NodeId n, int depth) {
        const NodeData& d = doc.tree.Data(n);
        out.push_back(
            {depth, d.Kind, d.TextIndex, doc.tree.Title(n), doc.texts.TextOf(d.TextIndex)});
    });
    return out;
}

void ExpectEmpty(const NotesDocument& doc) {
    EXPECT_TRUE(doc.tree.Empty());
    EXPECT_EQ(doc.texts.OccupiedCount(), 0);
    EXPECT_TRUE(doc.current_file_name.empty());
    EXPECT_FALSE(doc.modified);
}

TEST_F(NotesFileTest, WorkedExampleIsWrittenByteForByte) {
    NotesDocument doc;
    const NodeId f = Add(doc, kNoNode, "F", kFolder, "");
    Add(doc, f, "N", kNote, "abc");
    doc.modified = true;
    const std::string path = PathOf("example.qlb");
    ASSERT_EQ(WriteNotesFile(path, doc), WriteStatus::Ok);
    const std::string bytes = Get(path);
    EXPECT_EQ(bytes.size(), 252u);
    EXPECT_EQ(bytes, WorkedExample());
    EXPECT_EQ(NotesFileBytes(doc), WorkedExample());
    EXPECT_EQ(doc.current_file_name, path);
    EXPECT_FALSE(doc.modified);
    EXPECT_EQ(Entries(), std::vector<std::string>{"example.qlb"});  // no temporary file left
}

TEST_F(NotesFileTest, WorkedExampleReadsBack) {
    const std::string path = PathOf("example.qlb");
    Put(path, WorkedExample());
    NotesDocument doc;
    ASSERT_EQ(ReadNotesFile(path, doc), ReadStatus::Ok);
    EXPECT_EQ(doc.current_file_name, path);
    EXPECT_FALSE(doc.modified);
    ASSERT_EQ(doc.tree.Children(kNoNode).size(), 1u);
    const NodeId f = doc.tree.FirstTopLevel();
    EXPECT_EQ(doc.tree.Title(f), "F");
    EXPECT_EQ(doc.tree.Data(f).Kind, kFolder);
    EXPECT_EQ(doc.tree.Image(f), doc.images.folder);
    EXPECT_EQ(doc.TextOf(f), "");
    ASSERT_EQ(doc.tree.Children(f).size(), 1u);
    const NodeId n = doc.tree.Children(f)[0];
    EXPECT_EQ(doc.tree.Title(n), "N");
    EXPECT_EQ(doc.tree.Data(n).Kind, kNote);
    EXPECT_EQ(doc.tree.Image(n), doc.images.note);
    EXPECT_EQ(doc.TextOf(n), "abc\r\n");
    EXPECT_EQ(doc.tree.Data(f).TextIndex, 0);
    EXPECT_EQ(doc.tree.Data(n).TextIndex, 1);
    EXPECT_TRUE(IsNotesFile(path));
}

TEST_F(NotesFileTest, EmptyDocumentIsHeaderAndZeroCount) {
    NotesDocument doc;
    const std::string path = PathOf("empty.qlb");
    ASSERT_EQ(WriteNotesFile(path, doc), WriteStatus::Ok);
    EXPECT_EQ(Get(path), Header() + Int32(0));
    NotesDocument back;
    ASSERT_EQ(ReadNotesFile(path, back), ReadStatus::Ok);
    EXPECT_TRUE(back.tree.Empty());
    EXPECT_EQ(back.current_file_name, path);
}

TEST_F(NotesFileTest, LongTextIsCutInFileAndInMemory) {
    // 700 lines of 98 characters: 70000 characters with their line breaks. The cut after
    // 65498 characters falls just before the CR of line 655, so the cut text is 65500 long.
    std::string line(98, 'w');
    std::string text;
    for (int i = 0; i < 700; ++i) text += line + "\r\n";
    ASSERT_EQ(text.size(), 70000u);
    NotesDocument doc;
    const NodeId note = Add(doc, kNoNode, "long", kNote, text);
    Add(doc, kNoNode, "after", kNote, "tail");
    const std::string path = PathOf("long.qlb");
    ASSERT_EQ(WriteNotesFile(path, doc), WriteStatus::Ok);
    const std::string expected = text.substr(0, 65498) + "\r\n";
    EXPECT_EQ(doc.TextOf(note), expected);
    const std::string bytes = Get(path);
    EXPECT_EQ(bytes.substr(23 + 108, 4), Int32(65500));
    NotesDocument back;
    ASSERT_EQ(ReadNotesFile(path, back), ReadStatus::Ok);
    EXPECT_EQ(Flatten(back), Flatten(doc));
}

TEST_F(NotesFileTest, OverlongStoredTextKeepsItsFirst65498BytesAndTheNextRecordReads) {
    std::string text;
    while (text.size() < 70000) text += "line " + std::to_string(text.size()) + "\r\n";
    text.resize(70000);
    NotesDocument doc;
    ASSERT_EQ(
        ReadNotesBytes(File({Record(0, 1, "big", text), Record(0, 0, "next", "ok\r\n")}), doc),
        ReadStatus::Ok);
    const auto flat = Flatten(doc);
    ASSERT_EQ(flat.size(), 2u);
    EXPECT_EQ(flat[0].text, line_text::Canonical(text.substr(0, 65498)));
    EXPECT_EQ(flat[1].title, "next");
    EXPECT_EQ(flat[1].text, "ok\r\n");
}

TEST_F(NotesFileTest, EveryByteOfAForeignTextIsKept) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"abc\r\ndef", "abc\r\ndef\r\n"},
        {"x", "x\r\n"},
        {"a\nb\r", "a\r\nb\r\n"},
        {"\r\n", "\r\n"},
        {"", ""},
        {"one\rtwo\n\n", "one\r\ntwo\r\n\r\n"}};
    for (const auto& [stored, expected] : cases) {
        NotesDocument doc;
        ASSERT_EQ(ReadNotesBytes(File({Record(0, 1, "t", stored)}), doc), ReadStatus::Ok);
        EXPECT_EQ(doc.TextOf(doc.tree.FirstTopLevel()), expected) << stored;
    }
}

// The reader keeps a text as it is when its line breaks are already CR LF and rebuilds it
// otherwise; the check looks at many bytes at once, so breaks are tried at every position of
// texts longer than its blocks.
TEST(NotesFileLineBreaks, CanonicalCheckAgreesWithRebuildingAtEveryPosition) {
    for (size_t length : {15u, 16u, 17u, 63u, 64u, 65u, 130u}) {
        std::string base;
        while (base.size() < length) base += base.size() % 9 == 7 ? "\r\n" : "x";
        base.resize(length);
        if (base.back() == '\r') base.back() = 'y';
        for (size_t at = 0; at < length; ++at) {
            for (std::string_view put : {"\r", "\n", "\r\n", "\n\r"}) {
                std::string text = base.substr(0, at) + std::string(put) + base.substr(at);
                for (std::string t : {text, text + "\r\n", line_text::Canonical(text)}) {
                    EXPECT_EQ(line_text::IsCanonical(t), line_text::Canonical(t) == t) << at;
                    NotesDocument doc;
                    ASSERT_EQ(ReadNotesBytes(File({Record(0, 1, "t", t)}), doc), ReadStatus::Ok);
                    EXPECT_EQ(doc.TextOf(doc.tree.FirstTopLevel()), line_text::Canonical(t));
                }
            }
        }
    }
}

TEST_F(NotesFileTest, WrongMagicVersionOrLengthIsRefusedBeforeTheRecords) {
    struct Case {
        std::string bytes;
        ReadStatus status;
        bool is_notes_file;
    };
    std::string lower = WorkedExample();
    lower[0] = 'q';
    std::string no_zero = WorkedExample();
    no_zero[11] = 'X';
    std::string v11 = WorkedExample();
    v11[15] = '1';
    std::string long_version = WorkedExample();
    long_version[16] = '1';  // "1.01"
    std::string odd_reserved = WorkedExample();
    odd_reserved[12] = 'r';
    odd_reserved[17] = 'r';
    odd_reserved[18] = 'r';
    const std::vector<Case> cases = {
        {lower, ReadStatus::NotNotesFile, false},
        {no_zero, ReadStatus::NotNotesFile, false},
        {"", ReadStatus::NotNotesFile, false},
        {"QuilloraApp", ReadStatus::NotNotesFile, false},
        {Header().substr(0, 18), ReadStatus::NotNotesFile, false},
        {v11, ReadStatus::WrongVersion, true},
        {long_version, ReadStatus::WrongVersion, true},
        {odd_reserved, ReadStatus::Ok, true},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const std::string path = PathOf("case" + std::to_string(i) + ".qlb");
        Put(path, cases[i].bytes);
        EXPECT_EQ(IsNotesFile(path), cases[i].is_notes_file) << i;
        NotesDocument doc;
        int accepted = 0;
        const ReadStatus status = ReadNotesFile(path, doc, {[&] { ++accepted; }, {}});
        EXPECT_EQ(status, cases[i].status) << i;
        EXPECT_EQ(accepted, status == ReadStatus::Ok ? 1 : 0) << i;
        if (status != ReadStatus::Ok) ExpectEmpty(doc);
    }
}

TEST_F(NotesFileTest, OnlyRegularFilesAreOpened) {
    NotesDocument doc;
    EXPECT_EQ(ReadNotesFile(PathOf("missing.qlb"), doc), ReadStatus::CannotOpen);
    ExpectEmpty(doc);
    EXPECT_EQ(ReadNotesFile(dir_.string(), doc), ReadStatus::CannotOpen);
    ExpectEmpty(doc);
    EXPECT_FALSE(IsNotesFile(PathOf("missing.qlb")));
    EXPECT_FALSE(IsNotesFile(dir_.string()));
    // A pipe nobody writes to must not hang the open.
    ASSERT_EQ(::mkfifo(PathOf("pipe.qlb").c_str(), 0600), 0);
    EXPECT_FALSE(IsNotesFile(PathOf("pipe.qlb")));
    EXPECT_EQ(ReadNotesFile(PathOf("pipe.qlb"), doc), ReadStatus::CannotOpen);
}

TEST_F(NotesFileTest, MalformedFilesAreDamagedAndLeaveTheDocumentEmpty) {
    const std::string good = Record(0, 1, "a", "text\r\n");
    std::vector<std::string> too_deep;
    for (int d = 0; d <= 2000; ++d) too_deep.push_back(Record(d, 0, "d", ""));
    std::string no_zero_title = Int32(0) + Int32(1) + std::string(100, 'T') + Int32(0);
    std::string excess = Record(0, 1, "x", std::string(70000, 'x'));
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"more than 4000 records", Header() + Int32(4001) + good},
        {"negative count", Header() + Int32(-1)},
        {"negative depth", File({Record(-1, 1, "a", "")})},
        {"depth above 1999", File(too_deep)},
        {"depth skips a level", File({good, Record(2, 1, "b", "")})},
        {"first record below top level", File({Record(1, 1, "a", "")})},
        {"negative length", File({Int32(0) + Int32(1) + TitleField("a") + Int32(-5)})},
        {"title without zero", File({no_zero_title})},
        {"ends inside the count", Header() + "\1\0"},
        {"ends inside a record", File({good}).substr(0, 23 + 50)},
        {"ends inside a text", File({good}).substr(0, 23 + 112 + 3)},
        {"fewer records than counted", Header() + Int32(2) + good},
        {"ends inside the skipped excess", File({excess}).substr(0, 23 + 112 + 66000)},
    };
    for (const auto& [name, bytes] : cases) {
        const std::string path = PathOf("damaged.qlb");
        Put(path, bytes);
        for (bool from_file : {false, true}) {
            NotesDocument doc;
            int accepted = 0;
            const ReadCallbacks cb{[&] { ++accepted; }, {}};
            const ReadStatus status =
                from_file ? ReadNotesFile(path, doc, cb) : ReadNotesBytes(bytes, doc, cb);
            EXPECT_EQ(status, ReadStatus::Damaged) << name << (from_file ? " (file)" : "");
            EXPECT_EQ(accepted, 0) << name;
            ExpectEmpty(doc);
        }
    }
}

TEST_F(NotesFileTest, DeepestReadableNestingRoundTripsAndDeeperIsNotWritten) {
    std::vector<std::string> records;
    for (int d = 0; d <= kMaxDepth; ++d) records.push_back(Record(d, 0, "d", ""));
    NotesDocument doc;
    ASSERT_EQ(ReadNotesBytes(File(records), doc), ReadStatus::Ok);
    EXPECT_EQ(NotesFileBytes(doc), File(records));

    NodeId deepest = doc.tree.FirstTopLevel();
    while (!doc.tree.Children(deepest).empty()) deepest = doc.tree.Children(deepest)[0];
    Add(doc, deepest, "too deep", kNote, "");
    doc.modified = true;
    const std::string path = PathOf("deep.qlb");
    Put(path, "old");
    EXPECT_EQ(WriteNotesFile(path, doc), WriteStatus::CannotWrite);
    EXPECT_EQ(Get(path), "old");
    EXPECT_TRUE(doc.modified);
}

TEST_F(NotesFileTest, ProgressEveryTenthRecordAndAcceptanceOnce) {
    std::vector<std::string> records;
    for (int i = 0; i < 25; ++i) records.push_back(Record(0, 1, "n", ""));
    const std::string path = PathOf("progress.qlb");
    Put(path, File(records));
    std::vector<int> seen;
    int accepted = 0;
    NotesDocument doc;
    ASSERT_EQ(ReadNotesFile(path, doc, {[&] { ++accepted; }, [&](int i) { seen.push_back(i); }}),
              ReadStatus::Ok);
    EXPECT_EQ(accepted, 1);
    EXPECT_EQ(seen, (std::vector<int>{0, 10, 20}));

    seen.clear();
    doc.modified = true;
    ASSERT_EQ(WriteNotesFile(PathOf("out.qlb"), doc, [&](int i) { seen.push_back(i); }),
              WriteStatus::Ok);
    EXPECT_EQ(seen, (std::vector<int>{0, 10, 20}));
}

TEST_F(NotesFileTest, ADocumentIsKnownByItsAbsolutePath) {
    const fs::path started_in = fs::current_path();
    fs::create_directories(dir_ / "sub");
    fs::current_path(dir_ / "sub");
    NotesDocument doc;
    Add(doc, kNoNode, "N", kNote, "abc");
    ASSERT_EQ(WriteNotesFile("../worked.qlb", doc), WriteStatus::Ok);
    EXPECT_EQ(doc.current_file_name, PathOf("worked.qlb"));
    doc.Close();
    ASSERT_EQ(ReadNotesFile("./.././worked.qlb", doc), ReadStatus::Ok);
    EXPECT_EQ(doc.current_file_name, PathOf("worked.qlb"));
    EXPECT_EQ(DocumentPath(""), "");
    EXPECT_EQ(DocumentPath("/a/./b/../c.qlb"), "/a/c.qlb");
    fs::current_path(started_in);
}

TEST_F(NotesFileTest, RoundTripRenumbersSlotsInDisplayOrder) {
    NotesDocument doc;
    const NodeId a = Add(doc, kNoNode, "A", kFolder, "folder a");
    const NodeId b = Add(doc, a, "B", kNote, "b1\r\nb2");
    Add(doc, b, "C", kNote, "under a note");
    const NodeId d = Add(doc, kNoNode, "D", kFolder, "");
    Add(doc, d, "E", kNote, "e");
    Add(doc, kNoNode, "odd kind", 7, "kept as is");
    Delete(doc, b);                           // frees slots 1 and 2
    Add(doc, d, "F", kNote, "takes slot 1");  // display order: A D E F odd
    Add(doc, kNoNode, "G", kNote, "takes slot 2");
    doc.tree.Move(doc.tree.Children(kNoNode).back(), kNoNode, 0);  // G first
    ASSERT_EQ(WriteNotesFile(PathOf("r.qlb"), doc), WriteStatus::Ok);

    NotesDocument back;
    ASSERT_EQ(ReadNotesFile(PathOf("r.qlb"), back), ReadStatus::Ok);
    auto before = Flatten(doc);
    const auto after = Flatten(back);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i].slot, static_cast<int32_t>(i));
        before[i].slot = static_cast<int32_t>(i);
    }
    EXPECT_EQ(after, before);
    EXPECT_EQ(NotesFileBytes(back), NotesFileBytes(doc));
}

TEST_F(NotesFileTest, TitleOf99CharactersFillsTheFieldUpToItsZero) {
    const std::string title(99, 'T');
    NotesDocument doc;
    Add(doc, kNoNode, title, kNote, "");
    const std::string bytes = NotesFileBytes(doc);
    EXPECT_EQ(bytes.substr(23 + 8, 99), title);
    EXPECT_EQ(bytes[23 + 8 + 99], '\0');
    NotesDocument back;
    ASSERT_EQ(ReadNotesBytes(bytes, back), ReadStatus::Ok);
    EXPECT_EQ(back.tree.Title(back.tree.FirstTopLevel()), title);
}

TEST_F(NotesFileTest, FailedWriteKeepsTheOldFileAndTheDocument) {
    std::string long_text;
    for (int i = 0; i < 800; ++i) long_text += std::string(98, 'z') + "\r\n";
    NotesDocument doc;
    const NodeId note = Add(doc, kNoNode, "long", kNote, long_text);
    Add(doc, kNoNode, "second", kNote, "more");
    const std::string path = PathOf("keep.qlb");
    const std::string old_bytes = WorkedExample();
    Put(path, old_bytes);
    doc.current_file_name = path;
    doc.modified = true;
    const std::string full = NotesFileBytes(doc);

    std::vector<WriteFaults> faults;
    for (int64_t n : {int64_t{0}, int64_t{10}, int64_t{23}, int64_t{200}, int64_t{40000},
                      static_cast<int64_t>(full.size()) - 1}) {
        faults.push_back({.fail_after_bytes = n});
    }
    faults.push_back({.fail_create = true});
    faults.push_back({.fail_sync = true});
    faults.push_back({.fail_rename = true});
    for (const WriteFaults& f : faults) {
        EXPECT_EQ(WriteNotesFile(path, doc, {}, f), WriteStatus::CannotWrite) << f.fail_after_bytes;
        EXPECT_EQ(Get(path), old_bytes);
        EXPECT_TRUE(doc.modified);
        EXPECT_EQ(doc.current_file_name, path);
        EXPECT_EQ(doc.TextOf(note), long_text);  // not cut when the save fails
        EXPECT_EQ(Entries(), std::vector<std::string>{"keep.qlb"});
    }
    // With room for exactly every byte the save goes through.
    EXPECT_EQ(
        WriteNotesFile(path, doc, {}, {.fail_after_bytes = static_cast<int64_t>(full.size())}),
        WriteStatus::Ok);
    EXPECT_EQ(Get(path), full);
}

TEST_F(NotesFileTest, SaveAndOpenRemoveTheTemporaryFilesOfKilledSaves) {
    NotesDocument doc;
    Add(doc, kNoNode, "n", kNote, "x");
    const std::string path = PathOf("notes.qlb");
    const auto leftover = [&](const std::string& name, std::time_t age) {
        Put(PathOf(name), "half a save");
        testing::MakeOlder(PathOf(name), age);
    };
    leftover(".notes.qlb.0123456789ab.tmp", 120);
    leftover(".notes.qlb.ba9876543210.tmp", 0);  // a save in progress elsewhere
    ASSERT_EQ(WriteNotesFile(path, doc), WriteStatus::Ok);
    EXPECT_EQ(Entries(), (std::vector<std::string>{".notes.qlb.ba9876543210.tmp", "notes.qlb"}));

    leftover(".notes.qlb.00000000ffff.tmp", 120);
    NotesDocument back;
    ASSERT_EQ(ReadNotesFile(path, back), ReadStatus::Ok);
    EXPECT_EQ(Entries(), (std::vector<std::string>{".notes.qlb.ba9876543210.tmp", "notes.qlb"}));
}

TEST_F(NotesFileTest, UnwritablePlacesFailWithoutLeftovers) {
    NotesDocument doc;
    Add(doc, kNoNode, "n", kNote, "x");
    doc.modified = true;
    Put(PathOf("plain"), "not a folder");
    fs::create_directory(PathOf("folder.qlb"));
    for (const std::string& path :
         {PathOf("plain/notes.qlb"), PathOf("missing/notes.qlb"), PathOf("folder.qlb")}) {
        EXPECT_EQ(WriteNotesFile(path, doc), WriteStatus::CannotWrite) << path;
        EXPECT_TRUE(doc.modified);
        EXPECT_TRUE(doc.current_file_name.empty());
    }
    EXPECT_EQ(Entries(), (std::vector<std::string>{"folder.qlb", "plain"}));
    EXPECT_TRUE(fs::is_directory(PathOf("folder.qlb")));

    if (geteuid() != 0) {  // permissions do not stop the superuser
        fs::create_directory(PathOf("locked"));
        fs::permissions(PathOf("locked"), fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(WriteNotesFile(PathOf("locked/notes.qlb"), doc), WriteStatus::CannotWrite);
    }
}

TEST_F(NotesFileTest, SaveKeepsPermissionsAndFollowsLinks) {
    NotesDocument doc;
    Add(doc, kNoNode, "n", kNote, "x");
    const std::string path = PathOf("perm.qlb");
    Put(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_EQ(WriteNotesFile(path, doc), WriteStatus::Ok);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    const std::string link = PathOf("link.qlb");
    fs::create_symlink(path, link);
    Add(doc, kNoNode, "m", kNote, "y");
    ASSERT_EQ(WriteNotesFile(link, doc), WriteStatus::Ok);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Get(path), NotesFileBytes(doc));
}

TEST_F(NotesFileTest, RoundTripInAFolderWithANonAsciiName) {
    const fs::path folder = dir_ / "Notizen äöü 日本";
    fs::create_directory(folder);
    const std::string path = (folder / "größe.qlb").string();
    NotesDocument doc;
    const NodeId f = Add(doc, kNoNode, "Caf\xE9", kFolder, "\xE0 la carte\r\n");
    Add(doc, f, "x", kNote, "");
    ASSERT_EQ(WriteNotesFile(path, doc), WriteStatus::Ok);
    EXPECT_TRUE(IsNotesFile(path));
    NotesDocument back;
    ASSERT_EQ(ReadNotesFile(path, back), ReadStatus::Ok);
    EXPECT_EQ(Flatten(back), Flatten(doc));
    EXPECT_EQ(back.current_file_name, path);
}

}  // namespace
}  // namespace quillora
