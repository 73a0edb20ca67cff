#include "search/note_search.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillora {

namespace {

constexpr std::size_t kNpos = std::string_view::npos;

constexpr std::array<unsigned char, 256> MakeFoldTable() {
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c) {
        table[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    }
    return table;
}

// Only the ASCII capitals fold; bytes of accented letters are left as they are.
constexpr std::array<unsigned char, 256> kFold = MakeFoldTable();

unsigned char Fold(char c) {
    return kFold[static_cast<unsigned char>(c)];
}

// Finds a search text in node texts, comparing exactly or with ASCII case folding, without
// copying or folding the texts. Candidates are the places where the first and the last character
// of the search text both match, tested 16 places at a time; only those are compared in full.
// A byte matches a lower-case ASCII letter of the folded search text when OR-ing 0x20 into it
// gives that letter, which holds exactly for the letter and its capital.
class Finder {
public:
    Finder(std::string_view pattern, bool case_sensitive) : pattern_(pattern) {
        if (!case_sensitive) {
            for (char& c : pattern_) c = static_cast<char>(Fold(c));
        }
        fold_ = !case_sensitive;
        if (!pattern_.empty()) {
            first_ = Anchor(pattern_.front());
            last_ = Anchor(pattern_.back());
        }
    }

    std::size_t size() const { return pattern_.size(); }

    // The offset of the first occurrence that begins at or after `from`, or npos.
    std::size_t Find(std::string_view text, std::size_t from) const {
        const std::size_t m = pattern_.size();
        if (m == 0 || text.size() < m || from > text.size() - m) return kNpos;
        const char* base = text.data();
        const char* p = base + from;
        const char* stop = base + (text.size() - m) + 1;  // one past the last possible start
#if defined(__SSE2__)
        const __m128i first_bit = _mm_set1_epi8(static_cast<char>(first_.bit));
        const __m128i first_byte = _mm_set1_epi8(static_cast<char>(first_.byte));
        const __m128i last_bit = _mm_set1_epi8(static_cast<char>(last_.bit));
        const __m128i last_byte = _mm_set1_epi8(static_cast<char>(last_.byte));
        while (stop - p >= 16) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + m - 1));
            const __m128i both =
                _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(a, first_bit), first_byte),
                              _mm_cmpeq_epi8(_mm_or_si128(b, last_bit), last_byte));
            for (auto mask = static_cast<unsigned>(_mm_movemask_epi8(both)); mask != 0;
                 mask &= mask - 1) {
                const char* candidate = p + std::countr_zero(mask);
                if (MiddleMatches(candidate)) return static_cast<std::size_t>(candidate - base);
            }
            p += 16;
        }
#else
        if (!fold_) return text.find(pattern_, from);
#endif
        for (; p < stop; ++p) {
            if (first_.Matches(p[0]) && last_.Matches(p[m - 1]) && MiddleMatches(p)) {
                return static_cast<std::size_t>(p - base);
            }
        }
        return kNpos;
    }

private:
    // One character of the search text as a byte test: (byte | bit) == byte_.
    struct AnchorTest {
        unsigned char bit = 0;
        unsigned char byte = 0;
        bool Matches(char c) const { return (static_cast<unsigned char>(c) | bit) == byte; }
    };

    AnchorTest Anchor(char c) const {
        const auto u = static_cast<unsigned char>(c);
        const bool letter = fold_ && u >= 'a' && u <= 'z';
        return AnchorTest{static_cast<unsigned char>(letter ? 0x20 : 0), u};
    }

    // Compares the characters between the first and the last.
    bool MiddleMatches(const char* candidate) const {
        const std::size_t m = pattern_.size();
        if (m <= 2) return true;
        if (!fold_) return std::memcmp(candidate + 1, pattern_.data() + 1, m - 2) == 0;
        for (std::size_t k = 1; k + 1 < m; ++k) {
            if (Fold(candidate[k]) != static_cast<unsigned char>(pattern_[k])) return false;
        }
        return true;
    }

    std::string pattern_;  // folded when the search ignores case
    bool fold_ = false;
    AnchorTest first_;
    AnchorTest last_;
};

int32_t ToPosition(std::size_t offset) {
    return static_cast<int32_t>(std::min<std::size_t>(
        offset, static_cast<std::size_t>(std::numeric_limits<int32_t>::max())));
}

// Where the search in the selected node begins: after the caret, one further when the selection
// is as long as the search text (the previous hit is not found again).
std::size_t SearchStartInSelectedNode(const PaneSelection& selection, std::size_t search_length) {
    const std::size_t start = static_cast<std::size_t>(std::max<int32_t>(selection.start, 0));
    const bool previous_hit =
        selection.length >= 0 && static_cast<std::size_t>(selection.length) == search_length;
    return previous_hit ? start + 1 : start;
}

