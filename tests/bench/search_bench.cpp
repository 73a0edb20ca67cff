// Find Next and Replace All over the whole document against the floor of a plain in-memory
// search and replace over the same texts.

#include <bit>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "bench_sections.h"
#include "bench_util.h"
#include "search/note_search.h"

namespace quillora::bench {

namespace {

constexpr double kFindGoal = 3.0;
constexpr double kReplaceAllGoal = 1.5;  // against the in-place replace
constexpr double kReplaceAllLimitMs = 1000.0;
// Not a word of the generated texts: placed once at the end of the last node.
constexpr std::string_view kLastNodeMarker = "zebracrossing";

std::vector<NodeId> NodesInDisplayOrder(const NotesDocument& doc) {
    std::vector<NodeId> nodes;
    doc.tree.ForEachInDisplayOrder([&](NodeId n, int) { nodes.push_back(n); });
    return nodes;
}

// The floor of Find Next: the texts in display order searched with the library's exact find,
// up to the first node that holds the text.
std::pair<size_t, size_t> PlainFind(const std::vector<const std::string*>& texts,
                                    std::string_view what) {
    for (size_t i = 0; i < texts.size(); ++i) {
        const size_t at = std::string_view(*texts[i]).find(what);
        if (at != std::string_view::npos) return {i, at};
    }
    return {texts.size(), 0};
}

// Every occurrence of `what` (exact bytes, not overlapping) in `text`: candidates are the
// places where the first and the last byte match, 16 at a time, and only those are compared
// whole. The library's find and memmem stop at every "t" of an English text and are slower than
// the program itself, which would make no floor.
void PlainHits(std::string_view text, std::string_view what, std::vector<size_t>& hits) {
    hits.clear();
    const size_t m = what.size();
    if (m == 0 || text.size() < m) return;
    const char* const base = text.data();
    const char* const stop = base + (text.size() - m) + 1;  // one past the last possible start
    const char* p = base;
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi8(what.front());
    const __m128i last = _mm_set1_epi8(what.back());
    while (stop - p >= 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + m - 1));
        auto mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last))));
        const char* next = p + 16;
        for (; mask != 0; mask &= mask - 1) {
            const char* candidate = p + std::countr_zero(mask);
            if (!hits.empty() && static_cast<size_t>(candidate - base) < hits.back() + m) {
                continue;  // inside the occurrence just found
            }
            if (std::memcmp(candidate, what.data(), m) == 0) {
                hits.push_back(static_cast<size_t>(candidate - base));
            }
        }
        p = next;
    }
#endif
    for (; p < stop; ++p) {
        if (!hits.empty() && static_cast<size_t>(p - base) < hits.back() + m) continue;
        if (std::memcmp(p, what.data(), m) == 0) hits.push_back(static_cast<size_t>(p - base));
    }
}

// The floor of Replace All: each occurrence, found by PlainHits, replaced in place in its
// text: the text grows once, and its bytes move back from the end, each once.
size_t PlainReplaceAll(std::vector<std::string>& texts, std::string_view what,
                       std::string_view with) {
    size_t count = 0;
    std::vector<size_t> hits;
    for (std::string& text : texts) {
        PlainHits(text, what, hits);
        if (hits.empty()) continue;
        count += hits.size();
        const size_t old_size = text.size();
        const size_t grown = hits.size() * (with.size() - what.size());  // "that" is longer
        text.resize(old_size + grown);
        char* bytes = text.data();
        size_t end = old_size;  // the old bytes still to move end here
        size_t to = text.size();
        for (size_t i = hits.size(); i-- > 0;) {
            const size_t after = hits[i] + what.size();
            to -= end - after;
            std::memmove(bytes + to, bytes + after, end - after);
            to -= with.size();
            std::memcpy(bytes + to, with.data(), with.size());
            end = hits[i];
        }
    }
    return count;
}

}  // namespace

// NOLINTNEXTLINE(readability-function-size): each measurement beside its floor, in run order
void RunSearchBench(const Options& options) {
    const DocumentShape shape = options.quick ? QuickShape() : FullShape();
    auto doc = std::make_unique<NotesDocument>();
    MakeBenchDocument(*doc, shape);
    const std::vector<NodeId> nodes = NodesInDisplayOrder(*doc);
    const NodeId first = nodes.front();
    const NodeId last = nodes.back();
    {
        const int slot = doc->tree.Data(last).TextIndex;
        std::string text = doc->texts.TextOf(slot);
        text += std::string(kLastNodeMarker) + "\r\n";
        doc->texts.SetCanonicalText(slot, std::move(text));
    }
    doc->current_text_index = doc->tree.Data(first).TextIndex;
    doc->current_kind = doc->tree.Data(first).Kind;
    const PaneSelection at_start{first, 0, 0};

    std::vector<const std::string*> text_refs;
    text_refs.reserve(nodes.size());
    for (NodeId n : nodes) text_refs.push_back(&doc->TextOf(n));
    std::printf("search: %d nodes, %s of text\n", doc->tree.Count(),
                Megabytes(static_cast<double>(TotalTextBytes(*doc))).c_str());

    // Find Next from the first node to the only hit, in the last node.
    for (const bool case_sensitive : {false, true}) {
        const SearchSettings settings{std::string(kLastNodeMarker), case_sensitive, true};
        SearchResult result;
        std::pair<size_t, size_t> plain;
        const Timing find = MeasurePair(
            options.repetitions, [&] { result = FindNextMatch(*doc, at_start, settings); },
            [&] { plain = PlainFind(text_refs, kLastNodeMarker); });
        if (!result.Found() || result.hit->node != last || plain.first != nodes.size() - 1) {
            throw std::runtime_error("find next did not reach the last node");
        }
        PrintRatio(case_sensitive ? "find (case)" : "find", find, kFindGoal);
    }

    // Replace All of a common word, from the first node over the whole document.
    std::vector<std::string> originals;
    originals.reserve(nodes.size());
    for (NodeId n : nodes) originals.push_back(doc->TextOf(n));
    std::vector<std::string> floor_texts;
    const auto restore = [&] {
        for (size_t i = 0; i < nodes.size(); ++i) {
            doc->texts.SetText(doc->tree.Data(nodes[i]).TextIndex, originals[i]);
        }
        doc->current_text_index = doc->tree.Data(first).TextIndex;
        doc->current_kind = doc->tree.Data(first).Kind;
        floor_texts = originals;
    };
    const SearchSettings settings{"the", false, true};
    ReplaceAllResult result;
    size_t plain_count = 0;
    const Timing replace_all = MeasurePair(
        options.repetitions,
        [&] { result = ReplaceAll(*doc, at_start, settings, "that", originals.front()); },
        [&] { plain_count = PlainReplaceAll(floor_texts, "the", "that"); }, restore);
    if (result.count != static_cast<int32_t>(plain_count) || result.end != SearchEnd::kEndOfAll) {
        throw std::runtime_error("replace all and its floor disagree");
    }
    std::printf("replace all: %d occurrences of \"the\"\n", result.count);
    PrintRatio("replace all", replace_all, kReplaceAllGoal);
    std::printf("replace all under %.0f ms: %s\n", kReplaceAllLimitMs,
                replace_all.ms < kReplaceAllLimitMs ? "yes" : "no  MISSED");
}

}  // namespace quillora::bench
