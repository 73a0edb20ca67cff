#include "exchange/export_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "tests/support/temp_folder.h"
#include "tests/support/tree_builder.h"

namespace quillora {
namespace {

using testing::AddNode;
using testing::FileBytes;
using testing::PutFile;
using testing::SortedEntries;
using testing::TempFolder;

TEST(ExportNamesTest, SafeTitleReplacesEveryOtherCharacterAndKeepsTheLength) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Shopping/list?", "Shopping_list_"},
        {"Caf\xE9", "Caf_"},
        {" a&b-c_d!E9 ", " a&b-c_d!E9 "},
        {"a.b:c\\d*\"<>|", "a_b_c_d_____"},
        {std::string("\x01\x7F\x80\xFF", 4), "____"},
    };
    for (const auto& [title, safe] : cases) EXPECT_EQ(SafeFileTitle(title), safe) << title;
}

TEST(ExportNamesTest, DuplicatesAreNumberedByPositionAndNeverCollide) {
    struct Case {
        const char* what;
        std::vector<std::string> titles;
        std::vector<std::string> names;
    };
    const std::vector<Case> cases = {
        {"unsafe characters",
         {"Shopping list", "Shopping/list?"},
         {"Shopping list", "Shopping_list_"}},
        {"positions count from 1, case is ignored",
         {"Plan", "a", "b", "Plan", "c", "d", "plan"},
         {"Plan", "a", "b", "Plan4", "c", "d", "plan7"}},
        {"titles equal once made safe", {"a?", "a/"}, {"a_", "a_2"}},
        {"a numbered name already taken",
         {"Plan", "Plan4", "x", "Plan"},
         {"Plan", "Plan4", "x", "Plan4_2"}},
        {"the further suffix taken too", {"P", "P4", "P4_2", "P"}, {"P", "P4", "P4_2", "P4_3"}},
        {"a later plain title meets a numbered one", {"P", "P", "P2"}, {"P", "P2", "P23"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> expected;
        for (const std::string& n : c.names) expected.push_back("/out/" + n + ".txt");
        EXPECT_EQ(ExportFileNames("/out/", c.titles), expected) << c.what;
    }
    EXPECT_EQ(WithTrailingSeparator("/out"), "/out/");
    EXPECT_EQ(WithTrailingSeparator("/out/"), "/out/");
}

class ExportAllTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Display order: A, B (empty), C inside B, A again.
        const NodeId a = AddNode(doc_, kNoNode, "A", kNote, "one\r\ntwo\r\n");
        const NodeId b = AddNode(doc_, kNoNode, "B", kFolder);
        AddNode(doc_, b, "C", kNote, "c\r\n");
        AddNode(doc_, kNoNode, "a", kNote, "x\r\n");
        (void)a;
    }
    std::string Dir() const { return folder_.path().string() + "/"; }
    ExportAllResult Run(bool overwrite, std::vector<OverwriteAnswer> answers = {},
                        const ExportFaults& faults = {}) {
        ExportAllCallbacks callbacks;
        callbacks.ask_overwrite = [this, answers](const std::string& path) mutable {
            asked_.push_back(path);
            const OverwriteAnswer a = answers.empty() ? OverwriteAnswer::No : answers.front();
            if (!answers.empty()) answers.erase(answers.begin());
            return a;
        };
        return ExportAll(doc_, Dir(), overwrite, callbacks, faults);
    }

    NotesDocument doc_;
    TempFolder folder_{"export"};
    std::vector<std::string> asked_;
};

TEST_F(ExportAllTest, WritesEachNonEmptyTextExactlyAndSkipsEmptyOnes) {
    const ExportAllResult result = Run(false);
    EXPECT_EQ(result.end, ExportEnd::Finished);
    EXPECT_EQ(result.written, 3);
    EXPECT_EQ(SortedEntries(folder_.path()),
              (std::vector<std::string>{"A.txt", "C.txt", "a4.txt"}));
    EXPECT_EQ(FileBytes(Dir() + "A.txt"), "one\r\ntwo\r\n");
    EXPECT_TRUE(asked_.empty());
}

TEST_F(ExportAllTest, ExistingFilesFollowEachAnswer) {
    PutFile(Dir() + "A.txt", "old A");
    PutFile(Dir() + "C.txt", "old C");
    PutFile(Dir() + "a4.txt", "old a");
    // Yes writes, No keeps the old file and goes on, Cancel ends at once.
    const ExportAllResult result =
        Run(false, {OverwriteAnswer::Yes, OverwriteAnswer::No, OverwriteAnswer::Cancel});
    EXPECT_EQ(result.end, ExportEnd::Cancelled);
    EXPECT_EQ(asked_,
              (std::vector<std::string>{Dir() + "A.txt", Dir() + "C.txt", Dir() + "a4.txt"}));
    EXPECT_EQ(FileBytes(Dir() + "A.txt"), "one\r\ntwo\r\n");
    EXPECT_EQ(FileBytes(Dir() + "C.txt"), "old C");
    EXPECT_EQ(FileBytes(Dir() + "a4.txt"), "old a");

    // With Overwrite Files nothing is asked.
    asked_.clear();
    EXPECT_EQ(Run(true).end, ExportEnd::Finished);
    EXPECT_TRUE(asked_.empty());
    EXPECT_EQ(FileBytes(Dir() + "a4.txt"), "x\r\n");
}

TEST_F(ExportAllTest, AFifoOfATargetsNameIsReplacedNotOpened) {
    ASSERT_EQ(::mkfifo((Dir() + "C.txt").c_str(), 0600), 0);
    EXPECT_EQ(Run(true).end, ExportEnd::Finished);
    EXPECT_EQ(FileBytes(Dir() + "C.txt"), "c\r\n");
}

TEST_F(ExportAllTest, AWriteFaultStopsTheExportAndNamesTheFile) {
    ExportFaults faults;
    faults.fail_file = 1;
    faults.faults.fail_after_bytes = 1;
    const ExportAllResult result = Run(false, {}, faults);
    EXPECT_EQ(result.end, ExportEnd::WriteFailed);
    EXPECT_EQ(result.failed_path, Dir() + "C.txt");
    EXPECT_EQ(result.written, 1);
    // The file before it stays; no half file and no temporary file is left.
    EXPECT_EQ(SortedEntries(folder_.path()), std::vector<std::string>{"A.txt"});
}

}  // namespace
}  // namespace quillora
