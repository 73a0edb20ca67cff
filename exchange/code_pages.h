#pragma once

#include <cstdint>

namespace quillora::code_pages {

// The Windows code pages a rich-text document may name for its bytes, enough to turn each byte
// into a character. Single-byte pages are read by table; of the double-byte pages (932, 936,
// 949, 950, 1361) only the lead bytes are known, since every character they hold above ASCII
// is stored as "?" in Windows-1252 anyway. A page not known here is read as Windows-1252.

// The code page a font's \fcharset stands for; `document_page` for the default character set
// (1) and for a number not known here.
int FromCharset(int charset, int document_page);

bool IsDoubleByte(int page);
// Whether `byte` starts a two-byte character in the double-byte `page`.
bool IsLeadByte(int page, unsigned char byte);

// The Unicode character of a single byte in `page`; U+FFFD for a byte the page leaves
// unassigned and for a lead byte of a double-byte page.
char32_t ToCodePoint(int page, unsigned char byte);

}  // namespace quillora::code_pages
