#pragma once

class QWidget;

namespace quillora {

struct Appearance;
class ProfileFile;

// The platform's colour dialog started on the background of `look`, with the 16 custom colours
// of the settings file. On OK the background becomes the chosen colour and the custom colours are
// written at once (whatever later happens to the window that asked); false when cancelled.
bool ChooseBackground(QWidget* parent, ProfileFile& settings, Appearance& look);

// The platform's font dialog started on the font and font colour of `look`. On OK the name,
// size, colour and the four styles become the chosen ones; a colour left as it was keeps its
// text (a system colour stays one). A size the dialog gives in pixels is taken in points.
// False when cancelled.
bool ChooseAppearanceFont(QWidget* parent, Appearance& look);

}  // namespace quillora
