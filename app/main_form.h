#pragma once

#include <QMainWindow>
#include <array>
#include <memory>

#include "app/app_context.h"
#include "app/commands/command_host.h"
#include "app/recovery_keeper.h"
#include "base/command_line.h"
#include "document/notes_document.h"
#include "document/notes_file.h"
#include "document/previous_versions.h"
#include "gui/action_registry.h"
#include "gui/icons/image_list.h"

class QLabel;
class QSplitter;
class QToolBar;
class QTimer;

namespace quillora {

class DocumentCommands;
class EditCommands;
class ExchangeCommands;
class FavoritesCommands;
class InfoCommands;
class NotePane;
class NotePanes;
class NoteTreeModel;
class SearchCommands;
class SettingsCommands;
class StartReadAhead;
class TMyTreeView;
class TrayController;
class TreeCommands;
class WindowAppearance;

// `TMainForm`: the main window. It owns the open document and shows it: the tree on the left,
// the pane of the selected node on the right, the status bar below. The commands of its menus
// belong to one controller per concern, which reach the window through CommandHost.
class TMainForm : public QMainWindow, public CommandHost {
    Q_OBJECT
public:
    explicit TMainForm(AppContext& context, QWidget* parent = nullptr);
    ~TMainForm() override;

    // --- CommandHost ---
    QWidget& Window() override { return *this; }
    NotesDocument& Document() override { return doc_; }
    ProfileFile& SettingsFile() override { return *context_.settings_file; }
    ActionRegistry& Actions() override { return actions_; }
    TMyTreeView* Tree() const override { return notes_tree_; }
    NoteTreeModel* TreeModel() const override { return tree_model_; }
    NotePanes& Panes() override { return *panes_; }
    NodeId SelectedNode() const override;
    void SelectNode(NodeId node) override;
    void SetStatusText(int panel, const QString& text) override;
    // Enables the tool buttons by the selection and the modified flag.
    void UpdateToolButtons();
    void UpdatePaneEnabling() override;
    void CloseDocument() override;
    // Reads `path` into the (empty) document; failures are reported and leave it empty.
    void ReadNotesFileReporting(const QString& path) override;
    // Writes the document to `path`; false (after message 7758) when it could not be written.
    bool WriteNotesFileReporting(const QString& path) override;

    NotePane* Memo() const;
    NotePane* FolderMemo() const;
    NotePane* VisiblePane() const;
    const ImageList& Images() const { return image_list_; }
    ImageList& Images() { return image_list_; }
    QString StatusText(int panel) const;

    // The controllers.
    DocumentCommands* Documents() const { return document_commands_.get(); }
    EditCommands* Edits() const { return edit_commands_.get(); }
    TreeCommands* TreeCommandsController() const { return tree_commands_.get(); }
    SearchCommands* Searches() const { return search_commands_.get(); }
    RecoveryKeeper* Recovery() const { return recovery_.get(); }
    ExchangeCommands* Exchanges() const { return exchange_commands_.get(); }
    FavoritesCommands* Favorites() const { return favorites_commands_.get(); }
    InfoCommands* Infos() const { return info_commands_.get(); }
    // The tray icon and its window modes; none unless the program runs in tray mode.
    TrayController* Tray() const { return tray_.get(); }
    // The language pack's file name in use for this run; empty for English.
    const QString& LanguagePackName() const { return context_.language_pack_name; }

    // --- document state ---
    void MarkModified() { doc_.modified = true; }
    void ClearModified() { doc_.modified = false; }
    void StoreCurrentText();

    // The appearance settings, read from the settings file and applied to the window.
    void ApplyFlatButtons();
    void ApplyEditorSettings();
    void ApplyNotesListSettings();
    void LoadCustomImages();

    // Builds the menus, the tree's context menu and the tool bar from the registered commands
    // (again, replacing what an earlier build made) and attaches the controllers to them.
    void BuildMenus();

    // --- window modes and the View and Help toggles ---
    void ViewMenuToolBarClick();
    void ViewMenuStatusBarClick();
    void ViewMenuAlwaysOnTopClick();
    void HelpMenuShowHintsClick();
    void HelpMenuContentsClick();
    void HelpMenuWhatsNewClick();
    void SetAlwaysOnTop(bool on);
    bool IsAlwaysOnTop() const;
    // Tool tips of the tool buttons on or off.
    void SetHintsShown(bool on);

    // Another start named `path` (or no file, when empty): the window comes to the front and
    // opens it as Re-Open would, with its save prompt, once no dialog of this copy is open.
    void OpenHandedOverFile(const QString& path);

signals:
    // The window's close was accepted: the program ends now.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OpenOnceNoDialogIsOpen(const QString& path);
    void BuildLayout();
    void BuildStatusBar();
    void WidenStatusPanelsForPack();
    void PlaceWindowFromSettings();
    void CreateWindowCommands();
    void ApplyWindowSettings();
    void WriteWindowSettings();
    void FollowModifiedFlag();
    void KeepSafetyCopies();
    bool RestoreLeftChanges(const LeftRecovery& left);
    QToolBar* ToolBar() const { return tool_bar_; }
    void NotesTreeChange();
    // Starts the timer that opens the start file, 180 ms after the window's creation.
    void StartTheStartTimer(qint64 elapsed_since_creation);
    void TimerTimer();
    // The file the start timer opens first: the command line's, else the last one when it is
    // to be opened again.
    std::string StartFile();
    void ReadReporting(const QString& given_path, PreparedNotesFile&& prepared);
    void ShowProgress(uint16_t id, const char* english, int index);

    AppContext& context_;
    CommandLine command_line_;
    NotesDocument doc_;
    ImageList image_list_;
    ActionRegistry actions_{*this};
    NoteTreeModel* tree_model_ = nullptr;
    TMyTreeView* notes_tree_ = nullptr;
    QSplitter* splitter_ = nullptr;
    NotePanes* panes_ = nullptr;
    QToolBar* tool_bar_ = nullptr;
    std::array<QLabel*, 4> status_panels_{};
    QTimer* start_timer_ = nullptr;
    bool tree_change_attached_ = true;
    qint64 last_progress_paint_ms_ = 0;

    StartReadAhead* read_ahead_ = nullptr;
    std::unique_ptr<RecoveryKeeper> recovery_;
    std::unique_ptr<PreviousVersions> versions_;
    std::unique_ptr<DocumentCommands> document_commands_;
    std::unique_ptr<EditCommands> edit_commands_;
    std::unique_ptr<TreeCommands> tree_commands_;
    std::unique_ptr<SearchCommands> search_commands_;
    std::unique_ptr<ExchangeCommands> exchange_commands_;
    std::unique_ptr<FavoritesCommands> favorites_commands_;
    std::unique_ptr<InfoCommands> info_commands_;
    std::unique_ptr<SettingsCommands> settings_commands_;
    std::unique_ptr<TrayController> tray_;
    WindowAppearance* appearance_ = nullptr;
};

}  // namespace quillora
