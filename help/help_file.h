#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace quillora {

// The help file's contents: one HTML document whose topics are the non-nested sections
// `<div id="topic-N">` (tags and attributes in any case); topic 0 is the contents. A topic ends
// at the first "</div>" after its start; one without an end is no topic, and of two sections
// with the same number the first counts.
class HelpDocument {
public:
    HelpDocument() = default;
    explicit HelpDocument(std::string html);

    const std::string& Html() const { return html_; }
    // The document's first `<style>` block with its tags, or empty.
    const std::string& StyleSheet() const { return style_; }
    bool HasTopic(int topic) const { return topics_.count(topic) != 0; }
    std::vector<int> Topics() const;  // ascending
    // The section of `topic`, from its `<div` to its `</div>`; empty when there is none.
    std::string_view TopicSection(int topic) const;

private:
    struct Span {
        size_t begin = 0;
        size_t end = 0;
    };
    void FindStyleSheet();
    void FindTopics();

    std::string html_;
    std::string style_;
    std::map<int, Span> topics_;
};

}  // namespace quillora
