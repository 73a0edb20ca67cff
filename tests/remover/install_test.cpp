// Installs the real programs of this build with scripts/install.sh into a temporary program
// folder and home, then removes them again.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>

#include "remover/places.h"
#include "remover/removal.h"
#include "test_folder.h"

namespace quillora::remover {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::ScriptedRemoverUi;
using testing::TempFolder;
using testing::TreeBelow;
using testing::WriteFile;

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The value of `key` in a desktop entry, with the string escapes undone.
std::string EntryValue(const std::string& entry, const std::string& key) {
    std::istringstream lines(entry);
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with(key + "=")) continue;
        std::string value;
        for (std::size_t i = key.size() + 1; i < line.size(); ++i) {
            if (line[i] == '\\' && i + 1 < line.size()) {
                const char next = line[++i];
                value += next == 'n' ? '\n' : next == 't' ? '\t' : next == 'r' ? '\r' : next;
            } else {
                value += line[i];
            }
        }
        return value;
    }
    return "<no " + key + ">";
}

// The program of an Exec value: its first argument, with the quoting undone.
std::string ExecProgram(const std::string& exec) {
    if (exec.empty() || exec[0] != '"') return exec.substr(0, exec.find(' '));
    std::string program;
    for (std::size_t i = 1; i < exec.size() && exec[i] != '"'; ++i) {
        program += exec[i] == '\\' && i + 1 < exec.size() ? exec[++i] : exec[i];
    }
    std::string unpercented;
    for (std::size_t i = 0; i < program.size(); ++i) {
        unpercented += program[i];
        if (program[i] == '%' && i + 1 < program.size() && program[i + 1] == '%') ++i;
    }
    return unpercented;
}

// The tree without the caches the desktop's tools regenerate from what is installed.
std::set<std::string> WithoutDesktopCaches(std::set<std::string> tree) {
    std::erase_if(tree, [](const std::string& path) {
        return path.starts_with("home/ann/.local/share/mime") ||
               path == "home/ann/.local/share/applications/mimeinfo.cache";
    });
    return tree;
}

class InstallTest : public ::testing::Test {
protected:
    fs::path home() const { return temp_.path() / "home" / "ann"; }

    // Runs the install script; the program folder is created by the install.
    int Install(const fs::path& folder) {
        const std::string command =
            "env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u DESTDIR HOME=" +
            ShellQuoted(home().string()) + " CMAKE=" + ShellQuoted(QUILLORA_CMAKE) + " bash " +
            ShellQuoted(std::string(QUILLORA_SOURCE_DIR) + "/scripts/install.sh") +
            " --build-dir " + ShellQuoted(QUILLORA_BINARY_DIR) + " " +
            ShellQuoted(folder.string()) + " > " +
            ShellQuoted((temp_.path() / "install.log").string()) + " 2>&1";
        return std::system(command.c_str());
    }

    RemovalPlaces Places(const fs::path& executable_folder) const {
        std::map<std::string, std::string> environment = {{"HOME", home().string()}};
        return LocatePlaces(
            [&](const char* name) -> std::optional<std::string> {
                auto it = environment.find(name);
                if (it == environment.end()) return std::nullopt;
                return it->second;
            },
            executable_folder);
    }

    std::string Log() const { return ReadFile(temp_.path() / "install.log"); }

    TempFolder temp_;
};

