#include "gui/appearance.h"

#include <QApplication>
#include <QFontDatabase>
#include <QWidget>
#include <array>

namespace quillora {

namespace {

// A system colour is either a role of the desktop's palette or, where the palette has no role
// for it (captions, borders, the desktop itself), the colour it has in the classic scheme.
struct SystemColorSource {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
    QRgb classic;  // used when role is NoRole
};

constexpr QPalette::ColorRole kFixed = QPalette::NoRole;
constexpr QPalette::ColorGroup kActive = QPalette::Active;

constexpr std::array<SystemColorSource, Color::kSystemColorCount> kSystemColors{{
    {kActive, kFixed, 0xC0C0C0},              // scroll bar
    {kActive, kFixed, 0x008080},              // desktop
    {kActive, kFixed, 0x000080},              // active caption
    {kActive, kFixed, 0x808080},              // inactive caption
    {kActive, QPalette::Window, 0},           // menu
    {kActive, QPalette::Base, 0},             // window
    {kActive, kFixed, 0x000000},              // window frame
    {kActive, QPalette::WindowText, 0},       // menu text
    {kActive, QPalette::Text, 0},             // window text
    {kActive, kFixed, 0xFFFFFF},              // caption text
    {kActive, kFixed, 0xC0C0C0},              // active border
    {kActive, kFixed, 0xC0C0C0},              // inactive border
    {kActive, kFixed, 0x808080},              // application work space
    {kActive, QPalette::Highlight, 0},        // highlight
    {kActive, QPalette::HighlightedText, 0},  // highlight text
    {kActive, QPalette::Button, 0},           // button face
    {kActive, QPalette::Dark, 0},             // button shadow
    {QPalette::Disabled, QPalette::Text, 0},  // gray text
    {kActive, QPalette::ButtonText, 0},       // button text
    {kActive, kFixed, 0xC0C0C0},              // inactive caption text
    {kActive, QPalette::Light, 0},            // button highlight
    {kActive, QPalette::Shadow, 0},           // 3-D dark shadow
    {kActive, QPalette::Midlight, 0},         // 3-D light
    {kActive, QPalette::ToolTipText, 0},      // info text
    {kActive, QPalette::ToolTipBase, 0},      // info background
}};

// Installed fonts that look like the small sans-serif of the classic desktop, best first.
const QStringList& SmallSansSerifFonts() {
    static const QStringList fonts = {
        QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
        QStringLiteral("Nimbus Sans"),     QStringLiteral("Nimbus Sans L"),
        QStringLiteral("Noto Sans"),       QStringLiteral("Cantarell"),
        QStringLiteral("DejaVu Sans"),     QStringLiteral("FreeSans")};
    return fonts;
}

// The classic names settings files hold, each shown in a font installed here.
void InstallFontSubstitutes() {
    static const bool installed = [] {
        for (const char* name : {"MS Sans Serif", "Microsoft Sans Serif", "MS Shell Dlg",
                                 "MS Shell Dlg 2", "System"}) {
            const QString family = QString::fromLatin1(name);
            if (!QFontDatabase::hasFamily(family)) {
                QFont::insertSubstitutions(family, SmallSansSerifFonts());
            }
        }
        return true;
    }();
    (void)installed;
}

}  // namespace

QColor ToQColor(Color color, const QPalette& desktop) {
    if (!color.IsUsable() || color.IsNone()) return {};
    if (!color.IsSystem()) return QColor(color.Red(), color.Green(), color.Blue());
    const SystemColorSource& source = kSystemColors[color.SystemIndex()];
    if (source.role == kFixed) return QColor(source.classic);
    return desktop.color(source.group, source.role);
}

QColor ToQColor(Color color) {
    return ToQColor(color, QGuiApplication::palette());
}

QFont AppearanceFont(const Appearance& look) {
    InstallFontSubstitutes();
    QFont font(QString::fromStdString(look.font_name));
    if (look.font_size >= kMinFontSize && look.font_size <= kMaxFontSize) {
        font.setPointSize(look.font_size);
    }
    font.setBold(look.bold);
    font.setItalic(look.italic);
    font.setUnderline(look.underline);
    font.setStrikeOut(look.strike_out);
    return font;
}

void ApplyAppearance(QWidget& widget, const Appearance& look) {
    const QPalette desktop = QApplication::palette(&widget);
    QPalette palette = widget.palette();
    const QColor background = ToQColor(look.background, desktop);
    const QColor text = ToQColor(look.font_color, desktop);
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base,
                         background.isValid() ? background : desktop.color(group, QPalette::Base));
        palette.setColor(group, QPalette::Text,
                         text.isValid() ? text : desktop.color(group, QPalette::Text));
    }
    widget.setPalette(palette);
    widget.setFont(AppearanceFont(look));
}

}  // namespace quillora
