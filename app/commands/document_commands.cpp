#include "app/commands/document_commands.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMenu>

#include "app/commands/command_host.h"
#include "document/notes_document.h"
#include "document/notes_file.h"
#include "gui/action_registry.h"
#include "gui/app_paths.h"
#include "gui/lang.h"
#include "gui/text_codec.h"
#include "settings/recent_files.h"
#include "settings/settings_schema.h"

namespace quillora {

namespace {

QString UntitledName() {
    return Lang(7753, "Untitled.qlb");
}

QByteArray ReOpenItemName(int number) {
    return "ReOpen" + QByteArray::number(number);
}

}  // namespace

DocumentCommands::DocumentCommands(CommandHost& host) : host_(host) {
    setObjectName(QStringLiteral("DocumentCommands"));
    ActionRegistry& a = host_.Actions();
    connect(&a.Create("FileMenuNew", Lang(7001, "&New")), &QAction::triggered, this,
            &DocumentCommands::FileMenuNewClick);
    connect(&a.Create("FileMenuOpen", Lang(7002, "&Open...")), &QAction::triggered, this,
            &DocumentCommands::FileMenuOpenClick);
    connect(&a.Create("ReOpenMenuClearList", Lang(7004, "&Clear List")), &QAction::triggered, this,
            &DocumentCommands::ReOpenMenuClearListClick);
    for (int i = 1; i <= kRecentFileCount; ++i) {
        QAction* item = &a.Create(ReOpenItemName(i).constData(), QString());
        // The item's hint holds the full path, and that is what it opens.
        connect(item, &QAction::triggered, this, [this, item] { LoadFavorite(item->toolTip()); });
    }
    connect(&a.Create("FileMenuSave", Lang(7005, "&Save")), &QAction::triggered, this,
            &DocumentCommands::FileMenuSaveClick);
    connect(&a.Create("FileMenuSaveAs", Lang(7006, "Save &As...")), &QAction::triggered, this,
            [this] { FileMenuSaveAsClick(); });
    connect(&a.Create("FileMenuExit", Lang(7011, "E&xit")), &QAction::triggered, this,
            &DocumentCommands::FileMenuExitClick);

    const QString filter = Lang(7767, "Quillora Files (*.QLB)|*.qlb|All Files (*.*)|*.*");
    for (FileDialogRequest* dialog : {&open_dialog_, &save_dialog_}) {
        dialog->filter = filter;
        dialog->default_extension = QStringLiteral("qlb");
    }
    save_dialog_.confirm_replace = true;
}

void DocumentCommands::SetDialogFolders() {
    const ProfileFile& ini = host_.SettingsFile();
    open_dialog_.initial_folder =
        ResolveFolderSetting(FromNative(ReadText(ini, settings_keys::kDefaultOpenDir)));
    save_dialog_.initial_folder =
        ResolveFolderSetting(FromNative(ReadText(ini, settings_keys::kDefaultSaveDir)));
}

void DocumentCommands::SetImportHandler(std::function<bool(const QString&)> import_file) {
    import_file_ = std::move(import_file);
}

QString DocumentCommands::ReOpenCaption(const QString& path) {
#ifdef Q_OS_WIN
    const qsizetype cut =
        std::max({path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')),
                  path.lastIndexOf(QLatin1Char(':'))});
#else
    const qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
#endif
    QString name = path.mid(cut + 1);
    if (name.size() > kMaxCaptionLength)
        name = name.left(kCutCaptionLength) + QStringLiteral("...");
    // A "&" in a file name is shown, not taken as the item's access key.
    name.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return name;
}

// --- asking about unsaved changes ---

bool DocumentCommands::SaveDocument() {
    const NotesDocument& doc = host_.Document();
    if (doc.IsUntitled()) return FileMenuSaveAsClick();
    const QString path = FromNative(doc.current_file_name);
    if (ChangedOnDisk(doc)) {
        // Another copy of the program, or another program, saved over the file since this
        // document read or saved it: overwriting it would throw those changes away unasked.
        const MessageAnswer answer = Platform::Instance().ShowMessage(
            &host_.Window(),
            FormatMessage(Lang(7789,
                               "\"%s\" was changed by another program after Quillora opened "
                               "or saved it.\n\nYes: replace it with this document.\nNo: save "
                               "this document under another name.\nCancel: do not save now."),
                          {path}),
            AppTitle(), MessageIcon::Warning, MessageButtons::YesNoCancel);
        if (answer == MessageAnswer::No) return FileMenuSaveAsClick();
        if (answer != MessageAnswer::Yes) return false;
    }
    host_.WriteNotesFileReporting(path);
    return true;
}

bool DocumentCommands::AskSaveChanges(Prompt prompt) {
    NotesDocument& doc = host_.Document();
    if (!doc.modified) return true;
    QString text;
    if (!doc.IsUntitled()) {
        text = FormatMessage(Lang(7752, "Save changes to\n\"%s\"?"),
                             {FromNative(doc.current_file_name)});
    } else if (prompt == Prompt::Favorite) {
        text = FormatMessage(QStringLiteral("Save changes to \"%s\"?"), {UntitledName()});
    } else if (prompt == Prompt::Drop) {
        text = Lang(7772, "Save new file first?");
    } else {
        text = FormatMessage(Lang(7752, "Save changes to\n\"%s\"?"), {UntitledName()});
    }
    const MessageAnswer answer = Platform::Instance().ShowMessage(
        &host_.Window(), text, AppTitle(), MessageIcon::Question, MessageButtons::YesNoCancel);
    if (answer == MessageAnswer::No) return true;
    if (answer != MessageAnswer::Yes) return false;
    if (prompt == Prompt::Drop && doc.IsUntitled()) {
        // The dialog shows as it was last left: no name or folder is preset here, and the
        // re-open list is not changed.
        FileDialogRequest request = save_dialog_;
        request.preset_name.clear();
        const std::optional<QString> path =
            Platform::Instance().GetSaveFileName(&host_.Window(), request);
        if (!path) return false;
        host_.WriteNotesFileReporting(*path);
        return true;
    }
    return SaveDocument();
}

// --- the commands ---

void DocumentCommands::FileMenuNewClick() {
    if (!AskSaveChanges()) return;
    host_.CloseDocument();
}

void DocumentCommands::OpenFile(const QString& path) {
    host_.CloseDocument();
    host_.ReadNotesFileReporting(path);
}

void DocumentCommands::FileMenuOpenClick() {
    if (!AskSaveChanges()) return;
    const QStringList chosen = Platform::Instance().GetOpenFileNames(&host_.Window(), open_dialog_);
    if (chosen.isEmpty()) return;
    OpenFile(chosen.front());
    // From now on the dialog opens where the user last was, not in DefaultOpenDir.
    open_dialog_.preset_name.clear();
    open_dialog_.initial_folder = QFileInfo(chosen.front()).absolutePath();
}

void DocumentCommands::FileMenuSaveClick() {
    SaveDocument();
}

bool DocumentCommands::FileMenuSaveAsClick() {
    const NotesDocument& doc = host_.Document();
    if (doc.IsUntitled()) {
        save_dialog_.preset_name = UntitledName();
        save_dialog_.initial_folder = ResolveFolderSetting(
            FromNative(ReadText(host_.SettingsFile(), settings_keys::kDefaultSaveDir)));
    } else {
        const QString current = FromNative(doc.current_file_name);
        save_dialog_.preset_name = current;
        save_dialog_.initial_folder = QFileInfo(current).absolutePath();
    }
    const std::optional<QString> path =
        Platform::Instance().GetSaveFileName(&host_.Window(), save_dialog_);
    if (!path) return false;
    host_.WriteNotesFileReporting(*path);
    RecordRecentFile(host_.SettingsFile(), ToNative(*path));
    return true;
}

void DocumentCommands::FileMenuExitClick() {
    host_.Window().close();
}

void DocumentCommands::ReOpenMenuClearListClick() {
    ClearRecentFiles(host_.SettingsFile());
}

void DocumentCommands::AttachMenus() {
    connect(&host_.Actions().Menu("FileMenu"), &QMenu::aboutToShow, this,
            &DocumentCommands::FileMenuClick);
}

void DocumentCommands::LoadFavorite(const QString& path) {
    if (!AskSaveChanges(Prompt::Favorite)) return;
    OpenFile(path);
}

// --- the File menu ---

void DocumentCommands::FileMenuClick() {
    const ActionRegistry& actions = host_.Actions();
    const bool hidden = ReadFlag(host_.SettingsFile(), settings_keys::kHideReOpen);
    actions.Menu("FileMenuReOpen").menuAction()->setVisible(!hidden);
    if (!hidden) FillReOpenItems();
    const bool has_nodes = !host_.Document().tree.Empty();
    actions.SetEnabled("FileMenuSave", host_.Document().modified);
    actions.SetEnabled("FileMenuSaveAs", has_nodes);
}

void DocumentCommands::FillReOpenItems() {
    const ActionRegistry& actions = host_.Actions();
    const std::vector<std::string> files = RecentFiles(host_.SettingsFile());
    bool any = false;
    for (int i = 0; i < kRecentFileCount; ++i) {
        QAction& item = actions.Action(ReOpenItemName(i + 1).constData());
        const QString path = FromNative(files[static_cast<size_t>(i)]);
        item.setToolTip(path);
        item.setStatusTip(path);
        if (!path.isEmpty()) {
            any = true;
            item.setText(ReOpenCaption(path));
            item.setVisible(true);
            item.setEnabled(true);
        } else if (i == 0) {
            item.setText(Lang(7773, "[Empty]"));
            item.setVisible(true);
            item.setEnabled(false);
        } else {
            item.setVisible(false);
        }
    }
    actions.SetEnabled("ReOpenMenuClearList", any);
}

// --- dropped files ---

void DocumentCommands::DropFiles(const QStringList& paths) {
    if (dropping_ || paths.isEmpty()) return;
    dropping_ = true;
    host_.Window().setAcceptDrops(false);
    const QString& first = paths.front();
    if (IsNotesFile(ToNative(first))) {
        if (AskSaveChanges(Prompt::Drop)) {
            host_.Window().activateWindow();
            host_.Window().raise();
            OpenFile(first);
        }
    } else if (import_file_) {
        for (const QString& path : paths) {
            if (IsNotesFile(ToNative(path))) continue;
            if (!import_file_(path)) break;
        }
    }
    host_.Window().setAcceptDrops(true);
    dropping_ = false;
}

}  // namespace quillora
