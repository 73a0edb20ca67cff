#pragma once

#include <QPoint>
#include <functional>

class QObject;
class QWidget;

namespace quillora {

// Help numbers of controls are held in the dynamic property "helpContext" (0 or absent: none).
inline constexpr char kHelpContextProperty[] = "helpContext";
void SetHelpContext(QObject* object, int topic);
// The number of the object or of its nearest parent that has one; 0 when none has.
int HelpContextOf(const QObject* object);

// The number a help request in `target` asks for: for a menu, the highlighted item's own number
// or else the menu's (walking up its parents); for anything else, HelpContextOf(target).
int ContextHelpTopic(const QObject* target);

// Makes F1 and the title-bar help button of `window` ask for context help: F1 in a control of
// the window or in one of its menus, or a click on a control in "What's This?" mode, calls
// `show` with the control's number and a global position at the control. Nothing is called
// when there is no number. The routing lives as long as the window.
using ContextHelpHandler = std::function<void(int topic, const QPoint& global_position)>;
void EnableContextHelp(QWidget* window, ContextHelpHandler show);

}  // namespace quillora
