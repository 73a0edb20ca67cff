#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quillora {

// Initialisation-file rules applied to a text held in memory: sections in brackets, each followed
// by "key=value" lines. Every function accepts any bytes and never reads outside `text`.
//
// Parsing: a line ends at CR, LF or CR LF; lines are trimmed of tab, LF, VT, FF, CR, space and
// 0x1A, and blank lines are skipped. "[name]" opens a section whose name runs to the last ']'.
// A key line splits at its first '='; a line without '=' is a key without a value. ';' has no
// meaning. Names match without regard to (ASCII) case, and the first section of a name and the
// first key in it win. Lines before the first section header belong to no reachable section.
//
// Writing keeps every byte of the lines it does not touch (blank lines, comments, line breaks).
namespace profile_text {

// The value of `key`, trimmed and with one pair of enclosing quotes (" or ') removed; none when
// the section or the key is missing or the key line has no '='. "k=" gives an empty value.
std::optional<std::string> FindValue(std::string_view text, std::string_view section,
                                     std::string_view key);

// FindValue, or `default_value` without its trailing blanks.
std::string ReadString(std::string_view text, std::string_view section, std::string_view key,
                       std::string_view default_value);

// The value read as an integer (see ParseInt); `default_value` when the key is missing or its
// value is empty.
int ReadInt(std::string_view text, std::string_view section, std::string_view key,
            int default_value);

// Reads a leading integer: optional sign, then decimal digits or "0x" and hexadecimal digits,
// stopping at the first other character; no digits give 0. Wraps modulo 2^32.
int ParseInt(std::string_view value);

// Whether the names and value can be written without changing the meaning of other lines:
// names not empty after trimming, no CR, LF or NUL anywhere, no '=' in a key and no key
// starting with '['.
bool IsWritable(std::string_view section, std::string_view key, std::string_view value);

// The text with `key` set to `value` (leading blanks dropped). An existing key line becomes
// "key=value" with the key spelled as it was; a new key goes after the last non-blank line of the
// section; a new section goes at the end of the text. New lines end with CR LF. None when
// IsWritable fails.
std::optional<std::string> WithValue(std::string_view text, std::string_view section,
                                     std::string_view key, std::string_view value);

// The text without the lines of `key` in the first section of that name.
std::string WithoutKey(std::string_view text, std::string_view section, std::string_view key);

// The text without every section of that name: header lines and all lines up to the next header.
std::string WithoutSection(std::string_view text, std::string_view section);

}  // namespace profile_text

// Where settings are written: a settings file key by key, or a batch of changes to its text.
class ProfileWriter {
public:
    virtual bool WriteString(std::string_view section, std::string_view key,
                             std::string_view value) = 0;
    virtual bool DeleteKey(std::string_view section, std::string_view key) = 0;
    virtual bool EraseSection(std::string_view section) = 0;

protected:
    ProfileWriter() = default;
    ProfileWriter(const ProfileWriter&) = default;
    ProfileWriter& operator=(const ProfileWriter&) = default;
    ~ProfileWriter() = default;
};

// Changes to a settings file's text made in memory, to be written as one (ProfileFile::WriteAll).
// Reads see the changes made so far.
class ProfileBatch final : public ProfileWriter {
public:
    explicit ProfileBatch(std::string text) : text_(std::move(text)) {}

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view default_value) const;
    int ReadInt(std::string_view section, std::string_view key, int default_value) const;

    // False, with the text unchanged, when the names or the value cannot be written.
    bool WriteString(std::string_view section, std::string_view key,
                     std::string_view value) override;
    bool DeleteKey(std::string_view section, std::string_view key) override;
    bool EraseSection(std::string_view section) override;

    const std::string& Text() const { return text_; }
    // Whether every change asked for was made.
    bool AllMade() const { return all_made_; }

private:
    std::string text_;
    bool all_made_ = true;
};

// A settings file on disk with the initialisation-file rules of profile_text. Nothing is cached:
// every read goes to the file and every write changes the file at once. A missing file reads as
// empty; the first write creates it. Only a regular file of at most a few megabytes is read; any
// other reads as empty and is never written over. A write replaces the file as one step
// (ReplaceFile), so the file on disk is always whole, and clears away the temporary files that
// writes cut short left beside it.
//
// Copies of the program running side by side share the file: each write reads the file, changes
// it and replaces it while holding a lock on the file's folder that all copies take, so no copy
// writes over a key another copy has just written.
class ProfileFile final : public ProfileWriter {
public:
    explicit ProfileFile(std::string path) : path_(std::move(path)) {}

    const std::string& Path() const { return path_; }

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view default_value) const;
    int ReadInt(std::string_view section, std::string_view key, int default_value) const;

    // Each returns false when the change could not be made (unwritable names or value, a file
    // that exists but cannot be read, a folder that cannot be written); the file is then as it
    // was. A change that leaves the text as it is returns true without writing.
    bool WriteString(std::string_view section, std::string_view key,
                     std::string_view value) override;
    bool DeleteKey(std::string_view section, std::string_view key) override;
    bool EraseSection(std::string_view section) override;

    // Many changes as one write: the file is read once, `changes` make theirs to its text, and
    // the file is replaced once (not at all when nothing changed). False when the file could not
    // be read or written (it is then as it was) or when a change was refused (the others are
    // written).
    bool WriteAll(const std::function<void(ProfileBatch&)>& changes);

private:
    std::string path_;
};

}  // namespace quillora
