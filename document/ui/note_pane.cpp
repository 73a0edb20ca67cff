#include "document/ui/note_pane.h"

#include <QAbstractTextDocumentLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextLayout>

#include "gui/text_codec.h"

namespace quillora {

namespace {

constexpr Qt::KeyboardModifiers kShiftCtrlAlt =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

bool IsInsertKey(const QKeyEvent* e) {
    return e->key() == Qt::Key_Insert && (e->modifiers() & kShiftCtrlAlt) == Qt::NoModifier;
}

bool IsDeleteLineKey(const QKeyEvent* e) {
    const Qt::KeyboardModifiers m = e->modifiers();
    return e->key() == Qt::Key_Y && (m & Qt::ControlModifier) &&
           !(m & (Qt::ShiftModifier | Qt::AltModifier));
}

// Ctrl+Delete belongs to the Edit menu's Delete, not to the pane's delete-word.
bool IsMenuDeleteKey(const QKeyEvent* e) {
    return e->key() == Qt::Key_Delete && (e->modifiers() & kShiftCtrlAlt) == Qt::ControlModifier;
}

bool IsBreakKey(const QKeyEvent* e) {
    return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
}

// The text a key press types into the pane, as the text control decides it.
bool IsAltCommand(const QKeyEvent* e) {
    const Qt::KeyboardModifiers m = e->modifiers();
    return (m & Qt::AltModifier) && !(m & Qt::ControlModifier) && !e->text().isEmpty();
}

QString TypedText(const QKeyEvent* e) {
    QString text = e->text();
    if (text.isEmpty()) return {};
    const Qt::KeyboardModifiers m = e->modifiers();
    // Ctrl without Alt is a command, not typing (Ctrl+Alt is AltGr on some keyboards).
    if ((m & Qt::ControlModifier) && !(m & Qt::AltModifier)) return {};
    const QChar first = text.at(0);
    if (first == QLatin1Char('\t') || first.isPrint() || first.isSurrogate()) return text;
    return {};
}

}  // namespace

QString PaneInputText(const QString& text) {
    QString breaks;
    breaks.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r')) {
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) ++i;
            breaks += QLatin1Char('\n');
        } else if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) {
            breaks += QLatin1Char('\n');
        } else {
            breaks += c;
        }
    }
    return RepresentableInAnsi(breaks);
}

QString FitToLength(const QString& text, int room) {
    int used = 0;
    qsizetype i = 0;
    for (; i < text.size(); ++i) {
        const int weight = text.at(i) == QLatin1Char('\n') ? 2 : 1;
        if (used + weight > room) break;
        used += weight;
    }
    return text.left(i);
}

NotePane::NotePane(const QString& object_name, QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(object_name);
    setTabChangesFocus(false);
    SetWordWrap(true);
    // Keep the selection's highlight when the focus moves to the tree.
    QPalette pal = palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight,
                 pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(pal);
}

void NotePane::ShowText(const QString& text) {
    const QSignalBlocker block(this);
    setPlainText(text);
    document()->clearUndoRedoStacks();
}

QString NotePane::PlainText() const {
    QString text = document()->toRawText();
    for (QChar& c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) c = QLatin1Char('\n');
    }
    return text;
}

int NotePane::TextLength() const {
    // characterCount() includes the separator after the last block; each of the other block
    // separators stands for one CR LF.
    const QTextDocument* doc = document();
    return (doc->characterCount() - 1) + (doc->blockCount() - 1);
}

int NotePane::SelectionLength(const QTextCursor& cursor) const {
    if (!cursor.hasSelection()) return 0;
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    const int breaks =
        document()->findBlock(end).blockNumber() - document()->findBlock(start).blockNumber();
    return (end - start) + breaks;
}

int NotePane::Growth(const QString& text) const {
    const QTextCursor cursor = textCursor();
    int added = 0;
    for (const QChar c : text) added += c == QLatin1Char('\n') ? 2 : 1;
    int removed = SelectionLength(cursor);
    // Overwrite typing replaces the one character after the caret, never a line break.
    if (overwriteMode() && !cursor.hasSelection() && !cursor.atBlockEnd()) {
        removed = 1;
    }
    return added - removed;
}

bool NotePane::InsertText(const QString& text) {
    QTextCursor cursor = textCursor();
    const int room = kMaxLength - (TextLength() - SelectionLength(cursor));
    const QString fitted = FitToLength(PaneInputText(text), room);
    if (fitted.isEmpty()) return false;
    cursor.insertText(fitted);
    setTextCursor(cursor);
    ensureCursorVisible();
    return true;
}

void NotePane::ReplaceSelectionForever(const QString& text) {
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) return;
    const int anchor = cursor.anchor();
    const int position = cursor.position();
    cursor.insertText(text);
    document()->clearUndoRedoStacks();
    cursor.setPosition(anchor);
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void NotePane::DeleteCaretLine() {
    QTextCursor cursor = textCursor();
    const QTextBlock block = document()->findBlock(cursor.selectionStart());
    if (!block.isValid()) return;
    const QTextBlock next = block.next();
    cursor.setPosition(block.position());
    if (next.isValid()) {
        cursor.setPosition(next.position(), QTextCursor::KeepAnchor);
    } else {
        cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
    }
    if (!cursor.hasSelection()) return;
    cursor.removeSelectedText();
    document()->clearUndoRedoStacks();
    setTextCursor(cursor);
}

