#pragma once

namespace quillora {

class TMainForm;

// Builds the main menu, the tree's context menu and the tool bar from the commands the
// controllers have created (found by their object names). Items whose command does not exist
// are left out.
void BuildMainMenu(TMainForm& form);

}  // namespace quillora
