#include "help/help_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillora {
namespace {

struct SectionCase {
    const char* html;
    std::vector<int> topics;
    int topic;            // the topic whose section is checked
    const char* section;  // what it must be
};

TEST(HelpDocumentTest, FindsTheTopicSectionsOfTheMarkup) {
    const SectionCase cases[] = {
        {"<DIV ID=\"TOPIC-3\">Three</Div>", {3}, 3, "<DIV ID=\"TOPIC-3\">Three</Div>"},
        {"<div id = \"topic-4\" class=\"t\">a</div><div id=\"topic-4\">b</div>",
         {4},
         4,
         "<div id = \"topic-4\" class=\"t\">a</div>"},
        {"<divx id=\"topic-5\">no</div><div dataid=\"topic-6\">no</div>", {}, 5, ""},
        {"<div id=\"topic-7\">open", {}, 7, ""},
        {"<div id=\"topic-\">x</div><div id=\"topic-8x\">y</div>", {}, 8, ""},
        {"<div id=\"topic-1\" id=\"topic-2\">z</div>",
         {2},
         2,
         "<div id=\"topic-1\" id=\"topic-2\">z</div>"},
        {"<div id=\"topic-99999999999\">big</div>",
         {0},
         0,
         "<div id=\"topic-99999999999\">big</div>"},
        {"<div id=\"topic-9\"", {}, 9, ""},
    };
    for (const SectionCase& c : cases) {
        SCOPED_TRACE(c.html);
        const HelpDocument doc{std::string(c.html)};
        EXPECT_EQ(doc.Topics(), c.topics);
        EXPECT_EQ(doc.TopicSection(c.topic), c.section);
    }
}

TEST(HelpDocumentTest, StyleSheetIsTheFirstCompleteStyleBlock) {
    EXPECT_EQ(HelpDocument("<STYLE type=x>p{}</style><style>q{}</style>").StyleSheet(),
              "<STYLE type=x>p{}</style>");
    EXPECT_EQ(HelpDocument("<style>p{}").StyleSheet(), "");
}

}  // namespace
}  // namespace quillora
