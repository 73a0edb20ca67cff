#pragma once

class QMainWindow;
class QToolBar;
class QTreeView;

namespace quillora {

class ActionRegistry;
class ImageList;
struct NodeImages;
class TMainForm;

// When a tool button is enabled; kept on each button so the window can refresh them.
enum class ToolButtonEnabling { Always, WhileModified, WhileNodeSelected };
inline constexpr char kToolButtonEnablingProperty[] = "toolButtonEnabling";

// Builds the main menu of `window`, the context menu `PopupMenu` of `tree` and the tool bar
// `ToolBar` from the registered commands, and registers the menus under the object names of
// the menu table (`FileMenu`, `FileMenuReOpen`, ..., `PopupMenu`) with their help numbers. A
// command of the table that is not registered is a programming error. Building again replaces
// what an earlier build made (with `old_bar`). Returns the tool bar.
QToolBar* BuildMenusAndToolBar(QMainWindow& window, QTreeView& tree, ActionRegistry& actions,
                               QToolBar* old_bar = nullptr);

// Draws the New Note and New Folder glyphs again from the node images in use.
void RefreshNodeGlyphs(QToolBar& bar, const ImageList& images, const NodeImages& in_use);

// Builds the menus of the main window again and attaches its controllers to them.
void BuildMainMenu(TMainForm& form);

}  // namespace quillora
