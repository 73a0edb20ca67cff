#include "app/main_form.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>

#include "app/app_paths.h"
#include "app/command_line.h"
#include "app/document_commands.h"
#include "app/edit_commands.h"
#include "app/help_window.h"
#include "app/lang.h"
#include "app/main_menu.h"
#include "app/my_tree_view.h"
#include "app/note_pane.h"
#include "app/note_tree_model.h"
#include "app/platform.h"
#include "app/recent_files.h"
#include "app/search_commands.h"
#include "app/text_codec.h"
#include "app/tree_commands.h"
#include "document/notes_file.h"

namespace quillora {

namespace {
constexpr int kStartTimerMs = 180;
// Progress texts change every 10 records; the window is repainted at most this often, so
// that a large file is not slowed down by hundreds of repaints.
constexpr qint64 kProgressPaintIntervalMs = 30;
}  // namespace

TMainForm::TMainForm(AppContext& context, QWidget* parent)
    : QMainWindow(parent), context_(context) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(AppTitle());
    BuildLayout();
    PlaceWindowFromSettings();

    // Each controller creates its commands; the menus and the tool bar are built from them.
    new DocumentCommands(*this);
    new EditCommands(*this);
    new TreeCommands(*this);
    new SearchCommands(*this);
    BuildMainMenu(*this);

    doc_.images.folder = SettingsFile().ReadInt("NotesList", "Image1", 3);
    doc_.images.opened_folder = SettingsFile().ReadInt("NotesList", "Image2", 4);
    doc_.images.note = SettingsFile().ReadInt("NotesList", "Image3", 5);

    std::vector<std::string> args;
    for (const QString& a : context_.arguments) args.push_back(ToNative(a));
    if (ParseCommandLine(args).maximize) setWindowState(windowState() | Qt::WindowMaximized);

    start_timer_ = new QTimer(this);
    start_timer_->setObjectName(QStringLiteral("Timer"));
    start_timer_->setSingleShot(true);
    start_timer_->setInterval(kStartTimerMs);
    connect(start_timer_, &QTimer::timeout, this, &TMainForm::TimerTimer);
    start_timer_->start();
}

TMainForm::~TMainForm() = default;

void TMainForm::BuildLayout() {
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName(QStringLiteral("Splitter1"));
    splitter_->setHandleWidth(3);
    splitter_->setChildrenCollapsible(false);

    notes_tree_ = new TMyTreeView(splitter_);
    tree_model_ = new NoteTreeModel(
        doc_.tree, [this](int32_t image) { return image_list_.Icon(image); }, this);
    notes_tree_->setModel(tree_model_);
    connect(notes_tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { NotesTreeChange(); });

    panes_ = new QStackedWidget(splitter_);
    memo_ = new NotePane(QStringLiteral("Memo"), panes_);
    folder_memo_ = new NotePane(QStringLiteral("FolderMemo"), panes_);
    panes_->addWidget(memo_);
    panes_->addWidget(folder_memo_);
    panes_->setCurrentWidget(memo_);
    memo_->setEnabled(false);
    folder_memo_->setEnabled(false);
    connect(memo_, &QPlainTextEdit::textChanged, this, &TMainForm::MemoChange);
    connect(folder_memo_, &QPlainTextEdit::textChanged, this, &TMainForm::MemoChange);
    memo_change_attached_ = true;

    splitter_->addWidget(notes_tree_);
    splitter_->addWidget(panes_);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    const int tree_width = SettingsFile().ReadInt("NotesList", "Width", 121);
    splitter_->setSizes({tree_width, 400});
    setCentralWidget(splitter_);

    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("StatusBar"));
    const std::array<int, 3> widths = {54, 62, 60};
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(bar);
        label->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        if (i < 3) {
            label->setAlignment(Qt::AlignCenter);
            label->setMinimumWidth(widths[static_cast<size_t>(i)]);
            bar->addWidget(label);
        } else {
            label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            bar->addWidget(label, 1);
        }
        status_panels_[static_cast<size_t>(i)] = label;
    }
    setStatusBar(bar);
    SetStatusText(0, QStringLiteral("1:1"));
    SetStatusText(2, Lang(7701, "Insert"));
}

