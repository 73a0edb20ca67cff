#include "app/main_form.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "gui/actions.h"
#include "gui/app_paths.h"
#include "base/command_line.h"
#include "app/commands/document_commands.h"
#include "app/commands/edit_commands.h"
#include "gui/context_help.h"
#include "help/ui/help_window.h"
#include "gui/lang.h"
#include "app/main_menu.h"
#include "document/ui/my_tree_view.h"
#include "document/ui/note_pane.h"
#include "document/ui/note_tree_model.h"
#include "gui/platform.h"
#include "settings/recent_files.h"
#include "app/commands/search_commands.h"
#include "gui/text_codec.h"
#include "app/commands/tree_commands.h"
#include "document/notes_file.h"
#include "settings/settings_schema.h"

namespace quillora {

namespace {
constexpr int kStartTimerMs = 180;
// Progress texts change every 10 records; the window is repainted at most this often, so
// that a large file is not slowed down by hundreds of repaints.
constexpr qint64 kProgressPaintIntervalMs = 30;
constexpr int kMainWindowHelpContext = 14;
constexpr int kWhatsNewHelpTopic = 60;

QStringList LocalFiles(const QMimeData* data) {
    QStringList paths;
    if (!data || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) paths.append(url.toLocalFile());
    }
    return paths;
}
}  // namespace

namespace keys = settings_keys;

TMainForm::TMainForm(AppContext& context, QWidget* parent)
    : QMainWindow(parent), context_(context) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(AppTitle());
    SetHelpContext(this, kMainWindowHelpContext);
    BuildLayout();
    PlaceWindowFromSettings();

    const ProfileFile& ini = SettingsFile();
    doc_.images.folder = ReadIntSetting(ini, keys::kFolderImage);
    doc_.images.opened_folder = ReadIntSetting(ini, keys::kOpenedFolderImage);
    doc_.images.note = ReadIntSetting(ini, keys::kNoteImage);

    // Each controller creates its commands; the menus and the tool bar are built from them.
    document_commands_ = new DocumentCommands(*this);
    new EditCommands(*this);
    new TreeCommands(*this);
    new SearchCommands(*this);
    CreateWindowCommands();
    BuildMainMenu(*this);
    ApplyWindowSettings();

    setAcceptDrops(true);
    EnableContextHelp(this,
                      [](int topic, const QPoint&) { Platform::Instance().ShowHelpTopic(topic); });

    std::vector<std::string> args;
    for (const QString& a : context_.arguments) args.push_back(ToNative(a));
    command_line_ = ParseCommandLine(args);
    if (command_line_.maximize) setWindowState(windowState() | Qt::WindowMaximized);

    start_timer_ = new QTimer(this);
    start_timer_->setObjectName(QStringLiteral("Timer"));
    start_timer_->setSingleShot(true);
    start_timer_->setInterval(kStartTimerMs);
    connect(start_timer_, &QTimer::timeout, this, &TMainForm::TimerTimer);
    start_timer_->start();
    UpdateToolButtons();
}

TMainForm::~TMainForm() {
    // The controllers go first, while the window, its tree and its model still exist: their
    // destructors unhook themselves from them.
    const QObjectList kids = children();
    for (QObject* child : kids) {
        if (qobject_cast<DocumentCommands*>(child) || qobject_cast<EditCommands*>(child) ||
            qobject_cast<TreeCommands*>(child) || qobject_cast<SearchCommands*>(child)) {
            delete child;
        }
    }
    document_commands_ = nullptr;
    // The view and its model follow while the document they show still exists: a title being
    // edited is committed or dropped now, not after the document is gone.
    notes_tree_->setModel(nullptr);
    delete splitter_;
    delete tree_model_;
    splitter_ = nullptr;
    notes_tree_ = nullptr;
    tree_model_ = nullptr;
    panes_ = nullptr;
    memo_ = nullptr;
    folder_memo_ = nullptr;
}

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
    const int tree_width = ReadIntSetting(SettingsFile(), keys::kNotesListWidth);
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
    // A double click on the status bar shows the document's properties.
    bar->installEventFilter(this);
    SetStatusText(0, QStringLiteral("1:1"));
    SetStatusText(2, Lang(7701, "Insert"));
}

