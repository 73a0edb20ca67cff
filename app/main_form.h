#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>

#include "app/app_context.h"
#include "base/command_line.h"
#include "gui/icons/image_list.h"
#include "document/notes_document.h"

class QLabel;
class QSplitter;
class QToolBar;
class QStackedWidget;
class QTimer;

namespace quillora {

class DocumentCommands;
class NotePane;
class NoteTreeModel;
class TMyTreeView;

// `TMainForm`: the main window. It owns the open document and shows it: the tree on the left,
// the pane of the selected node on the right, the status bar below.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(AppContext& context, QWidget* parent = nullptr);
    ~TMainForm() override;

    NotesDocument& Document() { return doc_; }
    ProfileFile& SettingsFile() { return *context_.settings_file; }
    TMyTreeView* Tree() const { return notes_tree_; }
    NoteTreeModel* TreeModel() const { return tree_model_; }
    NotePane* Memo() const { return memo_; }
    NotePane* FolderMemo() const { return folder_memo_; }
    NotePane* VisiblePane() const;
    const ImageList& Images() const { return image_list_; }
    ImageList& Images() { return image_list_; }
    DocumentCommands* Documents() const { return document_commands_; }

    // --- document state ---
    void MarkModified();
    void ClearModified();
    void CloseDocument();
    void StoreCurrentText();
    NodeId SelectedNode() const;
    void SelectNode(NodeId node);

    // --- refresh ---
    void UpdateToolButtons();
    void UpdatePaneEnabling();
    void SetStatusText(int panel, const QString& text);
    QString StatusText(int panel) const;

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

    // --- the notes file, with its messages and progress ---
    // Reads `path` into the (empty) document; failures are reported and leave it empty.
    void ReadNotesFileReporting(const QString& path);
    // Writes the document to `path`; false (after message 7758) when it could not be written.
    bool WriteNotesFileReporting(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildLayout();
    void PlaceWindowFromSettings();
    void CreateWindowCommands();
    void ApplyWindowSettings();
    void WriteWindowSettings();
    bool WordWrapOn() const;
    QToolBar* ToolBar() const;
    void NotesTreeChange();
    void MemoChange();
    void TimerTimer();
    void ShowProgress(uint16_t id, const char* english, int index);

    AppContext& context_;
    CommandLine command_line_;
    NotesDocument doc_;
    ImageList image_list_;
    NoteTreeModel* tree_model_ = nullptr;
    TMyTreeView* notes_tree_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QStackedWidget* panes_ = nullptr;
    NotePane* memo_ = nullptr;
    NotePane* folder_memo_ = nullptr;
    std::array<QLabel*, 4> status_panels_{};
    QTimer* start_timer_ = nullptr;
    DocumentCommands* document_commands_ = nullptr;
    bool memo_change_attached_ = false;
    bool tree_change_attached_ = true;
    qint64 last_progress_paint_ms_ = 0;
};

}  // namespace quillora
