#pragma once

namespace quillora {

// Makes the access key of a dialog's button (Alt+P for "Re&place All") run the button's command
// at once, as a mouse click does, instead of after the 100 ms press animation that Qt plays
// first; the button still shows that it was pressed. Installed once for the whole application,
// after the application object exists; covers every dialog, message boxes included.
void InstallImmediateAccessKeys();

}  // namespace quillora
