#include "settings/color_text.h"

#include <array>
#include <cstdio>

namespace quillora {
namespace {

struct NamedColor {
    std::string_view name;
    Color color;
};

constexpr std::array<NamedColor, 42> kNamedColors{{
    {"clBlack", colors::kBlack},
    {"clMaroon", colors::kMaroon},
    {"clGreen", colors::kGreen},
    {"clOlive", colors::kOlive},
    {"clNavy", colors::kNavy},
    {"clPurple", colors::kPurple},
    {"clTeal", colors::kTeal},
    {"clGray", colors::kGray},
    {"clSilver", colors::kSilver},
    {"clRed", colors::kRed},
    {"clLime", colors::kLime},
    {"clYellow", colors::kYellow},
    {"clBlue", colors::kBlue},
    {"clFuchsia", colors::kFuchsia},
    {"clAqua", colors::kAqua},
    {"clWhite", colors::kWhite},
    {"clScrollBar", colors::kScrollBar},
    {"clBackground", colors::kBackground},
    {"clActiveCaption", colors::kActiveCaption},
    {"clInactiveCaption", colors::kInactiveCaption},
    {"clMenu", colors::kMenu},
    {"clWindow", colors::kWindow},
    {"clWindowFrame", colors::kWindowFrame},
    {"clMenuText", colors::kMenuText},
    {"clWindowText", colors::kWindowText},
    {"clCaptionText", colors::kCaptionText},
    {"clActiveBorder", colors::kActiveBorder},
    {"clInactiveBorder", colors::kInactiveBorder},
    {"clAppWorkSpace", colors::kAppWorkSpace},
    {"clHighlight", colors::kHighlight},
    {"clHighlightText", colors::kHighlightText},
    {"clBtnFace", colors::kBtnFace},
    {"clBtnShadow", colors::kBtnShadow},
    {"clGrayText", colors::kGrayText},
    {"clBtnText", colors::kBtnText},
    {"clInactiveCaptionText", colors::kInactiveCaptionText},
    {"clBtnHighlight", colors::kBtnHighlight},
    {"cl3DDkShadow", colors::k3DDkShadow},
    {"cl3DLight", colors::k3DLight},
    {"clInfoText", colors::kInfoText},
    {"clInfoBk", colors::kInfoBk},
    {"clNone", colors::kNone},
}};

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// All of `digits` as an unsigned number in `base`; none when empty, on another character, or
// when it exceeds `limit`.
std::optional<uint64_t> ParseDigits(std::string_view digits, int base, uint64_t limit) {
    if (digits.empty()) return std::nullopt;
    uint64_t result = 0;
    for (char c : digits) {
        int digit = HexDigit(c);
        if (digit < 0 || digit >= base) return std::nullopt;
        result = result * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (result > limit) return std::nullopt;
    }
    return result;
}

// A 32-bit integer as text: an optional sign, then decimal digits, or "$"/"0x" and hexadecimal
// digits. A decimal number may be written signed (-2147483648 up) or unsigned (up to 4294967295).
std::optional<uint32_t> ParseColorNumber(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    const uint64_t limit = negative ? 0x80000000ull : 0xFFFFFFFFull;
    std::optional<uint64_t> magnitude = ParseDigits(text, base, limit);
    if (!magnitude) return std::nullopt;
    uint32_t value = static_cast<uint32_t>(*magnitude);
    return negative ? 0u - value : value;
}

}  // namespace

std::string ColorToText(Color color) {
    for (const NamedColor& named : kNamedColors) {
        if (named.color == color) return std::string(named.name);
    }
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "$%.8X", static_cast<unsigned>(color.value));
    return buffer;
}

std::optional<Color> ColorFromText(std::string_view text) {
    for (const NamedColor& named : kNamedColors) {
        if (SameNameIgnoringCase(named.name, text)) return named.color;
    }
    std::optional<uint32_t> value = ParseColorNumber(text);
    if (!value) return std::nullopt;
    return Color{*value};
}

std::string CustomColorToText(std::optional<Color> color) {
    if (!color) return "FFFFFFFF";
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%.6X", static_cast<unsigned>(color->value));
    return buffer;
}

std::optional<Color> CustomColorFromText(std::string_view text) {
    std::optional<uint64_t> value = ParseDigits(text, 16, 0xFFFFFFFFull);
    if (!value || *value == 0xFFFFFFFFull) return std::nullopt;
    return Color{static_cast<uint32_t>(*value)};
}

}  // namespace quillora
