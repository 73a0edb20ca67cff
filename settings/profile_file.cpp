#include "settings/profile_file.h"

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "base/file_io.h"
#include "base/folder_lock.h"

namespace quillora {
namespace profile_text {
namespace {

constexpr std::string_view kCrLf = "\r\n";

bool IsBlank(char c) {
    return c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == ' ' || c == '\x1a';
}

std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    return s;
}

std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view Trim(std::string_view s) {
    return TrimRight(TrimLeft(s));
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

enum class LineKind { kBlank, kSection, kKey };

// One physical line: [begin, break_begin) is its content, [break_begin, end) its line break.
struct Line {
    std::size_t begin = 0;
    std::size_t break_begin = 0;
    std::size_t end = 0;
    LineKind kind = LineKind::kBlank;
    std::string_view name;   // section or key name, trimmed
    std::string_view value;  // key value, trimmed; meaningful only when has_value
    bool has_value = false;
};

Line ClassifyLine(std::string_view content) {
    Line line;
    std::string_view trimmed = Trim(content);
    if (trimmed.empty()) return line;
    if (trimmed.front() == '[') {
        std::size_t close = trimmed.rfind(']');
        if (close != std::string_view::npos) {
            line.kind = LineKind::kSection;
            line.name = Trim(trimmed.substr(1, close - 1));
            return line;
        }
    }
    line.kind = LineKind::kKey;
    std::size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos) {
        line.name = trimmed;
    } else {
        line.name = TrimRight(trimmed.substr(0, equals));
        line.value = TrimLeft(trimmed.substr(equals + 1));
        line.has_value = true;
    }
    return line;
}

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t brk = pos;
        while (brk < text.size() && !IsLineBreak(text[brk])) ++brk;
        std::size_t end = brk;
        if (end < text.size()) {
            end += (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1;
        }
        Line line = ClassifyLine(text.substr(pos, brk - pos));
        line.begin = pos;
        line.break_begin = brk;
        line.end = end;
        lines.push_back(line);
        pos = end;
    }
    return lines;
}

// Lines [header + 1, end) belong to the section whose header is lines[header].
struct SectionRange {
    std::size_t header = 0;
    std::size_t end = 0;
};

std::size_t SectionEnd(const std::vector<Line>& lines, std::size_t header) {
    std::size_t i = header + 1;
    while (i < lines.size() && lines[i].kind != LineKind::kSection) ++i;
    return i;
}

std::optional<SectionRange> FindSection(const std::vector<Line>& lines, std::string_view name) {
    if (name.empty()) return std::nullopt;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind == LineKind::kSection && SameName(lines[i].name, name)) {
            return SectionRange{i, SectionEnd(lines, i)};
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<Line>& lines, const SectionRange& range,
                                   std::string_view key) {
    if (key.empty()) return std::nullopt;
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        if (lines[i].kind == LineKind::kKey && SameName(lines[i].name, key)) return i;
    }
    return std::nullopt;
}

std::string_view StripQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

bool HasUnsafeByte(std::string_view s) {
    for (char c : s) {
        if (c == '\r' || c == '\n' || c == '\0') return true;
    }
    return false;
}

bool EndsOpenLine(std::string_view text) {
    return !text.empty() && !IsLineBreak(text.back());
}

// Copies `text` leaving out the lines for which `drop` is true.
std::string CopyWithout(std::string_view text, const std::vector<Line>& lines,
                        const std::vector<bool>& drop) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!drop[i]) out.append(text.substr(lines[i].begin, lines[i].end - lines[i].begin));
    }
    return out;
}

}  // namespace

std::optional<std::string> FindValue(std::string_view text, std::string_view section,
                                     std::string_view key) {
    std::vector<Line> lines = SplitLines(text);
    std::optional<SectionRange> range = FindSection(lines, Trim(section));
    if (!range) return std::nullopt;
    std::optional<std::size_t> at = FindKey(lines, *range, Trim(key));
    if (!at || !lines[*at].has_value) return std::nullopt;
    return std::string(StripQuotes(lines[*at].value));
}