void NotePane::SetWordWrap(bool on) {
    setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
}

void NotePane::ToggleTypingMode() {
    setOverwriteMode(!overwriteMode());
    emit TypingModeChanged();
}

std::pair<int, int> NotePane::CaretLineColumn() const {
    const int start = textCursor().selectionStart();
    const QTextBlock block = document()->findBlock(start);
    if (!block.isValid()) return {0, 0};
    const int in_block = start - block.position();
    if (lineWrapMode() == QPlainTextEdit::NoWrap) return {block.blockNumber(), in_block};

    // Display lines: every block before the caret's is laid out (the layout keeps them, so
    // this is cheap after the first time) and its lines are added up.
    QAbstractTextDocumentLayout* layout = document()->documentLayout();
    int line = 0;
    for (QTextBlock b = document()->firstBlock(); b.isValid() && b != block; b = b.next()) {
        if (b.layout() == nullptr || b.layout()->lineCount() == 0) layout->blockBoundingRect(b);
        line += std::max(1, b.layout() ? b.layout()->lineCount() : 1);
    }
    if (block.layout() == nullptr || block.layout()->lineCount() == 0) {
        layout->blockBoundingRect(block);
    }
    const QTextLine text_line =
        block.layout() ? block.layout()->lineForTextPosition(in_block) : QTextLine();
    if (!text_line.isValid()) return {line, in_block};
    return {line + text_line.lineNumber(), in_block - text_line.textStart()};
}

bool NotePane::event(QEvent* e) {
    if (e->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(e);
        if (IsInsertKey(key) || IsDeleteLineKey(key)) {
            e->accept();
            return true;
        }
        if (IsMenuDeleteKey(key)) {
            e->ignore();
            return false;
        }
    }
    return QPlainTextEdit::event(e);
}

void NotePane::keyPressEvent(QKeyEvent* e) {
    if (IsInsertKey(e)) {
        ToggleTypingMode();
        e->accept();
        return;
    }
    if (IsDeleteLineKey(e)) {
        if (!isReadOnly()) DeleteCaretLine();
        e->accept();
        return;
    }
    if (isReadOnly()) {
        QPlainTextEdit::keyPressEvent(e);
        return;
    }
    if (IsBreakKey(e) && (e->modifiers() & Qt::ControlModifier) == Qt::NoModifier) {
        BreakLine(e);
        return;
    }
#ifndef Q_OS_MACOS
    // Alt with a letter is a menu key, never typing, even when no menu takes it.
    if (IsAltCommand(e)) {
        e->ignore();
        return;
    }
#endif
    TypeKey(e);
}

void NotePane::BreakLine(QKeyEvent* e) {
    if (Growth(QStringLiteral("\n")) > kMaxLength - TextLength()) {
        e->accept();
        return;
    }
    if (e->modifiers() & Qt::ShiftModifier) {
        // The control would make Shift+Enter a soft break inside the line; the text has only
        // one kind of line break.
        QTextCursor cursor = textCursor();
        cursor.insertBlock();
        setTextCursor(cursor);
        ensureCursorVisible();
        e->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
}

void NotePane::TypeKey(QKeyEvent* e) {
    const QString typed = TypedText(e);
    if (typed.isEmpty()) {
        QPlainTextEdit::keyPressEvent(e);
        return;
    }
    const QString entering = PaneInputText(typed);
    if (Growth(entering) > kMaxLength - TextLength()) {
        e->accept();
        return;
    }
    if (entering == typed) {
        QPlainTextEdit::keyPressEvent(e);
        return;
    }
    // A character the file cannot hold: type its replacement the way the control would.
    QTextCursor cursor = textCursor();
    if (overwriteMode() && !cursor.hasSelection() && !cursor.atBlockEnd()) {
        cursor.deleteChar();
    }
    cursor.insertText(entering);
    setTextCursor(cursor);
    ensureCursorVisible();
    e->accept();
}

void NotePane::inputMethodEvent(QInputMethodEvent* e) {
    if (e->commitString().isEmpty() || isReadOnly()) {
        QPlainTextEdit::inputMethodEvent(e);
        return;
    }
    const QString entering = PaneInputText(e->commitString());
    const QString fitted =
        FitToLength(entering, kMaxLength - (TextLength() - SelectionLength(textCursor())));
    QInputMethodEvent changed(e->preeditString(), e->attributes());
    changed.setCommitString(fitted, e->replacementStart(), e->replacementLength());
    QPlainTextEdit::inputMethodEvent(&changed);
    e->accept();
}

bool NotePane::canInsertFromMimeData(const QMimeData* source) const {
    if (source != nullptr && source->hasUrls()) return false;
    return QPlainTextEdit::canInsertFromMimeData(source);
}

void NotePane::insertFromMimeData(const QMimeData* source) {
    if (source == nullptr || !source->hasText() || isReadOnly()) return;
    InsertText(source->text());
}

}  // namespace quillora
