#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

#include "gui/platform.h"

class QAction;

namespace quillora {

class CommandHost;

// The main window's controller for the File menu's document commands (New, Open, Save,
// Save As, Exit), the re-open list and files dropped on the window.
class DocumentCommands : public QObject {
    Q_OBJECT
public:
    // Longest file-name caption of a re-open item; longer names are cut to kCutCaptionLength.
    static constexpr int kMaxCaptionLength = 63;
    static constexpr int kCutCaptionLength = 60;

    explicit DocumentCommands(CommandHost& host);
    // Enables the File menu's items whenever it opens.
    void AttachMenus();

    // The prompt before the document is closed: the wording for an untitled document and what
    // Yes does for it differ between the commands that ask.
    enum class Prompt { Command, Favorite, Drop };
    // If the document has unsaved changes, asks whether to save them. False when the command
    // must stop: Cancel, or a Save As dialog cancelled after Yes. A failed save does not stop it.
    bool AskSaveChanges(Prompt prompt = Prompt::Command);

    void FileMenuNewClick();
    void FileMenuOpenClick();
    void FileMenuSaveClick();
    // False when the user cancelled the dialog; true once a path was chosen, even if writing
    // to it failed (that was reported and the document stays modified).
    bool FileMenuSaveAsClick();
    void FileMenuExitClick();
    void ReOpenMenuClearListClick();
    // Fills the Re-Open submenu from the settings and enables the File menu's items.
    void FileMenuClick();
    // Opens `path` after asking about unsaved changes: the re-open items and the favorites.
    void LoadFavorite(const QString& path);
    // The first dropped path is opened when it is a notes file; otherwise each dropped path
    // that is not a notes file goes to the import handler, until one reports a full document.
    void DropFiles(const QStringList& paths);
    // Imports one file as a note; false when the document is full. Without one, dropped files
    // that are not notes files are skipped.
    void SetImportHandler(std::function<bool(const QString&)> import_file);

    // The dialogs' initial folders, from DefaultOpenDir and DefaultSaveDir.
    void SetDialogFolders();
    const FileDialogRequest& OpenDialog() const { return open_dialog_; }
    const FileDialogRequest& SaveAsDialog() const { return save_dialog_; }

    // The caption of a re-open item for `path`: its file-name part, cut when too long.
    static QString ReOpenCaption(const QString& path);

private:
    void FillReOpenItems();
    bool SaveDocument();
    void OpenFile(const QString& path);

    CommandHost& host_;
    FileDialogRequest open_dialog_;
    FileDialogRequest save_dialog_;
    std::function<bool(const QString&)> import_file_;
    bool dropping_ = false;
};

}  // namespace quillora
