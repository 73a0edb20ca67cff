#include "favorites/ui/favorites_editor.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "favorites/ui/favorites_pictures.h"
#include "favorites/ui/favorites_texts.h"
#include "favorites/ui/favorites_tree_view.h"
#include "gui/context_help.h"
#include "gui/icons/tool_glyphs.h"
#include "gui/lang.h"
#include "gui/note_tree_model.h"
#include "gui/text_codec.h"

namespace quillora {

namespace {

using favorites::FavoritesTree;

constexpr int kFileMenuHelp = 15;
constexpr int kViewMenuHelp = 16;
constexpr int kHelpMenuHelp = 17;

// A tool button: its glyph, hint and the command it runs.
struct ToolButtonLine {
    const char* name;  // nullptr: the gap between two groups
    const char* command;
    uint16_t hint_id;
    const char* hint;
};
const ToolButtonLine kToolButtons[] = {
    {"NewFavButton", "FileMenuNewFavorite", 4150, "New Favorite"},
    {"NewSepButton", "FileMenuNewSeparator", 4151, "New Separator"},
    {"NewFolderButton", "FileMenuNewFolder", 4152, "New Folder"},
    {nullptr, nullptr, 0, nullptr},
    {"DelButton", "FileMenuDelete", 4153, "Delete"},
    {nullptr, nullptr, 0, nullptr},
    {"PropButton", "FileMenuProperties", 4154, "Properties"},
    {nullptr, nullptr, 0, nullptr},
    {"CloseButton", "FileMenuClose", 4155, "Close"},
};

QIcon ToolButtonIcon(const char* name) {
    const QString n = QString::fromLatin1(name);
    if (n == QLatin1String("NewFavButton")) return ToolGlyphIcon(ToolGlyph::New);
    if (n == QLatin1String("NewSepButton")) return FavoritesGlyphIcon(FavoritesGlyph::NewSeparator);
    if (n == QLatin1String("NewFolderButton")) return ToolGlyphIcon(ToolGlyph::NewFolder);
    if (n == QLatin1String("DelButton")) return FavoritesGlyphIcon(FavoritesGlyph::Delete);
    if (n == QLatin1String("PropButton")) return FavoritesGlyphIcon(FavoritesGlyph::Properties);
    return ToolGlyphIcon(ToolGlyph::Exit);
}

}  // namespace

TFavoritesEditor::TFavoritesEditor(FavoritesEditorServices services, QWidget* parent)
    : QDialog(parent),
      services_(std::move(services)),
      favorites_(LocalizedMarkers(), ToNative(Lang(7250, "Favorites"))) {
    setObjectName(QStringLiteral("TFavoritesEditor"));
    setWindowFlags(Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    CreateCommands();
    BuildTree();
    BuildMenus();
    BuildToolBar();
    BuildStatusBar();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar());
    layout->addWidget(tool_bar_);
    layout->addWidget(tree_view_, 1);
    layout->addWidget(status_bar_);
    ReadFile();
    EnableContextHelp(this,
                      [](int topic, const QPoint&) { Platform::Instance().ShowHelpTopic(topic); });
}

TFavoritesEditor::~TFavoritesEditor() {
    tree_view_->setModel(nullptr);
    delete model_;
}

// --- creation ---

void TFavoritesEditor::ReadFile() {
    const favorites::FavoritesContent content = favorites::ReadFavoritesForEditor(FavoritesFile());
    switch (content.status) {
        case favorites::FavoritesStatus::Ok:
            favorites_.Load(content.root_title, content.records);
            break;
        case favorites::FavoritesStatus::Missing:
            break;
        case favorites::FavoritesStatus::BadFormat:
            file_writable_ = false;
            ReportFavoritesProblem(parentWidget(), FavoritesProblem::BadFormat);
            break;
        default:
            file_writable_ = false;
            ReportFavoritesProblem(parentWidget(), FavoritesProblem::CannotOpen);
            break;
    }
    const QModelIndex root = model_->IndexOf(favorites_.Root());
    tree_view_->expand(root);
    tree_view_->setCurrentIndex(root);
    UpdateFileCount();
    TreeViewChange();
}

void TFavoritesEditor::CreateCommands() {
    ActionRegistry& a = actions_;
    connect(&a.Create("FileMenuNewFavorite", Lang(4001, "New &Favorite...")), &QAction::triggered,
            this, &TFavoritesEditor::FileMenuNewFavoriteClick);
    connect(&a.Create("FileMenuNewSeparator", Lang(4002, "New &Separator")), &QAction::triggered,
            this, &TFavoritesEditor::FileMenuNewSeparatorClick);
    connect(&a.Create("FileMenuNewFolder", Lang(4003, "New F&older")), &QAction::triggered, this,
            &TFavoritesEditor::FileMenuNewFolderClick);
    connect(&a.Create("FileMenuDelete", Lang(4004, "&Delete")), &QAction::triggered, this,
            &TFavoritesEditor::FileMenuDeleteClick);
    connect(&a.Create("FileMenuProperties", Lang(4005, "&Properties...")), &QAction::triggered,
            this, &TFavoritesEditor::FileMenuPropertiesClick);
    connect(&a.Create("FileMenuClose", Lang(4006, "&Close")), &QAction::triggered, this,
            &QDialog::close);
    connect(&a.CreateCheckable("ViewMenuToolBar", Lang(4051, "&Tool Bar")), &QAction::triggered,
            this, &TFavoritesEditor::ViewMenuToolBarClick);
    connect(&a.CreateCheckable("ViewMenuStatusBar", Lang(4052, "&Status Bar")), &QAction::triggered,
            this, &TFavoritesEditor::ViewMenuStatusBarClick);
    connect(&a.Create("ViewMenuCollapseAll", Lang(4053, "&Collapse All")), &QAction::triggered,
            this, [this] { tree_view_->collapseAll(); });
    connect(&a.Create("ViewMenuExpandAll", Lang(4054, "&Expand All")), &QAction::triggered, this,
            [this] { tree_view_->expandAll(); });
    connect(&a.Create("HelpMenuContents", Lang(4101, "&Contents...")), &QAction::triggered, this,
            &TFavoritesEditor::HelpMenuContentsClick);
    connect(&a.Create("HelpMenuAbout", Lang(4102, "&About...")), &QAction::triggered, this,
            &TFavoritesEditor::HelpMenuAboutClick);
    a.SetChecked("ViewMenuToolBar", true);
    a.SetChecked("ViewMenuStatusBar", true);
}

QMenuBar* TFavoritesEditor::menuBar() {
    if (!menu_bar_) {
        menu_bar_ = new QMenuBar(this);
        menu_bar_->setObjectName(QStringLiteral("MainMenu"));
    }
    return menu_bar_;
}

void TFavoritesEditor::BuildMenus() {
    const auto add_menu = [this](const char* name, const QString& caption, int help,
                                 std::initializer_list<const char*> items) {
        QMenu* menu = menuBar()->addMenu(caption);
        menu->setObjectName(QString::fromLatin1(name));
        SetHelpContext(menu, help);
        for (const char* item : items) {
            if (item) {
                menu->addAction(&actions_.Action(item));
            } else {
                menu->addSeparator();
            }
        }
        actions_.AddMenu(name, *menu);
        return menu;
    };
    QMenu* file =
        add_menu("FileMenu", Lang(4000, "&File"), kFileMenuHelp,
                 {"FileMenuNewFavorite", "FileMenuNewSeparator", "FileMenuNewFolder", nullptr,
                  "FileMenuDelete", nullptr, "FileMenuProperties", nullptr, "FileMenuClose"});
    connect(file, &QMenu::aboutToShow, this, &TFavoritesEditor::FileMenuClick);
    add_menu("ViewMenu", Lang(4050, "&View"), kViewMenuHelp,
             {"ViewMenuToolBar", "ViewMenuStatusBar", nullptr, "ViewMenuCollapseAll",
              "ViewMenuExpandAll"});
    add_menu("HelpMenu", Lang(4100, "&Help"), kHelpMenuHelp,
             {"HelpMenuContents", nullptr, "HelpMenuAbout"});

    popup_menu_ = new QMenu(this);
    popup_menu_->setObjectName(QStringLiteral("PopupMenu"));
    for (const char* item : {"FileMenuNewFavorite", "FileMenuNewSeparator", "FileMenuNewFolder",
                             "FileMenuDelete", "FileMenuProperties"}) {
        popup_menu_->addAction(&actions_.Action(item));
    }
    actions_.AddMenu("PopupMenu", *popup_menu_);
    connect(tree_view_, &QWidget::customContextMenuRequested, this, [this](QPoint p) {
        FileMenuClick();
        popup_menu_->popup(tree_view_->viewport()->mapToGlobal(p));
    });
}

void TFavoritesEditor::BuildToolBar() {
    tool_bar_ = new QToolBar(this);
    tool_bar_->setObjectName(QStringLiteral("ToolBar"));
    tool_bar_->setIconSize(QSize(16, 16));
    for (const ToolButtonLine& line : kToolButtons) {
        if (!line.name) {
            tool_bar_->addSeparator();
            continue;
        }
        QAction* command = &actions_.Action(line.command);
        auto* button = new QToolButton(tool_bar_);
        button->setObjectName(QString::fromLatin1(line.name));
        button->setAutoRaise(true);
        button->setFixedSize(25, 25);
        button->setIcon(ToolButtonIcon(line.name));
        button->setToolTip(services_.hints_shown ? Lang(line.hint_id, line.hint) : QString());
        connect(button, &QToolButton::clicked, command, [command] {
            if (command->isEnabled()) command->trigger();
        });
        connect(command, &QAction::changed, button,
                [button, command] { button->setEnabled(command->isEnabled()); });
        tool_bar_->addWidget(button);
    }
}

void TFavoritesEditor::BuildTree() {
    model_ = new NoteTreeModel(favorites_.Tree(), FavoritesEntryIcon);
    model_->SetTitlesUtf8(true);
    model_->SetTitleEditor(
        [this](NodeId node, const std::string& text) { TreeViewEdited(node, text); });
    AttachDropRules();
    tree_view_ = new FavoritesTreeView(this);
    tree_view_->setModel(model_);
    FavoritesTreeView::Handlers handlers;
    handlers.may_edit = [this](NodeId node) {
        return node != kNoNode && !favorites_.IsPlaceholder(node) && !favorites_.IsSeparator(node);
    };
    handlers.may_drag = [this](NodeId node) { return favorites_.CanDrag(node); };
    handlers.insert_key = [this] { FileMenuNewFavoriteClick(); };
    handlers.delete_key = [this] {
        if (favorites_.CanDelete(SelectedNode())) FileMenuDeleteClick();
    };
    handlers.double_click = [this](NodeId node) {
        if (node == kNoNode || !favorites_.IsFavorite(node)) return false;
        TreeViewDblClick(node);
        return true;
    };
    tree_view_->SetHandlers(std::move(handlers));
    connect(tree_view_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TFavoritesEditor::TreeViewChange);
}

void TFavoritesEditor::AttachDropRules() {
    using Place = NoteTreeModel::DropPlace;
    model_->SetDropRules(
        [this](NodeId dragged, NodeId target) {
            switch (favorites_.DropPlaceFor(dragged, target)) {
                case FavoritesTree::DropPlace::kInto:
                    return Place::kInto;
                case FavoritesTree::DropPlace::kBefore:
                    return Place::kBefore;
                case FavoritesTree::DropPlace::kOnItself:
                    return Place::kOnItself;
                default:
                    return Place::kRefused;
            }
        },
        [this](NodeId dragged, NodeId target) {
            const NodeId refilled = favorites_.Drop(dragged, target);
            if (refilled != kNoNode) tree_view_->expand(model_->IndexOf(refilled));
            if (!favorites_.Tree().Children(dragged).empty()) {
                tree_view_->expand(model_->IndexOf(dragged));
            }
            UpdateFileCount();
        });
}

void TFavoritesEditor::BuildStatusBar() {
    status_bar_ = new QStatusBar(this);
    status_bar_->setObjectName(QStringLiteral("StatusBar"));
    status_bar_->setSizeGripEnabled(true);
    for (int i = 0; i < 2; ++i) {
        status_panels_[i] = new QLabel(status_bar_);
        status_panels_[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    }
    status_panels_[0]->setFixedWidth(status_panels_[0]->fontMetrics().horizontalAdvance(
                                         Lang(4200, "Total Files:") + QStringLiteral(" 000")) +
                                     16);
    status_bar_->addWidget(status_panels_[0]);
    status_bar_->addWidget(status_panels_[1], 1);
}

// --- state ---

QString TFavoritesEditor::StatusText(int panel) const {
    return panel == 0 || panel == 1 ? status_panels_[panel]->text() : QString();
}

NodeId TFavoritesEditor::SelectedNode() const {
    return tree_view_->NodeAtIndex(tree_view_->currentIndex());
}

void TFavoritesEditor::SelectNode(NodeId node) {
    tree_view_->setCurrentIndex(model_->IndexOf(node));
}

bool TFavoritesEditor::SelectedIsOpen() const {
    return tree_view_->isExpanded(tree_view_->currentIndex());
}

void TFavoritesEditor::SetBarsVisible(bool tool_bar, bool status_bar) {
    tool_bar_->setVisible(tool_bar);
    status_bar_->setVisible(status_bar);
    actions_.SetChecked("ViewMenuToolBar", tool_bar);
    actions_.SetChecked("ViewMenuStatusBar", status_bar);
}

bool TFavoritesEditor::ToolBarShown() const {
    return actions_.IsChecked("ViewMenuToolBar");
}

bool TFavoritesEditor::StatusBarShown() const {
    return actions_.IsChecked("ViewMenuStatusBar");
}

void TFavoritesEditor::UpdateFileCount() {
    status_panels_[0]->setText(Lang(4200, "Total Files:") + QLatin1Char(' ') +
                               QString::number(favorites_.FileCount()));
}

void TFavoritesEditor::UpdateCaption() {
    setWindowTitle(AppTitle() + QStringLiteral(" - ") + FromNative(favorites_.RootTitle()));
}

void TFavoritesEditor::showEvent(QShowEvent* event) {
    UpdateCaption();
    QDialog::showEvent(event);
}

// The editor is a window of its own rather than a dialog: Escape does not close it.
void TFavoritesEditor::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) return;
    QDialog::keyPressEvent(event);
}

