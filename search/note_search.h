#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/note_tree.h"
#include "document/notes_document.h"

namespace quillora {

// Positions. Every start, length and caret here counts characters of a node's canonical text
// (document/text_store.h), where each line break is the two characters CR LF. The pane that
// shows a node holds the same text, so an offset in the pane and in the node's text name the
// same character. A widget that keeps a line break as one character converts its selection
// with ToCanonicalPosition and ToSingleBreakPosition.
//
// Before FindNextMatch the caller stores the text shown in the pane into its node
// (NotesDocument::StoreCurrentText), so that what was just typed is searched; Replace and
// ReplaceAll are given the shown text and store it themselves.

constexpr std::size_t kMaxSearchTextLength = 250;

// What the single-line text fields of the find and replace dialogs hold of `typed`: the part
// before its first CR or LF, cut to 250 characters. The search and replace texts are always
// taken through this, so they never hold a line break.
std::string_view SearchFieldText(std::string_view typed);

// The settings a search runs with; the window keeps one for the whole run and a dialog replaces
// it each time it starts a search.
struct SearchSettings {
    std::string text;             // the text to find, as typed
    bool case_sensitive = false;  // when false, only A-Z and a-z are matched regardless of case
    bool all_nodes = false;       // true: the selected node, then every later node in display order
};

// How a search ended without a hit: the identifier of the information message to show (caption
// the application title). The box belongs to the replace dialog while that dialog is visible,
// otherwise to the main window.
enum class SearchEnd : uint16_t {
    kNone = 0,            // a hit, or no node to search from (then nothing is shown)
    kEndOfFolder = 7774,  // searched only the selected folder
    kEndOfNote = 7775,    // searched only the selected note
    kEndOfAll = 7776,     // searched to the last node of the tree
};

// The built-in English text of an end message.
std::string_view EnglishText(SearchEnd end);

// The selected node and its pane's selection (a caret is a selection of length 0).
struct PaneSelection {
    NodeId node = kNoNode;
    int32_t start = 0;
    int32_t length = 0;

    friend bool operator==(const PaneSelection&, const PaneSelection&) = default;
};

// A hit is the selection it leaves: its node selected in the tree, the found text selected in
// that node's pane, the pane focused.
using SearchHit = PaneSelection;

struct SearchResult {
    std::optional<SearchHit> hit;
    SearchEnd end = SearchEnd::kNone;  // the message to show when there is no hit

    bool Found() const { return hit.has_value(); }
};

// Finds the next occurrence of the search text from the pane's selection. In the selected node
// the search starts at the selection's start, one character later when the selection is as long
// as the search text (it is then taken to be the previous hit, which is skipped); with
// `all_nodes` every later node is searched from its beginning, in display order, up to the last
// node of the tree. It never wraps around. An empty search text finds nothing. Without an
// existing selected node (an empty tree) there is nothing to search: no hit and kNone.
SearchResult FindNextMatch(const NotesDocument& doc, const PaneSelection& selection,
                           const SearchSettings& settings);

struct ReplaceResult {
    bool replaced = false;     // the selection was replaced (the document is then modified)
    bool too_long = false;     // not replaced: the text would have grown past kMaxEditLength
    PaneSelection after_edit;  // the selection after the replacement: the caret after the new text
    SearchResult search;       // the Find Next that follows; none when `too_long`
};

// The replace dialog's Replace. `shown_text` is the whole text of the selected node's pane (line
// breaks as CR LF or LF; the pane may lack the final one). When the selection is as long as the
// search text, whatever it holds is replaced by `replacement` in that text; the result is stored
// into the node and the next occurrence is searched from the caret after the new text. The caller
// makes the same edit in the pane (one that undo cannot take back) and marks the document
// modified when `replaced`.
//
// A replacement that would make the text longer than kMaxEditLength (line_text::EditLength) is
// not made, as the pane refuses typing beyond it: the shown text is stored unchanged, `too_long`
// is set and no search runs, so the selection stays on the occurrence that was left alone.
ReplaceResult Replace(NotesDocument& doc, const PaneSelection& selection,
                      const SearchSettings& settings, std::string_view replacement,
                      std::string_view shown_text);

struct ReplaceAllResult {
    int32_t count = 0;        // occurrences replaced
    PaneSelection selection;  // the node selected at the end and its pane's selection
    std::string shown_text;   // what that node's pane shows at the end
    SearchEnd end = SearchEnd::kNone;
    // Nodes, in display order, where occurrences were left because replacing them would have
    // made the text longer than kMaxEditLength.
    std::vector<NodeId> not_fully_replaced;
    // The text of the node shown in a pane (current_text_index) changed, so the pane's copy is
    // stale: the caller forgets it before anything can store it back.
    bool shown_pane_stale = false;

    bool Modified() const { return count > 0; }
};

// The replace dialog's Replace All, in one pass over the texts. `shown_text` is the selected
// node's pane text as for Replace; it is stored into the node first. The result is the state
// that repeating Find Next and replacing each hit reaches: every occurrence at or after the
// search's starting point in the selected node and, with `all_nodes`, every occurrence in each
// later node, scanned left to right without overlaps, so that replaced text is never searched
// again. In each node the replacing stops before the first one that would make the text longer
// than kMaxEditLength; that node is listed in `not_fully_replaced` and the next node is worked
// on. The final node is the last one where something was replaced, with the caret directly after
// its last replacement; without any replacement the selection stays as it was. The search always
// ends without a hit, so `end` names the message to show (kNone only when there is no node to
// search from).
//
// Only the text store changes; `shown_pane_stale` tells when the pane's copy of the shown node's
// text is out of date. The caller puts `shown_text` into the final
// node's pane (with its change handler detached), sets the selection, and marks the document
// modified when Modified(). `shown_text` is the final node's stored text, except when the
// selected node keeps the pane: then it is the pane's own text, edited, which may still lack
// the final line break.
ReplaceAllResult ReplaceAll(NotesDocument& doc, const PaneSelection& selection,
                            const SearchSettings& settings, std::string_view replacement,
                            std::string_view shown_text);

// Converts a position in `canonical_text` to the same place in the text with each CR LF written
// as one character. A position between the CR and the LF of a line break maps to the place of the
// break.
int32_t ToSingleBreakPosition(std::string_view canonical_text, int32_t canonical_position);

// Converts a position in the text with one-character line breaks to `canonical_text`.
// Positions beyond the text's end stay beyond it by the same amount.
int32_t ToCanonicalPosition(std::string_view canonical_text, int32_t single_break_position);

}  // namespace quillora