std::string ReadString(std::string_view text, std::string_view section, std::string_view key,
                       std::string_view default_value) {
    std::optional<std::string> value = FindValue(text, section, key);
    if (value) return std::move(*value);
    return std::string(TrimRight(default_value));
}

int ReadInt(std::string_view text, std::string_view section, std::string_view key,
            int default_value) {
    std::optional<std::string> value = FindValue(text, section, key);
    if (!value || value->empty()) return default_value;
    return ParseInt(*value);
}

int ParseInt(std::string_view value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) {
        negative = value[i] == '-';
        ++i;
    }
    uint32_t base = 10;
    if (i + 1 < value.size() && value[i] == '0' && (value[i + 1] == 'x' || value[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    uint32_t result = 0;
    for (; i < value.size(); ++i) {
        char c = value[i];
        uint32_t digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<uint32_t>(c - '0');
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = static_cast<uint32_t>(c - 'a' + 10);
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = static_cast<uint32_t>(c - 'A' + 10);
        } else {
            break;
        }
        result = result * base + digit;  // unsigned: wraps modulo 2^32
    }
    if (negative) result = 0u - result;
    return static_cast<int32_t>(result);
}

bool IsWritable(std::string_view section, std::string_view key, std::string_view value) {
    std::string_view trimmed_section = Trim(section);
    std::string_view trimmed_key = Trim(key);
    if (trimmed_section.empty() || trimmed_key.empty()) return false;
    if (HasUnsafeByte(section) || HasUnsafeByte(key) || HasUnsafeByte(value)) return false;
    if (trimmed_key.find('=') != std::string_view::npos || trimmed_key.front() == '[') {
        return false;
    }
    return true;
}

std::optional<std::string> WithValue(std::string_view text, std::string_view section,
                                     std::string_view key, std::string_view value) {
    if (!IsWritable(section, key, value)) return std::nullopt;
    section = Trim(section);
    key = Trim(key);
    value = TrimLeft(value);

    std::vector<Line> lines = SplitLines(text);
    std::optional<SectionRange> range = FindSection(lines, section);
    std::string out;
    out.reserve(text.size() + section.size() + key.size() + value.size() + 8);

    if (!range) {
        out.append(text);
        if (EndsOpenLine(text)) out.append(kCrLf);
        out.append("[").append(section).append("]").append(kCrLf);
        out.append(key).append("=").append(value).append(kCrLf);
        return out;
    }

    if (std::optional<std::size_t> at = FindKey(lines, *range, key)) {
        const Line& line = lines[*at];
        out.append(text.substr(0, line.begin));
        out.append(line.name).append("=").append(value);
        out.append(text.substr(line.break_begin));
        return out;
    }

    std::size_t last = range->header;
    for (std::size_t i = range->header + 1; i < range->end; ++i) {
        if (lines[i].kind != LineKind::kBlank) last = i;
    }
    const Line& after = lines[last];
    out.append(text.substr(0, after.end));
    if (after.break_begin == after.end) out.append(kCrLf);
    out.append(key).append("=").append(value).append(kCrLf);
    out.append(text.substr(after.end));
    return out;
}

std::string WithoutKey(std::string_view text, std::string_view section, std::string_view key) {
    std::vector<Line> lines = SplitLines(text);
    std::optional<SectionRange> range = FindSection(lines, Trim(section));
    key = Trim(key);
    if (!range || key.empty()) return std::string(text);
    std::vector<bool> drop(lines.size(), false);
    for (std::size_t i = range->header + 1; i < range->end; ++i) {
        drop[i] = lines[i].kind == LineKind::kKey && SameName(lines[i].name, key);
    }
    return CopyWithout(text, lines, drop);
}

std::string WithoutSection(std::string_view text, std::string_view section) {
    std::vector<Line> lines = SplitLines(text);
    section = Trim(section);
    if (section.empty()) return std::string(text);
    std::vector<bool> drop(lines.size(), false);
    bool dropping = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind == LineKind::kSection) dropping = SameName(lines[i].name, section);
        drop[i] = dropping;
    }
    return CopyWithout(text, lines, drop);
}

}  // namespace profile_text

