#include "app/commands/edit_commands.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QLocale>
#include <QMenu>
#include <QShortcut>
#include <QTextCursor>

#include "app/commands/command_host.h"
#include "document/notes_document.h"
#include "document/ui/my_tree_view.h"
#include "document/ui/note_pane.h"
#include "document/ui/note_panes.h"
#include "gui/action_registry.h"
#include "gui/lang.h"
#include "gui/text_codec.h"
#include "settings/settings_schema.h"

namespace quillora {

namespace {

// The Edit menu's commands that `EditMenuClick` enables, by object name.
constexpr const char* kEditMenuCommands[] = {
    "EditMenuUndo",      "EditMenuCut",        "EditMenuCopy",       "EditMenuPaste",
    "EditMenuDelete",    "EditMenuSelectAll",  "EditMenuCapitalize", "EditMenuLowerCase",
    "EditMenuUpperCase", "EditMenuInsertDate", "EditMenuInsertTime", "EditMenuInsertDateAndTime"};

bool InAnsi(QChar c) {
    const ushort u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return true;
    if (c.isSurrogate()) return false;
    return RepresentableInAnsi(QString(c)).at(0) == c;
}

// `c` in its other case when that is one character the code page holds, else `c`.
QChar CaseOf(QChar c, bool upper) {
    if (c.isSurrogate()) return c;
    const QChar changed = upper ? c.toUpper() : c.toLower();
    return changed != c && InAnsi(changed) ? changed : c;
}

bool StartsWord(QChar previous) {
    return previous == QLatin1Char(' ') || previous == QLatin1Char('\n') ||
           previous == QChar::ParagraphSeparator;
}

// The first character of `format` that is neither a field letter, a space nor quoted text. A
// format that spaces its fields (the C locale's "d MMM yyyy") has none, and then the
// separator the system's numeric short date uses is taken.
QChar FirstSeparator(const QString& format, QChar fallback) {
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            continue;
        }
        if (!quoted && !c.isLetter() && !c.isSpace()) return c;
    }
    return fallback;
}

}  // namespace

QString LowerCaseText(const QString& text) {
    QString out = text;
    for (QChar& c : out) c = CaseOf(c, false);
    return out;
}

QString UpperCaseText(const QString& text) {
    QString out = text;
    for (QChar& c : out) c = CaseOf(c, true);
    return out;
}

QString CapitalizeText(const QString& text) {
    QString out = LowerCaseText(text);
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out.at(i);
        if ((i == 0 || StartsWord(out.at(i - 1))) && c >= QLatin1Char('a') &&
            c <= QLatin1Char('z')) {
            out[i] = c.toUpper();
        }
    }
    return out;
}

DateTimeSeparators SeparatorsOf(const QLocale& locale) {
    DateTimeSeparators separators;
    const QChar date = FirstSeparator(locale.dateFormat(QLocale::ShortFormat), QLatin1Char('/'));
    const QChar time = FirstSeparator(locale.timeFormat(QLocale::ShortFormat), QLatin1Char(':'));
    separators.date = ToAnsi(QString(date));
    separators.time = ToAnsi(QString(time));
    return separators;
}

