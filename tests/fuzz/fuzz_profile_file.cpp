// Drives the settings file rules over arbitrary bytes: reading, writing, deleting and erasing on
// any text, and colour texts. Besides memory errors it stops on a broken promise: a written value
// reads back, a deleted key or erased section is gone, and no other key changes its value.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "settings/color_text.h"
#include "settings/profile_file.h"

namespace {

using quillora::profile_text::FindValue;

void Check(bool condition) {
    if (!condition) std::abort();
}

bool IsBlank(char c) {
    return c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == ' ' || c == '\x1a';
}

std::string Trim(std::string s) {
    while (!s.empty() && IsBlank(s.back())) s.pop_back();
    std::size_t start = 0;
    while (start < s.size() && IsBlank(s[start])) ++start;
    return s.substr(start);
}

bool SameName(const std::string& a, const std::string& b) {
    std::string x = Trim(a), y = Trim(b);
    if (x.size() != y.size()) return false;
    for (std::size_t i = 0; i < x.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(x[i]) != lower(y[i])) return false;
    }
    return true;
}

// What reading gives back for a written value: trimmed, one pair of quotes removed.
std::string AsRead(const std::string& value) {
    std::string v = Trim(value);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        return v.substr(1, v.size() - 2);
    }
    return v;
}

// Names drawn mostly from a few short candidates, so that they often meet the text's own names.
std::string PickName(FuzzedDataProvider& data) {
    static const char* const kNames[] = {"A", "a", " A ", "Main", "k", "K", "", "[", "a]b", "x"};
    if (data.ConsumeBool()) return kNames[data.ConsumeIntegralInRange<int>(0, 9)];
    return data.ConsumeRandomLengthString(8);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    const std::string section = PickName(data);
    const std::string key = PickName(data);
    const std::string other_section = PickName(data);
    const std::string other_key = PickName(data);
    const std::string value = data.ConsumeRandomLengthString(16);
    const uint32_t color_value = data.ConsumeIntegral<uint32_t>();
    const std::string text = data.ConsumeRemainingBytesAsString();

    // Reading.
    std::optional<std::string> found = FindValue(text, section, key);
    std::string read = quillora::profile_text::ReadString(text, section, key, value);
    Check(found ? read == *found : read.size() <= value.size());
    int number = quillora::profile_text::ReadInt(text, section, key, 7);
    if (found && !found->empty()) Check(number == quillora::profile_text::ParseInt(*found));
    const std::optional<std::string> other_before = FindValue(text, other_section, other_key);
    const bool same_key = SameName(section, other_section) && SameName(key, other_key);

    // Writing: the value reads back, writing it again changes nothing, other keys keep theirs.
    if (std::optional<std::string> written =
            quillora::profile_text::WithValue(text, section, key, value)) {
        Check(FindValue(*written, section, key) == AsRead(value));
        Check(quillora::profile_text::WithValue(*written, section, key, value) == *written);
        if (!same_key) Check(FindValue(*written, other_section, other_key) == other_before);
    } else {
        Check(!quillora::profile_text::IsWritable(section, key, value));
    }

    std::string without_key = quillora::profile_text::WithoutKey(text, section, key);
    Check(!FindValue(without_key, section, key));
    Check(without_key.size() <= text.size());
    if (!same_key) Check(FindValue(without_key, other_section, other_key) == other_before);

    std::string without_section = quillora::profile_text::WithoutSection(text, section);
    Check(!FindValue(without_section, section, key));
    Check(without_section.size() <= text.size());
    if (!SameName(section, other_section)) {
        Check(FindValue(without_section, other_section, other_key) == other_before);
    }

    // Colour texts: every colour has a text that reads back, and every accepted text too.
    quillora::Color color{color_value};
    Check(quillora::ColorFromText(quillora::ColorToText(color)) == color);
    if (std::optional<quillora::Color> parsed = quillora::ColorFromText(value)) {
        Check(quillora::ColorFromText(quillora::ColorToText(*parsed)) == *parsed);
    }
    if (std::optional<quillora::Color> slot = quillora::CustomColorFromText(value)) {
        Check(quillora::CustomColorFromText(quillora::CustomColorToText(*slot)) == *slot);
    }
    return 0;
}
