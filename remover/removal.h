#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quillora::remover {

inline constexpr std::string_view kCaption = "Quillora Un-Install";
inline constexpr std::string_view kQuestion = "Removes Quillora from your system?";
inline constexpr std::string_view kClosingNotice =
    "Some files cannot be deleted.\n\nPress OK to close this program then manually delete the "
    "folder.\n\nAll Quillora files will then be removed.";

// The installed files, deleted from the program folder in this order. Notes files, other files
// and the removal program itself are never touched.
inline constexpr std::array<std::string_view, 14> kProgramFiles = {
    "Quillora",     "Quillora.ini", "Quillora.hlp", "Quillora.cnt", "Quillora.gid",
    "Quillora.fts", "Quillora.fav", "File_Id.diz",  "ReadMe.txt",   "Spanish.chm",
    "Spanish.dll",  "Spanish.txt",  "Dutch.dll",    "Dutch.txt"};

// The menu group is a folder of this name in the applications folder; it holds these entries.
inline constexpr std::string_view kGroupFolderName = "Quillora";
inline constexpr std::array<std::string_view, 3> kGroupEntries = {
    "Quillora.desktop", "Quillora Help.desktop", "Un-Install Quillora.desktop"};
inline constexpr std::string_view kDesktopEntry = "Quillora.desktop";

// The program's icons in the user's icon theme: <theme>/<size>/<context>/<name>.<png|svg>.
inline constexpr std::array<std::string_view, 8> kIconSizes = {
    "16x16", "22x22", "24x24", "32x32", "48x48", "64x64", "128x128", "256x256"};
inline constexpr std::string_view kAppIcon = "apps/quillora";
inline constexpr std::string_view kDocumentIcon = "mimetypes/application-x-quillora-notes";
// The notes-file type and the description for software centres, in the user's data folder.
inline constexpr std::array<std::string_view, 2> kDataFiles = {
    "mime/packages/quillora-notes.xml", "metainfo/org.quillora.Quillora.metainfo.xml"};

// Where the removal works. A place that could not be determined is left empty and nothing is
// deleted there.
struct RemovalPlaces {
    std::filesystem::path program_folder;  // absolute, without links or ".." in it
    std::optional<std::filesystem::path> applications_folder;  // holds the menu group folder
    std::optional<std::filesystem::path> desktop_folder;
    std::optional<std::filesystem::path> data_folder;  // the user's data folder: icons, file type
};

// The two message boxes and the file manager, so that the removal runs without a display.
class RemoverUi {
public:
    virtual ~RemoverUi() = default;
    // The question with Yes and No; true only for Yes.
    virtual bool AskToRemove(std::string_view text) = 0;
    // The closing notice with an OK button.
    virtual void ShowDone(std::string_view text) = 0;
    // Shows the folder in the desktop's file manager; a failure is not reported.
    virtual void OpenFolder(const std::filesystem::path& folder) = 0;
};

// Asks, and on Yes deletes the program files, the menu entries, the menu group folder when it
// is empty and the desktop entry, then shows the closing notice and opens the folder that holds
// the program folder. Failures leave the item in place and are covered by the notice.
void RunRemoval(const RemovalPlaces& places, RemoverUi& ui);

// The folder to show at the end: the one that holds the program folder, or the program folder
// itself when it is the root and has no parent.
std::filesystem::path FolderToOpen(const std::filesystem::path& program_folder);

}  // namespace quillora::remover
