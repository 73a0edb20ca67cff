#include "document/ui/note_panes.h"

#include <QStackedWidget>

#include "document/ui/note_pane.h"
#include "gui/text_codec.h"

namespace quillora {

NotePanes::NotePanes(NotesDocument& doc, QWidget* parent) : QObject(parent), doc_(doc) {
    stack_ = new QStackedWidget(parent);
    memo_ = new NotePane(QStringLiteral("Memo"), stack_);
    folder_memo_ = new NotePane(QStringLiteral("FolderMemo"), stack_);
    stack_->addWidget(memo_);
    stack_->addWidget(folder_memo_);
    stack_->setCurrentWidget(memo_);
    SetEnabled(false);
    for (NotePane* pane : {memo_, folder_memo_}) {
        connect(pane, &QPlainTextEdit::textChanged, this, [this] {
            if (quiet_ == 0) emit Edited();
        });
    }
}

NotePane* NotePanes::PaneFor(int32_t kind) const {
    return kind == kNote ? memo_ : folder_memo_;
}

NotePane* NotePanes::Visible() const {
    return stack_->currentWidget() == folder_memo_ ? folder_memo_ : memo_;
}

void NotePanes::Front(NotePane* pane) {
    stack_->setCurrentWidget(pane);
}

void NotePanes::ShowNode(NodeId node) {
    ShowNodeText(node, doc_.TextOf(node));
}

void NotePanes::ShowNodeText(NodeId node, std::string_view canonical_text) {
    const NodeData& data = doc_.tree.Data(node);
    NotePane* pane = PaneFor(data.Kind);
    {
        QuietChanges quiet(*this);
        pane->ShowText(StoreTextToPane(canonical_text));
    }
    Front(pane);
    doc_.current_text_index = data.TextIndex;
    doc_.current_kind = data.Kind;
}

void NotePanes::ForgetShown() {
    doc_.current_text_index = -1;
    doc_.current_kind = -1;
}

void NotePanes::StoreShownText() {
    if (doc_.tree.Empty() || doc_.current_text_index == -1) return;
    doc_.StoreCurrentText(PaneTextToStore(PaneFor(doc_.current_kind)->PlainText()));
}

void NotePanes::RefreshShownText() {
    if (doc_.current_text_index == -1) return;
    NotePane* pane = PaneFor(doc_.current_kind);
    if (pane->TextLength() == doc_.texts.TextLength(doc_.current_text_index)) return;
    QuietChanges quiet(*this);
    pane->ShowText(StoreTextToPane(doc_.texts.TextOf(doc_.current_text_index)));
}

void NotePanes::Clear() {
    {
        QuietChanges quiet(*this);
        memo_->ShowText(QString());
        folder_memo_->ShowText(QString());
    }
    Front(memo_);
    ForgetShown();
}

void NotePanes::SetEnabled(bool enabled) {
    memo_->setEnabled(enabled);
    folder_memo_->setEnabled(enabled);
}

}  // namespace quillora