EditCommands::EditCommands(CommandHost& host) : host_(host) {
    setObjectName(QStringLiteral("EditCommands"));
    auto make = [this](const char* name, uint16_t id, const char* caption, const char* keys,
                       void (EditCommands::*handler)()) {
        QAction& action =
            host_.Actions().Create(name, Lang(id, caption),
                                   keys ? QKeySequence(QString::fromLatin1(keys)) : QKeySequence());
        connect(&action, &QAction::triggered, this, handler);
    };
    make("EditMenuUndo", 7051, "&Undo", "Ctrl+Z", &EditCommands::EditMenuUndoClick);
    make("EditMenuCut", 7052, "Cu&t", "Ctrl+X", &EditCommands::EditMenuCutClick);
    make("EditMenuCopy", 7053, "&Copy", "Ctrl+C", &EditCommands::EditMenuCopyClick);
    make("EditMenuPaste", 7054, "&Paste", "Ctrl+V", &EditCommands::EditMenuPasteClick);
    make("EditMenuDelete", 7055, "&Delete", "Ctrl+Del", &EditCommands::EditMenuDeleteClick);
    make("EditMenuSelectAll", 7056, "Se&lect All", nullptr, &EditCommands::EditMenuSelectAllClick);
    make("EditMenuCapitalize", 7057, "Cap&italize", nullptr,
         &EditCommands::EditMenuCapitalizeClick);
    make("EditMenuLowerCase", 7058, "L&ower Case", nullptr, &EditCommands::EditMenuLowerCaseClick);
    make("EditMenuUpperCase", 7059, "Uppe&r Case", nullptr, &EditCommands::EditMenuUpperCaseClick);
    make("EditMenuInsertDate", 7060, "Insert D&ate", "F5", &EditCommands::EditMenuInsertDateClick);
    make("EditMenuInsertTime", 7061, "Insert &Time", "F6", &EditCommands::EditMenuInsertTimeClick);
    make("EditMenuInsertDateAndTime", 7062, "Ins&ert Date && Time", "F7",
         &EditCommands::EditMenuInsertDateAndTimeClick);

    // The check mark is the word-wrap state; the window writes it to the settings when it closes.
    QAction* wrap = &host_.Actions().Create("EditMenuWordWrap", Lang(7063, "&Word Wrap"),
                                            QKeySequence(QStringLiteral("Ctrl+W")));
    wrap->setCheckable(true);
    wrap->setChecked(ReadFlag(host_.SettingsFile(), settings_keys::kWordWrap));
    connect(wrap, &QAction::triggered, this, [this](bool on) { ApplyWordWrap(on); });
    ApplyWordWrap(wrap->isChecked());

    BuildEditPopupMenu();

    for (NotePane* pane : {host_.Panes().Memo(), host_.Panes().FolderMemo()}) {
        connect(pane, &QPlainTextEdit::cursorPositionChanged, this,
                [this, pane] { PaneSelectionChange(pane); });
        connect(pane, &QPlainTextEdit::selectionChanged, this,
                [this, pane] { PaneSelectionChange(pane); });
        connect(pane, &NotePane::TypingModeChanged, this, &EditCommands::ShowTypingMode);
    }
    // Connected after the window's own handler, so the pane in front is already the new one.
    connect(host_.Tree()->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &EditCommands::NodeShown);

    // Ctrl+L, Shift and Alt not tested: the keyboard focus to the tree, whatever has it.
    for (const char* keys : {"Ctrl+L", "Ctrl+Shift+L", "Ctrl+Alt+L", "Ctrl+Shift+Alt+L"}) {
        auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(keys)), &host_.Window());
        shortcut->setObjectName(QStringLiteral("FormKeyDown"));
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this] { host_.Tree()->setFocus(); });
    }
}

EditCommands::~EditCommands() = default;

void EditCommands::SetClock(const Clock* clock) {
    clock_ = clock ? clock : &system_clock_;
}

void EditCommands::SetSeparators(const DateTimeSeparators& separators) {
    separators_ = std::make_unique<DateTimeSeparators>(separators);
}