TEST_F(InstallTest, InstallLaysOutTheProgramFolderAndShortcutsAndRemovalUndoesIt) {
    WriteFile(home() / ".config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
    const fs::path folder = temp_.path() / "Program Files" / "Quillora";
    ASSERT_EQ(Install(folder), 0) << Log();

    EXPECT_EQ(TreeBelow(folder), (std::set<std::string>{"Quillora", "Quillora.hlp", "Quillrid"}));
    for (const char* program : {"Quillora", "Quillrid"}) {
        EXPECT_NE(fs::status(folder / program).permissions() & fs::perms::owner_exec,
                  fs::perms::none);
    }
    const fs::path group = home() / ".local/share/applications/Quillora";
    EXPECT_EQ(TreeBelow(group), (std::set<std::string>{"Quillora Help.desktop", "Quillora.desktop",
                                                       "Un-Install Quillora.desktop"}));
    const std::string uninstall = ReadFile(group / "Un-Install Quillora.desktop");
    EXPECT_EQ(EntryValue(uninstall, "Name"), "Un-Install Quillora");
    EXPECT_EQ(EntryValue(uninstall, "Type"), "Application");
    EXPECT_EQ(ExecProgram(EntryValue(uninstall, "Exec")), (folder / "Quillrid").string());
    EXPECT_EQ(EntryValue(uninstall, "Path"), folder.string());
    const std::string help = ReadFile(group / "Quillora Help.desktop");
    const std::string help_exec = EntryValue(help, "Exec");
    ASSERT_TRUE(help_exec.starts_with("xdg-open ")) << help_exec;
    EXPECT_EQ(ExecProgram(help_exec.substr(9)), (folder / "Quillora.hlp").string());
    const fs::path desktop_entry = home() / "Schreibtisch/Quillora.desktop";
    ASSERT_TRUE(fs::exists(desktop_entry));
    EXPECT_EQ(ExecProgram(EntryValue(ReadFile(desktop_entry), "Exec")),
              (folder / "Quillora").string());

    // What the program writes beside itself, and the user's notes.
    WriteFile(folder / "Quillora.ini");
    WriteFile(folder / "Quillora.fav");
    WriteFile(folder / "Diary.qlb");
    const std::set<std::string> installed = TreeBelow(temp_.path());

    ScriptedRemoverUi no(false);
    RunRemoval(Places(folder), no);
    EXPECT_EQ(TreeBelow(temp_.path()), installed);

    ScriptedRemoverUi yes(true);
    RunRemoval(Places(folder), yes);
    ASSERT_EQ(yes.calls.size(), 3u);
    EXPECT_EQ(yes.calls[2], "open:" + (temp_.path() / "Program Files").string());
    const std::set<std::string> remaining = {"home",
                                             "home/ann",
                                             "home/ann/.config",
                                             "home/ann/.config/user-dirs.dirs",
                                             "home/ann/.local",
                                             "home/ann/.local/share",
                                             "home/ann/.local/share/applications",
                                             "home/ann/Schreibtisch",
                                             "install.log",
                                             "Program Files",
                                             "Program Files/Quillora",
                                             "Program Files/Quillora/Quillrid",
                                             "Program Files/Quillora/Diary.qlb"};
    EXPECT_EQ(WithoutDesktopCaches(TreeBelow(temp_.path())), remaining);
    EXPECT_FALSE(fs::exists(home() / ".local/share/mime/packages/quillora-notes.xml"));
}

TEST_F(InstallTest, TheEntriesAndTheDescriptionAreValidAndNotesFilesAreOfOurType) {
    ASSERT_EQ(Install(temp_.path() / "Quillora"), 0) << Log();
    const fs::path data = home() / ".local/share";
    const std::string validate_entry =
        "desktop-file-validate " +
        ShellQuoted((data / "applications/Quillora/Quillora.desktop").string());
    EXPECT_EQ(std::system(validate_entry.c_str()), 0);
    const std::string validate_info =
        "appstreamcli validate --no-net >/dev/null " +
        ShellQuoted((data / "metainfo/org.quillora.Quillora.metainfo.xml").string());
    EXPECT_EQ(std::system(validate_info.c_str()), 0);
    EXPECT_NE(ReadFile(data / "mime/globs2").find("application/x-quillora-notes:*.qlb"),
              std::string::npos);
    EXPECT_NE(ReadFile(data / "mime/magic").find("QuilloraApp"), std::string::npos);
    EXPECT_NE(ReadFile(data / "applications/mimeinfo.cache")
                  .find("application/x-quillora-notes=Quillora-Quillora.desktop"),
              std::string::npos);
    EXPECT_TRUE(fs::exists(data / "icons/hicolor/scalable/apps/quillora.svg"));
    EXPECT_TRUE(
        fs::exists(data / "icons/hicolor/48x48/mimetypes/application-x-quillora-notes.png"));
}

TEST_F(InstallTest, ExecLinesKeepAnOddProgramFolderIntact) {
    const fs::path folder = temp_.path() / "it's \"odd\" $HOME `x` 100%" / "Quillora";
    ASSERT_EQ(Install(folder), 0) << Log();

    const fs::path group = home() / ".local/share/applications/Quillora";
    EXPECT_EQ(ExecProgram(EntryValue(ReadFile(group / "Quillora.desktop"), "Exec")),
              (folder / "Quillora").string());
    EXPECT_EQ(ExecProgram(EntryValue(ReadFile(group / "Un-Install Quillora.desktop"), "Exec")),
              (folder / "Quillrid").string());
    EXPECT_EQ(ExecProgram(EntryValue(ReadFile(home() / "Desktop/Quillora.desktop"), "Exec")),
              (folder / "Quillora").string());
}

TEST_F(InstallTest, ScriptRefusesFoldersThatAreNotQuillorasOwn) {
    EXPECT_NE(Install(home()), 0);
    EXPECT_NE(Log().find("not a folder of Quillora's own"), std::string::npos) << Log();
    EXPECT_FALSE(fs::exists(home() / "Quillrid"));
}

}  // namespace
}  // namespace quillora::remover
