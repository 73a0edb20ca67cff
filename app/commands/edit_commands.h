#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <memory>

#include "base/clock.h"

class QAction;
class QLocale;
class QMenu;

namespace quillora {

class NotePane;
class CommandHost;

// The main window's controller for the Edit menu's commands on the panes, the panes' context
// menu `EditPopupMenu`, the caret and typing-mode panels of the status bar and the keys the
// panes and the window handle themselves (Insert, Ctrl+Y, Ctrl+L).
//
// Enabling: the items are enabled by `EditMenuClick` when `EditMenu` or `EditPopupMenu` opens;
// when `EditMenu` closes its commands get back the enabling they had, so that their shortcuts
// keep reaching the handlers, and every handler checks for itself that it may act.
class EditCommands : public QObject {
    Q_OBJECT
public:
    explicit EditCommands(CommandHost& host);
    // Attaches to the menus it enables, once they are built.
    void AttachMenus();
    ~EditCommands() override;

    // Where the date and time come from (the machine's clock unless set) and the separators
    // they are written with (the system's unless set).
    void SetClock(const Clock* clock);
    void SetSeparators(const DateTimeSeparators& separators);

    QMenu* EditPopupMenu() const { return popup_; }

    // --- handlers ---
    void EditMenuUndoClick();
    void EditMenuCutClick();
    void EditMenuCopyClick();
    void EditMenuPasteClick();
    void EditMenuDeleteClick();
    void EditMenuSelectAllClick();
    void EditMenuCapitalizeClick();
    void EditMenuLowerCaseClick();
    void EditMenuUpperCaseClick();
    void EditMenuInsertDateClick();
    void EditMenuInsertTimeClick();
    void EditMenuInsertDateAndTimeClick();
    void EditMenuWordWrapClick();
    // Enables the items of both menus from the state of the selected node's pane.
    void EditMenuClick();

private:
    // The pane of the selected node (`Memo` for a note, `FolderMemo` for a folder); none when
    // no node is selected.
    NotePane* SelectedPane() const;
    // The pane for commands that type into it: as SelectedPane, but only while it is enabled.
    NotePane* TypingPane() const;
    void ApplyWordWrap(bool on);
    void ConvertSelection(QString (*convert)(const QString&));
    void BuildEditPopupMenu();
    void PaneSelectionChange(NotePane* pane);
    void ShowTypingMode();
    void NodeShown();
    QString DateText() const;
    QString TimeText() const;

    CommandHost& host_;
    SystemClock system_clock_;
    const Clock* clock_ = &system_clock_;
    std::unique_ptr<DateTimeSeparators> separators_;
    QMenu* popup_ = nullptr;
    QHash<QAction*, bool> enabling_before_menu_;
};

// The separators of the locale's short date and time formats ("/" and ":" when none is found).
DateTimeSeparators SeparatorsOf(const QLocale& locale);

// Case conversions of the Edit menu. Each keeps the length and stays inside Windows-1252: a
// letter whose other case the code page cannot hold, or that would become two letters, stays.
QString LowerCaseText(const QString& text);
QString UpperCaseText(const QString& text);
// Lower case, then the first character and every character directly after a space or a line
// break put in upper case when it is one of the ASCII letters a to z.
QString CapitalizeText(const QString& text);

}  // namespace quillora