SearchEnd EndFor(const NotesDocument& doc, NodeId node, const SearchSettings& settings) {
    if (settings.all_nodes) return SearchEnd::kEndOfAll;
    return doc.tree.IsNote(node) ? SearchEnd::kEndOfNote : SearchEnd::kEndOfFolder;
}

NodeId NextToSearch(const NotesDocument& doc, NodeId node, const SearchSettings& settings) {
    return settings.all_nodes ? doc.tree.NextInDisplayOrder(node) : kNoNode;
}

// A replacement may not make a text longer than a pane holds. One that does not lengthen the
// text is always made, even in a text that is longer already (a file may hold one).
bool FitsEditLength(std::size_t length_before, std::size_t length_after) {
    return length_after <= length_before ||
           length_after <= static_cast<std::size_t>(kMaxEditLength);
}

// Builds `out`: `text` with every occurrence at or after `from` replaced, left to right without
// overlaps, in one pass, stopping before the first replacement that would make the text longer
// than kMaxEditLength (`cut_short` is then set). Returns the number replaced (0 leaves `out`
// alone); `caret` becomes the offset after the last replacement in `out`. `canonical`: `text` is
// known to be in its stored form, which is its own edit length.
std::size_t ReplaceOccurrences(std::string_view text, bool canonical, std::size_t from,
                               const Finder& finder, std::string_view with,
                               std::vector<std::size_t>& hits, std::string& out, std::size_t& caret,
                               bool& cut_short) {
    hits.clear();
    cut_short = false;
    const std::size_t m = finder.size();
    for (std::size_t pos = finder.Find(text, from); pos != kNpos;
         pos = finder.Find(text, pos + m)) {
        hits.push_back(pos);
    }
    if (!hits.empty() && with.size() > m) {
        // Neither text holds a line break, so each replacement adds the same length.
        const std::size_t length = canonical ? text.size() : line_text::EditLength(text);
        const std::size_t growth = with.size() - m;
        const auto limit = static_cast<std::size_t>(kMaxEditLength);
        const std::size_t fitting = length >= limit ? 0 : (limit - length) / growth;
        if (hits.size() > fitting) {
            hits.resize(fitting);
            cut_short = true;
        }
    }
    if (hits.empty()) return 0;

    out.clear();
    out.reserve(text.size() - hits.size() * m + hits.size() * with.size());
    std::size_t copied = 0;
    for (const std::size_t pos : hits) {
        out.append(text.substr(copied, pos - copied));
        out.append(with);
        copied = pos + m;
    }
    caret = out.size();
    out.append(text.substr(copied));
    return hits.size();
}

}  // namespace

std::string_view SearchFieldText(std::string_view typed) {
    const std::size_t line_end = typed.find_first_of("\r\n");
    if (line_end != kNpos) typed = typed.substr(0, line_end);
    return typed.substr(0, std::min(typed.size(), kMaxSearchTextLength));
}

std::string_view EnglishText(SearchEnd end) {
    switch (end) {
        case SearchEnd::kEndOfFolder:
            return "End of Folder Reached.";
        case SearchEnd::kEndOfNote:
            return "End of Note Reached.";
        case SearchEnd::kEndOfAll:
            return "End of Notes/Folders reached.";
        case SearchEnd::kNone:
            break;
    }
    return {};
}

SearchResult FindNextMatch(const NotesDocument& doc, const PaneSelection& selection,
                           const SearchSettings& settings) {
    SearchResult result;
    if (!doc.tree.Exists(selection.node)) return result;
    result.end = EndFor(doc, selection.node, settings);
    const Finder finder(SearchFieldText(settings.text), settings.case_sensitive);
    if (finder.size() == 0) return result;

    std::size_t from = SearchStartInSelectedNode(selection, finder.size());
    for (NodeId node = selection.node; node != kNoNode; node = NextToSearch(doc, node, settings)) {
        const std::size_t pos = finder.Find(doc.TextOf(node), from);
        if (pos != kNpos) {
            result.hit = SearchHit{node, ToPosition(pos), ToPosition(finder.size())};
            result.end = SearchEnd::kNone;
            return result;
        }
        from = 0;
    }
    return result;
}

