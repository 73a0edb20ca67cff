#pragma once

#include <QPlainTextEdit>

namespace quillora {

// One of the two text panes: `Memo` for notes, `FolderMemo` for folders. Plain text, tabs
// accepted, the selection kept visible when the pane loses the focus.
class NotePane : public QPlainTextEdit {
    Q_OBJECT
public:
    NotePane(const QString& object_name, QWidget* parent);

    // Shows `text` without it counting as an edit: no change signal, a fresh undo history.
    void ShowText(const QString& text);
};

}  // namespace quillora
