#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillora {

// A colour as the settings file stores it: 0x00BBGGRR for an RGB colour (red in the low byte),
// 0x80000000 + n for system colour n (the UI maps it to a palette role), or 0x1FFFFFFF for none.
struct Color {
    uint32_t value = 0;

    static constexpr uint32_t kSystemFlag = 0x80000000u;
    static constexpr uint32_t kNoneValue = 0x1FFFFFFFu;
    // System colours 0 (scroll bar) to 24 (tool tip background) exist.
    static constexpr uint32_t kSystemColorCount = 25;

    static constexpr Color FromRgb(uint8_t red, uint8_t green, uint8_t blue) {
        return Color{uint32_t{red} | (uint32_t{green} << 8) | (uint32_t{blue} << 16)};
    }
    static constexpr Color System(uint32_t index) { return Color{kSystemFlag + index}; }

    constexpr bool IsSystem() const { return (value & kSystemFlag) != 0; }
    // The system colour number; meaningful only when IsSystem().
    constexpr uint32_t SystemIndex() const { return value & ~kSystemFlag; }
    constexpr bool IsNone() const { return value == kNoneValue; }
    // An RGB colour, a system colour that exists, or none: what a window can show.
    constexpr bool IsUsable() const {
        return value <= 0xFFFFFFu || IsNone() || (IsSystem() && SystemIndex() < kSystemColorCount);
    }
    constexpr uint8_t Red() const { return static_cast<uint8_t>(value & 0xFF); }
    constexpr uint8_t Green() const { return static_cast<uint8_t>((value >> 8) & 0xFF); }
    constexpr uint8_t Blue() const { return static_cast<uint8_t>((value >> 16) & 0xFF); }

    friend constexpr bool operator==(Color a, Color b) { return a.value == b.value; }
};

namespace colors {
inline constexpr Color kBlack{0x000000};
inline constexpr Color kMaroon{0x000080};
inline constexpr Color kGreen{0x008000};
inline constexpr Color kOlive{0x008080};
inline constexpr Color kNavy{0x800000};
inline constexpr Color kPurple{0x800080};
inline constexpr Color kTeal{0x808000};
inline constexpr Color kGray{0x808080};
inline constexpr Color kSilver{0xC0C0C0};
inline constexpr Color kRed{0x0000FF};
inline constexpr Color kLime{0x00FF00};
inline constexpr Color kYellow{0x00FFFF};
inline constexpr Color kBlue{0xFF0000};
inline constexpr Color kFuchsia{0xFF00FF};
inline constexpr Color kAqua{0xFFFF00};
inline constexpr Color kWhite{0xFFFFFF};
inline constexpr Color kNone{Color::kNoneValue};

// System colours, by their numbers.
inline constexpr Color kScrollBar = Color::System(0);
inline constexpr Color kBackground = Color::System(1);
inline constexpr Color kActiveCaption = Color::System(2);
inline constexpr Color kInactiveCaption = Color::System(3);
inline constexpr Color kMenu = Color::System(4);
inline constexpr Color kWindow = Color::System(5);
inline constexpr Color kWindowFrame = Color::System(6);
inline constexpr Color kMenuText = Color::System(7);
inline constexpr Color kWindowText = Color::System(8);
inline constexpr Color kCaptionText = Color::System(9);
inline constexpr Color kActiveBorder = Color::System(10);
inline constexpr Color kInactiveBorder = Color::System(11);
inline constexpr Color kAppWorkSpace = Color::System(12);
inline constexpr Color kHighlight = Color::System(13);
inline constexpr Color kHighlightText = Color::System(14);
inline constexpr Color kBtnFace = Color::System(15);
inline constexpr Color kBtnShadow = Color::System(16);
inline constexpr Color kGrayText = Color::System(17);
inline constexpr Color kBtnText = Color::System(18);
inline constexpr Color kInactiveCaptionText = Color::System(19);
inline constexpr Color kBtnHighlight = Color::System(20);
inline constexpr Color k3DDkShadow = Color::System(21);
inline constexpr Color k3DLight = Color::System(22);
inline constexpr Color kInfoText = Color::System(23);
inline constexpr Color kInfoBk = Color::System(24);
}  // namespace colors

// The colour's name ("clWhite", "clWindow", "clNone" ...) when it has one, else "$" and the value
// in eight upper-case hexadecimal digits ("$00563412").
std::string ColorToText(Color color);

// Reads a colour name (any case), or an integer: decimal with an optional sign, or hexadecimal
// after "$" or "0x". None for any other text or a number that does not fit in 32 bits.
std::optional<Color> ColorFromText(std::string_view text);

// The colour dialog's custom colour slots as stored in the settings file: hexadecimal digits
// without a prefix, "FFFFFFFF" for an empty slot (none here). Text that is not such a number reads
// as an empty slot.
std::string CustomColorToText(std::optional<Color> color);
std::optional<Color> CustomColorFromText(std::string_view text);

}  // namespace quillora
