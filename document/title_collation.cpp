#include "document/title_collation.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace quillora {

namespace {

// Weights of one Windows-1252 byte. A byte yields up to two collation elements (ligatures such
// as "æ" sort as "ae"); '-' and '\'' yield none and only break ties.
struct ByteWeight {
    uint16_t primary[2] = {0, 0};
    uint8_t elements = 1;
    uint8_t accent = 0;  // 0 for the plain letter; each diacritic has its own rank
    bool upper = false;
    bool ignorable = false;
    unsigned char folded = 0;  // the byte in lower case
};

enum Accent : uint8_t {
    kPlain = 0,
    kAcute,
    kGrave,
    kCircumflex,
    kDiaeresis,
    kTilde,
    kRing,
    kCedilla,
    kStroke,
    kCaron,
    kEth,
    kLigature,
    kOrdinal,
    kSuperscript,
    kHook,
};

// Primary bands: control bytes < punctuation and symbols < digits < letters.
constexpr uint16_t kControlBand = 0x0000;
constexpr uint16_t kSymbolBand = 0x1000;
constexpr uint16_t kDigitBand = 0x2000;
constexpr uint16_t kLetterBand = 0x3000;
constexpr uint16_t kThorn = kLetterBand + 26;  // after z

constexpr uint16_t Letter(char base) {
    return kLetterBand + static_cast<uint16_t>(base - 'a');
}

struct Accented {
    unsigned char byte;
    char base;
    char second;  // second element of a ligature, or 0
    uint8_t accent;
    bool upper;
};

// The letters of Windows-1252 outside ASCII.
constexpr Accented kAccented[] = {
    {0x83, 'f', 0, kHook, false},      {0x8A, 's', 0, kCaron, true},
    {0x8C, 'o', 'e', kLigature, true}, {0x8E, 'z', 0, kCaron, true},
    {0x9A, 's', 0, kCaron, false},     {0x9C, 'o', 'e', kLigature, false},
    {0x9E, 'z', 0, kCaron, false},     {0x9F, 'y', 0, kDiaeresis, true},
    {0xAA, 'a', 0, kOrdinal, false},   {0xBA, 'o', 0, kOrdinal, false},
    {0xC0, 'a', 0, kGrave, true},      {0xC1, 'a', 0, kAcute, true},
    {0xC2, 'a', 0, kCircumflex, true}, {0xC3, 'a', 0, kTilde, true},
    {0xC4, 'a', 0, kDiaeresis, true},  {0xC5, 'a', 0, kRing, true},
    {0xC6, 'a', 'e', kLigature, true}, {0xC7, 'c', 0, kCedilla, true},
    {0xC8, 'e', 0, kGrave, true},      {0xC9, 'e', 0, kAcute, true},
    {0xCA, 'e', 0, kCircumflex, true}, {0xCB, 'e', 0, kDiaeresis, true},
    {0xCC, 'i', 0, kGrave, true},      {0xCD, 'i', 0, kAcute, true},
    {0xCE, 'i', 0, kCircumflex, true}, {0xCF, 'i', 0, kDiaeresis, true},
    {0xD0, 'd', 0, kEth, true},        {0xD1, 'n', 0, kTilde, true},
    {0xD2, 'o', 0, kGrave, true},      {0xD3, 'o', 0, kAcute, true},
    {0xD4, 'o', 0, kCircumflex, true}, {0xD5, 'o', 0, kTilde, true},
    {0xD6, 'o', 0, kDiaeresis, true},  {0xD8, 'o', 0, kStroke, true},
    {0xD9, 'u', 0, kGrave, true},      {0xDA, 'u', 0, kAcute, true},
    {0xDB, 'u', 0, kCircumflex, true}, {0xDC, 'u', 0, kDiaeresis, true},
    {0xDD, 'y', 0, kAcute, true},      {0xDF, 's', 's', kLigature, false},
    {0xFF, 'y', 0, kDiaeresis, false},
};

// Upper-case bytes outside ASCII whose lower case is not byte + 0x20.
constexpr std::array<std::array<unsigned char, 2>, 4> kOddCasePairs{
    {{0x8A, 0x9A}, {0x8C, 0x9C}, {0x8E, 0x9E}, {0x9F, 0xFF}}};

std::array<ByteWeight, 256> BuildWeights() {
    std::array<ByteWeight, 256> table{};
    for (int b = 0; b < 256; ++b) {
        ByteWeight& w = table[b];
        w.folded = static_cast<unsigned char>(b);
        w.primary[0] = (b < 0x20 || b == 0x7F) ? static_cast<uint16_t>(kControlBand + b)
                                               : static_cast<uint16_t>(kSymbolBand + b);
    }
    for (int b = '0'; b <= '9'; ++b) table[b].primary[0] = kDigitBand + (b - '0');
    for (int b = 'a'; b <= 'z'; ++b) {
        table[b].primary[0] = Letter(static_cast<char>(b));
        ByteWeight& upper = table[b - 0x20];
        upper.primary[0] = Letter(static_cast<char>(b));
        upper.upper = true;
        upper.folded = static_cast<unsigned char>(b);
    }
    for (const Accented& a : kAccented) {
        ByteWeight& w = table[a.byte];
        w.primary[0] = Letter(a.base);
        if (a.second != 0) {
            w.primary[1] = Letter(a.second);
            w.elements = 2;
        }
        w.accent = a.accent;
        w.upper = a.upper;
    }
    for (int b = 0xE0; b <= 0xFE; ++b) {
        if (b == 0xF7) continue;  // the division sign
        table[b - 0x20].folded = static_cast<unsigned char>(b);
        // Lower-case twins of the upper-case letters above, same weights but for case.
        if (b != 0xFE) {
            table[b] = table[b - 0x20];
            table[b].upper = false;
            table[b].folded = static_cast<unsigned char>(b);
        }
    }
    for (const auto& [upper, lower] : kOddCasePairs) table[upper].folded = lower;
    table[0xDE].primary[0] = kThorn;
    table[0xDE].upper = true;
    table[0xFE].primary[0] = kThorn;
    table[0xFE].folded = 0xFE;
    // Superscript digits sort with their digit.
    table[0xB9].primary[0] = kDigitBand + 1;
    table[0xB2].primary[0] = kDigitBand + 2;
    table[0xB3].primary[0] = kDigitBand + 3;
    for (int b : {0xB9, 0xB2, 0xB3}) table[b].accent = kSuperscript;
    for (int b : {int{'-'}, int{'\''}, 0xAD}) {
        table[b].ignorable = true;
        table[b].elements = 0;
    }
    return table;
}

const std::array<ByteWeight, 256>& Weights() {
    static const std::array<ByteWeight, 256> table = BuildWeights();
    return table;
}

// Walks the collation elements of a title one by one.
class ElementCursor {
public:
    explicit ElementCursor(std::string_view text) : text_(text) { Settle(); }