void EditCommands::BuildEditPopupMenu() {
    popup_ = new QMenu(&host_.Window());
    popup_->setObjectName(QStringLiteral("EditPopupMenu"));
    auto add = [this](const char* name, uint16_t id, const char* caption,
                      void (EditCommands::*handler)()) {
        QAction* action = &host_.Actions().CreateIn(*popup_, name, Lang(id, caption));
        connect(action, &QAction::triggered, this, handler);
        popup_->addAction(action);
    };
    add("EditPopupMenuUndo", 7051, "&Undo", &EditCommands::EditMenuUndoClick);
    popup_->addSeparator();
    add("EditPopupMenuCut", 7052, "Cu&t", &EditCommands::EditMenuCutClick);
    add("EditPopupMenuCopy", 7053, "&Copy", &EditCommands::EditMenuCopyClick);
    add("EditPopupMenuPaste", 7054, "&Paste", &EditCommands::EditMenuPasteClick);
    add("EditPopupMenuDelete", 7055, "&Delete", &EditCommands::EditMenuDeleteClick);
    popup_->addSeparator();
    add("EditPopupMenuSelectAll", 7056, "Select &All", &EditCommands::EditMenuSelectAllClick);
    popup_->addSeparator();
    add("PopupMenuCapitalize", 7057, "Cap&italize", &EditCommands::EditMenuCapitalizeClick);
    add("PopupMenuLowerCase", 7058, "L&ower Case", &EditCommands::EditMenuLowerCaseClick);
    add("PopupMenuUpperCase", 7059, "Uppe&r Case", &EditCommands::EditMenuUpperCaseClick);
    connect(popup_, &QMenu::aboutToShow, this, &EditCommands::EditMenuClick);

    for (NotePane* pane : {host_.Panes().Memo(), host_.Panes().FolderMemo()}) {
        pane->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(pane, &QWidget::customContextMenuRequested, this,
                [this, pane](QPoint p) { popup_->popup(pane->viewport()->mapToGlobal(p)); });
    }
}

void EditCommands::AttachMenus() {
    QMenu* edit_menu = &host_.Actions().Menu("EditMenu");
    connect(edit_menu, &QMenu::aboutToShow, this, [this] {
        enabling_before_menu_.clear();
        for (const char* name : kEditMenuCommands) {
            QAction* a = &host_.Actions().Action(name);
            enabling_before_menu_.insert(a, a->isEnabled());
        }
        EditMenuClick();
    });
    connect(edit_menu, &QMenu::aboutToHide, this, [this] {
        for (auto it = enabling_before_menu_.begin(); it != enabling_before_menu_.end(); ++it) {
            it.key()->setEnabled(it.value());
        }
        enabling_before_menu_.clear();
    });
}

// --- which pane ---

NotePane* EditCommands::SelectedPane() const {
    const NodeId node = host_.SelectedNode();
    if (node == kNoNode) return nullptr;
    return host_.Panes().PaneOf(node);
}

NotePane* EditCommands::TypingPane() const {
    NotePane* pane = SelectedPane();
    return pane && pane->isEnabled() ? pane : nullptr;
}

// --- enabling ---

void EditCommands::EditMenuClick() {
    auto set = [this](const char* name, bool on) { host_.Actions().SetEnabled(name, on); };
    for (const char* name : kEditMenuCommands) set(name, false);
    for (QAction* a : popup_->actions()) a->setEnabled(false);
    if (host_.Document().tree.Empty()) return;
    NotePane* pane = SelectedPane();
    if (!pane) return;

    set("EditPopupMenuPaste", true);
    set("EditPopupMenuSelectAll", true);
    if (pane->textCursor().hasSelection()) {
        for (const char* name :
             {"EditMenuCut", "EditMenuCopy", "EditMenuDelete", "EditMenuCapitalize",
              "EditMenuLowerCase", "EditMenuUpperCase", "EditPopupMenuCut", "EditPopupMenuCopy",
              "EditPopupMenuDelete", "PopupMenuCapitalize", "PopupMenuLowerCase",
              "PopupMenuUpperCase"}) {
            set(name, true);
        }
    }
    if (pane->document()->isUndoAvailable()) {
        set("EditMenuUndo", true);
        set("EditPopupMenuUndo", true);
    }
    const bool enabled = pane->isEnabled();
    for (const char* name : {"EditMenuPaste", "EditMenuSelectAll", "EditMenuInsertDate",
                             "EditMenuInsertTime", "EditMenuInsertDateAndTime"}) {
        set(name, enabled);
    }
}

// --- clipboard, undo, selection ---

