#pragma once

#include <QString>

#include "document/note_tree.h"

class QWidget;

namespace quillora {

class ActionRegistry;
class NotePanes;
class NotesDocument;
class NoteTreeModel;
class ProfileFile;
class TMyTreeView;

// What the controllers of the main window's commands may reach of it: the document and its
// view, the panes, the status bar and the notes file with its messages. The window itself is
// there only as the owner of dialogs and message boxes.
class CommandHost {
public:
    virtual QWidget& Window() = 0;
    virtual NotesDocument& Document() = 0;
    virtual ProfileFile& SettingsFile() = 0;
    virtual ActionRegistry& Actions() = 0;
    virtual TMyTreeView* Tree() const = 0;
    virtual NoteTreeModel* TreeModel() const = 0;
    virtual NotePanes& Panes() = 0;

    virtual NodeId SelectedNode() const = 0;
    // Makes `node` the selected node and scrolls it into view; its text is then shown.
    virtual void SelectNode(NodeId node) = 0;
    virtual void SetStatusText(int panel, const QString& text) = 0;
    // The panes are enabled while the tree has nodes.
    virtual void UpdatePaneEnabling() = 0;

    virtual void CloseDocument() = 0;
    virtual void ReadNotesFileReporting(const QString& path) = 0;
    virtual bool WriteNotesFileReporting(const QString& path) = 0;

protected:
    ~CommandHost() = default;
};

}  // namespace quillora
