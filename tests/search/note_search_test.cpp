#include "search/note_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "document/notes_document.h"

namespace quillora {
namespace {

NodeId AddNode(NotesDocument& doc, NodeId parent, int32_t kind, const std::string& text) {
    const int slot = *doc.texts.AllocateTextSlot();
    doc.texts.SetText(slot, text);
    return doc.tree.Append(parent, "n", NodeData{kind, slot}, 0);
}

// Shows `node` in its pane, as the window does when the node is selected.
void Show(NotesDocument& doc, NodeId node) {
    doc.current_text_index = doc.tree.Data(node).TextIndex;
    doc.current_kind = doc.tree.Data(node).Kind;
}

SearchSettings Settings(const std::string& text, bool case_sensitive, bool all_nodes) {
    return SearchSettings{text, case_sensitive, all_nodes};
}

// ---------------------------------------------------------------------------------------------
// The window's find and replace, followed literally step by step: the tree's selected node, the
// text its pane shows and the pane's selection. Only the pane is edited; a node's text changes
// when the pane's text is stored into it.
struct StepModel {
    NotesDocument& doc;
    NodeId selected;
    std::string pane;
    int start = 0;
    int length = 0;
    SearchEnd end = SearchEnd::kNone;
    int replaced = 0;

    void StorePane() { doc.texts.SetText(doc.tree.Data(selected).TextIndex, pane); }

    static std::string FoldAscii(std::string s) {
        for (char& c : s) {
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
        return s;
    }

    bool FindNextMatch(const SearchSettings& st) {
        const std::string s = st.case_sensitive ? st.text : FoldAscii(st.text);
        const NodeId first = selected;
        end = st.all_nodes                ? SearchEnd::kEndOfAll
              : doc.tree.IsNote(selected) ? SearchEnd::kEndOfNote
                                          : SearchEnd::kEndOfFolder;
        for (NodeId n = first; n != kNoNode; n = doc.tree.NextInDisplayOrder(n)) {
            const std::string t = st.case_sensitive ? doc.TextOf(n) : FoldAscii(doc.TextOf(n));
            size_t pos = t.find(s);
            if (pos != std::string::npos && n == first && static_cast<int>(pos) <= start) {
                const size_t ignore = length == static_cast<int>(s.size()) ? start + 1 : start;
                pos = ignore > t.size() ? std::string::npos : t.substr(ignore).find(s);
                if (pos != std::string::npos) pos += ignore;
            }
            if (pos != std::string::npos) {
                if (n != selected) {  // the tree's selection change: store, then show the node
                    StorePane();
                    selected = n;
                    pane = doc.TextOf(n);
                }
                start = static_cast<int>(pos);
                length = static_cast<int>(s.size());
                end = SearchEnd::kNone;
                return true;
            }
            if (!st.all_nodes) break;
        }
        return false;
    }

    void ReplaceSelection(const std::string& with) {
        pane = pane.substr(0, start) + with + pane.substr(start + length);
        start += static_cast<int>(with.size());
        length = 0;
        ++replaced;
    }

    void Replace(const SearchSettings& st, const std::string& with) {
        if (length == static_cast<int>(st.text.size())) ReplaceSelection(with);
        StorePane();
        FindNextMatch(st);
    }

    void ReplaceAll(const SearchSettings& st, const std::string& with) {
        StorePane();
        while (FindNextMatch(st)) {
            if (length == static_cast<int>(st.text.size())) {
                ReplaceSelection(with);
                StorePane();
            }
        }
    }
};

// ---------------------------------------------------------------------------------------------
// Random documents over a small alphabet that holds both cases, an accented pair (ä, Ä in
// Windows-1252), the brackets that sit 0x20 apart like letters, and line breaks.
class RandomDocs {
public:
    explicit RandomDocs(unsigned seed) : rng_(seed) {}

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    std::string Text(int max_length, const std::string& alphabet) {
        std::string s;
        const int n = Below(max_length + 1);
        for (int i = 0; i < n; ++i) {
            if (Below(8) == 0) {
                s += "\r\n";
            } else {
                s += alphabet[static_cast<size_t>(Below(static_cast<int>(alphabet.size())))];
            }
        }
        return s;
    }