ReplaceResult Replace(NotesDocument& doc, const PaneSelection& selection,
                      const SearchSettings& settings, std::string_view replacement,
                      std::string_view shown_text) {
    ReplaceResult result;
    result.after_edit = selection;
    if (!doc.tree.Exists(selection.node)) return result;

    const std::string_view search = SearchFieldText(settings.text);
    const std::string_view with = SearchFieldText(replacement);
    const int slot = doc.tree.Data(selection.node).TextIndex;
    // Only the length of the selection is compared, not what it holds.
    const bool qualifies =
        !search.empty() && selection.start >= 0 &&
        static_cast<std::size_t>(selection.length) == search.size() &&
        static_cast<std::size_t>(selection.start) + search.size() <= shown_text.size();
    if (qualifies) {
        const auto start = static_cast<std::size_t>(selection.start);
        std::string edited;
        edited.reserve(shown_text.size() - search.size() + with.size());
        edited.append(shown_text.substr(0, start));
        edited.append(with);
        edited.append(shown_text.substr(start + search.size()));
        if (!FitsEditLength(line_text::EditLength(shown_text), line_text::EditLength(edited))) {
            doc.texts.SetText(slot, shown_text);
            result.too_long = true;
            return result;
        }
        // The selection may have covered line breaks; storing brings the text back to lines.
        doc.texts.SetText(slot, edited);
        result.replaced = true;
        result.after_edit = PaneSelection{selection.node, ToPosition(start + with.size()), 0};
    } else {
        doc.texts.SetText(slot, shown_text);
    }
    result.search = FindNextMatch(doc, result.after_edit, settings);
    return result;
}

ReplaceAllResult ReplaceAll(NotesDocument& doc, const PaneSelection& selection,
                            const SearchSettings& settings, std::string_view replacement,
                            std::string_view shown_text) {
    ReplaceAllResult result;
    result.selection = selection;
    if (!doc.tree.Exists(selection.node)) return result;

    // The selected node is worked on in the pane's own text (which may lack the final line
    // break), as the pane is edited there; storing it afterwards gives its lines.
    std::string pane(shown_text);
    doc.texts.SetText(doc.tree.Data(selection.node).TextIndex, pane);

    const Finder finder(SearchFieldText(settings.text), settings.case_sensitive);
    const std::string_view with = SearchFieldText(replacement);
    NodeId last_changed = kNoNode;
    std::size_t caret = 0;
    if (finder.size() != 0) {
        std::vector<std::size_t> hits;
        std::string out;
        std::size_t from = SearchStartInSelectedNode(selection, finder.size());
        for (NodeId node = selection.node; node != kNoNode;
             node = NextToSearch(doc, node, settings)) {
            const bool first = node == selection.node;
            const int slot = doc.tree.Data(node).TextIndex;
            const std::string_view text = first ? std::string_view(pane) : doc.TextOf(node);
            bool cut_short = false;
            const std::size_t replaced =
                ReplaceOccurrences(text, !first, from, finder, with, hits, out, caret, cut_short);
            from = 0;
            if (cut_short) result.not_fully_replaced.push_back(node);
            if (replaced == 0) continue;
            result.count += static_cast<int32_t>(replaced);
            last_changed = node;
            if (first) {
                doc.texts.SetText(slot, out);
                result.shown_text = std::move(out);
                out = std::string();
            } else {
                // Neither text holds a line break and a hit never splits a CR LF pair, so a
                // stored text stays in its canonical form.
                doc.texts.SetCanonicalText(slot, std::move(out));
                out = std::string();
            }
            if (slot == doc.current_text_index) result.shown_pane_stale = true;
        }
    }
    if (last_changed == kNoNode) {
        result.shown_text = std::move(pane);
    } else {
        result.selection = PaneSelection{last_changed, ToPosition(caret), 0};
        if (last_changed != selection.node) result.shown_text = doc.TextOf(last_changed);
    }
    result.end = EndFor(doc, result.selection.node, settings);
    return result;
}

int32_t ToSingleBreakPosition(std::string_view canonical_text, int32_t canonical_position) {
    if (canonical_position <= 0) return 0;
    const std::size_t limit =
        std::min(static_cast<std::size_t>(canonical_position), canonical_text.size());
    // Each CR LF pair whose CR lies before the position counts one character less.
    int32_t pairs = 0;
    const char* base = canonical_text.data();
    const char* p = base;
    const char* end = base + limit;
    while (p < end) {
        const void* hit = std::memchr(p, '\r', static_cast<std::size_t>(end - p));
        if (hit == nullptr) break;
        const char* cr = static_cast<const char*>(hit);
        if (static_cast<std::size_t>(cr - base) + 1 < canonical_text.size() && cr[1] == '\n') {
            ++pairs;
        }
        p = cr + 1;
    }
    return canonical_position - pairs;
}

int32_t ToCanonicalPosition(std::string_view canonical_text, int32_t single_break_position) {
    if (single_break_position <= 0) return 0;
    // Walk the breaks in order; a break counts when its one-character form lies before the
    // position, i.e. when its CR does.
    int32_t pairs = 0;
    const char* base = canonical_text.data();
    const char* p = base;
    const char* end = base + canonical_text.size();
    while (p < end) {
        const void* hit = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
        if (hit == nullptr) break;
        const char* lf = static_cast<const char*>(hit);
        if (lf > base && lf[-1] == '\r') {
            const auto single_break_index = static_cast<int64_t>(lf - 1 - base) - pairs;
            if (single_break_index >= single_break_position) break;
            ++pairs;
        }
        p = lf + 1;
    }
    return single_break_position + pairs;
}

}  // namespace quillora
