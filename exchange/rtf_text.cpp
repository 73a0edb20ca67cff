#include "exchange/rtf_text.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/cp1252.h"
#include "exchange/code_pages.h"

namespace quillora {

namespace {

// What a group's text is for.
enum class Destination : uint8_t {
    Text,       // the document's body: its characters are the result
    Skip,       // gives no text; only its braces and \bin are looked at
    FontTable,  // gives no text, but tells each font's character set
    Object,     // an embedded object: no text, except in its \result
};

// What a control word does.
enum class Word : uint8_t {
    Break,        // \par, \line, \sect, \page, \row
    Tab,          // \tab, \cell, \nestcell
    Character,    // a special character; `value` is its code point
    Unicode,      // \uN
    UnicodeSkip,  // \ucN
    Font,         // \fN
    DefaultFont,  // \deffN
    Plain,        // \plain: the default font again
    AnsiPage,     // \ansicpgN
    CharsetPage,  // \ansi, \mac, \pc, \pca; `value` is the page
    FontCharset,  // \fcharsetN
    FontPage,     // \cpgN
    Binary,       // \binN: N bytes of binary data follow
    FontTable,    // \fonttbl
    SkipGroup,    // a destination that gives no text
    Object,       // \object
    Result,       // \result
};

struct WordEntry {
    std::string_view name;
    Word word;
    char32_t value = 0;
};

// Sorted by name for the binary search.
// clang-format off
constexpr WordEntry kWords[] = {
    {"aftncn", Word::SkipGroup}, {"aftnsep", Word::SkipGroup}, {"aftnsepc", Word::SkipGroup},
    {"annotation", Word::SkipGroup}, {"ansi", Word::CharsetPage, 1252},
    {"ansicpg", Word::AnsiPage}, {"atnauthor", Word::SkipGroup}, {"atndate", Word::SkipGroup},
    {"atnicn", Word::SkipGroup}, {"atnid", Word::SkipGroup}, {"atnref", Word::SkipGroup},
    {"atntime", Word::SkipGroup}, {"atrfend", Word::SkipGroup}, {"atrfstart", Word::SkipGroup},
    {"author", Word::SkipGroup}, {"background", Word::SkipGroup}, {"bin", Word::Binary},
    {"bkmkend", Word::SkipGroup}, {"bkmkstart", Word::SkipGroup},
    {"bullet", Word::Character, 0x2022}, {"buptim", Word::SkipGroup},
    {"category", Word::SkipGroup}, {"cell", Word::Tab}, {"colorschememapping", Word::SkipGroup},
    {"colortbl", Word::SkipGroup}, {"comment", Word::SkipGroup}, {"company", Word::SkipGroup},
    {"cpg", Word::FontPage}, {"creatim", Word::SkipGroup}, {"datastore", Word::SkipGroup},
    {"defchp", Word::SkipGroup}, {"deff", Word::DefaultFont}, {"defpap", Word::SkipGroup},
    {"do", Word::SkipGroup}, {"doccomm", Word::SkipGroup}, {"docvar", Word::SkipGroup},
    {"emdash", Word::Character, 0x2014}, {"emspace", Word::Character, 0x2003},
    {"endash", Word::Character, 0x2013}, {"enspace", Word::Character, 0x2002},
    {"f", Word::Font}, {"falt", Word::SkipGroup}, {"fcharset", Word::FontCharset},
    {"filetbl", Word::SkipGroup}, {"fldinst", Word::SkipGroup}, {"fonttbl", Word::FontTable},
    {"footer", Word::SkipGroup}, {"footerf", Word::SkipGroup}, {"footerl", Word::SkipGroup},
    {"footerr", Word::SkipGroup}, {"footnote", Word::SkipGroup}, {"ftncn", Word::SkipGroup},
    {"ftnsep", Word::SkipGroup}, {"ftnsepc", Word::SkipGroup}, {"generator", Word::SkipGroup},
    {"header", Word::SkipGroup}, {"headerf", Word::SkipGroup}, {"headerl", Word::SkipGroup},
    {"headerr", Word::SkipGroup}, {"info", Word::SkipGroup}, {"keywords", Word::SkipGroup},
    {"latentstyles", Word::SkipGroup}, {"ldblquote", Word::Character, 0x201C},
    {"line", Word::Break}, {"listoverridetable", Word::SkipGroup},
    {"listtable", Word::SkipGroup}, {"listtext", Word::SkipGroup},
    {"lquote", Word::Character, 0x2018}, {"mac", Word::CharsetPage, 10000},
    {"manager", Word::SkipGroup}, {"nestcell", Word::Tab}, {"nesttableprops", Word::SkipGroup},
    {"nonesttables", Word::SkipGroup}, {"nonshppict", Word::SkipGroup},
    {"objclass", Word::SkipGroup}, {"objdata", Word::SkipGroup}, {"object", Word::Object},
    {"objname", Word::SkipGroup}, {"operator", Word::SkipGroup}, {"page", Word::Break},
    {"par", Word::Break}, {"pc", Word::CharsetPage, 437}, {"pca", Word::CharsetPage, 850},
    {"pict", Word::SkipGroup}, {"plain", Word::Plain}, {"pn", Word::SkipGroup},
    {"pnseclvl", Word::SkipGroup}, {"pntext", Word::SkipGroup}, {"pntxta", Word::SkipGroup},
    {"pntxtb", Word::SkipGroup}, {"printim", Word::SkipGroup},
    {"qmspace", Word::Character, 0x2005}, {"rdblquote", Word::Character, 0x201D},
    {"result", Word::Result}, {"revtbl", Word::SkipGroup}, {"revtim", Word::SkipGroup},
    {"row", Word::Break}, {"rquote", Word::Character, 0x2019}, {"rsidtbl", Word::SkipGroup},
    {"sect", Word::Break}, {"shp", Word::SkipGroup}, {"stylesheet", Word::SkipGroup},
    {"subject", Word::SkipGroup}, {"tab", Word::Tab}, {"tc", Word::SkipGroup},
    {"tcn", Word::SkipGroup}, {"template", Word::SkipGroup}, {"themedata", Word::SkipGroup},
    {"title", Word::SkipGroup}, {"txe", Word::SkipGroup}, {"u", Word::Unicode},
    {"uc", Word::UnicodeSkip}, {"userprops", Word::SkipGroup}, {"xe", Word::SkipGroup},
};
// clang-format on

const WordEntry* FindWord(std::string_view name) {
    const WordEntry* end = std::end(kWords);
    const WordEntry* it =
        std::lower_bound(std::begin(kWords), end, name,
                         [](const WordEntry& entry, std::string_view n) { return entry.name < n; });
    return it != end && it->name == name ? it : nullptr;
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The first '\\', '{' or '}' at or after `from`; the end when there is none. Skipped groups
// (pictures, objects' data) are most of a large document, so they are scanned sixteen bytes at
// a time where the processor allows.
std::size_t FindSpecial(std::string_view in, std::size_t from) {
    const char* p = in.data() + from;
    const char* end = in.data() + in.size();
#if defined(__SSE2__)
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i open = _mm_set1_epi8('{');
    const __m128i close = _mm_set1_epi8('}');
    while (end - p >= 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hits = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(chunk, backslash), _mm_cmpeq_epi8(chunk, open)),
            _mm_cmpeq_epi8(chunk, close));
        const int mask = _mm_movemask_epi8(hits);
        if (mask != 0) return static_cast<std::size_t>(p - in.data()) + __builtin_ctz(mask);
        p += 16;
    }
#endif
    while (p < end && *p != '\\' && *p != '{' && *p != '}') ++p;
    return static_cast<std::size_t>(p - in.data());
}

struct Group {
    int32_t uc = 1;     // fallback characters skipped after \uN
    int32_t font = -1;  // -1: the document's default font
    Destination destination = Destination::Text;
};

// A control word as read: its name and its numeric parameter, if any.
struct ControlWord {
    std::string_view name;
    bool has_parameter = false;
    int64_t parameter = 0;
};

class RtfReader {
public:
    RtfReader(std::string_view in, std::size_t max_length) : in_(in), max_length_(max_length) {}