void TFavoritesEditor::FileMenuClick() {
    const NodeId s = SelectedNode();
    const bool deletable = s != kNoNode && favorites_.CanDelete(s);
    actions_.SetEnabled("FileMenuDelete", deletable);
    actions_.SetEnabled("FileMenuProperties",
                        deletable && !favorites_.IsSeparator(s) &&
                            favorites_.Tree().Image(s) != favorites::kFolderImage);
}

void TFavoritesEditor::TreeViewChange() {
    FileMenuClick();
    const NodeId s = SelectedNode();
    status_panels_[1]->setText(s == kNoNode ? QString() : FromNative(favorites_.Path(s)));
}

// --- closing ---

void TFavoritesEditor::done(int result) {
    WriteFile();
    QDialog::done(result);
}

void TFavoritesEditor::WriteFile() {
    if (written_) return;
    written_ = true;
    if (!file_writable_ || !favorites_.Changed()) return;
    status_panels_[1]->setText(Lang(4206, "Saving") + QLatin1Char(' ') +
                               FromNative(favorites_.RootTitle()) + QStringLiteral("..."));
    status_panels_[1]->repaint();
    if (favorites::WriteFavoritesFromEditor(FavoritesFile(), favorites_.RootTitle(),
                                            favorites_.Records()) != ReplaceStatus::Ok) {
        ReportFavoritesProblem(this, FavoritesProblem::CannotCreate);
    }
}

}  // namespace quillora
