#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <functional>

#include "document/notes_document.h"

class QPushButton;
class QTabWidget;
class QTreeView;

namespace quillora {

class EditorsPage;
class FoldersPage;
class ImageList;
class LanguagePage;
class MiscellaneousPage;
class NotesListPage;
class ProfileFile;

// How the Notes List page makes its example tree: a view of the notes tree's own class, so the
// example shows the tree's lines and buttons exactly as the main window draws them. The window
// that opens the dialog knows that class; without it the example is a plain tree view.
struct ExampleTreeFactory {
    std::function<QTreeView*(QWidget* parent)> create;
    std::function<void(QTreeView& view, bool lines, bool buttons)> show_branches;
};

// What the settings dialog starts from and works on.
struct SettingsDialogContext {
    ProfileFile* settings = nullptr;
    ImageList* images = nullptr;  // the main window's image list
    NodeImages node_images;       // the three images in use
    bool tray_mode = false;       // whether this run shows the tray icon
    QString pack_in_use;          // the language pack's file name; empty for English
    QString program_folder;       // where language packs are looked for
    ExampleTreeFactory example_tree;
    // Called when the image chooser has saved changed custom images, so that the windows that
    // show them repaint.
    std::function<void()> images_saved;
};

// `TSettings`: the settings dialog. Five pages hold the appearance of the notes tree and the two
// panes, the node images, the default folders, the start-up and other options and the language
// pack. Nothing is written before OK, except the colour dialog's custom colours and the image
// chooser's custom images; OK writes every key in one write of the settings file and tells the
// user about the changes that take effect at the next start.
class TSettings final : public QDialog {
    Q_OBJECT
public:
    TSettings(const SettingsDialogContext& context, QWidget* parent);
    ~TSettings() override;

    // The images chosen on the Notes List page.
    NodeImages ChosenNodeImages() const;

    void OKButtonClick();
    void HelpButtonClick();

    QTabWidget* Pages() const { return pages_; }

private:
    // Grows the window, its pages and buttons so that no caption is cut.
    void FitToCaptions(const std::array<QPushButton*, 3>& buttons);
    // Writes every page's keys as one change of the settings file; false when it failed.
    bool WriteSettings();
    // The restart notices for what changed; empty when nothing needs a restart.
    QString RestartNotice() const;

    SettingsDialogContext context_;
    QTabWidget* pages_ = nullptr;
    NotesListPage* notes_list_ = nullptr;
    EditorsPage* editors_ = nullptr;
    FoldersPage* folders_ = nullptr;
    MiscellaneousPage* miscellaneous_ = nullptr;
    LanguagePage* language_ = nullptr;
};

}  // namespace quillora
