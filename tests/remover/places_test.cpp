#include "remover/places.h"

#include <gtest/gtest.h>

#include <map>

#include "test_folder.h"

namespace quillora::remover {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;
using testing::WriteFile;

EnvironmentLookup FromMap(std::map<std::string, std::string> values) {
    return [values = std::move(values)](const char* name) -> std::optional<std::string> {
        auto it = values.find(name);
        if (it == values.end()) return std::nullopt;
        return it->second;
    };
}

TEST(PlacesTest, ProgramFolderIsTheExecutablesUnlessQuilloraHomeNamesOne) {
    EXPECT_EQ(LocatePlaces(FromMap({}), "/opt/Quillora").program_folder, "/opt/Quillora");
    EXPECT_EQ(LocatePlaces(FromMap({{"QUILLORA_HOME", ""}}), "/opt/Quillora").program_folder,
              "/opt/Quillora");
    EXPECT_EQ(LocatePlaces(FromMap({{"QUILLORA_HOME", "/srv/q"}}), "/opt/Quillora").program_folder,
              "/srv/q");
    // A relative override is taken from the working folder, so the folder opened at the end is a
    // real one.
    EXPECT_EQ(
        LocatePlaces(FromMap({{"QUILLORA_HOME", "portable"}}), "/opt/Quillora").program_folder,
        fs::current_path() / "portable");

    // Links and ".." are resolved as the operating system resolves them, so the folder opened
    // at the end is the one that holds the deleted files.
    TempFolder temp;
    fs::create_directories(temp.path() / "real" / "Quillora");
    fs::create_directory_symlink(temp.path() / "real" / "Quillora", temp.path() / "link");
    const fs::path through_link = temp.path() / "link" / ".." / "Quillora";
    EXPECT_EQ(LocatePlaces(FromMap({{"QUILLORA_HOME", through_link.string()}}), "/opt/Quillora")
                  .program_folder,
              fs::canonical(temp.path()) / "real" / "Quillora");
}

TEST(PlacesTest, ShortcutPlacesFollowHomeAndTheXdgFolders) {
    TempFolder temp;
    const fs::path home = temp.path() / "ann";

    RemovalPlaces places = LocatePlaces(FromMap({{"HOME", home.string()}}), "/opt/Quillora");
    EXPECT_EQ(places.applications_folder, home / ".local/share/applications");
    EXPECT_EQ(places.desktop_folder, home / "Desktop");

    places = LocatePlaces(FromMap({{"HOME", home.string()},
                                   {"XDG_DATA_HOME", "/data/ann"},
                                   {"XDG_CONFIG_HOME", "relative/ignored"}}),
                          "/opt/Quillora");
    EXPECT_EQ(places.applications_folder, fs::path("/data/ann/applications"));
    EXPECT_EQ(places.desktop_folder, home / "Desktop");

    places =
        LocatePlaces(FromMap({{"HOME", home.string()}, {"XDG_DATA_HOME", "rel"}}), "/opt/Quillora");
    EXPECT_EQ(places.applications_folder, home / ".local/share/applications");

    // The desktop folder the user renamed, from the user's folder names file.
    WriteFile(home / ".config/user-dirs.dirs",
              "# written by xdg-user-dirs-update\nXDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n"
              "XDG_DESKTOP_DIR=\"$HOME/Bureau\"\n");
    places = LocatePlaces(FromMap({{"HOME", home.string()}}), "/opt/Quillora");
    EXPECT_EQ(places.desktop_folder, home / "Bureau");

    // Without a home nothing can be placed there; the program folder still is.
    places = LocatePlaces(FromMap({{"HOME", "not/absolute"}}), "/opt/Quillora");
    EXPECT_FALSE(places.applications_folder);
    EXPECT_FALSE(places.desktop_folder);
    EXPECT_EQ(places.program_folder, "/opt/Quillora");
}

TEST(PlacesTest, DesktopFolderFromUserDirsValues) {
    const fs::path home = "/home/ann";
    struct Case {
        const char* text;
        std::optional<fs::path> desktop;
    } cases[] = {
        {"XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n", home / "Desktop"},
        {"  XDG_DESKTOP_DIR=\"$HOME/Mon bureau\"\r\n", home / "Mon bureau"},
        {"XDG_DESKTOP_DIR=\"$HOME//Deep/Desk\"", home / "Deep/Desk"},
        {"XDG_DESKTOP_DIR=\"$HOME\"", home},
        {"XDG_DESKTOP_DIR=\"$HOME/\"", home},
        {"XDG_DESKTOP_DIR=\"/mnt/desk\"", fs::path("/mnt/desk")},
        {"XDG_DESKTOP_DIR=\"$HOME/Say \\\"hi\\\"\"", home / "Say \"hi\""},
        // Later lines win, as when the file is read by a shell.
        {"XDG_DESKTOP_DIR=\"$HOME/A\"\nXDG_DESKTOP_DIR=\"$HOME/B\"", home / "B"},
        // Not a value this reader (or the desktop) accepts.
        {"XDG_DESKTOP_DIR=\"$HOMEWORK/x\"", std::nullopt},
        {"XDG_DESKTOP_DIR=\"relative\"", std::nullopt},
        {"XDG_DESKTOP_DIR=\"$HOME/unterminated", std::nullopt},
        {"XDG_DESKTOP_DIR=$HOME/Desktop", std::nullopt},
        {"# XDG_DESKTOP_DIR=\"$HOME/Commented\"", std::nullopt},
        {"XDG_DOCUMENTS_DIR=\"$HOME/Documents\"", std::nullopt},
        {"", std::nullopt},
        {"XDG_DESKTOP_DIR=\"\\", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DesktopFolderFromUserDirs(c.text, home), c.desktop) << c.text;
    }
    EXPECT_EQ(DesktopFolderFromUserDirs("XDG_DESKTOP_DIR=\"$HOME/Desktop\"", fs::path()),
              std::nullopt);
}

}  // namespace
}  // namespace quillora::remover
