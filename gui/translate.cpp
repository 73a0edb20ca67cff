#include "gui/translate.h"

#include <QAbstractButton>
#include <algorithm>

#include "settings/language_pack.h"

namespace quillora {

namespace {
constexpr int kCaptionExtraWidth = 20;
}  // namespace

std::optional<QString> PackText(uint16_t id) {
    const LanguageModule* module = LanguageText::Instance().Module();
    if (!module) return std::nullopt;
    const std::string text = module->LoadString(id);
    if (text.empty()) return std::nullopt;
    return QString::fromStdString(text);
}

QString GroupBoxCaption(uint16_t id, const char* english_with_blanks) {
    if (auto text = PackText(id)) return QLatin1Char(' ') + *text + QLatin1Char(' ');
    return QString::fromUtf8(english_with_blanks);
}

int CaptionFitWidth(const QAbstractButton& box) {
    return std::max(box.fontMetrics().horizontalAdvance(box.text()) + kCaptionExtraWidth,
                    box.sizeHint().width());
}

}  // namespace quillora
