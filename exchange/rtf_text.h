#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

namespace quillora {

// Whether `bytes` are a rich-text document: they start with "{\rtf".
bool StartsAsRtf(std::string_view bytes);

// The plain text of a rich-text document, as a rich edit control shows it: the characters of
// the body without formatting, in Windows-1252 ("?" for a character it cannot hold), paragraphs
// and line breaks as CR LF, tabs for table cells, and no break for the document's last
// paragraph mark. Fonts, colours, styles, pictures, objects, headers, footers, footnotes,
// annotations, the document's information and every "\*" group give no text; of a field only
// its result is kept, of an object only its result.
//
// The reader never recurses and holds the state of at most kMaxRtfDepth nested groups; what is
// nested deeper gives no text. It stops once the text holds `max_length` characters (at most
// one more, which the caller cuts), or at the brace that closes the document.
constexpr std::size_t kMaxRtfDepth = 1024;
std::string RtfToText(std::string_view rtf,
                      std::size_t max_length = std::numeric_limits<std::size_t>::max());

}  // namespace quillora
