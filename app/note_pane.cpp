#include "app/note_pane.h"

#include <QSignalBlocker>

namespace quillora {

NotePane::NotePane(const QString& object_name, QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(object_name);
    setTabChangesFocus(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Keep the selection's highlight when the focus moves to the tree.
    QPalette pal = palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(pal);
}

void NotePane::ShowText(const QString& text) {
    const QSignalBlocker block(this);
    setPlainText(text);
    document()->clearUndoRedoStacks();
}

}  // namespace quillora
