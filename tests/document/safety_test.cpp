#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "document/notes_file.h"
#include "document/previous_versions.h"
#include "document/recovery_snapshot.h"
#include "document/recovery_store.h"
#include "tests/support/temp_folder.h"
#include "tests/support/tree_builder.h"

namespace quillora {
namespace {

using testing::AddNode;
using testing::FileBytes;
using testing::PutFile;

NotesDocument Sample() {
    NotesDocument doc;
    const NodeId folder = AddNode(doc, kNoNode, "Folder", kFolder, "folder text");
    AddNode(doc, folder, "Inner", kNote, std::string(70000, 'x'));
    AddNode(doc, kNoNode, "Last", kNote, "line 1\r\nline 2");
    return doc;
}

std::string FrozenBytes(const FrozenDocument& frozen, const std::string& path) {
    EXPECT_EQ(WriteNotesRecords(path, frozen.View()), ReplaceStatus::Ok);
    return FileBytes(path);
}

TEST(RecoverySnapshot, CopiedAPieceAtATimeItWritesTheBytesOfASave) {
    testing::TempFolder folder("quillora-snapshot");
    NotesDocument doc = Sample();
    RecoverySnapshot snapshot;
    int steps = 1;
    while (!snapshot.Refresh(doc, 100)) ++steps;
    EXPECT_EQ(steps, 3);  // one text per step at this budget
    const std::optional<FrozenDocument> frozen = snapshot.Freeze(doc);
    ASSERT_TRUE(frozen);
    EXPECT_EQ(FrozenBytes(*frozen, folder.PathOf("a.qlb")), NotesFileBytes(doc));

    // A text changed after its copy was taken makes the copy stale until it is taken again.
    doc.texts.SetText(doc.tree.Data(doc.tree.FirstTopLevel()).TextIndex, "changed");
    EXPECT_FALSE(snapshot.Freeze(doc));
    EXPECT_TRUE(snapshot.Refresh(doc, 100));
    EXPECT_EQ(FrozenBytes(*snapshot.Freeze(doc), folder.PathOf("b.qlb")), NotesFileBytes(doc));
}

TEST(RecoveryInfo, RoundTripsAnyPathAndRefusesWhatItDoesNotKnow) {
    RecoveryInfo info{"/home/u/odd\nname=.qlb", 1765000000, {}};
    info.base = {true, 1, 2, 3, -4, 5};
    const std::optional<RecoveryInfo> back = ParseRecoveryInfo(FormatRecoveryInfo(info));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->document_path, info.document_path);
    EXPECT_EQ(back->written_at, info.written_at);
    EXPECT_EQ(back->base, info.base);

