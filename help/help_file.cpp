#include "help/help_file.h"

#include <climits>

namespace quillora {

namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsWordChar(char c) {
    return (c >= '0' && c <= '9') || (Lower(c) >= 'a' && Lower(c) <= 'z') || c == '_';
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// Where `needle` (lower case) stands in `text` from `from` on, in any case; npos when nowhere.
size_t FindNoCase(std::string_view text, std::string_view needle, size_t from) {
    if (needle.size() > text.size()) return std::string_view::npos;
    for (size_t i = from; i + needle.size() <= text.size(); ++i) {
        size_t k = 0;
        while (k < needle.size() && Lower(text[i + k]) == needle[k]) ++k;
        if (k == needle.size()) return i;
    }
    return std::string_view::npos;
}

bool StartsWithNoCase(std::string_view text, size_t at, std::string_view lower) {
    return at + lower.size() <= text.size() &&
           FindNoCase(text.substr(at, lower.size()), lower, 0) == 0;
}

// The topic number of an attribute text `id = "topic-N"` starting at `at`; -1 when it is not
// one. A number too large for an int counts as topic 0.
int TopicIdAt(std::string_view tag, size_t at) {
    if (at > 0 && IsWordChar(tag[at - 1])) return -1;
    if (!StartsWithNoCase(tag, at, "id")) return -1;
    size_t i = at + 2;
    while (i < tag.size() && IsSpace(tag[i])) ++i;
    if (i >= tag.size() || tag[i] != '=') return -1;
    ++i;
    while (i < tag.size() && IsSpace(tag[i])) ++i;
    if (!StartsWithNoCase(tag, i, "\"topic-")) return -1;
    i += 7;
    const size_t digits = i;
    long long number = 0;
    while (i < tag.size() && tag[i] >= '0' && tag[i] <= '9') {
        if (number <= INT_MAX) number = number * 10 + (tag[i] - '0');
        ++i;
    }
    if (i == digits || i >= tag.size() || tag[i] != '"') return -1;
    return number > INT_MAX ? 0 : static_cast<int>(number);
}

}  // namespace

HelpDocument::HelpDocument(std::string html) : html_(std::move(html)) {
    FindStyleSheet();
    FindTopics();
}

void HelpDocument::FindStyleSheet() {
    const size_t start = FindNoCase(html_, "<style", 0);
    if (start == std::string::npos) return;
    const size_t tag_end = html_.find('>', start);
    if (tag_end == std::string::npos) return;
    const size_t close = FindNoCase(html_, "</style>", tag_end + 1);
    if (close == std::string::npos) return;
    style_ = html_.substr(start, close + 8 - start);
}

void HelpDocument::FindTopics() {
    const std::string_view html = html_;
    size_t from = 0;
    for (;;) {
        const size_t start = FindNoCase(html, "<div", from);
        if (start == std::string_view::npos) return;
        from = start + 4;
        if (from < html.size() && IsWordChar(html[from])) continue;
        const size_t tag_end = html.find('>', from);
        if (tag_end == std::string_view::npos) return;
        // Of several ids in one tag the last counts.
        const std::string_view tag = html.substr(start + 4, tag_end - start - 4);
        int topic = -1;
        for (size_t at = 0; at < tag.size(); ++at) {
            const int found = TopicIdAt(tag, at);
            if (found >= 0) topic = found;
        }
        if (topic < 0) continue;
        from = tag_end + 1;
        const size_t close = FindNoCase(html, "</div>", from);
        if (close == std::string_view::npos) continue;
        topics_.emplace(topic, Span{start, close + 6});
    }
}

std::vector<int> HelpDocument::Topics() const {
    std::vector<int> topics;
    topics.reserve(topics_.size());
    for (const auto& [topic, span] : topics_) topics.push_back(topic);
    return topics;
}

std::string_view HelpDocument::TopicSection(int topic) const {
    const auto it = topics_.find(topic);
    if (it == topics_.end()) return {};
    return std::string_view(html_).substr(it->second.begin, it->second.end - it->second.begin);
}

}  // namespace quillora
