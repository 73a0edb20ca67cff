#pragma once

#include <QPlainTextEdit>
#include <utility>

#include "document/text_store.h"

namespace quillora {

// One of the two text panes: `Memo` for notes, `FolderMemo` for folders. Plain text, tabs
// accepted, the selection kept visible when the pane loses the focus.
//
// Lengths are counted as the node's text counts them: every line break is CR LF, two
// characters. Text that enters the pane (typed, pasted, dropped, inserted by a command) is made
// representable in Windows-1252 first, so what the user sees is exactly what is saved.
class NotePane : public QPlainTextEdit {
    Q_OBJECT
public:
    static constexpr int kMaxLength = kMaxEditLength;

    NotePane(const QString& object_name, QWidget* parent);

    // Shows `text` without it counting as an edit: no change signal, a fresh undo history.
    void ShowText(const QString& text);

    // The pane's text exactly as it holds it, line breaks as '\n'. Unlike toPlainText(), which
    // turns no-break spaces into plain ones, this keeps every character for the store.
    QString PlainText() const;

    // The length of the pane's text with each line break counted as two characters.
    int TextLength() const;

    // Inserts `text` at the caret in place of the selection, as one undoable edit of the user.
    // Line breaks of any kind become the pane's own, characters Windows-1252 cannot hold become
    // '?', and what would take the text past kMaxLength is left out. False when nothing could
    // be inserted.
    bool InsertText(const QString& text);

    // Replaces the selection by `text` of the same length and keeps it selected; the edit cannot
    // be undone (the undo history is emptied with it, so older steps cannot land in the wrong
    // place).
    void ReplaceSelectionForever(const QString& text);

    // Deletes the line that holds the start of the selection with its line break (the last
    // line: its characters only); cannot be undone.
    void DeleteCaretLine();

    // Word wrap on: wrapped at the pane's width, vertical scroll bar; off: both scroll bars.
    void SetWordWrap(bool on);

    // Typing mode of this pane: insert (true) or overwrite.
    bool InsertMode() const { return !overwriteMode(); }
    void ToggleTypingMode();

    // The caret's place for the status bar, both counted from 0: the display line (a wrapped
    // paragraph counts as several lines) holding the start of the selection, and the column.
    std::pair<int, int> CaretLineColumn() const;

signals:
    void TypingModeChanged();

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void insertFromMimeData(const QMimeData* source) override;
    // Files dropped from the desktop are not text: they go on to the main window, which opens
    // or imports them.
    bool canInsertFromMimeData(const QMimeData* source) const override;

private:
    // Enter and Shift+Enter: a line break, when the text has room for it.
    void BreakLine(QKeyEvent* e);
    // A key that types: its text made representable, when the text has room for it.
    void TypeKey(QKeyEvent* e);
    // Characters the selection of `cursor` takes up, line breaks counted as two.
    int SelectionLength(const QTextCursor& cursor) const;
    // What typing `text` would add to the text's length at the caret.
    int Growth(const QString& text) const;
};

// Pane text with its line breaks made '\n' and every character Windows-1252 cannot hold made '?'.
QString PaneInputText(const QString& text);

// The longest beginning of `text` (line breaks '\n') whose length with breaks counted as two
// fits into `room`.
QString FitToLength(const QString& text, int room);

}  // namespace quillora
