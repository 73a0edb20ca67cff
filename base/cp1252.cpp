#include "base/cp1252.h"

#include <array>
#include <cstddef>

namespace quillora::cp1252 {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; 0 marks the five unassigned bytes.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool IsContinuation(unsigned char byte, unsigned char low = 0x80, unsigned char high = 0xBF) {
    return byte >= low && byte <= high;
}

// The length of the well-formed sequence at the start of `bytes` and its code point; length 0
// when none starts there.
struct Decoded {
    std::size_t length = 0;
    char32_t code_point = 0;
};

Decoded DecodeOne(std::string_view bytes) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = at(0);
    if (lead < 0x80) return {1, lead};
    std::size_t length;
    unsigned char low = 0x80;   // the range of the second byte, narrower after some leads
    unsigned char high = 0xBF;  // (no overlong forms, no surrogates, nothing past U+10FFFF)
    char32_t value;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return {};
    }
    if (bytes.size() < length || !IsContinuation(at(1), low, high)) return {};
    for (std::size_t i = 1; i < length; ++i) {
        if (!IsContinuation(at(i))) return {};
        value = (value << 6) | (at(i) & 0x3F);
    }
    return {length, value};
}

}  // namespace

char32_t ToCodePoint(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        const char16_t mapped = kHighControls[byte - 0x80];
        return mapped ? mapped : byte;
    }
    return byte;
}

char FromCodePoint(char32_t code_point) {
    if (code_point < 0x80 || (code_point >= 0xA0 && code_point <= 0xFF)) {
        return static_cast<char>(code_point);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        const char32_t mapped = kHighControls[i] ? kHighControls[i] : 0x80 + i;
        if (mapped == code_point) return static_cast<char>(0x80 + i);
    }
    return '?';
}

bool IsValidUtf8(std::string_view bytes) {
    while (!bytes.empty()) {
        const Decoded decoded = DecodeOne(bytes);
        if (decoded.length == 0) return false;
        bytes.remove_prefix(decoded.length);
    }
    return true;
}

std::string FromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        const Decoded decoded = DecodeOne(utf8);
        out += decoded.length == 0 ? '?' : FromCodePoint(decoded.code_point);
        utf8.remove_prefix(decoded.length == 0 ? 1 : decoded.length);
    }
    return out;
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char byte : bytes) AppendUtf8(out, ToCodePoint(static_cast<unsigned char>(byte)));
    return out;
}

}  // namespace quillora::cp1252