void EditCommands::EditMenuUndoClick() {
    NotePane* pane = TypingPane();
    if (pane && pane->document()->isUndoAvailable()) pane->undo();
}

void EditCommands::EditMenuCutClick() {
    NotePane* pane = TypingPane();
    if (pane && pane->textCursor().hasSelection()) pane->cut();
}

void EditCommands::EditMenuCopyClick() {
    NotePane* pane = SelectedPane();
    if (pane && pane->textCursor().hasSelection()) pane->copy();
}

void EditCommands::EditMenuPasteClick() {
    if (NotePane* pane = TypingPane()) pane->paste();
}

void EditCommands::EditMenuDeleteClick() {
    NotePane* pane = TypingPane();
    if (!pane) return;
    QTextCursor cursor = pane->textCursor();
    if (!cursor.hasSelection()) return;
    cursor.removeSelectedText();
    pane->setTextCursor(cursor);
}

void EditCommands::EditMenuSelectAllClick() {
    if (NotePane* pane = SelectedPane()) pane->selectAll();
}

// --- case ---

void EditCommands::ConvertSelection(QString (*convert)(const QString&)) {
    NotePane* pane = TypingPane();
    if (!pane || !pane->textCursor().hasSelection()) return;
    QString text = convert(pane->textCursor().selectedText());
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    pane->ReplaceSelectionForever(text);
}

void EditCommands::EditMenuCapitalizeClick() {
    ConvertSelection(&CapitalizeText);
}
void EditCommands::EditMenuLowerCaseClick() {
    ConvertSelection(&LowerCaseText);
}
void EditCommands::EditMenuUpperCaseClick() {
    ConvertSelection(&UpperCaseText);
}

// --- date and time ---

QString EditCommands::DateText() const {
    const DateTimeSeparators separators =
        separators_ ? *separators_ : SeparatorsOf(QLocale::system());
    return FromAnsi(FormatShortDate(clock_->Now(), separators));
}

QString EditCommands::TimeText() const {
    const DateTimeSeparators separators =
        separators_ ? *separators_ : SeparatorsOf(QLocale::system());
    return FromAnsi(FormatShortTime(clock_->Now(), separators));
}

void EditCommands::EditMenuInsertDateClick() {
    if (NotePane* pane = TypingPane()) pane->InsertText(DateText());
}

void EditCommands::EditMenuInsertTimeClick() {
    if (NotePane* pane = TypingPane()) pane->InsertText(TimeText());
}

void EditCommands::EditMenuInsertDateAndTimeClick() {
    NotePane* pane = TypingPane();
    if (!pane) return;
    pane->InsertText(DateText());
    pane->InsertText(QStringLiteral(" "));
    pane->InsertText(TimeText());
}

// --- word wrap ---

void EditCommands::EditMenuWordWrapClick() {
    host_.Actions().Action("EditMenuWordWrap").trigger();
}

void EditCommands::ApplyWordWrap(bool on) {
    // Changing the wrapping changes no text, so the panes report no edit.
    host_.Panes().Memo()->SetWordWrap(on);
    host_.Panes().FolderMemo()->SetWordWrap(on);
    PaneSelectionChange(host_.Panes().Visible());
}

// --- status panels ---

void EditCommands::PaneSelectionChange(NotePane* pane) {
    if (pane != host_.Panes().Visible()) return;
    const auto [line, column] = pane->CaretLineColumn();
    host_.SetStatusText(0, QStringLiteral("%1:%2").arg(line + 1).arg(column + 1));
}

void EditCommands::ShowTypingMode() {
    host_.SetStatusText(
        2, host_.Panes().Visible()->InsertMode() ? Lang(7701, "Insert") : Lang(7702, "Overwrite"));
}

void EditCommands::NodeShown() {
    if (host_.SelectedNode() == kNoNode) return;
    PaneSelectionChange(host_.Panes().Visible());
    ShowTypingMode();
}

}  // namespace quillora
