#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

#include "settings/settings_schema.h"

class QWidget;

namespace quillora {

// The colour a window shows for a settings colour: an RGB colour as it is, a system colour from
// the desktop's palette `desktop` (or a fixed classic colour where the palette has no role for
// it), none (or a colour no window can show) as an invalid QColor.
QColor ToQColor(Color color, const QPalette& desktop);
// The same from the application's palette as it is now.
QColor ToQColor(Color color);

// The font of an appearance: its name, its size in points and its four styles. "MS Sans Serif"
// and the other classic names are shown in a small clean sans-serif font that is installed.
QFont AppearanceFont(const Appearance& look);

// Gives `widget` the background, the text colour and the font of `look`, in every state of the
// window (active, inactive, disabled). A colour that is none leaves the desktop's colour.
void ApplyAppearance(QWidget& widget, const Appearance& look);

}  // namespace quillora