    const std::string good = FormatRecoveryInfo(info);
    for (const std::string& bad :
         {std::string(), std::string("QuilloraRecovery 2\n"), good.substr(0, 40),
          std::string(good).replace(good.find("size=3"), 6, "size=x"),
          std::string(good).replace(good.find("written"), 7, "wrotten")}) {
        EXPECT_FALSE(ParseRecoveryInfo(bad)) << bad;
    }
}

// A program that writes a recovery copy and is killed before it can remove it.
void WriteAndDie(const std::string& folder, const NotesDocument& doc, const std::string& path) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::unique_ptr<RecoveryStore> store = RecoveryStore::Open(folder);
        RecoverySnapshot snapshot;
        snapshot.Refresh(doc, SIZE_MAX);
        const bool ok = store && store->Write(*snapshot.Freeze(doc), {path, 1765000000, {}});
        ::_exit(ok ? 0 : 1);  // no destructor runs, as in a crash
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(RecoveryStore, OffersOnlyTheCopiesOfProgramsThatNoLongerRun) {
    testing::TempFolder folder("quillora-recovery");
    const std::string place = folder.PathOf("recovery");
    const NotesDocument doc = Sample();

    std::unique_ptr<RecoveryStore> running = RecoveryStore::Open(place);
    ASSERT_TRUE(running);
    RecoverySnapshot snapshot;
    snapshot.Refresh(doc, SIZE_MAX);
    ASSERT_TRUE(running->Write(*snapshot.Freeze(doc), {"/a/running.qlb", 1, {}}));
    WriteAndDie(place, doc, "/a/crashed.qlb");

    std::unique_ptr<RecoveryStore> next = RecoveryStore::Open(place);
    const std::vector<LeftRecovery> left = next->FindLeft();
    ASSERT_EQ(left.size(), 1U);  // the running copy's is not offered
    EXPECT_EQ(left[0].info.document_path, "/a/crashed.qlb");
    NotesDocument restored;
    ASSERT_EQ(ReadNotesFile(left[0].copy_path, restored), ReadStatus::Ok);
    EXPECT_EQ(NotesFileBytes(restored), NotesFileBytes(doc));

    RecoveryStore::Discard(left[0]);
    EXPECT_TRUE(next->FindLeft().empty());
    running.reset();  // ending normally removes its copy
    EXPECT_TRUE(next->FindLeft().empty());
}

TEST(RecoveryStore, AFailedWriteKeepsThePreviousCopy) {
    testing::TempFolder folder("quillora-recovery");
    std::unique_ptr<RecoveryStore> store = RecoveryStore::Open(folder.PathOf("r"));
    NotesDocument doc = Sample();
    RecoverySnapshot snapshot;
    snapshot.Refresh(doc, SIZE_MAX);
    ASSERT_TRUE(store->Write(*snapshot.Freeze(doc), {"", 1, {}}));
    const std::string before = FileBytes(store->CopyPath());

    AddNode(doc, kNoNode, "More", kNote, "typed after");
    snapshot.Refresh(doc, SIZE_MAX);
    WriteFaults full_disk;
    full_disk.fail_after_bytes = 100;
    EXPECT_FALSE(store->Write(*snapshot.Freeze(doc), {"", 2, {}}, full_disk));
    EXPECT_EQ(FileBytes(store->CopyPath()), before);
    EXPECT_EQ(doc.tree.Count(), 4);
}

TEST(ChangedOnDisk, FollowsReplacementsByOthersAndNotOwnSaves) {
    testing::TempFolder folder("quillora-changed");
    const std::string path = folder.PathOf("n.qlb");
    NotesDocument doc = Sample();
    ASSERT_EQ(WriteNotesFile(path, doc), WriteStatus::Ok);
    EXPECT_FALSE(ChangedOnDisk(doc));

    NotesDocument other = Sample();
    AddNode(other, kNoNode, "From elsewhere", kNote);
    ASSERT_EQ(ReplaceFile(path, NotesFileBytes(other)), ReplaceStatus::Ok);
    EXPECT_TRUE(ChangedOnDisk(doc));

    ASSERT_EQ(WriteNotesFile(path, doc), WriteStatus::Ok);
    EXPECT_FALSE(ChangedOnDisk(doc));
    std::filesystem::remove(path);
    EXPECT_FALSE(ChangedOnDisk(doc));  // nothing there to lose
}

TEST(PreviousVersions, KeepsTheNewestOfEachFileWithoutTouchingIt) {
    testing::TempFolder folder("quillora-versions");
    std::filesystem::create_directories(folder.path() / "other");
    const std::string path = folder.PathOf("Notes.qlb");
    const std::string namesake = folder.PathOf("other/Notes.qlb");
    const PreviousVersions versions(folder.PathOf("versions"), 10);
    PutFile(namesake, "namesake");
    ASSERT_TRUE(versions.Keep(namesake, {2026, 1, 1, 0, 0, 0}));

    for (int i = 0; i < 12; ++i) {
        const std::string content = "version " + std::to_string(i);
        PutFile(path + ".new", content);
        std::filesystem::rename(path + ".new", path);  // as a save replaces it
        ASSERT_TRUE(versions.Keep(path, {2026, 12, 8, 10, 0, i}));
        EXPECT_EQ(FileBytes(path), content);
    }
    const std::vector<std::string> kept = versions.Of(path);
    ASSERT_EQ(kept.size(), 10U);
    EXPECT_EQ(FileBytes(kept.front()), "version 11");
    EXPECT_EQ(FileBytes(kept.back()), "version 2");
    EXPECT_NE(kept.front().find("/Notes-2026-12-08_100011-"), std::string::npos) << kept.front();
    ASSERT_EQ(versions.Of(namesake).size(), 1U);
    EXPECT_FALSE(versions.Keep(folder.PathOf("missing.qlb"), {2026, 1, 1, 0, 0, 0}));
}

}  // namespace
}  // namespace quillora