void TMainForm::PlaceWindowFromSettings() {
    const QRect screen = QGuiApplication::primaryScreen()
                             ? QGuiApplication::primaryScreen()->geometry()
                             : QRect(0, 0, 1024, 768);
    const int w = screen.width();
    const int h = screen.height();
    ProfileFile& ini = SettingsFile();
    const int left = ini.ReadInt("Main", "Left", w / 4);
    const int top = ini.ReadInt("Main", "Top", h / 4 - 30);
    const int width = ini.ReadInt("Main", "Width", w / 2);
    const int height = ini.ReadInt("Main", "Height", h / 2 + 60);
    resize(width, height);
    move(left, top);
}

NotePane* TMainForm::VisiblePane() const {
    return panes_->currentWidget() == folder_memo_ ? folder_memo_ : memo_;
}

// --- document state ---

void TMainForm::MarkModified() {
    doc_.modified = true;
    SetStatusText(1, Lang(7700, "Modified"));
    UpdateToolButtons();
}

void TMainForm::ClearModified() {
    doc_.modified = false;
    SetStatusText(1, QString());
    UpdateToolButtons();
}

void TMainForm::StoreCurrentText() {
    if (doc_.tree.Empty() || doc_.current_text_index == -1) return;
    const NotePane* pane = doc_.current_kind == kNote ? memo_ : folder_memo_;
    doc_.StoreCurrentText(PaneTextToStore(pane->toPlainText()));
}

NodeId TMainForm::SelectedNode() const {
    return tree_model_->NodeAt(notes_tree_->currentIndex());
}

void TMainForm::SelectNode(NodeId node) {
    const QModelIndex index = tree_model_->IndexOf(node);
    notes_tree_->setCurrentIndex(index);
    if (index.isValid()) notes_tree_->scrollTo(index);
}

void TMainForm::CloseDocument() {
    tree_change_attached_ = false;
    memo_change_attached_ = false;
    notes_tree_->setUpdatesEnabled(false);
    SetStatusText(3, Lang(7760, "Closing File..."));
    repaint();
    doc_.tree.Clear();
    tree_change_attached_ = true;
    memo_->ShowText(QString());
    folder_memo_->ShowText(QString());
    panes_->setCurrentWidget(memo_);
    doc_.Close();
    SetStatusText(3, QString());
    SetStatusText(1, QString());
    memo_->setEnabled(false);
    folder_memo_->setEnabled(false);
    UpdateToolButtons();
    notes_tree_->setUpdatesEnabled(true);
    memo_change_attached_ = true;
}

// The selection moved: keep what was typed in the old node, show the new node's text.
void TMainForm::NotesTreeChange() {
    if (!tree_change_attached_) return;
    StoreCurrentText();
    const NodeId node = SelectedNode();
    if (node == kNoNode) {
        doc_.current_text_index = -1;
        doc_.current_kind = -1;
        UpdateToolButtons();
        return;
    }
    const NodeData& data = doc_.tree.Data(node);
    NotePane* pane = data.Kind == kNote ? memo_ : folder_memo_;
    const bool attached = memo_change_attached_;
    memo_change_attached_ = false;
    pane->ShowText(StoreTextToPane(doc_.texts.TextOf(data.TextIndex)));
    memo_change_attached_ = attached;
    panes_->setCurrentWidget(pane);
    doc_.current_text_index = data.TextIndex;
    doc_.current_kind = data.Kind;
    UpdateToolButtons();
}

void TMainForm::MemoChange() {
    if (memo_change_attached_) MarkModified();
}

// --- refresh ---

void TMainForm::UpdateToolButtons() {
    // The tool bar's buttons follow the document state; they are added with the tool bar.
}

void TMainForm::UpdatePaneEnabling() {
    const bool has_nodes = !doc_.tree.Empty();
    memo_->setEnabled(has_nodes);
    folder_memo_->setEnabled(has_nodes);
}

void TMainForm::SetStatusText(int panel, const QString& text) {
    if (panel < 0 || panel > 3) return;
    status_panels_[static_cast<size_t>(panel)]->setText(text);
}

QString TMainForm::StatusText(int panel) const {
    if (panel < 0 || panel > 3) return {};
    return status_panels_[static_cast<size_t>(panel)]->text();
}

// --- the notes file ---

void TMainForm::ShowProgress(uint16_t id, const char* english, int index) {
    SetStatusText(3, Lang(id, english) + QStringLiteral(" %1...").arg(index == 0 ? 1 : index));
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (index == 0 || now - last_progress_paint_ms_ >= kProgressPaintIntervalMs) {
        last_progress_paint_ms_ = now;
        status_panels_[3]->repaint();
    }
}