void TMainForm::PlaceWindowFromSettings() {
    const QRect screen = QGuiApplication::primaryScreen()
                             ? QGuiApplication::primaryScreen()->geometry()
                             : QRect(0, 0, 1024, 768);
    DefaultContext defaults;
    defaults.screen = {screen.width(), screen.height()};
    const ProfileFile& ini = SettingsFile();
    const WindowRect stored{
        ReadIntSetting(ini, keys::kLeft, defaults), ReadIntSetting(ini, keys::kTop, defaults),
        ReadIntSetting(ini, keys::kWidth, defaults), ReadIntSetting(ini, keys::kHeight, defaults)};
    // A place off every screen comes back onto the primary one.
    std::vector<WindowRect> screens;
    if (QScreen* primary = QGuiApplication::primaryScreen()) {
        for (QScreen* s : QGuiApplication::screens()) {
            const QRect r = s->availableGeometry();
            const WindowRect rect{r.x(), r.y(), r.width(), r.height()};
            if (s == primary) {
                screens.insert(screens.begin(), rect);
            } else {
                screens.push_back(rect);
            }
        }
    }
    const WindowRect place = PlaceOnScreens(stored, screens);
    resize(place.width, place.height);
    move(place.left, place.top);
}

void TMainForm::CreateWindowCommands() {
    auto checkable = [this](const char* name, uint16_t id, const char* caption) {
        QAction* action = CreateAction(this, name, Lang(id, caption));
        action->setCheckable(true);
        return action;
    };
    // The check mark has already changed when the handlers run; they apply it.
    connect(checkable("ViewMenuToolBar", 7201, "&Tool Bar"), &QAction::triggered, this,
            &TMainForm::ViewMenuToolBarClick);
    connect(checkable("ViewMenuStatusBar", 7202, "&Status Bar"), &QAction::triggered, this,
            &TMainForm::ViewMenuStatusBarClick);
    connect(checkable("ViewMenuAlwaysOnTop", 7203, "&Always On Top"), &QAction::triggered, this,
            &TMainForm::ViewMenuAlwaysOnTopClick);
    connect(CreateAction(this, "HelpMenuContents", Lang(7301, "&Contents...")), &QAction::triggered,
            this, &TMainForm::HelpMenuContentsClick);
    connect(checkable("HelpMenuShowHints", 7302, "&Show Hints"), &QAction::triggered, this,
            &TMainForm::HelpMenuShowHintsClick);
    connect(CreateAction(this, "HelpMenuWhatsNew", Lang(7303, "&What's New?")), &QAction::triggered,
            this, &TMainForm::HelpMenuWhatsNewClick);
}

namespace {
void SetChecked(QObject* form, const char* name, bool on) {
    if (auto* action = form->findChild<QAction*>(QString::fromLatin1(name))) action->setChecked(on);
}
bool IsChecked(const QObject* form, const char* name) {
    const auto* action = form->findChild<QAction*>(QString::fromLatin1(name));
    return action && action->isChecked();
}
}  // namespace

void TMainForm::ApplyWindowSettings() {
    const ProfileFile& ini = SettingsFile();
    const bool tool_bar = ReadFlag(ini, keys::kShowToolBar);
    const bool status_bar = ReadFlag(ini, keys::kShowStatusBar);
    const bool hints = ReadFlag(ini, keys::kShowHints);
    if (QToolBar* bar = ToolBar()) bar->setVisible(tool_bar);
    statusBar()->setVisible(status_bar);
    SetChecked(this, "ViewMenuToolBar", tool_bar);
    SetChecked(this, "ViewMenuStatusBar", status_bar);
    SetChecked(this, "HelpMenuShowHints", hints);
    SetHintsShown(hints);
    if (ReadFlag(ini, keys::kAlwaysOnTop)) SetAlwaysOnTop(true);
}

