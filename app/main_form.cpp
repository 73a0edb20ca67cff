#include "app/main_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFontMetrics>
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
#include <algorithm>

#include "app/commands/document_commands.h"
#include "app/commands/edit_commands.h"
#include "app/commands/exchange_commands.h"
#include "app/commands/favorites_commands.h"
#include "app/commands/info_commands.h"
#include "app/commands/search_commands.h"
#include "app/commands/settings_commands.h"
#include "app/commands/tree_commands.h"
#include "app/main_menu.h"
#include "app/start_read_ahead.h"
#include "app/tray_icon.h"
#include "app/window_appearance.h"
#include "base/clock.h"
#include "base/command_line.h"
#include "document/notes_file.h"
#include "document/ui/my_tree_view.h"
#include "document/ui/note_pane.h"
#include "document/ui/note_panes.h"
#include "gui/app_paths.h"
#include "gui/context_help.h"
#include "gui/icons/app_icon.h"
#include "gui/lang.h"
#include "gui/note_tree_model.h"
#include "gui/platform.h"
#include "gui/text_codec.h"
#include "help/ui/help_window.h"
#include "settings/language_pack.h"
#include "settings/recent_files.h"
#include "settings/settings_schema.h"

namespace quillora {

namespace {
constexpr int kStartTimerMs = 180;
// A recovery copy more often than this would make a busy disk of a large document.
constexpr int kMinRecoverySeconds = 5;
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
    QElapsedTimer created;
    created.start();
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(AppTitle());
    setWindowIcon(ApplicationIcon());
    SetHelpContext(this, kMainWindowHelpContext);
    BuildLayout();
    PlaceWindowFromSettings();

    const ProfileFile& ini = SettingsFile();
    doc_.images.folder = ReadIntSetting(ini, keys::kFolderImage);
    doc_.images.opened_folder = ReadIntSetting(ini, keys::kOpenedFolderImage);
    doc_.images.note = ReadIntSetting(ini, keys::kNoteImage);

    // Each controller creates and registers its commands; the menus and the tool bar are then
    // built from the registry, and each controller attaches to the menus it needs.
    document_commands_ = std::make_unique<DocumentCommands>(*this);
    edit_commands_ = std::make_unique<EditCommands>(*this);
    tree_commands_ = std::make_unique<TreeCommands>(*this);
    search_commands_ = std::make_unique<SearchCommands>(*this);
    exchange_commands_ = std::make_unique<ExchangeCommands>(*this, *document_commands_);
    favorites_commands_ = std::make_unique<FavoritesCommands>(*this, *document_commands_);
    info_commands_ = std::make_unique<InfoCommands>(*this);
    settings_commands_ = std::make_unique<SettingsCommands>(*this);
    CreateWindowCommands();
    BuildMenus();
    appearance_ = new WindowAppearance(*this);
    ApplyEditorSettings();
    ApplyFlatButtons();
    LoadCustomImages();
    ApplyNotesListSettings();
    ApplyWindowSettings();
    FollowModifiedFlag();
    KeepSafetyCopies();
    if (context_.tray_mode) {
        tray_ = std::make_unique<TrayController>(
            *this, actions_, [this] { document_commands_->FileMenuExitClick(); });
    }

    setAcceptDrops(true);
    EnableContextHelp(this,
                      [](int topic, const QPoint&) { Platform::Instance().ShowHelpTopic(topic); });

    std::vector<std::string> args;
    for (const QString& a : context_.arguments) args.push_back(ToNative(a));
    command_line_ = ParseCommandLine(args);
    if (command_line_.maximize) setWindowState(windowState() | Qt::WindowMaximized);

