#pragma once

#include <string>
#include <string_view>

namespace quillora::cp1252 {

// Windows-1252, the single-byte code page that titles and texts are stored in.

// The Unicode code point of a byte. The five bytes the code page leaves unassigned (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) give the C1 control of the same value, as Windows does.
char32_t ToCodePoint(unsigned char byte);

// The byte of a code point; '?' for one the code page cannot hold.
char FromCodePoint(char32_t code_point);

// Whether `bytes` are well-formed UTF-8: no overlong forms, no surrogates, nothing above
// U+10FFFF, no sequence cut short.
bool IsValidUtf8(std::string_view bytes);

// UTF-8 text in Windows-1252: every code point the code page cannot hold becomes '?', and so
// does every byte that is not part of a well-formed sequence. A byte order mark is a character
// like any other here; a caller that expects one removes it first.
std::string FromUtf8(std::string_view utf8);

// Appends the UTF-8 form of a code point.
void AppendUtf8(std::string& out, char32_t code_point);

// Windows-1252 bytes as UTF-8 text.
std::string ToUtf8(std::string_view bytes);

}  // namespace quillora::cp1252
