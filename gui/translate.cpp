#include "gui/translate.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <algorithm>

#include "settings/language_pack.h"

namespace quillora {

namespace {
constexpr int kCaptionExtraWidth = 20;

void FitCaption(QAbstractButton& box) {
    box.resize(CaptionFitWidth(box), box.height());
}
}  // namespace

std::optional<QString> PackText(uint16_t id) {
    const LanguageModule* module = LanguageText::Instance().Module();
    if (!module) return std::nullopt;
    const std::string text = module->LoadString(id);
    if (text.empty()) return std::nullopt;
    return QString::fromStdString(text);
}

void TranslateWindowCaption(QWidget& window, uint16_t id) {
    if (auto text = PackText(id)) window.setWindowTitle(*text);
}

void TranslateLabel(QLabel& label, uint16_t id) {
    if (auto text = PackText(id)) label.setText(*text);
}

void TranslateMenuItem(QAction& item, uint16_t id) {
    if (auto text = PackText(id)) item.setText(*text);
}

void TranslateButton(QAbstractButton& button, uint16_t id) {
    if (auto text = PackText(id)) button.setText(*text);
}

void TranslateTabSheet(QTabWidget& pages, int index, uint16_t id) {
    if (auto text = PackText(id)) pages.setTabText(index, *text);
}

void TranslateSpeedButtonHint(QAction& button, uint16_t id) {
    if (auto text = PackText(id)) button.setToolTip(*text);
}

void TranslateGroupBox(QGroupBox& group, uint16_t id) {
    if (auto text = PackText(id)) group.setTitle(QLatin1Char(' ') + *text + QLatin1Char(' '));
}

void TranslateCheckBox(QAbstractButton& box, uint16_t id) {
    if (!LanguageText::Instance().HasModule()) return;
    if (auto text = PackText(id)) box.setText(*text);
    FitCaption(box);
}

void TranslateRadioButton(QAbstractButton& button, uint16_t id) {
    TranslateCheckBox(button, id);
}

int CaptionFitWidth(const QAbstractButton& box) {
    return std::max(box.fontMetrics().horizontalAdvance(box.text()) + kCaptionExtraWidth,
                    box.sizeHint().width());
}

QString GroupBoxCaption(uint16_t id, const char* english_with_blanks) {
    if (auto text = PackText(id)) return QLatin1Char(' ') + *text + QLatin1Char(' ');
    return QString::fromUtf8(english_with_blanks);
}

}  // namespace quillora
