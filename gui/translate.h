#pragma once

#include <QString>
#include <cstdint>
#include <optional>

class QAbstractButton;
class QAction;
class QGroupBox;
class QLabel;
class QTabWidget;
class QWidget;

namespace quillora {

// The loaded pack's text for string `id`; none when no pack is loaded or the pack has no text
// (or an empty one) for it, so the control keeps its English caption.
std::optional<QString> PackText(uint16_t id);

// Translating one control of a window as it is created, one operation per kind of control. Each
// does nothing without a pack or a pack text, unless said otherwise.
void TranslateWindowCaption(QWidget& window, uint16_t id);
void TranslateLabel(QLabel& label, uint16_t id);
void TranslateMenuItem(QAction& item, uint16_t id);
void TranslateButton(QAbstractButton& button, uint16_t id);
void TranslateTabSheet(QTabWidget& pages, int index, uint16_t id);
void TranslateSpeedButtonHint(QAction& button, uint16_t id);
// A group box shows the text with one blank before and after it.
void TranslateGroupBox(QGroupBox& group, uint16_t id);
// Check boxes and radio buttons: with a pack loaded, the width becomes the caption's width plus
// 20 pixels, whether or not the pack had a text, so no caption is cut.
void TranslateCheckBox(QAbstractButton& box, uint16_t id);
void TranslateRadioButton(QAbstractButton& button, uint16_t id);

// The width of a check box or radio button for its caption: the text's width plus 20 pixels,
// and never less than the control needs to draw its mark and caption.
int CaptionFitWidth(const QAbstractButton& box);

// A group box's English caption " text " with its text from the pack when there is one.
QString GroupBoxCaption(uint16_t id, const char* english_with_blanks);

}  // namespace quillora