    StartTheStartTimer(created.elapsed());
    read_ahead_ = new StartReadAhead(*this, StartFile());
    UpdateToolButtons();
}

TMainForm::~TMainForm() {
    // No palette change may reach panes and a tree that are going.
    delete appearance_;
    appearance_ = nullptr;
    // A recovery copy being written reads the document: it ends before anything goes.
    recovery_.reset();
    // The controllers go first, while the window, its tree and its model still exist: their
    // destructors unhook themselves from them.
    exchange_commands_.reset();
    favorites_commands_.reset();
    tray_.reset();
    info_commands_.reset();
    settings_commands_.reset();
    search_commands_.reset();
    tree_commands_.reset();
    edit_commands_.reset();
    document_commands_.reset();
    doc_.modified.SetListener({});
    // The view and its model follow while the document they show still exists: a title being
    // edited is committed or dropped now, not after the document is gone.
    notes_tree_->setModel(nullptr);
    delete splitter_;
    delete tree_model_;
    splitter_ = nullptr;
    notes_tree_ = nullptr;
    tree_model_ = nullptr;
}

void TMainForm::BuildMenus() {
    tool_bar_ = BuildMenusAndToolBar(*this, *notes_tree_, actions_, tool_bar_);
    RefreshNodeGlyphs(*tool_bar_, image_list_, doc_.images);
    if (appearance_) appearance_->ApplyFlatButtons();
    document_commands_->AttachMenus();
    edit_commands_->AttachMenus();
    tree_commands_->AttachMenus();
    search_commands_->AttachMenus();
    exchange_commands_->AttachMenus();
    favorites_commands_->AttachMenus();
    info_commands_->AttachMenus();
}

void TMainForm::ApplyFlatButtons() {
    appearance_->ApplyFlatButtons();
}
void TMainForm::ApplyEditorSettings() {
    appearance_->ApplyEditorSettings();
}
void TMainForm::ApplyNotesListSettings() {
    appearance_->ApplyNotesListSettings();
}
void TMainForm::LoadCustomImages() {
    appearance_->LoadCustomImages();
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
    // The tool buttons follow the selection and the tree's shape by themselves.
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved}) {
        connect(tree_model_, signal, this, [this] { UpdateToolButtons(); });
    }
    connect(tree_model_, &QAbstractItemModel::modelReset, this, [this] { UpdateToolButtons(); });

    panes_ = new NotePanes(doc_, splitter_);
    connect(panes_, &NotePanes::Edited, this, [this] { MarkModified(); });

    splitter_->addWidget(notes_tree_);
    splitter_->addWidget(panes_->Widget());
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    const int tree_width = ReadIntSetting(SettingsFile(), keys::kNotesListWidth);
    splitter_->setSizes({tree_width, 400});
    setCentralWidget(splitter_);
    BuildStatusBar();
}

void TMainForm::BuildStatusBar() {
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
    WidenStatusPanelsForPack();
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
    ActionRegistry& a = actions_;
    // The check mark has already changed when the handlers run; they apply it.
    connect(&a.CreateCheckable("ViewMenuToolBar", Lang(7201, "&Tool Bar")), &QAction::triggered,
            this, &TMainForm::ViewMenuToolBarClick);
    connect(&a.CreateCheckable("ViewMenuStatusBar", Lang(7202, "&Status Bar")), &QAction::triggered,
            this, &TMainForm::ViewMenuStatusBarClick);
    connect(&a.CreateCheckable("ViewMenuAlwaysOnTop", Lang(7203, "&Always On Top")),
            &QAction::triggered, this, &TMainForm::ViewMenuAlwaysOnTopClick);
    connect(&a.Create("HelpMenuContents", Lang(7301, "&Contents...")), &QAction::triggered, this,
            &TMainForm::HelpMenuContentsClick);
    connect(&a.CreateCheckable("HelpMenuShowHints", Lang(7302, "&Show Hints")), &QAction::triggered,
            this, &TMainForm::HelpMenuShowHintsClick);
    connect(&a.Create("HelpMenuWhatsNew", Lang(7303, "&What's New?")), &QAction::triggered, this,
            &TMainForm::HelpMenuWhatsNewClick);
}

// The status panel and the Save button follow the modified flag by themselves.
void TMainForm::FollowModifiedFlag() {
    doc_.modified.SetListener([this](bool on) {
        SetStatusText(1, on ? Lang(7700, "Modified") : QString());
        UpdateToolButtons();
        if (recovery_) recovery_->ModifiedChanged(on);
    });
}