void TMainForm::ViewMenuToolBarClick() {
    if (QToolBar* bar = ToolBar()) bar->setVisible(IsChecked(this, "ViewMenuToolBar"));
}

void TMainForm::ViewMenuStatusBarClick() {
    statusBar()->setVisible(IsChecked(this, "ViewMenuStatusBar"));
}

void TMainForm::ViewMenuAlwaysOnTopClick() {
    SetAlwaysOnTop(IsChecked(this, "ViewMenuAlwaysOnTop"));
}

void TMainForm::HelpMenuShowHintsClick() {
    SetHintsShown(IsChecked(this, "HelpMenuShowHints"));
}

void TMainForm::HelpMenuContentsClick() {
    Platform::Instance().ShowHelpContents();
}

void TMainForm::HelpMenuWhatsNewClick() {
    Platform::Instance().ShowHelpTopic(kWhatsNewHelpTopic);
}

void TMainForm::SetAlwaysOnTop(bool on) {
    SetChecked(this, "ViewMenuAlwaysOnTop", on);
    if (IsAlwaysOnTop() == on) return;
    // Changing the flag hides a shown window; it comes back in the same place and size.
    const bool shown = isVisible();
    const QRect place = geometry();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (shown) {
        setGeometry(place);
        show();
    }
}

QToolBar* TMainForm::ToolBar() const {
    return findChild<QToolBar*>(QStringLiteral("ToolBar"));
}

bool TMainForm::IsAlwaysOnTop() const {
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void TMainForm::SetHintsShown(bool on) {
    QToolBar* bar = ToolBar();
    if (!bar) return;
    for (QToolButton* button : bar->findChildren<QToolButton*>()) {
        const QVariant hint = button->property("hint");
        if (hint.isValid()) button->setToolTip(on ? hint.toString() : QString());
    }
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
    doc_.StoreCurrentText(PaneTextToStore(pane->PlainText()));
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
    SetStatusText(0, QStringLiteral("1:1"));
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
    QToolBar* bar = ToolBar();
    if (!bar) return;
    const bool selected = SelectedNode() != kNoNode;
    for (QToolButton* button : bar->findChildren<QToolButton*>()) {
        const QVariant rule = button->property(kToolButtonEnablingProperty);
        if (!rule.isValid()) continue;
        switch (static_cast<ToolButtonEnabling>(rule.toInt())) {
            case ToolButtonEnabling::Always:
                button->setEnabled(true);
                break;
            case ToolButtonEnabling::WhileModified:
                button->setEnabled(doc_.modified);
                break;
            case ToolButtonEnabling::WhileNodeSelected:
                button->setEnabled(selected);
                break;
        }
    }
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

void TMainForm::ReadNotesFileReporting(const QString& given_path) {
    // Every way of opening a file comes here. The re-open list, like the document, keeps the
    // absolute path, so that an entry opens the same file from any working folder.
    const QString path = FromNative(DocumentPath(ToNative(given_path)));
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

    // The progress of a read that failed is gone before its message is shown.
    if (status != ReadStatus::Ok) SetStatusText(3, QString());
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
                FormatMessage(Lang(7777, "The file \"%s\" is damaged and cannot be opened."),
                              {path}),
                AppTitle(), MessageIcon::Warning, MessageButtons::Ok);
            break;
    }
    if (status != ReadStatus::Ok) {
        UpdatePaneEnabling();
        UpdateToolButtons();
        return;
    }
    const NodeId first = doc_.tree.FirstTopLevel();
    if (first != kNoNode) SelectNode(first);
    SetStatusText(3, path);
    UpdatePaneEnabling();
    UpdateToolButtons();
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
    // The writer cuts an over-long text in memory too: the pane must not keep showing (and
    // later store back) what the file no longer holds.
    if (doc_.current_text_index != -1) {
        NotePane* pane = doc_.current_kind == kNote ? memo_ : folder_memo_;
        if (pane->TextLength() != doc_.texts.TextLength(doc_.current_text_index)) {
            const bool attached = memo_change_attached_;
            memo_change_attached_ = false;
            pane->ShowText(StoreTextToPane(doc_.texts.TextOf(doc_.current_text_index)));
            memo_change_attached_ = attached;
        }
    }
    SetStatusText(3, path);
    ClearModified();
    return true;
}

