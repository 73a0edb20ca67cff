#include "settings/ui/appearance_choice.h"

#include <QColor>
#include <QFont>
#include <QFontInfo>
#include <array>
#include <cmath>

#include "gui/appearance.h"
#include "gui/platform.h"
#include "gui/text_codec.h"
#include "settings/settings_schema.h"

namespace quillora {

namespace keys = settings_keys;

namespace {

QColor ToDialogColor(std::optional<Color> color) {
    if (!color || !color->IsUsable() || color->IsNone()) return QColor(Qt::white);
    return ToQColor(*color);
}

Color FromDialogColor(const QColor& color) {
    return Color::FromRgb(static_cast<uint8_t>(color.red()), static_cast<uint8_t>(color.green()),
                          static_cast<uint8_t>(color.blue()));
}

// The size in points of a font that may have been given in pixels.
int PointSizeOf(const QFont& font) {
    if (font.pointSize() > 0) return font.pointSize();
    const double points = QFontInfo(font).pointSizeF();
    return std::clamp(static_cast<int>(std::lround(points)), kMinFontSize, kMaxFontSize);
}

}  // namespace

bool ChooseBackground(QWidget* parent, ProfileFile& settings, Appearance& look) {
    std::array<std::string, keys::kCustomColorCount> stored;
    QColor custom[keys::kCustomColorCount];
    for (int slot = 0; slot < keys::kCustomColorCount; ++slot) {
        stored.at(slot) = ReadText(settings, keys::CustomColor(slot));
        custom[slot] = ToDialogColor(CustomColorFromText(stored.at(slot)));
    }
    const std::optional<QColor> chosen =
        Platform::Instance().ChooseColor(parent, ToQColor(look.background), custom);
    if (!chosen || !chosen->isValid()) return false;
    look.background = FromDialogColor(*chosen);
    settings.WriteAll([&](ProfileBatch& batch) {
        for (int slot = 0; slot < keys::kCustomColorCount; ++slot) {
            // An empty slot the dialog left white stays empty rather than becoming white.
            const std::optional<Color> was = CustomColorFromText(stored.at(slot));
            const bool untouched = !was && custom[slot] == QColor(Qt::white);
            const std::string text =
                untouched ? stored.at(slot) : CustomColorToText(FromDialogColor(custom[slot]));
            WriteText(batch, keys::CustomColor(slot), text);
        }
    });
    return true;
}

bool ChooseAppearanceFont(QWidget* parent, Appearance& look) {
    const QColor color_was = ToQColor(look.font_color);
    const std::optional<FontChoice> chosen =
        Platform::Instance().ChooseFont(parent, AppearanceFont(look), color_was);
    if (!chosen) return false;
    const QFont& font = chosen->font;
    look.font_name = ToNative(font.family());
    look.font_size = PointSizeOf(font);
    look.bold = font.bold();
    look.italic = font.italic();
    look.underline = font.underline();
    look.strike_out = font.strikeOut();
    // A colour the user left as it was keeps its text, so a system colour stays one.
    if (chosen->color.isValid() && chosen->color.rgb() != color_was.rgb()) {
        look.font_color = FromDialogColor(chosen->color);
    }
    return true;
}

}  // namespace quillora