void TMainForm::KeepSafetyCopies() {
    const ProfileFile& ini = SettingsFile();
    const QString data = context_.user_data_folder;
    if (data.isEmpty()) return;
    const int keep = ReadIntSetting(ini, keys::kKeepVersions);
    if (keep > 0) {
        versions_ =
            std::make_unique<PreviousVersions>(ToNative(data + QStringLiteral("/versions")), keep);
    }
    if (!ReadFlag(ini, keys::kRecovery)) return;
    std::unique_ptr<RecoveryStore> store =
        RecoveryStore::Open(ToNative(data + QStringLiteral("/recovery")));
    if (!store) return;
    const int seconds = std::max(kMinRecoverySeconds, ReadIntSetting(ini, keys::kRecoverySeconds));
    recovery_ = std::make_unique<RecoveryKeeper>(doc_, std::move(store), seconds * 1000,
                                                 [this] { StoreCurrentText(); });
    connect(panes_, &NotePanes::Edited, recovery_.get(), &RecoveryKeeper::DocumentChanged);
    RecoveryKeeper* keeper = recovery_.get();
    const auto changed = [keeper] { keeper->DocumentChanged(); };
    connect(tree_model_, &QAbstractItemModel::rowsInserted, keeper, changed);
    connect(tree_model_, &QAbstractItemModel::rowsRemoved, keeper, changed);
    connect(tree_model_, &QAbstractItemModel::rowsMoved, keeper, changed);
    connect(tree_model_, &QAbstractItemModel::layoutChanged, keeper, changed);
    connect(tree_model_, &QAbstractItemModel::dataChanged, keeper, changed);
}

bool TMainForm::RestoreLeftChanges(const LeftRecovery& left) {
    tree_change_attached_ = false;
    notes_tree_->setUpdatesEnabled(false);
    const ReadStatus status = ReadNotesFile(left.copy_path, doc_);
    notes_tree_->setUpdatesEnabled(true);
    tree_change_attached_ = true;
    if (status != ReadStatus::Ok) return false;
    // The document is the one the user had: its own name, the file as it last knew it, and
    // changes still to be saved.
    doc_.current_file_name = left.info.document_path;
    doc_.disk_identity = left.info.base;
    doc_.modified = true;
    const NodeId first = doc_.tree.FirstTopLevel();
    if (first != kNoNode) SelectNode(first);
    SetStatusText(3, FromNative(doc_.current_file_name));
    UpdatePaneEnabling();
    UpdateToolButtons();
    return true;
}

void TMainForm::ApplyWindowSettings() {
    const ProfileFile& ini = SettingsFile();
    const bool tool_bar = ReadFlag(ini, keys::kShowToolBar);
    const bool status_bar = ReadFlag(ini, keys::kShowStatusBar);
    const bool hints = ReadFlag(ini, keys::kShowHints);
    if (QToolBar* bar = ToolBar()) bar->setVisible(tool_bar);
    statusBar()->setVisible(status_bar);
    actions_.SetChecked("ViewMenuToolBar", tool_bar);
    actions_.SetChecked("ViewMenuStatusBar", status_bar);
    actions_.SetChecked("HelpMenuShowHints", hints);
    SetHintsShown(hints);
    if (ReadFlag(ini, keys::kAlwaysOnTop)) SetAlwaysOnTop(true);
}

void TMainForm::ViewMenuToolBarClick() {
    if (QToolBar* bar = ToolBar()) bar->setVisible(actions_.IsChecked("ViewMenuToolBar"));
}

void TMainForm::ViewMenuStatusBarClick() {
    statusBar()->setVisible(actions_.IsChecked("ViewMenuStatusBar"));
}

void TMainForm::ViewMenuAlwaysOnTopClick() {
    SetAlwaysOnTop(actions_.IsChecked("ViewMenuAlwaysOnTop"));
}

void TMainForm::HelpMenuShowHintsClick() {
    SetHintsShown(actions_.IsChecked("HelpMenuShowHints"));
}

