#include "gui/text_codec.h"

#include <array>

namespace quillora {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; 0 marks the five unassigned bytes,
// which Windows maps to the C1 control of the same value.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t ToUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        const char16_t mapped = kHighControls[byte - 0x80];
        return mapped ? mapped : byte;
    }
    return byte;
}

char ToByte(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
    for (int i = 0; i < 32; ++i) {
        const char16_t mapped = kHighControls[i];
        if ((mapped && mapped == unit) || (!mapped && unit == 0x80 + i)) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

}  // namespace

QString FromAnsi(std::string_view bytes) {
    QString out(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* dst = out.data();
    for (size_t i = 0; i < bytes.size(); ++i) {
        dst[i] = QChar(ToUnicode(static_cast<unsigned char>(bytes[i])));
    }
    return out;
}

std::string ToAnsi(const QString& text) {
    std::string out;
    out.resize(static_cast<size_t>(text.size()));
    const QChar* src = text.constData();
    size_t n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A surrogate pair is one character: one '?'.
        if (src[i].isHighSurrogate() && i + 1 < text.size() && src[i + 1].isLowSurrogate()) ++i;
        out[n++] = ToByte(src[i].unicode());
    }
    out.resize(n);
    return out;
}

QString RepresentableInAnsi(const QString& text) {
    return FromAnsi(ToAnsi(text));
}

QString StoreTextToPane(std::string_view canonical_text) {
    // Every line ends with CR LF, the last one too; the pane holds each break as one '\n', so a
    // text and its pane form convert into each other without loss.
    std::string joined;
    joined.reserve(canonical_text.size());
    for (size_t i = 0; i < canonical_text.size(); ++i) {
        const char c = canonical_text[i];
        if (c == '\r' && i + 1 < canonical_text.size() && canonical_text[i + 1] == '\n') continue;
        joined += c;
    }
    return FromAnsi(joined);
}

std::string PaneTextToStore(const QString& pane_text) {
    // The store splits at every kind of break and ends each line with CR LF itself.
    return ToAnsi(pane_text);
}

}  // namespace quillora