void TMainForm::ReadNotesFileReporting(const QString& path) {
    Platform& platform = Platform::Instance();
    ReadCallbacks callbacks;
    callbacks.header_accepted = [this, &path] { RecordRecentFile(SettingsFile(), ToNative(path)); };
    callbacks.progress = [this](int i) {
        if (i > 0) ShowProgress(7757, "Loading Note/Folder", i);
    };
    tree_change_attached_ = false;
    ShowProgress(7757, "Loading Note/Folder", 0);
    notes_tree_->setUpdatesEnabled(false);
    const ReadStatus status = ReadNotesFile(ToNative(path), doc_, callbacks);
    notes_tree_->setUpdatesEnabled(true);
    tree_change_attached_ = true;

    switch (status) {
        case ReadStatus::Ok:
            break;
        case ReadStatus::CannotOpen:
            platform.ShowMessage(this, FormatMessage(Lang(7754, "Unable to open \"%s\"."), {path}),
                                 AppTitle(), MessageIcon::Warning, MessageButtons::Ok);
            break;
        case ReadStatus::NotNotesFile:
            platform.ShowMessage(
                this, Lang(7755, "The file you are trying to open is not a Quillora file."),
                AppTitle(), MessageIcon::Warning, MessageButtons::Ok);
            break;
        case ReadStatus::WrongVersion:
            platform.ShowMessage(this,
                                 Lang(7756,
                                      "The Quillora file you are trying to open needs\nto be "
                                      "upgraded to the latest version."),
                                 AppTitle(), MessageIcon::Information, MessageButtons::Ok);
            break;
        case ReadStatus::Damaged:
            platform.ShowMessage(
                this,
                FormatMessage(Lang(7777, "The file \"%s\" is damaged and cannot be opened."), {path}),
                AppTitle(), MessageIcon::Warning, MessageButtons::Ok);
            break;
    }
    if (status != ReadStatus::Ok) {
        SetStatusText(3, QString());
        UpdatePaneEnabling();
        UpdateToolButtons();
        return;
    }
    const NodeId first = doc_.tree.FirstTopLevel();
    if (first != kNoNode) SelectNode(first);
    SetStatusText(3, path);
    UpdatePaneEnabling();
    UpdateToolButtons();
    emit DocumentOpened();
}

bool TMainForm::WriteNotesFileReporting(const QString& path) {
    StoreCurrentText();
    ShowProgress(7759, "Saving Note/Folder", 0);
    const WriteStatus status = WriteNotesFile(ToNative(path), doc_, [this](int i) {
        if (i > 0) ShowProgress(7759, "Saving Note/Folder", i);
    });
    if (status != WriteStatus::Ok) {
        SetStatusText(3, doc_.IsUntitled() ? QString() : FromNative(doc_.current_file_name));
        Platform::Instance().ShowMessage(this, Lang(7758, "Unable to save file."), AppTitle(),
                                         MessageIcon::Warning, MessageButtons::Ok);
        return false;
    }
    // The writer may have cut an over-long text: show the pane as it now is in the store.
    SetStatusText(3, path);
    ClearModified();
    return true;
}

// --- start and close ---

void TMainForm::TimerTimer() {
    start_timer_->stop();
    std::vector<std::string> args;
    for (const QString& a : context_.arguments) args.push_back(ToNative(a));
    const CommandLine command_line = ParseCommandLine(args);
    if (!command_line.file.empty()) ReadNotesFileReporting(FromNative(command_line.file));
    if (doc_.IsUntitled() && SettingsFile().ReadInt("Main", "ReOpenLastFile", 0) != 0) {
        const QString last = FromNative(SettingsFile().ReadString("Main", "ReOpenFile", ""));
        if (!last.isEmpty() && QFileInfo::exists(last)) ReadNotesFileReporting(last);
    }
    UpdateToolButtons();
    SetHelpFilePath(ProgramFolder() + QStringLiteral("/Quillora.hlp"));
    memo_change_attached_ = true;
}

void TMainForm::closeEvent(QCloseEvent* event) {
    ProfileFile& ini = SettingsFile();
    if (!isMaximized()) {
        const QRect g = normalGeometry();
        ini.WriteString("Main", "Left", std::to_string(g.x()));
        ini.WriteString("Main", "Top", std::to_string(g.y()));
        ini.WriteString("Main", "Width", std::to_string(g.width()));
        ini.WriteString("Main", "Height", std::to_string(g.height()));
    }
    ini.WriteString("NotesList", "Width", std::to_string(notes_tree_->width()));
    event->accept();
}

}  // namespace quillora