    // A tree of 1 to 7 nodes, each hung below a random earlier node or at the top level.
    std::vector<NodeId> Fill(NotesDocument& doc, int max_text) {
        std::vector<NodeId> nodes;
        const int count = 1 + Below(7);
        for (int i = 0; i < count; ++i) {
            const NodeId parent = nodes.empty() || Below(3) == 0
                                      ? kNoNode
                                      : nodes[static_cast<size_t>(Below(static_cast<int>(i)))];
            nodes.push_back(AddNode(doc, parent, Below(2), Text(max_text, kTextAlphabet)));
        }
        return nodes;
    }

    static inline const std::string kTextAlphabet = "aAab b\xE4\xC4[{";

private:
    std::mt19937 rng_;
};

struct Scenario {
    NotesDocument doc;
    std::vector<NodeId> nodes;
    NodeId selected = kNoNode;
    std::string pane;
    PaneSelection selection;
    SearchSettings settings;
    std::string replacement;
};

void MakeScenario(RandomDocs& r, Scenario& sc, int max_text) {
    sc.nodes = r.Fill(sc.doc, max_text);
    sc.selected = sc.nodes[static_cast<size_t>(r.Below(static_cast<int>(sc.nodes.size())))];
    Show(sc.doc, sc.selected);
    // What the pane shows: the node's text, or an edit typed since it was last stored (possibly
    // without the final line break, as a pane holds it).
    sc.pane = sc.doc.TextOf(sc.selected);
    if (r.Below(3) == 0)
        sc.pane = line_text::Canonical(r.Text(max_text, RandomDocs::kTextAlphabet));
    if (r.Below(2) == 0 && sc.pane.size() >= 2) sc.pane.resize(sc.pane.size() - 2);

    sc.settings.text = r.Text(3, "aAb\xE4\xC4{[ ");
    if (sc.settings.text.find('\r') != std::string::npos || sc.settings.text.empty()) {
        sc.settings.text = "a";
    }
    sc.settings.case_sensitive = r.Below(2) == 0;
    sc.settings.all_nodes = r.Below(3) != 0;
    switch (r.Below(4)) {
        case 0:
            sc.replacement = sc.settings.text + sc.settings.text;
            break;
        case 1:
            sc.replacement = "A" + sc.settings.text;
            break;
        default:
            sc.replacement = r.Text(4, "aAbx");
    }
    if (sc.replacement.find('\r') != std::string::npos) sc.replacement = "";

    // A selection inside the pane's text that does not split a CR LF pair, as a pane makes it.
    const int len = static_cast<int>(sc.pane.size());
    const int pick = r.Below(3);
    int length = pick == 0 ? 0 : pick == 1 ? static_cast<int>(sc.settings.text.size()) : r.Below(4);
    if (length > len) length = 0;
    int start = r.Below(len - length + 1);
    const auto splits_pair = [&](int pos) { return pos > 0 && sc.pane[pos - 1] == '\r'; };
    if (splits_pair(start) || splits_pair(start + length)) length = 0;
    if (splits_pair(start)) --start;
    sc.selection = PaneSelection{sc.selected, start, length};
}

StepModel ModelFor(Scenario& sc) {
    return StepModel{sc.doc, sc.selected, sc.pane, sc.selection.start, sc.selection.length};
}

std::vector<std::string> AllTexts(const Scenario& sc) {
    std::vector<std::string> out;
    for (NodeId n : sc.nodes) out.push_back(sc.doc.TextOf(n));
    return out;
}

TEST(ReplaceAllMatchesStepByStep, OnRandomDocuments) {
    RandomDocs r(20240611);
    for (int round = 0; round < 20000; ++round) {
        Scenario fast;
        Scenario slow;
        RandomDocs copy = r;
        MakeScenario(r, fast, round % 5 == 0 ? 120 : 14);
        MakeScenario(copy, slow, round % 5 == 0 ? 120 : 14);

        const ReplaceAllResult got =
            ReplaceAll(fast.doc, fast.selection, fast.settings, fast.replacement, fast.pane);
        StepModel model = ModelFor(slow);
        model.ReplaceAll(slow.settings, slow.replacement);

        SCOPED_TRACE("round " + std::to_string(round) + " search '" + fast.settings.text +
                     "' -> '" + fast.replacement + "'");
        ASSERT_EQ(AllTexts(fast), AllTexts(slow));
        ASSERT_EQ(got.count, model.replaced);
        ASSERT_EQ(got.Modified(), model.replaced > 0);
        ASSERT_EQ(got.selection, (PaneSelection{model.selected, model.start, model.length}));
        ASSERT_EQ(got.shown_text, model.pane);
        ASSERT_EQ(got.end, model.end);
    }
}

TEST(FindNextMatchMatchesStepByStep, RepeatedFindNextAndReplaceOnRandomDocuments) {
    RandomDocs r(777);
    for (int round = 0; round < 5000; ++round) {
        Scenario fast;
        Scenario slow;
        RandomDocs copy = r;
        MakeScenario(r, fast, round % 3 == 0 ? 150 : 14);
        MakeScenario(copy, slow, round % 3 == 0 ? 150 : 14);
        SCOPED_TRACE("round " + std::to_string(round) + " search '" + fast.settings.text + "'");

        fast.doc.StoreCurrentText(fast.pane);
        StepModel model = ModelFor(slow);
        model.StorePane();
        PaneSelection sel = fast.selection;
        std::string pane = fast.pane;  // the pane as the window keeps it
        // A few Find Next and Replace steps in a random mix, until the search ends.
        for (int step = 0; step < 40; ++step) {
            SearchResult got;
            if (r.Below(3) == 0) {
                const ReplaceResult rep =
                    Replace(fast.doc, sel, fast.settings, fast.replacement, pane);
                const int before = model.replaced;
                model.Replace(slow.settings, slow.replacement);
                ASSERT_EQ(rep.replaced, model.replaced > before);
                if (rep.replaced) pane.replace(sel.start, sel.length, fast.replacement);
                got = rep.search;
            } else {
                got = FindNextMatch(fast.doc, sel, fast.settings);
                model.FindNextMatch(slow.settings);
            }
            ASSERT_EQ(AllTexts(fast), AllTexts(slow));
            ASSERT_EQ(got.end, model.end);
            if (!got.Found()) break;
            ASSERT_EQ(*got.hit, (PaneSelection{model.selected, model.start, model.length}));
            if (got.hit->node != sel.node) pane = fast.doc.TextOf(got.hit->node);
            sel = *got.hit;
        }
    }
}

// ---------------------------------------------------------------------------------------------

TEST(FindNextMatch, WalksThroughOneNoteAndStopsAtItsEnd) {
    NotesDocument doc;
    const NodeId note = AddNode(doc, kNoNode, kNote, "ab ab ab");
    const NodeId next = AddNode(doc, kNoNode, kNote, "xx ab");
    Show(doc, note);

    for (const bool all : {false, true}) {
        const SearchSettings st = Settings("ab", false, all);
        PaneSelection sel{note, 0, 0};
        for (const int expected : {0, 3, 6}) {
            const SearchResult r = FindNextMatch(doc, sel, st);
            ASSERT_TRUE(r.Found());
            EXPECT_EQ(*r.hit, (PaneSelection{note, expected, 2}));
            sel = *r.hit;
        }
        const SearchResult last = FindNextMatch(doc, sel, st);
        if (all) {
            EXPECT_EQ(*last.hit, (PaneSelection{next, 3, 2}));
            const SearchResult after = FindNextMatch(doc, *last.hit, st);
            EXPECT_FALSE(after.Found());
            EXPECT_EQ(after.end, SearchEnd::kEndOfAll);
        } else {
            EXPECT_FALSE(last.Found());
            EXPECT_EQ(last.end, SearchEnd::kEndOfNote);
            EXPECT_EQ(EnglishText(last.end), "End of Note Reached.");
        }
    }
}

TEST(FindNextMatch, SelectionDecidesWhereTheSelectedNodeIsSearchedFrom) {
    NotesDocument doc;
    const NodeId note = AddNode(doc, kNoNode, kNote, "abab");
    const SearchSettings st = Settings("ab", true, false);
    // An occurrence at the caret counts unless the selection is as long as the search text,
    // whatever that selection holds.
    EXPECT_EQ(FindNextMatch(doc, {note, 0, 0}, st).hit->start, 0);
    EXPECT_EQ(FindNextMatch(doc, {note, 0, 1}, st).hit->start, 0);
    EXPECT_EQ(FindNextMatch(doc, {note, 0, 2}, st).hit->start, 2);
    EXPECT_EQ(FindNextMatch(doc, {note, 1, 2}, st).hit->start, 2);
    EXPECT_EQ(FindNextMatch(doc, {note, 2, 2}, st).end, SearchEnd::kEndOfNote);
    // A caret beyond the text finds nothing there.
    EXPECT_FALSE(FindNextMatch(doc, {note, 100, 0}, st).Found());
}

TEST(FindNextMatch, FoldsOnlyAsciiLetters) {
    NotesDocument doc;
    const NodeId note = AddNode(doc, kNoNode, kNote, "x abc AbC \xE4 [");
    const SearchSettings folded = Settings("ABC", false, false);
    const SearchResult first = FindNextMatch(doc, {note, 0, 0}, folded);
    EXPECT_EQ(first.hit->start, 2);
    EXPECT_EQ(FindNextMatch(doc, *first.hit, folded).hit->start, 6);
    EXPECT_FALSE(FindNextMatch(doc, {note, 0, 0}, Settings("ABC", true, false)).Found());
    // Ä (0xC4) and ä (0xE4), [ and { differ by the same bit as A and a, yet do not fold.
    EXPECT_FALSE(FindNextMatch(doc, {note, 0, 0}, Settings("\xC4", false, false)).Found());
    EXPECT_EQ(FindNextMatch(doc, {note, 0, 0}, Settings("\xE4", false, false)).hit->start, 10);
    EXPECT_FALSE(FindNextMatch(doc, {note, 0, 0}, Settings("{", false, false)).Found());
}

TEST(FindNextMatch, AgreesWithAPlainSearchOnLongTexts) {
    // Long texts go through the block-wise scan and its tail; hits fall at every alignment.
    RandomDocs r(99);
    for (int round = 0; round < 3000; ++round) {
        NotesDocument doc;
        const std::string text = line_text::Canonical(r.Text(300, "aAb"));
        const NodeId note = AddNode(doc, kNoNode, kNote, text);
        std::string search = r.Text(6, "aAb");
        if (search.empty() || search.find('\r') != std::string::npos) search = "aB";
        const bool case_sensitive = r.Below(2) == 0;
        const int from = r.Below(static_cast<int>(text.size()) + 1);

        const std::string folded_text = case_sensitive ? text : StepModel::FoldAscii(text);
        const std::string folded_search = case_sensitive ? search : StepModel::FoldAscii(search);
        const size_t expected = folded_text.find(folded_search, static_cast<size_t>(from));
        const SearchResult got =
            FindNextMatch(doc, {note, from, 0}, Settings(search, case_sensitive, false));
        ASSERT_EQ(got.Found(), expected != std::string::npos) << text << " / " << search;
        if (got.Found()) {
            ASSERT_EQ(got.hit->start, static_cast<int>(expected));
        }
    }
}

TEST(FindNextMatch, SearchesForwardThroughNestedFoldersWithoutChangingTheDocument) {
    NotesDocument doc;
    const NodeId start = AddNode(doc, kNoNode, kNote, "nothing");
    const NodeId outer = AddNode(doc, kNoNode, kFolder, "folder text");
    const NodeId inner = AddNode(doc, outer, kFolder, "");
    const NodeId deep = AddNode(doc, inner, kNote, "first\r\nthe needle\r\n");
    AddNode(doc, kNoNode, kNote, "needle later");
    Show(doc, start);

    const SearchResult r = FindNextMatch(doc, {start, 0, 0}, Settings("NEEDLE", false, true));
    EXPECT_EQ(*r.hit, (PaneSelection{deep, 11, 6}));
    EXPECT_FALSE(doc.modified);
    EXPECT_EQ(doc.TextOf(deep), "first\r\nthe needle\r\n");

    // A folder's own text is searched too; with only the selected node, its end message is the
    // folder's.
    EXPECT_EQ(*FindNextMatch(doc, {start, 0, 0}, Settings("text", true, true)).hit,
              (PaneSelection{outer, 7, 4}));
    EXPECT_EQ(FindNextMatch(doc, {inner, 0, 0}, Settings("needle", true, false)).end,
              SearchEnd::kEndOfFolder);
}

TEST(FindNextMatch, NeverWrapsAroundToEarlierNodes) {
    NotesDocument doc;
    AddNode(doc, kNoNode, kNote, "abc");
    const NodeId folder = AddNode(doc, kNoNode, kFolder, "abc");
    const NodeId last = AddNode(doc, folder, kNote, "xyz abc");
    const SearchResult r = FindNextMatch(doc, {last, 5, 3}, Settings("abc", true, true));
    EXPECT_FALSE(r.Found());
    EXPECT_EQ(r.end, SearchEnd::kEndOfAll);
    EXPECT_EQ(EnglishText(r.end), "End of Notes/Folders reached.");
}

TEST(FindNextMatch, SeesWhatWasTypedIntoThePane) {
    NotesDocument doc;
    const NodeId note = AddNode(doc, kNoNode, kNote, "old text");
    Show(doc, note);
    doc.StoreCurrentText("typed here");
    EXPECT_EQ(*FindNextMatch(doc, {note, 0, 0}, Settings("here", true, false)).hit,
              (PaneSelection{note, 6, 4}));
    EXPECT_FALSE(FindNextMatch(doc, {note, 0, 0}, Settings("old", true, false)).Found());
}

TEST(FindNextMatch, NothingToSearchAndEmptyOrOverlongSearchTexts) {
    NotesDocument doc;
    const SearchResult none = FindNextMatch(doc, {kNoNode, 0, 0}, Settings("a", false, true));
    EXPECT_FALSE(none.Found());
    EXPECT_EQ(none.end, SearchEnd::kNone);
    EXPECT_EQ(ReplaceAll(doc, {kNoNode, 0, 0}, Settings("a", false, true), "b", "").end,
              SearchEnd::kNone);

    const NodeId note = AddNode(doc, kNoNode, kNote, std::string(300, 'a'));
    EXPECT_EQ(FindNextMatch(doc, {note, 0, 0}, Settings("", false, false)).end,
              SearchEnd::kEndOfNote);
    // The dialogs' fields hold 250 characters and a single line.
    EXPECT_EQ(SearchFieldText(std::string(300, 'a')).size(), 250u);
    EXPECT_EQ(SearchFieldText("ab\r\ncd"), "ab");
    EXPECT_EQ(SearchFieldText("ab\ncd"), "ab");
    EXPECT_EQ(FindNextMatch(doc, {note, 0, 0}, Settings(std::string(300, 'a'), true, false)).hit,
              (PaneSelection{note, 0, 250}));
}

// ---------------------------------------------------------------------------------------------

TEST(Replace, ReplacesAnySelectionOfTheSearchTextsLengthThenFindsTheNext) {
    NotesDocument doc;
    const NodeId note = AddNode(doc, kNoNode, kNote, "xy ab ab");
    const SearchSettings st = Settings("ab", true, false);

    // A selection of another length: nothing replaced, the search runs from it.
    ReplaceResult r = Replace(doc, {note, 0, 1}, st, "Z", doc.TextOf(note));
    EXPECT_FALSE(r.replaced);
    EXPECT_EQ(*r.search.hit, (PaneSelection{note, 3, 2}));

    // The content is not compared: "xy" is as long as "ab" and is replaced.
    r = Replace(doc, {note, 0, 2}, st, "Z", doc.TextOf(note));
    EXPECT_TRUE(r.replaced);
    EXPECT_EQ(doc.TextOf(note), "Z ab ab\r\n");
    EXPECT_EQ(r.after_edit, (PaneSelection{note, 1, 0}));
    EXPECT_EQ(*r.search.hit, (PaneSelection{note, 2, 2}));

    r = Replace(doc, *r.search.hit, st, "Z", doc.TextOf(note));
    r = Replace(doc, *r.search.hit, st, "Z", doc.TextOf(note));
    EXPECT_EQ(doc.TextOf(note), "Z Z Z\r\n");
    EXPECT_EQ(r.search.end, SearchEnd::kEndOfNote);
}

TEST(Replace, SelectionOverALineBreakKeepsTheTextInLines) {
    NotesDocument doc;
    const NodeId note = AddNode(doc, kNoNode, kNote, "ab\r\ncd\r\n");
    const ReplaceResult r =
        Replace(doc, {note, 1, 4}, Settings("wxyz", true, false), "-", doc.TextOf(note));
    EXPECT_TRUE(r.replaced);
    EXPECT_EQ(doc.TextOf(note), "a-d\r\n");
}

TEST(ReplaceAll, ReplacesAfterTheCaretInTheSelectedNodeAndInEveryLaterNode) {
    NotesDocument doc;
    const NodeId first = AddNode(doc, kNoNode, kNote, "a a");
    const NodeId folder = AddNode(doc, kNoNode, kFolder, "banana");
    const NodeId child = AddNode(doc, folder, kNote, "Aardvark\r\nno hit\r\nA");
    const NodeId last = AddNode(doc, kNoNode, kNote, "none");
    Show(doc, first);

    const ReplaceAllResult r =
        ReplaceAll(doc, {first, 1, 0}, Settings("a", false, true), "b", doc.TextOf(first));
    EXPECT_EQ(doc.TextOf(first), "a b\r\n");
    EXPECT_EQ(doc.TextOf(folder), "bbnbnb\r\n");
    EXPECT_EQ(doc.TextOf(child), "bbrdvbrk\r\nno hit\r\nb\r\n");
    EXPECT_EQ(doc.TextOf(last), "none\r\n");
    EXPECT_EQ(r.count, 1 + 3 + 4);
    EXPECT_TRUE(r.Modified());
    EXPECT_EQ(r.selection, (PaneSelection{child, 19, 0}));
    EXPECT_EQ(r.end, SearchEnd::kEndOfAll);
    // The pane's copy of the first note is stale now and must not be stored back.
    EXPECT_TRUE(r.shown_pane_stale);
}

TEST(ReplaceAll, ReplacementHoldingTheSearchTextIsNotSearchedAgain) {
    NotesDocument doc;
    const NodeId note = AddNode(doc, kNoNode, kNote, "aXa\r\naa");
    const ReplaceAllResult r =
        ReplaceAll(doc, {note, 0, 0}, Settings("a", true, false), "aa", doc.TextOf(note));
    EXPECT_EQ(doc.TextOf(note), "aaXaa\r\naaaa\r\n");
    EXPECT_EQ(r.count, 4);
    EXPECT_EQ(r.selection, (PaneSelection{note, 11, 0}));
    EXPECT_EQ(r.end, SearchEnd::kEndOfNote);
}

TEST(ReplaceAll, WithoutAHitLeavesEverythingAsItWas) {
    NotesDocument doc;
    const NodeId folder = AddNode(doc, kNoNode, kFolder, "abc");
    AddNode(doc, kNoNode, kNote, "abc");
    Show(doc, folder);
    const ReplaceAllResult r =
        ReplaceAll(doc, {folder, 1, 2}, Settings("abc", true, false), "x", doc.TextOf(folder));
    EXPECT_EQ(r.count, 0);
    EXPECT_FALSE(r.Modified());
    EXPECT_EQ(r.selection, (PaneSelection{folder, 1, 2}));
    EXPECT_EQ(r.end, SearchEnd::kEndOfFolder);
    EXPECT_FALSE(r.shown_pane_stale);
}

TEST(ReplaceAll, WorksOnWhatWasTypedNotOnWhatWasStored) {
    NotesDocument doc;
    const NodeId note = AddNode(doc, kNoNode, kNote, "stored dog");
    Show(doc, note);
    ReplaceAllResult r =
        ReplaceAll(doc, {note, 0, 0}, Settings("dog", true, false), "cat", "typed dog\r\ndog");
    EXPECT_EQ(doc.TextOf(note), "typed cat\r\ncat\r\n");
    EXPECT_EQ(r.count, 2);

    // A typed text without a final line break whose last line is all replaced away keeps no
    // empty last line, as editing the pane's own text gives.
    r = ReplaceAll(doc, {note, 0, 0}, Settings("dog", true, false), "", "x\r\ndogdog");
    EXPECT_EQ(doc.TextOf(note), "x\r\n");
    EXPECT_EQ(r.shown_text, "x\r\n");
    EXPECT_EQ(r.selection, (PaneSelection{note, 3, 0}));
    // Without a hit, the typed text is stored all the same.
    r = ReplaceAll(doc, {note, 0, 0}, Settings("dog", true, false), "", "typed");
    EXPECT_EQ(doc.TextOf(note), "typed\r\n");
    EXPECT_FALSE(r.Modified());
}

// ---------------------------------------------------------------------------------------------
// No replacement makes a text longer than the pane holds (kMaxEditLength, line breaks counted
// as two); nothing after the last replacement is ever cut.

TEST(ReplaceLimit, ReplacingStopsWhereTheTextWouldPassThePanesLength) {
    const auto x = [](std::size_t n) { return std::string(n, 'x'); };
    constexpr std::size_t kMax = kMaxEditLength;
    const std::string tail = "\r\nIMPORTANT TAIL the user wrote";
    struct Case {
        const char* name;
        std::string shown;  // the pane's text, every occurrence at its start
        std::string search, with;
        int32_t count;         // what Replace All replaces in it
        bool listed;           // it is reported as not fully replaced
        bool single_replaced;  // Replace of its first occurrence is made
    };
    const Case cases[] = {
        {"grows until full, the tail kept", x(40000) + tail, "x", "xx",
         static_cast<int32_t>(kMax - 40000 - tail.size()), true, true},
        {"the last replacement lands exactly on the limit", "aaa" + x(kMax - 6), "a", "aa", 3,
         false, true},
        {"one more would pass it", "aaaa" + x(kMax - 7), "a", "aa", 3, true, true},
        {"a full text takes no growth", "a" + x(kMax - 1), "a", "ab", 0, true, false},
        {"a lone line feed counts two", "a" + std::string((kMax - 1) / 2, '\n'), "a", "ab", 0, true,
         false},
        {"same length in a full text", "aa" + x(kMax - 2), "a", "b", 2, false, true},
        {"shrinking a text already too long", "ab" + x(kMax), "ab", "b", 1, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NotesDocument doc;
        const NodeId note = AddNode(doc, kNoNode, kNote, "");
        const NodeId next = AddNode(doc, kNoNode, kNote, c.search);
        Show(doc, note);
        const SearchSettings st = Settings(c.search, true, true);

        const ReplaceResult one =
            Replace(doc, {note, 0, static_cast<int32_t>(c.search.size())}, st, c.with, c.shown);
        EXPECT_EQ(one.replaced, c.single_replaced);
        EXPECT_EQ(one.too_long, !c.single_replaced);
        if (!c.single_replaced) {
            // Left alone, and the selection stays on it: no search ran.
            EXPECT_TRUE(doc.TextOf(note) == line_text::Canonical(c.shown));
            EXPECT_FALSE(one.search.Found());
            EXPECT_EQ(one.search.end, SearchEnd::kNone);
        }

        const ReplaceAllResult all = ReplaceAll(doc, {note, 0, 0}, st, c.with, c.shown);
        std::string replaced;
        for (int32_t i = 0; i < c.count; ++i) replaced += c.with;
        replaced += c.shown.substr(static_cast<std::size_t>(c.count) * c.search.size());
        // Compared whole, but reported by length: the texts are long.
        const std::string expected = line_text::Canonical(replaced);
        EXPECT_EQ(doc.TextLength(note), static_cast<int32_t>(expected.size()));
        EXPECT_TRUE(doc.TextOf(note) == expected);
        // The next note is worked on all the same.
        EXPECT_EQ(doc.TextOf(next), line_text::Canonical(c.with));
        EXPECT_EQ(all.count, c.count + 1);
        EXPECT_EQ(all.not_fully_replaced,
                  c.listed ? std::vector<NodeId>{note} : std::vector<NodeId>{});
    }
}

// ---------------------------------------------------------------------------------------------

TEST(PanePositions, ConvertBetweenCanonicalAndSingleCharacterLineBreaks) {
    const std::string text = "ab\r\n\r\nc\r\n";  // one-character form: "ab\n\nc\n"
    const std::vector<int> canonical_of_single = {0, 1, 2, 4, 6, 7, 9, 10};
    for (int single = 0; single < static_cast<int>(canonical_of_single.size()); ++single) {
        const int canonical = canonical_of_single[static_cast<size_t>(single)];
        EXPECT_EQ(ToCanonicalPosition(text, single), canonical) << single;
        EXPECT_EQ(ToSingleBreakPosition(text, canonical), single) << canonical;
    }
    // Between CR and LF: the place of the break itself.
    EXPECT_EQ(ToSingleBreakPosition(text, 3), 2);
    EXPECT_EQ(ToSingleBreakPosition(text, -5), 0);
    EXPECT_EQ(ToCanonicalPosition(text, -5), 0);

    RandomDocs r(5);
    for (int round = 0; round < 2000; ++round) {
        const std::string canonical = line_text::Canonical(r.Text(30, "ab"));
        std::string single;
        for (char c : canonical) {
            if (c != '\r') single += c;
        }
        for (int pos = 0; pos <= static_cast<int>(single.size()); ++pos) {
            const int back = ToCanonicalPosition(canonical, pos);
            ASSERT_EQ(ToSingleBreakPosition(canonical, back), pos);
            const auto rest = static_cast<long>(canonical.size()) - back -
                              std::count(canonical.begin() + back, canonical.end(), '\r');
            ASSERT_EQ(rest, static_cast<long>(single.size()) - pos);
        }
    }
}

}  // namespace
}  // namespace quillora
