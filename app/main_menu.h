#pragma once

class QToolButton;

namespace quillora {

class TMainForm;

// When a tool button is enabled; kept on each button so the window can refresh them.
enum class ToolButtonEnabling { Always, WhileModified, WhileNodeSelected };
inline constexpr char kToolButtonEnablingProperty[] = "toolButtonEnabling";

// Builds the main menu, the tree's context menu `PopupMenu` and the tool bar `ToolBar` from
// the commands the controllers have created (found by their object names). Items whose command
// does not exist are left out, and so is a menu that would be empty. The menus carry the
// object names of the menu table (`FileMenu`, `FileMenuReOpen`, ...) and their help numbers.
void BuildMainMenu(TMainForm& form);

// Draws the New Note and New Folder glyphs again from the node images in use.
void RefreshNodeGlyphs(TMainForm& form);

}  // namespace quillora
