#pragma once

#include <QString>
#include <cstdint>
#include <optional>

class QAbstractButton;

namespace quillora {

// The loaded pack's text for string `id`; none when no pack is loaded or the pack has no text
// (or an empty one) for it, so the control keeps its English caption. Windows take their other
// captions through Lang when they are created, which gives the same result.
std::optional<QString> PackText(uint16_t id);

// A group box's caption: the pack's text with one blank before and after it, or the English
// caption (which has its blanks) when the pack has none.
QString GroupBoxCaption(uint16_t id, const char* english_with_blanks);

// The width of a check box or radio button for its caption: the text's width plus 20 pixels,
// and never less than the control needs to draw its mark and caption.
int CaptionFitWidth(const QAbstractButton& box);

}  // namespace quillora
