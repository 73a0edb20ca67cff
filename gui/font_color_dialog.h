#pragma once

#include <QColor>
#include <QFont>
#include <optional>

class QWidget;

namespace quillora {

struct FontChoice;

// The 16 standard colours a font may be given, in the order the colour list shows them.
const QColor (&StandardFontColors())[16];

// A font dialog with a colour list, as the desktop's own font dialog has: the font's face,
// size and styles, and one of the 16 standard colours (or the starting colour when it is none
// of them). None when cancelled.
std::optional<FontChoice> ShowFontColorDialog(QWidget* parent, const QFont& initial,
                                              const QColor& initial_color);

}  // namespace quillora
