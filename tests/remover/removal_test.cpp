#include "remover/removal.h"

#include <gtest/gtest.h>

#include "test_folder.h"

namespace quillora::remover {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedRemoverUi;
using testing::TempFolder;
using testing::TreeBelow;
using testing::WriteFile;

// An installed program in a temporary "root": the program folder opt/Quillora with every listed
// file, the removal program and some of the user's own files, the menu group with its three
// entries, and the desktop entry.
class RemovalTest : public ::testing::Test {
protected:
    RemovalTest() {
        places_.program_folder = root() / "opt" / "Quillora";
        places_.applications_folder = root() / "home" / ".local" / "share" / "applications";
        places_.desktop_folder = root() / "home" / "Desktop";
    }

    const fs::path& root() const { return temp_.path(); }
    fs::path program(std::string_view name) const { return places_.program_folder / name; }
    fs::path group() const { return *places_.applications_folder / kGroupFolderName; }

    void InstallEverything() {
        for (std::string_view name : kProgramFiles) WriteFile(program(name));
        WriteFile(program("Quillrid"));
        for (std::string_view entry : kGroupEntries) WriteFile(group() / entry);
        WriteFile(*places_.desktop_folder / kDesktopEntry);
    }

    void AddUsersFiles() {
        WriteFile(program("Diary.qlb"));
        WriteFile(program("Quillora.ini.bak"));
        WriteFile(program("German.dll"));
        WriteFile(*places_.desktop_folder / "Other.desktop");
    }

    std::vector<std::string> Run(bool answer_yes) {
        ScriptedRemoverUi ui(answer_yes);
        RunRemoval(places_, ui);
        return ui.calls;
    }

    TempFolder temp_;
    RemovalPlaces places_;
};

const std::string kAsk = "ask:" + std::string(kQuestion);
const std::string kDone = "done:" + std::string(kClosingNotice);

TEST_F(RemovalTest, NoChangesNothingAndShowsNothingMore) {
    InstallEverything();
    AddUsersFiles();
    const std::set<std::string> before = TreeBelow(root());

    EXPECT_EQ(Run(false), std::vector<std::string>{kAsk});
    EXPECT_EQ(TreeBelow(root()), before);
}

TEST_F(RemovalTest, YesRemovesTheInstallAndKeepsTheUsersFiles) {
    InstallEverything();
    AddUsersFiles();

    const auto calls = Run(true);

    const std::vector<std::string> expected_calls = {kAsk, kDone,
                                                     "open:" + (root() / "opt").string()};
    EXPECT_EQ(calls, expected_calls);
    const std::set<std::string> expected = {"home",
                                            "home/.local",
                                            "home/.local/share",
                                            "home/.local/share/applications",
                                            "home/Desktop",
                                            "home/Desktop/Other.desktop",
                                            "opt",
                                            "opt/Quillora",
                                            "opt/Quillora/Quillrid",
                                            "opt/Quillora/Diary.qlb",
                                            "opt/Quillora/Quillora.ini.bak",
                                            "opt/Quillora/German.dll"};
    EXPECT_EQ(TreeBelow(root()), expected);
}

TEST_F(RemovalTest, MissingFilesAndPlacesAreSkippedAndTheNoticeStillShows) {
    WriteFile(program("Quillora"));
    WriteFile(program("Dutch.txt"));
    WriteFile(program("Quillrid"));
    // No menu group, no desktop folder at all.

    EXPECT_EQ(Run(true).size(), 3u);
    EXPECT_EQ(TreeBelow(places_.program_folder), std::set<std::string>{"Quillrid"});

    places_.applications_folder.reset();
    places_.desktop_folder.reset();
    WriteFile(program("Quillora.fav"));
    const auto calls = Run(true);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[1], kDone);
    EXPECT_EQ(TreeBelow(places_.program_folder), std::set<std::string>{"Quillrid"});
}

TEST_F(RemovalTest, GroupFolderWithForeignItemsStays) {
    InstallEverything();
    WriteFile(group() / "Quillora Tips.desktop");
    fs::create_directories(group() / "Extras");

    Run(true);

    EXPECT_EQ(TreeBelow(group()), (std::set<std::string>{"Extras", "Quillora Tips.desktop"}));
}

TEST_F(RemovalTest, ListedNamesThatAreFoldersOrLinksAreHandledAsFiles) {
    // A folder named like a listed file is not a file and stays with its contents.
    WriteFile(program("ReadMe.txt") / "kept.txt");
    // A link is deleted, never what it points to.
    const fs::path outside = root() / "elsewhere" / "settings.ini";
    WriteFile(outside, "precious");
    fs::create_symlink(outside, program("Quillora.ini"));
    fs::create_symlink(root() / "nowhere", program("Quillora.hlp"));
    // A group "folder" that is a link to another folder is not removed.
    const fs::path other_group = root() / "other-group";
    fs::create_directories(other_group);
    fs::create_directories(*places_.applications_folder);
    fs::create_directory_symlink(other_group, group());

    Run(true);

    EXPECT_EQ(TreeBelow(places_.program_folder),
              (std::set<std::string>{"ReadMe.txt", "ReadMe.txt/kept.txt"}));
    EXPECT_EQ(testing::ReadFile(outside), "precious");
    EXPECT_TRUE(fs::is_symlink(group()));
    EXPECT_TRUE(fs::is_directory(other_group));
}

TEST_F(RemovalTest, ProgramFolderGivenWithTrailingSeparator) {
    InstallEverything();
    places_.program_folder = root() / "opt" / "Quillora" / "";

    const auto calls = Run(true);

    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[2], "open:" + (root() / "opt").string());
    EXPECT_EQ(TreeBelow(root() / "opt" / "Quillora"), std::set<std::string>{"Quillrid"});
}

TEST(FolderToOpenTest, IsTheParentFolderAndTheRootStaysTheRoot) {
    EXPECT_EQ(FolderToOpen("/opt/Quillora/"), fs::path("/opt"));
    EXPECT_EQ(FolderToOpen("/opt/Quillora"), fs::path("/opt"));
    EXPECT_EQ(FolderToOpen("/home/ann/Program Files/Quillora/"),
              fs::path("/home/ann/Program Files"));
    EXPECT_EQ(FolderToOpen("/Quillora/"), fs::path("/"));
    // A program folder at the root has no parent: the root itself is shown, not a relative name.
    EXPECT_EQ(FolderToOpen("/"), fs::path("/"));
    EXPECT_EQ(FolderToOpen("//"), fs::path("/"));
    EXPECT_EQ(FolderToOpen("/."), fs::path("/"));
}

}  // namespace
}  // namespace quillora::remover
