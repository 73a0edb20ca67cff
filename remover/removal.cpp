#include "remover/removal.h"

#include <string>
#include <system_error>

namespace quillora::remover {

namespace fs = std::filesystem;

namespace {

// Deletes a file or a symbolic link (never what a link points to). A folder of the same name, a
// missing file or a failed deletion leave things as they are.
void DeleteFileAt(const fs::path& path) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    if (error || fs::is_directory(status) || !fs::exists(status)) return;
    fs::remove(path, error);
}

// Removes the folder only when it is empty (a link of that name is left alone).
void RemoveEmptyFolder(const fs::path& path) {
    std::error_code error;
    if (!fs::is_directory(fs::symlink_status(path, error)) || error) return;
    if (!fs::is_empty(path, error) || error) return;
    fs::remove(path, error);
}

fs::path WithoutTrailingSeparator(const fs::path& folder) {
    fs::path normal = folder.lexically_normal();
    if (!normal.has_filename() && normal != normal.root_path()) normal = normal.parent_path();
    return normal;
}

// Deletes a file of ours below the user's data folder, then the folders that held only it.
void DeleteDataFile(const fs::path& data_folder, const fs::path& relative) {
    const fs::path file = data_folder / relative;
    DeleteFileAt(file);
    for (fs::path folder = file.parent_path(); folder != data_folder;
         folder = folder.parent_path()) {
        RemoveEmptyFolder(folder);
    }
}

// The program's icons in the user's theme, its file type and its description.
void DeleteDataFiles(const fs::path& data_folder) {
    const fs::path theme = fs::path("icons") / "hicolor";
    for (std::string_view size : kIconSizes) {
        DeleteDataFile(data_folder, theme / size / (std::string(kAppIcon) + ".png"));
        DeleteDataFile(data_folder, theme / size / (std::string(kDocumentIcon) + ".png"));
    }
    DeleteDataFile(data_folder, theme / "scalable" / (std::string(kAppIcon) + ".svg"));
    DeleteDataFile(data_folder, theme / "scalable" / (std::string(kDocumentIcon) + ".svg"));
    for (std::string_view file : kDataFiles) DeleteDataFile(data_folder, file);
}

}  // namespace

void RunRemoval(const RemovalPlaces& places, RemoverUi& ui) {
    if (!ui.AskToRemove(kQuestion)) return;

    const fs::path& program_folder = places.program_folder;
    if (!program_folder.empty()) {
        for (std::string_view name : kProgramFiles) DeleteFileAt(program_folder / name);
    }

    if (places.applications_folder) {
        const fs::path group = *places.applications_folder / kGroupFolderName;
        for (std::string_view entry : kGroupEntries) DeleteFileAt(group / entry);
    }
    if (places.desktop_folder) DeleteFileAt(*places.desktop_folder / kDesktopEntry);
    if (places.data_folder) DeleteDataFiles(*places.data_folder);
    if (places.applications_folder) {
        RemoveEmptyFolder(*places.applications_folder / kGroupFolderName);
    }

    ui.ShowDone(kClosingNotice);
    if (!program_folder.empty()) ui.OpenFolder(FolderToOpen(program_folder));
}

fs::path FolderToOpen(const fs::path& program_folder) {
    fs::path folder = WithoutTrailingSeparator(program_folder);
    if (folder == folder.root_path()) return folder;
    return folder.parent_path();
}

}  // namespace quillora::remover