// --- start and close ---

void TMainForm::TimerTimer() {
    start_timer_->stop();
    if (!command_line_.file.empty()) ReadNotesFileReporting(FromNative(command_line_.file));
    if (doc_.IsUntitled() && ReadFlag(SettingsFile(), keys::kReOpenLastFile)) {
        const QString last = FromNative(ReadText(SettingsFile(), keys::kReOpenFile));
        if (!last.isEmpty() && QFileInfo::exists(last)) ReadNotesFileReporting(last);
    }
    UpdateToolButtons();
    document_commands_->SetDialogFolders();
    SetHelpFilePath(ProgramFolder() + QStringLiteral("/Quillora.hlp"));
    memo_change_attached_ = true;
}

bool TMainForm::WordWrapOn() const {
    const auto* word_wrap = findChild<QAction*>(QStringLiteral("EditMenuWordWrap"));
    if (word_wrap && word_wrap->isCheckable()) return word_wrap->isChecked();
    return memo_->lineWrapMode() != QPlainTextEdit::NoWrap;
}

void TMainForm::WriteWindowSettings() {
    ProfileFile& ini = SettingsFile();
    // A maximised window keeps the place it had before, so the next start is not maximised.
    if (!isMaximized() && !isFullScreen()) {
        WriteInt(ini, keys::kLeft, x());
        WriteInt(ini, keys::kTop, y());
        WriteInt(ini, keys::kWidth, width());
        WriteInt(ini, keys::kHeight, height());
    }
    WriteFlag(ini, keys::kShowToolBar, IsChecked(this, "ViewMenuToolBar"));
    WriteFlag(ini, keys::kShowStatusBar, IsChecked(this, "ViewMenuStatusBar"));
    WriteFlag(ini, keys::kAlwaysOnTop, IsChecked(this, "ViewMenuAlwaysOnTop"));
    WriteFlag(ini, keys::kShowHints, IsChecked(this, "HelpMenuShowHints"));
    WriteFlag(ini, keys::kWordWrap, WordWrapOn());
    if (ReadFlag(ini, keys::kReOpenLastFile))
        WriteText(ini, keys::kReOpenFile, doc_.current_file_name);
    WriteInt(ini, keys::kNotesListWidth, notes_tree_->width());
    WriteInt(ini, keys::kFolderImage, doc_.images.folder);
    WriteInt(ini, keys::kOpenedFolderImage, doc_.images.opened_folder);
    WriteInt(ini, keys::kNoteImage, doc_.images.note);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (!document_commands_->AskSaveChanges()) {
        event->ignore();
        return;
    }
    WriteWindowSettings();
    event->accept();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == statusBar() && event->type() == QEvent::MouseButtonDblClick) {
        if (auto* properties = findChild<QAction*>(QStringLiteral("FileMenuProperties"))) {
            properties->trigger();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    const QStringList paths = LocalFiles(event->mimeData());
    if (paths.isEmpty()) return;
    event->acceptProposedAction();
    // The drag ends before any question is asked about the dropped files.
    QTimer::singleShot(0, this, [this, paths] { document_commands_->DropFiles(paths); });
}

}  // namespace quillora