    std::string Run();

private:
    bool Full() const { return out_.size() >= max_length_; }
    bool Skipping() const { return overflow_ > 0 || current_.destination == Destination::Skip; }
    void OpenGroup();
    void CloseGroup();
    void Backslash();
    ControlWord ReadWord();
    void Symbol(char c);
    void Apply(const ControlWord& word);
    void ApplyToText(const WordEntry& entry, const ControlWord& word);
    void ApplyToFontTable(const WordEntry& entry, const ControlWord& word);
    void TextByte(unsigned char byte);
    void Emit(char32_t code_point);
    void EmitByte(char byte);
    void Break();
    void EndToken();
    void EndSurrogate();
    int CurrentPage();

    std::string_view in_;
    std::size_t pos_ = 0;
    std::size_t max_length_;
    std::string out_;
    bool done_ = false;

    Group current_;
    std::vector<Group> stack_;
    std::size_t overflow_ = 0;  // groups open beyond kMaxRtfDepth

    int document_page_ = 1252;
    int default_font_ = 0;
    int font_entry_ = -1;  // the font table's entry being read
    std::unordered_map<int, int> font_pages_;
    int cached_font_ = -2;
    int cached_page_ = 1252;

    int pending_breaks_ = 0;  // breaks not written yet: the last one of the document makes none
    int32_t skip_count_ = 0;  // fallback characters still to skip after \uN
    char16_t high_surrogate_ = 0;
    bool lead_byte_ = false;  // a double-byte character has begun
};

std::string RtfReader::Run() {
    while (pos_ < in_.size() && !done_ && !Full()) {
        if (Skipping()) {
            pos_ = FindSpecial(in_, pos_);
            if (pos_ >= in_.size()) break;
        }
        const char c = in_[pos_];
        switch (c) {
            case '{':
                ++pos_;
                OpenGroup();
                break;
            case '}':
                ++pos_;
                CloseGroup();
                break;
            case '\\':
                Backslash();
                break;
            case '\r':
            case '\n':
            case '\0':
                ++pos_;
                break;
            case '\t':
                ++pos_;
                Apply({"tab"});
                break;
            default:
                ++pos_;
                TextByte(static_cast<unsigned char>(c));
                break;
        }
    }
    EndToken();
    EndSurrogate();
    // The last paragraph mark of the document makes no line break.
    for (int i = 1; i < pending_breaks_ && !Full(); ++i) out_ += "\r\n";
    return std::move(out_);
}

void RtfReader::OpenGroup() {
    EndToken();
    if (overflow_ > 0 || stack_.size() >= kMaxRtfDepth) {
        ++overflow_;
        return;
    }
    stack_.push_back(current_);
}

void RtfReader::CloseGroup() {
    EndToken();
    if (overflow_ > 0) {
        --overflow_;
        return;
    }
    if (stack_.empty()) {
        done_ = true;
        return;
    }
    current_ = stack_.back();
    stack_.pop_back();
    // The brace that closes the document's own group ends it.
    if (stack_.empty()) done_ = true;
}

ControlWord RtfReader::ReadWord() {
    ControlWord word;
    const std::size_t start = pos_;
    while (pos_ < in_.size() && IsLetter(in_[pos_])) ++pos_;
    word.name = in_.substr(start, pos_ - start);
    bool negative = false;
    if (pos_ + 1 < in_.size() && in_[pos_] == '-' && IsDigit(in_[pos_ + 1])) {
        negative = true;
        ++pos_;
    }
    constexpr int64_t kParameterCap = 1'000'000'000'000;
    while (pos_ < in_.size() && IsDigit(in_[pos_])) {
        word.has_parameter = true;
        if (word.parameter < kParameterCap)
            word.parameter = word.parameter * 10 + (in_[pos_] - '0');
        ++pos_;
    }
    if (negative) word.parameter = -word.parameter;
    // One space ends the control word and belongs to it.
    if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
    return word;
}

void RtfReader::Backslash() {
    ++pos_;
    if (pos_ >= in_.size()) return;
    const char c = in_[pos_];
    if (IsLetter(c)) {
        const ControlWord word = ReadWord();
        if (word.name == "bin") {
            // Binary data is never text, and it may hold braces and backslashes.
            const auto n = static_cast<std::size_t>(std::max<int64_t>(word.parameter, 0));
            pos_ += std::min(n, in_.size() - pos_);
            return;
        }
        if (overflow_ == 0) Apply(word);
        return;
    }
    ++pos_;
    if (overflow_ > 0) return;
    if (c == '\'') {
        int value = 0;
        int digits = 0;
        while (digits < 2 && pos_ < in_.size() && HexValue(in_[pos_]) >= 0) {
            value = value * 16 + HexValue(in_[pos_]);
            ++pos_;
            ++digits;
        }
        if (digits > 0) TextByte(static_cast<unsigned char>(value));
        return;
    }
    Symbol(c);
}

void RtfReader::Symbol(char c) {
    switch (c) {
        case '\\':
        case '{':
        case '}':
            TextByte(static_cast<unsigned char>(c));
            return;
        case '\r':
        case '\n':
            Apply({"par"});
            return;
        default:
            break;
    }
    EndToken();
    switch (c) {
        case '*':
            // A group marked so is one this reader may not know; none of them gives text.
            if (current_.destination != Destination::Skip) current_.destination = Destination::Skip;
            break;
        case '~':
            Emit(0x00A0);
            break;
        case '_':
            Emit(0x2011);
            break;
        default:  // "\-" (an optional hyphen), "\:", "\|" and unknown symbols give nothing
            break;
    }
}

void RtfReader::Apply(const ControlWord& word) {
    EndToken();
    const WordEntry* entry = FindWord(word.name);
    if (!entry) return;
    switch (current_.destination) {
        case Destination::Text:
            ApplyToText(*entry, word);
            break;
        case Destination::FontTable:
            ApplyToFontTable(*entry, word);
            break;
        case Destination::Object:
            if (entry->word == Word::Result) current_.destination = Destination::Text;
            break;
        case Destination::Skip:
            break;
    }
}

// NOLINTNEXTLINE(readability-function-size): one case per kind of control word
void RtfReader::ApplyToText(const WordEntry& entry, const ControlWord& word) {
    const auto parameter = static_cast<int>(std::clamp<int64_t>(word.parameter, -65536, 65536));
    switch (entry.word) {
        case Word::Break:
            Break();
            break;
        case Word::Tab:
            Emit('\t');
            break;
        case Word::Character:
            Emit(entry.value);
            break;
        case Word::Unicode:
            // A negative N stands for the unit N + 65536.
            Emit(static_cast<char16_t>(static_cast<uint16_t>(word.parameter & 0xFFFF)));
            skip_count_ = current_.uc;
            break;
        case Word::UnicodeSkip:
            current_.uc = std::clamp(parameter, 0, 64);
            break;
        case Word::Font:
            current_.font = parameter;
            break;
        case Word::DefaultFont:
            default_font_ = parameter;
            cached_font_ = -2;
            break;
        case Word::Plain:
            current_.font = -1;
            break;
        case Word::AnsiPage:
            if (parameter > 0) document_page_ = parameter;
            cached_font_ = -2;
            break;
        case Word::CharsetPage:
            document_page_ = static_cast<int>(entry.value);
            cached_font_ = -2;
            break;
        case Word::FontTable:
            current_.destination = Destination::FontTable;
            break;
        case Word::SkipGroup:
            current_.destination = Destination::Skip;
            break;
        case Word::Object:
            current_.destination = Destination::Object;
            break;
        default:
            break;
    }
}

void RtfReader::ApplyToFontTable(const WordEntry& entry, const ControlWord& word) {
    const auto parameter = static_cast<int>(std::clamp<int64_t>(word.parameter, -65536, 65536));
    switch (entry.word) {
        case Word::Font:
            font_entry_ = parameter;
            break;
        case Word::FontCharset:
            font_pages_[font_entry_] = code_pages::FromCharset(parameter, document_page_);
            cached_font_ = -2;
            break;
        case Word::FontPage:
            font_pages_[font_entry_] = parameter;
            cached_font_ = -2;
            break;
        case Word::SkipGroup:
            current_.destination = Destination::Skip;
            break;
        default:
            break;
    }
}

int RtfReader::CurrentPage() {
    const int font = current_.font >= 0 ? current_.font : default_font_;
    if (font != cached_font_) {
        const auto it = font_pages_.find(font);
        cached_page_ = it != font_pages_.end() ? it->second : document_page_;
        cached_font_ = font;
    }
    return cached_page_;
}

// A byte of text, written as itself or as \'hh: one character of fallback text after \uN,
// or a byte of the current font's code page.
void RtfReader::TextByte(unsigned char byte) {
    if (skip_count_ > 0) {
        --skip_count_;
        return;
    }
    if (current_.destination != Destination::Text) return;
    const int page = CurrentPage();
    if (lead_byte_) {
        lead_byte_ = false;
        Emit(0xFFFD);  // the two bytes of a double-byte character
        return;
    }
    if (byte >= 0x80 && code_pages::IsLeadByte(page, byte)) {
        lead_byte_ = true;
        return;
    }
    Emit(code_pages::ToCodePoint(page, byte));
}

// Anything but a byte of text: a double-byte character cut short is one unknown character, and
// the fallback text of \uN ends.
void RtfReader::EndToken() {
    skip_count_ = 0;
    if (lead_byte_) {
        lead_byte_ = false;
        Emit(0xFFFD);
    }
}

void RtfReader::Emit(char32_t code_point) {
    if (current_.destination != Destination::Text || Skipping()) return;
    const bool high = code_point >= 0xD800 && code_point <= 0xDBFF;
    const bool low = code_point >= 0xDC00 && code_point <= 0xDFFF;
    if (high_surrogate_ != 0) {
        high_surrogate_ = 0;
        EmitByte('?');  // a pair is one character beyond what Windows-1252 holds
        if (low) return;
    }
    if (high) {
        high_surrogate_ = static_cast<char16_t>(code_point);
        return;
    }
    if (code_point < 0x20 && code_point != '\t') return;
    EmitByte(low ? '?' : cp1252::FromCodePoint(code_point));
}

void RtfReader::EmitByte(char byte) {
    // A run of breaks stops at the limit too.
    for (; pending_breaks_ > 0; --pending_breaks_) {
        if (Full()) return;
        out_ += "\r\n";
    }
    if (!Full()) out_ += byte;
}

void RtfReader::Break() {
    EndSurrogate();
    ++pending_breaks_;
}

// A high surrogate that no low one follows is one unknown character.
void RtfReader::EndSurrogate() {
    if (high_surrogate_ == 0) return;
    high_surrogate_ = 0;
    EmitByte('?');
}

}  // namespace

bool StartsAsRtf(std::string_view bytes) {
    return bytes.substr(0, 5) == "{\\rtf";
}

std::string RtfToText(std::string_view rtf, std::size_t max_length) {
    if (!StartsAsRtf(rtf)) return {};
    return RtfReader(rtf, max_length).Run();
}

}  // namespace quillora
