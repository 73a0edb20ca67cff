#include "base/cp1252.h"

#include <gtest/gtest.h>

#include <string>

namespace quillora {
namespace {

TEST(Cp1252FromUtf8, DecodesWellFormedTextAndMarksWhatCannotBeHeld) {
    struct Case {
        std::string utf8;
        std::string expected;
        bool valid;
    };
    const Case cases[] = {
        {"", "", true},
        {"abc\r\n", "abc\r\n", true},
        {"\xE2\x82\xAC", "\x80", true},            // euro sign, in the 0x80..0x9F block
        {"\xC5\xB8", "\x9F", true},                // Y with diaeresis, the block's last
        {"caf\xC3\xA9", "caf\xE9", true},          // Latin-1 range
        {"\xC2\x81", "\x81", true},                // an unassigned byte's C1 control
        {"\xE4\xB8\xAD", "?", true},               // outside the code page
        {"\xF0\x9F\x98\x80", "?", true},           // four bytes, one character, one '?'
        {"\xEF\xBB\xBF", "?", true},               // a byte order mark is a character
        {"caf\xE9", "caf?", false},                // Windows-1252 bytes, not UTF-8
        {"\x80", "?", false},                      // a continuation byte alone
        {"\xC0\xAF", "??", false},                 // overlong form
        {"\xE0\x80\xAF", "???", false},            // overlong three-byte form
        {"\xED\xA0\x80", "???", false},            // surrogate
        {"\xF4\x90\x80\x80", "????", false},       // above U+10FFFF
        {"\xE2\x82", "??", false},                 // cut short at the end
        {"\xE2\x82x", "??x", false},               // cut short before another character
        {"\xF8\x88\x80\x80\x80", "?????", false},  // five-byte form
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cp1252::FromUtf8(c.utf8), c.expected) << c.utf8;
        EXPECT_EQ(cp1252::IsValidUtf8(c.utf8), c.valid) << c.utf8;
    }
}

}  // namespace
}  // namespace quillora
