#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "search/note_search.h"

class QMenu;
class QWidget;

namespace quillora {

class NotePane;
class CommandHost;
class TReplaceForm;
class TSearchForm;

// The main window's controller for the Search menu: find, find next and replace. It holds the
// search settings for the whole run; the core (search/note_search.h) finds and replaces in the
// texts, and this class shows the outcome: the hit's node selected, its text selected in its
// pane and the pane focused, or the end message.
//
// Enabling: the three commands are enabled exactly while a node is selected, refreshed when the
// Search menu opens and whenever the selection or the tree changes, so the shortcuts obey it too.
class SearchCommands : public QObject {
    Q_OBJECT
public:
    explicit SearchCommands(CommandHost& host);
    // Attaches to the menus it enables, once they are built.
    void AttachMenus();
    ~SearchCommands() override;

    const SearchSettings& Settings() const { return settings_; }
    // The replace dialog; none before its first use.
    TReplaceForm* ReplaceForm() const;

    // How the find dialog is run: by default it is shown modally and the answer is whether it
    // closed with "&Find". Tests fill the fields and answer without a modal loop.
    using FindDialogRunner = std::function<bool(TSearchForm&)>;
    void SetFindDialogRunner(FindDialogRunner runner) { run_find_dialog_ = std::move(runner); }

    // --- handlers ---
    void SearchMenuFindClick();
    void SearchMenuFindAgainClick();
    void SearchMenuReplaceClick();
    void SearchMenuClick();

    // --- the replace dialog's buttons ---
    void ReplaceFormFind(const SearchSettings& settings);
    void ReplaceFormReplace(const SearchSettings& settings, const std::string& replacement);
    void ReplaceFormReplaceAll(const SearchSettings& settings, const std::string& replacement);

private:
    void CreateActions();
    // Stores the shown text and searches with the held settings; false without a hit.
    bool FindNext();
    // The pane of `node`'s kind and its selection in the node's canonical text `text`.
    NotePane* PaneOf(NodeId node) const;
    PaneSelection SelectionIn(NodeId node, std::string_view text) const;
    // Selects the hit's characters in its node's pane, selecting the node first when needed.
    void ShowHit(const SearchHit& hit);
    void SelectInPane(NotePane* pane, std::string_view text, int32_t start, int32_t length);
    void ShowEnd(SearchEnd end);
    // Tells the user which nodes kept occurrences because replacing them would have made their
    // text longer than a pane holds (at most ten titles, then "..."); nothing when none did.
    void ShowNotReplaced(uint16_t id, const char* english, const std::vector<NodeId>& nodes);
    QWidget* MessageOwner() const;

    CommandHost& host_;
    SearchSettings settings_;
    QPointer<TReplaceForm> replace_form_;
    FindDialogRunner run_find_dialog_;
};

}  // namespace quillora