namespace {

// A settings file holds a few dozen short lines; a file far larger is none to load whole.
constexpr std::uint64_t kMaxSettingsFileBytes = std::uint64_t{4} << 20;

enum class LoadStatus { kRead, kMissing, kFailed };

LoadStatus LoadFile(const std::string& path, std::string& text) {
    FileContents contents = ReadRegularFile(path, kMaxSettingsFileBytes);
    text = std::move(contents.bytes);
    if (contents.ok()) return LoadStatus::kRead;
    return contents.status == FileReadStatus::NotFound ? LoadStatus::kMissing : LoadStatus::kFailed;
}

// Loads the file, lets `change` compute the new text and writes it when it differs, all under
// the lock that every copy of the program takes for its writes.
bool UpdateFile(const std::string& path,
                const std::function<std::optional<std::string>(std::string_view)>& change) {
    const FolderLock lock(FolderOf(path));
    std::string text;
    LoadStatus status = LoadFile(path, text);
    if (status == LoadStatus::kFailed) return false;
    std::optional<std::string> updated = change(text);
    if (!updated) return false;
    if (*updated == text) return true;
    return ReplaceFile(path, *updated) == ReplaceStatus::Ok;
}

std::string ReadFileText(const std::string& path) {
    std::string text;
    LoadFile(path, text);
    return text;
}

}  // namespace

std::string ProfileBatch::ReadString(std::string_view section, std::string_view key,
                                     std::string_view default_value) const {
    return profile_text::ReadString(text_, section, key, default_value);
}

int ProfileBatch::ReadInt(std::string_view section, std::string_view key, int default_value) const {
    return profile_text::ReadInt(text_, section, key, default_value);
}

bool ProfileBatch::WriteString(std::string_view section, std::string_view key,
                               std::string_view value) {
    std::optional<std::string> updated = profile_text::WithValue(text_, section, key, value);
    if (!updated) {
        all_made_ = false;
        return false;
    }
    text_ = std::move(*updated);
    return true;
}

bool ProfileBatch::DeleteKey(std::string_view section, std::string_view key) {
    text_ = profile_text::WithoutKey(text_, section, key);
    return true;
}

bool ProfileBatch::EraseSection(std::string_view section) {
    text_ = profile_text::WithoutSection(text_, section);
    return true;
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view default_value) const {
    return profile_text::ReadString(ReadFileText(path_), section, key, default_value);
}

int ProfileFile::ReadInt(std::string_view section, std::string_view key, int default_value) const {
    return profile_text::ReadInt(ReadFileText(path_), section, key, default_value);
}

bool ProfileFile::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
    return UpdateFile(path_, [&](std::string_view text) {
        return profile_text::WithValue(text, section, key, value);
    });
}

bool ProfileFile::DeleteKey(std::string_view section, std::string_view key) {
    return UpdateFile(path_, [&](std::string_view text) -> std::optional<std::string> {
        return profile_text::WithoutKey(text, section, key);
    });
}

bool ProfileFile::EraseSection(std::string_view section) {
    return UpdateFile(path_, [&](std::string_view text) -> std::optional<std::string> {
        return profile_text::WithoutSection(text, section);
    });
}

bool ProfileFile::WriteAll(const std::function<void(ProfileBatch&)>& changes) {
    bool all_made = true;
    const bool written =
        UpdateFile(path_, [&](std::string_view text) -> std::optional<std::string> {
            ProfileBatch batch{std::string(text)};
            changes(batch);
            all_made = batch.AllMade();
            return batch.Text();
        });
    return written && all_made;
}

}  // namespace quillora
