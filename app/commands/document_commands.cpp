#include "app/commands/document_commands.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMenu>

#include "gui/actions.h"
#include "gui/app_paths.h"
#include "gui/lang.h"
#include "app/main_form.h"
#include "settings/recent_files.h"
#include "gui/text_codec.h"
#include "document/notes_file.h"
#include "settings/settings_schema.h"

namespace quillora {

namespace {

QString UntitledName() {
    return Lang(7753, "Untitled.qlb");
}

QAction* Command(TMainForm& form, const QString& name) {
    return form.findChild<QAction*>(name);
}

void SetEnabledIfPresent(TMainForm& form, const char* name, bool enabled) {
    if (QAction* action = Command(form, QString::fromLatin1(name))) action->setEnabled(enabled);
}

}  // namespace

DocumentCommands::DocumentCommands(TMainForm& form) : QObject(&form), form_(form) {
    setObjectName(QStringLiteral("DocumentCommands"));
    connect(CreateAction(&form, "FileMenuNew", Lang(7001, "&New")), &QAction::triggered, this,
            &DocumentCommands::FileMenuNewClick);
    connect(CreateAction(&form, "FileMenuOpen", Lang(7002, "&Open...")), &QAction::triggered, this,
            &DocumentCommands::FileMenuOpenClick);
    connect(CreateAction(&form, "ReOpenMenuClearList", Lang(7004, "&Clear List")),
            &QAction::triggered, this, &DocumentCommands::ReOpenMenuClearListClick);
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const QByteArray name = "ReOpen" + QByteArray::number(i);
        QAction* item = CreateAction(&form, name.constData(), QString());
        // The item's hint holds the full path, and that is what it opens.
        connect(item, &QAction::triggered, this, [this, item] { LoadFavorite(item->toolTip()); });
    }
    connect(CreateAction(&form, "FileMenuSave", Lang(7005, "&Save")), &QAction::triggered, this,
            &DocumentCommands::FileMenuSaveClick);
    connect(CreateAction(&form, "FileMenuSaveAs", Lang(7006, "Save &As...")), &QAction::triggered,
            this, [this] { FileMenuSaveAsClick(); });
    connect(CreateAction(&form, "FileMenuExit", Lang(7011, "E&xit")), &QAction::triggered, this,
            &DocumentCommands::FileMenuExitClick);

    const QString filter = Lang(7767, "Quillora Files (*.QLB)|*.qlb|All Files (*.*)|*.*");
    for (FileDialogRequest* dialog : {&open_dialog_, &save_dialog_}) {
        dialog->filter = filter;
        dialog->default_extension = QStringLiteral("qlb");
    }
    save_dialog_.confirm_replace = true;
}

void DocumentCommands::SetDialogFolders() {
    const ProfileFile& ini = form_.SettingsFile();
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
    if (form_.Document().IsUntitled()) return FileMenuSaveAsClick();
    form_.WriteNotesFileReporting(FromNative(form_.Document().current_file_name));
    return true;
}

bool DocumentCommands::AskSaveChanges(Prompt prompt) {
    NotesDocument& doc = form_.Document();
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
        &form_, text, AppTitle(), MessageIcon::Question, MessageButtons::YesNoCancel);
    if (answer == MessageAnswer::No) return true;
    if (answer != MessageAnswer::Yes) return false;
    if (prompt == Prompt::Drop && doc.IsUntitled()) {
        // The dialog shows as it was last left: no name or folder is preset here, and the
        // re-open list is not changed.
        FileDialogRequest request = save_dialog_;
        request.preset_name.clear();
        const std::optional<QString> path = Platform::Instance().GetSaveFileName(&form_, request);
        if (!path) return false;
        form_.WriteNotesFileReporting(*path);
        return true;
    }
    return SaveDocument();
}

// --- the commands ---

void DocumentCommands::FileMenuNewClick() {
    if (!AskSaveChanges()) return;
    form_.CloseDocument();
}

