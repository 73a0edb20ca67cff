#pragma once

#include <QObject>
#include <string_view>

#include "document/note_tree.h"
#include "document/notes_document.h"

class QStackedWidget;
class QWidget;

namespace quillora {

class NotePane;

// The owner of the two text panes and of what they show: `Memo` for notes, `FolderMemo` for
// folders, stacked so that the pane of the shown node's kind is in front. It knows which text
// slot is shown and of which kind, stores what the user typed back into that slot, and tells
// real edits from the changes the program makes itself.
class NotePanes : public QObject {
    Q_OBJECT
public:
    NotePanes(NotesDocument& doc, QWidget* parent);

    QStackedWidget* Widget() const { return stack_; }
    NotePane* Memo() const { return memo_; }
    NotePane* FolderMemo() const { return folder_memo_; }
    NotePane* PaneFor(int32_t kind) const;
    NotePane* PaneOf(NodeId node) const { return PaneFor(doc_.tree.Data(node).Kind); }
    // The pane in front.
    NotePane* Visible() const;

    // Shows the stored text of `node` in the pane of its kind and brings that pane to the front.
    void ShowNode(NodeId node);
    // Shows `canonical_text` (stored form) in the pane of `node`'s kind as that node's text.
    void ShowNodeText(NodeId node, std::string_view canonical_text);
    // Nothing is shown any more; the panes keep their text until something else is shown.
    void ForgetShown();
    bool ShowsText() const { return doc_.current_text_index != -1; }
    int32_t ShownSlot() const { return doc_.current_text_index; }

    // Stores the text of the pane that shows a node into that node's slot.
    void StoreShownText();
    // Shows the shown slot's stored text again when the pane's copy differs from it in length
    // (a save cut an over-long text, for one).
    void RefreshShownText();
    // Both panes empty, `Memo` in front, nothing shown.
    void Clear();
    void SetEnabled(bool enabled);

    // While one of these lives, changes to the panes' text do not count as edits.
    class QuietChanges {
    public:
        explicit QuietChanges(NotePanes& panes) : panes_(panes) { ++panes_.quiet_; }
        ~QuietChanges() { --panes_.quiet_; }
        QuietChanges(const QuietChanges&) = delete;
        QuietChanges& operator=(const QuietChanges&) = delete;

    private:
        NotePanes& panes_;
    };

signals:
    // The user changed the text of a pane.
    void Edited();

private:
    void Front(NotePane* pane);

    NotesDocument& doc_;
    QStackedWidget* stack_ = nullptr;
    NotePane* memo_ = nullptr;
    NotePane* folder_memo_ = nullptr;
    int quiet_ = 0;
};

}  // namespace quillora
