#pragma once

#include <vector>

class QDialog;
class QLineEdit;
class QPushButton;
class QWidget;

namespace quillora {

// Outer size of a dialog with a fixed border: the client area plus 3 pixels of border on each
// side and a 19-pixel caption.
inline constexpr int kDialogFrameWidth = 6;
inline constexpr int kDialogFrameHeight = 25;
// Space between a dialog's controls and its edges.
inline constexpr int kDialogMargin = 8;

// The common style of the program's small dialogs: fixed size, a help button in the title bar,
// the small pixel font their pixel layout is made for, and F1 and the help button showing the
// controls' help pop-ups.
void SetUpFixedDialogWindow(QDialog& dialog, int client_width, int client_height);

void CenterOnScreen(QWidget& window);

// The wider layout used while a language pack is loaded: the outer width becomes 406 and the
// outer height `outer_height`, every push button of `buttons` 89 wide at the right edge, and every
// edit of `edits` reaches up to the buttons. A caption longer than 89 pixels widens the button
// column and the dialog by what it needs. Returns the buttons' left edge.
int WidenForLanguagePack(QDialog& dialog, const std::vector<QPushButton*>& buttons,
                         const std::vector<QLineEdit*>& edits, int outer_height);

}  // namespace quillora
