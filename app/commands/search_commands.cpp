#include "app/commands/search_commands.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QMenu>
#include <QTextCursor>

#include "app/commands/command_host.h"
#include "document/notes_document.h"
#include "document/ui/my_tree_view.h"
#include "document/ui/note_pane.h"
#include "document/ui/note_panes.h"
#include "gui/action_registry.h"
#include "gui/lang.h"
#include "gui/note_tree_model.h"
#include "gui/platform.h"
#include "gui/text_codec.h"
#include "search/ui/replace_form.h"
#include "search/ui/search_form.h"

namespace quillora {

namespace {
constexpr const char* kSearchCommands[] = {"SearchMenuFind", "SearchMenuFindAgain",
                                           "SearchMenuReplace"};
}  // namespace

SearchCommands::SearchCommands(CommandHost& host) : host_(host) {
    setObjectName(QStringLiteral("SearchCommands"));
    CreateActions();
    NoteTreeModel* model = host_.TreeModel();
    const auto refresh = [this] { SearchMenuClick(); };
    connect(host_.Tree()->selectionModel(), &QItemSelectionModel::currentChanged, this, refresh);
    connect(model, &QAbstractItemModel::rowsInserted, this, refresh);
    connect(model, &QAbstractItemModel::rowsRemoved, this, refresh);
    connect(model, &QAbstractItemModel::modelReset, this, refresh);
}

SearchCommands::~SearchCommands() = default;

TReplaceForm* SearchCommands::ReplaceForm() const {
    return replace_form_;
}

void SearchCommands::CreateActions() {
    ActionRegistry& a = host_.Actions();
    connect(&a.Create("SearchMenuFind", Lang(7101, "&Find..."), QKeySequence(Qt::CTRL | Qt::Key_F)),
            &QAction::triggered, this, &SearchCommands::SearchMenuFindClick);
    connect(&a.Create("SearchMenuFindAgain", Lang(7102, "Find &Next"), QKeySequence(Qt::Key_F3)),
            &QAction::triggered, this, &SearchCommands::SearchMenuFindAgainClick);
    connect(&a.Create("SearchMenuReplace", Lang(7103, "&Replace..."),
                      QKeySequence(Qt::CTRL | Qt::Key_R)),
            &QAction::triggered, this, &SearchCommands::SearchMenuReplaceClick);
    SearchMenuClick();
}

void SearchCommands::AttachMenus() {
    connect(&host_.Actions().Menu("SearchMenu"), &QMenu::aboutToShow, this,
            &SearchCommands::SearchMenuClick);
}

void SearchCommands::SearchMenuClick() {
    const bool selected = host_.SelectedNode() != kNoNode;
    for (const char* name : kSearchCommands) host_.Actions().SetEnabled(name, selected);
}

// --- the menu's commands ---

void SearchCommands::SearchMenuFindClick() {
    if (host_.SelectedNode() == kNoNode) return;
    TSearchForm dialog(&host_.Window());
    const bool accepted =
        run_find_dialog_ ? run_find_dialog_(dialog) : dialog.exec() == QDialog::Accepted;
    if (!accepted) return;
    settings_ = dialog.Settings();
    FindNext();
}

void SearchCommands::SearchMenuFindAgainClick() {
    if (settings_.text.empty()) {
        SearchMenuFindClick();
        return;
    }
    FindNext();
}

void SearchCommands::SearchMenuReplaceClick() {
    if (host_.SelectedNode() == kNoNode) return;
    if (!replace_form_) {
        ReplaceHandlers handlers;
        handlers.find_next = [this](const SearchSettings& s) { ReplaceFormFind(s); };
        handlers.replace = [this](const SearchSettings& s, const std::string& with) {
            ReplaceFormReplace(s, with);
        };
        handlers.replace_all = [this](const SearchSettings& s, const std::string& with) {
            ReplaceFormReplaceAll(s, with);
        };
        replace_form_ = new TReplaceForm(&host_.Window(), std::move(handlers));
    }
    replace_form_->ShowDialog();
}

// --- the replace dialog ---

void SearchCommands::ReplaceFormFind(const SearchSettings& settings) {
    if (host_.SelectedNode() == kNoNode) return;
    settings_ = settings;
    FindNext();
}

void SearchCommands::ReplaceFormReplace(const SearchSettings& settings,
                                        const std::string& replacement) {
    const NodeId node = host_.SelectedNode();
    if (node == kNoNode) return;
    settings_ = settings;
    NotesDocument& doc = host_.Document();
    NotePane* pane = PaneOf(node);
    const std::string shown = PaneTextToStore(pane->PlainText());
    const ReplaceResult result =
        Replace(doc, SelectionIn(node, shown), settings_, replacement, shown);
    if (result.too_long) {
        ShowNotReplaced(7787,
                        "The text was not replaced because \"%s\" would have grown past 65497 "
                        "characters.",
                        {node});
        return;
    }
    if (result.replaced) {
        // The same edit in the pane, which undo cannot take back; the caret ends after it.
        QTextCursor cursor = pane->textCursor();
        cursor.insertText(FromAnsi(replacement));
        pane->document()->clearUndoRedoStacks();
        pane->setTextCursor(cursor);
        host_.Document().modified = true;
    }
    if (result.search.Found()) {
        ShowHit(*result.search.hit);
    } else {
        ShowEnd(result.search.end);
    }
}

void SearchCommands::ReplaceFormReplaceAll(const SearchSettings& settings,
                                           const std::string& replacement) {
    const NodeId node = host_.SelectedNode();
    if (node == kNoNode) return;
    settings_ = settings;
    NotesDocument& doc = host_.Document();
    const std::string shown = PaneTextToStore(PaneOf(node)->PlainText());
    const ReplaceAllResult result =
        ReplaceAll(doc, SelectionIn(node, shown), settings_, replacement, shown);
    if (result.shown_pane_stale) host_.Panes().ForgetShown();
    if (result.Modified()) {
        // One update of the window: the final node selected, its text shown with the caret after
        // the last replacement.
        const NodeId final_node = result.selection.node;
        NotePane* pane = PaneOf(final_node);
        if (final_node != node) {
            host_.SelectNode(final_node);
        } else {
            host_.Panes().ShowNodeText(final_node, result.shown_text);
        }
        SelectInPane(pane, result.shown_text, result.selection.start, result.selection.length);
        pane->setFocus();
        host_.Document().modified = true;
    }
    ShowEnd(result.end);
    ShowNotReplaced(7786,
                    "Some notes were not fully replaced because they would have grown past 65497 "
                    "characters:\n%s",
                    result.not_fully_replaced);
}

// --- searching and showing ---

bool SearchCommands::FindNext() {
    const NodeId node = host_.SelectedNode();
    if (node == kNoNode) return false;
    host_.Panes().StoreShownText();
    NotesDocument& doc = host_.Document();
    const SearchResult result = FindNextMatch(doc, SelectionIn(node, doc.TextOf(node)), settings_);
    if (result.Found()) {
        ShowHit(*result.hit);
        return true;
    }
    ShowEnd(result.end);
    return false;
}

NotePane* SearchCommands::PaneOf(NodeId node) const {
    return host_.Panes().PaneOf(node);
}

PaneSelection SearchCommands::SelectionIn(NodeId node, std::string_view text) const {
    const QTextCursor cursor = PaneOf(node)->textCursor();
    const int32_t start = ToCanonicalPosition(text, cursor.selectionStart());
    const int32_t end = ToCanonicalPosition(text, cursor.selectionEnd());
    return PaneSelection{node, start, end - start};
}

void SearchCommands::ShowHit(const SearchHit& hit) {
    if (hit.node != host_.SelectedNode()) host_.SelectNode(hit.node);
    NotePane* pane = PaneOf(hit.node);
    SelectInPane(pane, host_.Document().TextOf(hit.node), hit.start, hit.length);
    pane->setFocus();
}

void SearchCommands::SelectInPane(NotePane* pane, std::string_view text, int32_t start,
                                  int32_t length) {
    const int last = pane->document()->characterCount() - 1;
    const int from = std::clamp(ToSingleBreakPosition(text, start), 0, last);
    const int to = std::clamp(ToSingleBreakPosition(text, start + length), from, last);
    QTextCursor cursor = pane->textCursor();
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    pane->setTextCursor(cursor);
}

void SearchCommands::ShowEnd(SearchEnd end) {
    if (end == SearchEnd::kNone) return;
    const std::string english(EnglishText(end));
    Platform::Instance().ShowMessage(MessageOwner(),
                                     Lang(static_cast<uint16_t>(end), english.c_str()), AppTitle(),
                                     MessageIcon::Information, MessageButtons::Ok);
}

void SearchCommands::ShowNotReplaced(uint16_t id, const char* english,
                                     const std::vector<NodeId>& nodes) {
    if (nodes.empty()) return;
    constexpr std::size_t kMaxNamed = 10;
    QStringList titles;
    for (std::size_t i = 0; i < nodes.size() && i < kMaxNamed; ++i) {
        titles.append(FromAnsi(host_.Document().tree.Title(nodes[i])));
    }
    if (nodes.size() > kMaxNamed) titles.append(QStringLiteral("..."));
    Platform::Instance().ShowMessage(MessageOwner(),
                                     FormatMessage(Lang(id, english), {titles.join('\n')}),
                                     AppTitle(), MessageIcon::Information, MessageButtons::Ok);
}

QWidget* SearchCommands::MessageOwner() const {
    if (replace_form_ && replace_form_->isVisible()) return replace_form_;
    return &host_.Window();
}

}  // namespace quillora