void DocumentCommands::OpenFile(const QString& path) {
    form_.CloseDocument();
    form_.ReadNotesFileReporting(path);
}

void DocumentCommands::FileMenuOpenClick() {
    if (!AskSaveChanges()) return;
    const QStringList chosen = Platform::Instance().GetOpenFileNames(&form_, open_dialog_);
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
    const NotesDocument& doc = form_.Document();
    if (doc.IsUntitled()) {
        save_dialog_.preset_name = UntitledName();
        save_dialog_.initial_folder = ResolveFolderSetting(
            FromNative(ReadText(form_.SettingsFile(), settings_keys::kDefaultSaveDir)));
    } else {
        const QString current = FromNative(doc.current_file_name);
        save_dialog_.preset_name = current;
        save_dialog_.initial_folder = QFileInfo(current).absolutePath();
    }
    const std::optional<QString> path = Platform::Instance().GetSaveFileName(&form_, save_dialog_);
    if (!path) return false;
    form_.WriteNotesFileReporting(*path);
    RecordRecentFile(form_.SettingsFile(), ToNative(*path));
    return true;
}

void DocumentCommands::FileMenuExitClick() {
    form_.close();
}

void DocumentCommands::ReOpenMenuClearListClick() {
    ClearRecentFiles(form_.SettingsFile());
}

void DocumentCommands::LoadFavorite(const QString& path) {
    if (!AskSaveChanges(Prompt::Favorite)) return;
    OpenFile(path);
}

// --- the File menu ---

void DocumentCommands::FileMenuClick() {
    ProfileFile& ini = form_.SettingsFile();
    auto* reopen = form_.findChild<QMenu*>(QStringLiteral("FileMenuReOpen"));
    if (reopen) {
        const bool hidden = ReadFlag(ini, settings_keys::kHideReOpen);
        reopen->menuAction()->setVisible(!hidden);
        if (!hidden) {
            const std::vector<std::string> files = RecentFiles(ini);
            bool any = false;
            for (int i = 0; i < kRecentFileCount; ++i) {
                QAction* item = Command(form_, QStringLiteral("ReOpen%1").arg(i + 1));
                if (!item) continue;
                const QString path = FromNative(files[static_cast<size_t>(i)]);
                item->setToolTip(path);
                item->setStatusTip(path);
                if (!path.isEmpty()) {
                    any = true;
                    item->setText(ReOpenCaption(path));
                    item->setVisible(true);
                    item->setEnabled(true);
                } else if (i == 0) {
                    item->setText(Lang(7773, "[Empty]"));
                    item->setVisible(true);
                    item->setEnabled(false);
                } else {
                    item->setVisible(false);
                }
            }
            SetEnabledIfPresent(form_, "ReOpenMenuClearList", any);
        }
    }
    const bool has_nodes = !form_.Document().tree.Empty();
    SetEnabledIfPresent(form_, "FileMenuSave", form_.Document().modified);
    SetEnabledIfPresent(form_, "FileMenuSaveAs", has_nodes);
    SetEnabledIfPresent(form_, "FileMenuExportSelected", has_nodes);
    SetEnabledIfPresent(form_, "FileMenuExportAll", has_nodes);
    SetEnabledIfPresent(form_, "FileMenuProperties", has_nodes);
}

// --- dropped files ---

void DocumentCommands::DropFiles(const QStringList& paths) {
    if (dropping_ || paths.isEmpty()) return;
    dropping_ = true;
    form_.setAcceptDrops(false);
    const QString first = paths.front();
    if (IsNotesFile(ToNative(first))) {
        if (AskSaveChanges(Prompt::Drop)) {
            form_.activateWindow();
            form_.raise();
            OpenFile(first);
        }
    } else if (import_file_) {
        for (const QString& path : paths) {
            if (IsNotesFile(ToNative(path))) continue;
            if (!import_file_(path)) break;
        }
    }
    form_.setAcceptDrops(true);
    dropping_ = false;
}

}  // namespace quillora
