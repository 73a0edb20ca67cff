#include "exchange/rtf_text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "base/cp1252.h"

namespace quillora {
namespace {

struct RtfCase {
    const char* rule;
    std::string rtf;
    std::string text;
};

// One row per rule of the conversion that can break.
const std::vector<RtfCase>& Cases() {
    static const std::vector<RtfCase> cases = {
        {"last \\par makes no break", "{\\rtf1 A\\par}", "A"},
        {"only the last \\par is dropped", "{\\rtf1 A\\par\\par}", "A\r\n"},
        {"paragraphs are separated by CR LF", "{\\rtf1 A\\par B}", "A\r\nB"},
        {"a leading \\par is kept", "{\\rtf1 \\par A}", "\r\nA"},
        {"raw CR, LF and NUL are ignored", std::string("{\\rtf1 A\r\nB\0C}", 14), "ABC"},
        {"backslash and a line end is \\par", "{\\rtf1 A\\\nB\\\rC}", "A\r\nB\r\nC"},
        {"raw tab is \\tab", "{\\rtf1 a\tb}", "a\tb"},
        {"escaped braces and backslash", "{\\rtf1 \\\\\\{\\}}", "\\{}"},
        {"one space ends a control word", "{\\rtf1\\b bold\\b0  x}", "bold x"},
        {"a negative parameter ends the word", "{\\rtf1\\li-20 x}", "x"},
        {"hex byte in 1252", "{\\rtf1 caf\\'e9}", "caf\xE9"},
        {"\\ansicpg sets the page", "{\\rtf1\\ansi\\ansicpg1250 \\'a5\\'e9}", "?\xE9"},
        {"\\fcharset switches with \\f",
         "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0 A;}{\\f1\\fcharset161 G;}}\\f1\\'e1\\f0\\'e1}",
         "?\xE1"},
        {"\\deff is the starting font; \\plain returns to it",
         "{\\rtf1\\deff1{\\fonttbl{\\f0\\fcharset0 A;}{\\f1\\fcharset238 B;}}"
         "\\'a5\\f0\\'a5\\plain\\'a5}",
         "?\xA5?"},
        {"a font group's page ends with the group",
         "{\\rtf1{\\fonttbl{\\f1\\fcharset204 C;}}{\\f1\\'c0}\\'c0}", "?\xC0"},
        {"font table without inner groups", "{\\rtf1{\\fonttbl\\f1\\fcharset204 C;}\\f1\\'c0}",
         "?"},
        {"double-byte pair is one character", "{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0x\\'41}", "?xA"},
        {"double-byte lead cut short", "{\\rtf1\\ansicpg936 \\'b0\\par y}", "?\r\ny"},
        {"\\u with one fallback character", "{\\rtf1 \\u233?x}", "\xE9x"},
        {"\\u negative wraps", "{\\rtf1 \\u-3913 xy}", "?y"},
        {"\\uc2 skips two", "{\\rtf1\\uc2 \\u233 ab c}", "\xE9 c"},
        {"\\'hh is one fallback token", "{\\rtf1 \\u8364\\'80z}", "\x80z"},
        {"skipping stops at a control word", "{\\rtf1\\uc3 \\u233 a\\tab b}", "\xE9\tb"},
        {"\\uc is scoped to its group", "{\\rtf1 {\\uc0 \\u233}\\u233 x}", "\xE9\xE9"},
        {"surrogate pair is one character", "{\\rtf1 \\u-10179?\\u-8704?z}", "?z"},
        {"lone surrogate", "{\\rtf1 \\u-10179?z}", "?z"},
        {"tables give no text",
         "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red0\\green0\\blue0;}"
         "{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author W}}"
         "{\\*\\generator G;}{\\pict\\pngblip 0a0b}{\\header H}{\\footnote F}A}",
         "A"},
        {"an unknown \\* group gives no text", "{\\rtf1{\\*\\unknownword hidden}A}", "A"},
        {"a known word after \\* still skips", "{\\rtf1{\\*\\par hidden}A}", "A"},
        {"object: only the result",
         "{\\rtf1{\\object\\objemb{\\*\\objclass P}{\\*\\objdata 01}{\\result R}} x}", "R x"},
        {"field: only the result",
         "{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}}", "link"},
        {"list numbers give no text", "{\\rtf1{\\listtext 1.\\tab}{\\pntext \\'b7}Item}", "Item"},
        {"special characters",
         "{\\rtf1 \\~\\_\\-\\bullet\\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote}",
         "\xA0?\x95\x97\x96\x91\x92\x93\x94"},
        {"table row", "{\\rtf1 a\\cell b\\cell\\row c}", "a\tb\t\r\nc"},
        {"last row makes no break", "{\\rtf1 a\\cell b\\cell\\row}", "a\tb\t"},
        {"line, page and section breaks", "{\\rtf1 a\\line b\\page c\\sect d}", "a\r\nb\r\nc\r\nd"},
        {"binary data is skipped whole", "{\\rtf1{\\pict\\bin3 {}\\}A\\bin2 xyB}", "AB"},
        {"control characters are dropped", "{\\rtf1 a\\u7?b}", "ab"},
        {"the closing brace ends the document", "{\\rtf1 A}B", "A"},
        {"not rich text", "hello", ""},
        {"unclosed document", "{\\rtf1 {A", "A"},
    };
    return cases;
}

TEST(RtfToTextTest, FollowsEachRule) {
    for (const RtfCase& c : Cases()) {
        EXPECT_EQ(RtfToText(c.rtf), c.text) << c.rule;
    }
}

TEST(RtfToTextTest, NestingBeyondTheLimitGivesNoTextAndKeepsTheOuterState) {
    const std::string deep(100000, '{');
    const std::string closing(100000, '}');
    EXPECT_EQ(RtfToText("{\\rtf1\\ansicpg1251 " + deep + "x\\ansicpg1252 " + closing + "\\'c0}"),
              "?");
    // Within the limit the text is kept.
    const std::string inner(kMaxRtfDepth - 2, '{');
    const std::string inner_closing(kMaxRtfDepth - 2, '}');
    EXPECT_EQ(RtfToText("{\\rtf1 " + inner + "x" + inner_closing + "y}"), "xy");
}

TEST(RtfToTextTest, StopsOnceTheTextIsLongEnough) {
    std::string rtf = "{\\rtf1 ";
    for (int i = 0; i < 100000; ++i) rtf += "abc\\par ";
    rtf += "}";
    const std::string text = RtfToText(rtf, 1000);
    EXPECT_GE(text.size(), 1000u);
    EXPECT_LE(text.size(), 1002u);
    EXPECT_EQ(text.substr(0, 10), "abc\r\nabc\r\n");
    // A long run of paragraph marks stops there as well.
    std::string marks;
    for (int i = 0; i < 5000; ++i) marks += "\\par ";
    EXPECT_LE(RtfToText("{\\rtf1 a" + marks + "b}", 100).size(), 101u);
}

std::string DataFile(const std::string& name) {
    std::ifstream in(std::string(EXCHANGE_TEST_DATA) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

// The word processor's own export in Windows-1252, without its list labels ("\x95" and "1."
// at the start of a line), which are list formatting and no text of the document.
std::vector<std::string> OracleWords(const std::string& utf8) {
    std::vector<std::string> words;
    std::istringstream lines(
        cp1252::FromUtf8(utf8.substr(utf8.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0)));
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> line_words = Words(line);
        if (!line_words.empty()) {
            const std::string& first = line_words.front();
            const bool number = first.size() > 1 && first.back() == '.' &&
                                first.find_first_not_of("0123456789") == first.size() - 1;
            if (first == "\x95" || number) line_words.erase(line_words.begin());
        }
        words.insert(words.end(), line_words.begin(), line_words.end());
    }
    return words;
}

TEST(RtfToTextTest, WordProcessorDocumentsGiveTheWordsOfItsOwnTextExport) {
    for (const char* name : {"letter", "mixed"}) {
        const std::string rtf = DataFile(std::string(name) + ".rtf");
        ASSERT_TRUE(StartsAsRtf(rtf)) << name;
        EXPECT_EQ(Words(RtfToText(rtf)), OracleWords(DataFile(std::string(name) + ".expected.txt")))
            << name;
    }
    // Paragraphs are lines, table cells are tabs.
    const std::string mixed = RtfToText(DataFile("mixed.rtf"));
    EXPECT_NE(mixed.find("Shopping plan\r\nThings to buy:\r\n"), std::string::npos) << mixed;
    EXPECT_NE(mixed.find("Milk\t1.20\t"), std::string::npos) << mixed;
}

}  // namespace
}  // namespace quillora
