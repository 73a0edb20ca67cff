#include "app/commands/exchange_commands.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QStandardPaths>

#include "app/commands/command_host.h"
#include "app/commands/document_commands.h"
#include "document/notes_document.h"
#include "document/ui/my_tree_view.h"
#include "document/ui/note_pane.h"
#include "document/ui/note_panes.h"
#include "exchange/import_file.h"
#include "exchange/ui/export_form.h"
#include "gui/action_registry.h"
#include "gui/app_paths.h"
#include "gui/lang.h"
#include "gui/note_tree_model.h"
#include "gui/platform.h"
#include "gui/text_codec.h"
#include "settings/settings_schema.h"

namespace quillora {

ExchangeCommands::ExchangeCommands(CommandHost& host, DocumentCommands& documents)
    : host_(host), documents_(documents) {
    setObjectName(QStringLiteral("ExchangeCommands"));
    ActionRegistry& a = host_.Actions();
    connect(&a.Create("FileMenuImportFile", Lang(7007, "&Import Files...")), &QAction::triggered,
            this, &ExchangeCommands::FileMenuImportFileClick);
    connect(&a.Create("FileMenuExportSelected", Lang(7008, "Export S&elected...")),
            &QAction::triggered, this, &ExchangeCommands::FileMenuExportSelectedClick);
    connect(&a.Create("FileMenuExportAll", Lang(7009, "Export A&ll...")), &QAction::triggered, this,
            &ExchangeCommands::FileMenuExportAllClick);
    documents_.SetImportHandler([this](const QString& path) { return ImportFileAsNote(path); });
}

void ExchangeCommands::AttachMenus() {
    connect(&host_.Actions().Menu("FileMenu"), &QMenu::aboutToShow, this,
            &ExchangeCommands::FileMenuClick);
}

void ExchangeCommands::FileMenuClick() {
    const bool has_nodes = !host_.Document().tree.Empty();
    host_.Actions().SetEnabled("FileMenuExportSelected", has_nodes);
    host_.Actions().SetEnabled("FileMenuExportAll", has_nodes);
}

QString ExchangeCommands::DefaultExportFolder() const {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const std::string documents_native =
        !documents.isEmpty() && QFileInfo(documents).isDir() ? ToNative(documents) : std::string();
    DefaultContext context;
    context.documents_folder = documents_native;
    return ResolveFolderSetting(
        FromNative(ReadText(host_.SettingsFile(), settings_keys::kDefaultExportDir, context)));
}

// --- import ---

void ExchangeCommands::FileMenuImportFileClick() {
    host_.Panes().StoreShownText();
    // The open dialog's own settings stay as they are; the import asks with a copy of them.
    FileDialogRequest request = documents_.OpenDialog();
    request.filter =
        Lang(7771, "Text Files (*.TXT)|*.txt|Rich Text Files (*.RTF)|*.rtf|All Files (*.*)|*.*");
    request.title = Lang(7750, "Choose Files To Import");
    request.multiple = true;
    request.default_extension.clear();
    request.preset_name.clear();
    if (!import_folder_.isEmpty()) request.initial_folder = import_folder_;
    const QStringList paths = Platform::Instance().GetOpenFileNames(&host_.Window(), request);
    if (paths.isEmpty()) return;
    import_folder_ = QFileInfo(paths.front()).absolutePath();
    for (const QString& path : paths) {
        if (!ImportFileAsNote(path)) break;
    }
}

bool ExchangeCommands::ImportFileAsNote(const QString& path) {
    NotesDocument& doc = host_.Document();
    host_.Panes().StoreShownText();
    if (doc.texts.OccupiedCount() >= TextStore::kCapacity) {
        Platform::Instance().ShowMessage(
            &host_.Window(),
            Lang(7761, "Quillora supports up to 4000 Notes/Folders.\nYou have reached the limit."),
            AppTitle(), MessageIcon::Information, MessageButtons::Ok);
        return false;
    }
    // The file is read before a slot is taken, so a file that cannot be read leaves nothing.
    ImportedFile file = ReadImportFile(ToNative(path));
    if (!file.ok()) {
        Platform::Instance().ShowMessage(
            &host_.Window(), FormatMessage(Lang(7754, "Unable to open \"%s\"."), {path}),
            AppTitle(), MessageIcon::Warning, MessageButtons::Ok);
        return true;
    }
    const int slot = *doc.texts.AllocateTextSlot();
    doc.texts.SetCanonicalText(slot, std::move(file.text));
    const NodeId node = doc.tree.Append(kNoNode, ImportTitle(ToNative(path)), NodeData{kNote, slot},
                                        doc.images.ImageFor(kNote, false));
    doc.modified = true;
    // Selecting the node shows its text in Memo.
    host_.SelectNode(node);
    host_.UpdatePaneEnabling();
    TMyTreeView* tree = host_.Tree();
    tree->setFocus();
    tree->edit(host_.TreeModel()->IndexOf(node));
    return true;
}

// --- export ---

void ExchangeCommands::FileMenuExportSelectedClick() {
    const NodeId node = host_.SelectedNode();
    if (node == kNoNode) return;
    NotesDocument& doc = host_.Document();
    FileDialogRequest request;
    request.filter = Lang(7768, "Text Files (*.TXT)|*.txt|All Files (*.*)|*.*");
    request.default_extension = QStringLiteral("txt");
    request.title = Lang(7751, "Export To");
    request.initial_folder = DefaultExportFolder();
    request.preset_name = FromAnsi(SafeFileTitle(doc.tree.Title(node))) + QStringLiteral(".txt");
    request.confirm_replace = true;
    const std::optional<QString> path =
        Platform::Instance().GetSaveFileName(&host_.Window(), request);
    if (!path) return;
    // The text as the pane holds it now, edits not yet stored included.
    NotePanes& panes = host_.Panes();
    const std::string text =
        panes.ShownSlot() == doc.tree.Data(node).TextIndex
            ? line_text::Canonical(PaneTextToStore(panes.PaneOf(node)->PlainText()))
            : doc.TextOf(node);
    if (WriteTextFile(ToNative(*path), text) != ReplaceStatus::Ok) {
        Platform::Instance().ShowMessage(
            &host_.Window(), FormatMessage(Lang(3014, "Unable to write \"%s\"."), {*path}),
            AppTitle(), MessageIcon::Warning, MessageButtons::Ok);
    }
}

void ExchangeCommands::FileMenuExportAllClick() {
    TExport dialog(
        host_.Document(), [this] { host_.Panes().StoreShownText(); }, &host_.Window());
    dialog.DirEdit()->setText(DefaultExportFolder());
    dialog.SetFaults(export_faults_);
    dialog.exec();
}

}  // namespace quillora