    bool AtEnd() const { return pos_ >= text_.size(); }
    const ByteWeight& Current() const { return Weights()[Byte()]; }
    uint16_t Primary() const { return Current().primary[element_]; }
    void Advance() {
        if (++element_ >= Current().elements) {
            element_ = 0;
            ++pos_;
            Settle();
        }
    }

private:
    unsigned char Byte() const { return static_cast<unsigned char>(text_[pos_]); }
    void Settle() {
        while (pos_ < text_.size() && Weights()[Byte()].elements == 0) ++pos_;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    uint8_t element_ = 0;
};

int Sign(int value) {
    return (value > 0) - (value < 0);
}

// Compares the two element sequences by one level of weights; a sequence that ends first is
// smaller.
template <typename Level>
int CompareLevel(std::string_view a, std::string_view b, Level level) {
    ElementCursor x(a), y(b);
    while (!x.AtEnd() && !y.AtEnd()) {
        const int d = level(x) - level(y);
        if (d != 0) return Sign(d);
        x.Advance();
        y.Advance();
    }
    return static_cast<int>(!x.AtEnd()) - static_cast<int>(!y.AtEnd());
}

int CountIgnorable(std::string_view text) {
    int count = 0;
    for (char c : text) count += Weights()[static_cast<unsigned char>(c)].ignorable ? 1 : 0;
    return count;
}

int CompareBytes(std::string_view a, std::string_view b, bool fold) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (fold) {
            x = Weights()[x].folded;
            y = Weights()[y].folded;
        }
        if (x != y) return x < y ? -1 : 1;
    }
    return Sign(static_cast<int>(a.size()) - static_cast<int>(b.size()));
}

int CompareTitles(std::string_view a, std::string_view b, bool ignore_case) {
    if (int d = CompareLevel(a, b, [](const ElementCursor& c) { return int{c.Primary()}; }))
        return d;
    if (int d = CompareLevel(a, b, [](const ElementCursor& c) { return int{c.Current().accent}; }))
        return d;
    if (!ignore_case) {
        if (int d = CompareLevel(a, b,
                                 [](const ElementCursor& c) { return c.Current().upper ? 1 : 0; }))
            return d;
    }
    if (int d = Sign(CountIgnorable(a) - CountIgnorable(b))) return d;
    return CompareBytes(a, b, ignore_case);
}

}  // namespace

int CompareTitlesWordSort(std::string_view a, std::string_view b) {
    return CompareTitles(a, b, false);
}

int CompareTitlesIgnoreCase(std::string_view a, std::string_view b) {
    return CompareTitles(a, b, true);
}

}  // namespace quillora