void TMainForm::HelpMenuContentsClick() {
    Platform::Instance().ShowHelpContents();
}

void TMainForm::HelpMenuWhatsNewClick() {
    Platform::Instance().ShowHelpTopic(kWhatsNewHelpTopic);
}

void TMainForm::SetAlwaysOnTop(bool on) {
    actions_.SetChecked("ViewMenuAlwaysOnTop", on);
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

NotePane* TMainForm::Memo() const {
    return panes_->Memo();
}
NotePane* TMainForm::FolderMemo() const {
    return panes_->FolderMemo();
}
NotePane* TMainForm::VisiblePane() const {
    return panes_->Visible();
}

// --- document state ---

void TMainForm::StoreCurrentText() {
    panes_->StoreShownText();
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
    notes_tree_->setUpdatesEnabled(false);
    SetStatusText(3, Lang(7760, "Closing File..."));
    repaint();
    doc_.tree.Clear();
    tree_change_attached_ = true;
    panes_->Clear();
    doc_.Close();
    SetStatusText(3, QString());
    SetStatusText(0, QStringLiteral("1:1"));
    panes_->SetEnabled(false);
    UpdateToolButtons();
    notes_tree_->setUpdatesEnabled(true);
}

// The selection moved: keep what was typed in the old node, show the new node's text.
void TMainForm::NotesTreeChange() {
    if (!tree_change_attached_) return;
    StoreCurrentText();
    const NodeId node = SelectedNode();
    if (node == kNoNode) {
        panes_->ForgetShown();
    } else {
        panes_->ShowNode(node);
    }
    UpdateToolButtons();
}

// --- refresh ---

void TMainForm::UpdateToolButtons() {
    QToolBar* bar = ToolBar();
    if (!bar) return;  // while the window is being built
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
    panes_->SetEnabled(!doc_.tree.Empty());
}

void TMainForm::WidenStatusPanelsForPack() {
    if (!LanguageText::Instance().HasModule()) return;
    // The modified flag's and the typing mode's panels fit the pack's texts with 16 pixels to
    // spare, so switching between Insert and Overwrite never moves the bar.
    const QFontMetrics metrics(font());
    const auto width = [&metrics](uint16_t id, const char* english) {
        return metrics.horizontalAdvance(Lang(id, english)) + 16;
    };
    status_panels_[1]->setFixedWidth(width(7700, "Modified"));
    status_panels_[2]->setFixedWidth(std::max(width(7701, "Insert"), width(7702, "Overwrite")));
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
    ReadReporting(given_path, {});
}

void TMainForm::ReadReporting(const QString& given_path, PreparedNotesFile&& prepared) {
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
    const ReadStatus status = ReadNotesFile(ToNative(path), doc_, callbacks, std::move(prepared));
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
    // The file about to be replaced stays as a previous version (a hard link: no copying).
    if (versions_ && IsNotesFile(ToNative(path)))
        versions_->Keep(ToNative(path), SystemClock().Now());
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
    panes_->RefreshShownText();
    SetStatusText(3, path);
    ClearModified();
    return true;
}

// --- start and close ---

void TMainForm::StartTheStartTimer(qint64 elapsed_since_creation) {
    start_timer_ = new QTimer(this);
    start_timer_->setObjectName(QStringLiteral("Timer"));
    start_timer_->setSingleShot(true);
    // The timer's 180 ms count from the window's creation, as a timer that belongs to the
    // window runs while the rest of it is built. It starts only now, so that it cannot fire
    // in a message box shown while the window is still being built.
    start_timer_->setInterval(
        static_cast<int>(std::max<qint64>(0, kStartTimerMs - elapsed_since_creation)));
    // A coarse timer may fire up to 5 % late; the document is due on screen at the tick.
    start_timer_->setTimerType(Qt::PreciseTimer);
    connect(start_timer_, &QTimer::timeout, this, &TMainForm::TimerTimer);
    start_timer_->start();
}

void TMainForm::TimerTimer() {
    start_timer_->stop();
    const bool restored =
        recovery_ && recovery_->OfferLeftChanges(this, [this](const LeftRecovery& left) {
            return RestoreLeftChanges(left);
        });
    // What was read ahead for the file is taken when it is still the file on disk.
    const auto read = [this](const QString& path) {
        ReadReporting(path, read_ahead_->Take(ToNative(path)));
    };
    if (!restored && !command_line_.file.empty()) read(FromNative(command_line_.file));
    if (!restored && doc_.IsUntitled() && ReadFlag(SettingsFile(), keys::kReOpenLastFile)) {
        const QString last = FromNative(ReadText(SettingsFile(), keys::kReOpenFile));
        if (!last.isEmpty() && QFileInfo::exists(last)) read(last);
    }
    delete read_ahead_;
    read_ahead_ = nullptr;
    UpdateToolButtons();
    document_commands_->SetDialogFolders();
    SetHelpFilePath(ProgramFolder() + QStringLiteral("/Quillora.hlp"));
}

std::string TMainForm::StartFile() {
    if (!command_line_.file.empty()) return command_line_.file;
    if (!ReadFlag(SettingsFile(), keys::kReOpenLastFile)) return {};
    return ReadText(SettingsFile(), keys::kReOpenFile);
}

void TMainForm::WriteWindowSettings() {
    ProfileFile& ini = SettingsFile();
    const bool reopen_last = ReadFlag(ini, keys::kReOpenLastFile);
    // All the window's keys in one write of the file.
    ini.WriteAll([&](ProfileBatch& batch) {
        // A maximised window keeps the place it had before, so the next start is not maximised.
        if (!isMaximized() && !isFullScreen()) {
            WriteInt(batch, keys::kLeft, x());
            WriteInt(batch, keys::kTop, y());
            WriteInt(batch, keys::kWidth, width());
            WriteInt(batch, keys::kHeight, height());
        }
        WriteFlag(batch, keys::kShowToolBar, actions_.IsChecked("ViewMenuToolBar"));
        WriteFlag(batch, keys::kShowStatusBar, actions_.IsChecked("ViewMenuStatusBar"));
        WriteFlag(batch, keys::kAlwaysOnTop, actions_.IsChecked("ViewMenuAlwaysOnTop"));
        WriteFlag(batch, keys::kShowHints, actions_.IsChecked("HelpMenuShowHints"));
        WriteFlag(batch, keys::kWordWrap, actions_.IsChecked("EditMenuWordWrap"));
        if (reopen_last) WriteText(batch, keys::kReOpenFile, doc_.current_file_name);
        WriteInt(batch, keys::kNotesListWidth, notes_tree_->width());
        WriteInt(batch, keys::kFolderImage, doc_.images.folder);
        WriteInt(batch, keys::kOpenedFolderImage, doc_.images.opened_folder);
        WriteInt(batch, keys::kNoteImage, doc_.images.note);
    });
}

void TMainForm::OpenHandedOverFile(const QString& path) {
    if (tray_ && tray_->Hidden()) {
        tray_->TrayPopupMenuRestoreClick();
    } else {
        if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
        show();
    }
    QWidget* front = QApplication::activeModalWidget();
    if (!front) front = this;
    front->raise();
    front->activateWindow();
    OpenOnceNoDialogIsOpen(path);
}

// A question or dialog of this copy that is open comes first; the file waits for it.
void TMainForm::OpenOnceNoDialogIsOpen(const QString& path) {
    if (QApplication::activeModalWidget()) {
        constexpr int kRetryMs = 250;
        QTimer::singleShot(kRetryMs, this, [this, path] { OpenOnceNoDialogIsOpen(path); });
        return;
    }
    if (!path.isEmpty()) document_commands_->LoadFavorite(path);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (!document_commands_->AskSaveChanges()) {
        event->ignore();
        return;
    }
    WriteWindowSettings();
    event->accept();
    emit Closed();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    // The properties open from the status bar even while the File menu left its item disabled.
    if (watched == statusBar() && event->type() == QEvent::MouseButtonDblClick) {
        info_commands_->FileMenuPropertiesClick();
        return true;
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
