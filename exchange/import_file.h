#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/file_io.h"

namespace quillora {

// The most characters an imported note holds, line breaks counted as two (CR LF); a longer
// text is cut to its first kMaxImportLength characters.
constexpr std::size_t kMaxImportLength = 65498;

// How much of a file is read at most. A plain text file gives at least one character for every
// four bytes, so its first megabyte holds more than a note can; a rich-text document may spend
// far more on pictures and formatting before its text ends.
constexpr std::uint64_t kMaxPlainImportBytes = std::uint64_t{1} << 20;
constexpr std::uint64_t kMaxRtfImportBytes = std::uint64_t{64} << 20;

// Whether the file named by `path` is read as rich text: its name's extension (after the last
// ".", when that is not the name's first character) is "rtf" in any case. The folders on the
// way do not count.
bool HasRtfExtension(std::string_view path);

// The title of the note made from `path`: the file's name without its last extension (a name
// whose only "." is its first character keeps it), in Windows-1252, cut to 99 characters.
std::string ImportTitle(std::string_view path);

// Plain text as the note holds it, in Windows-1252: bytes that are valid UTF-8 (or begin with a
// UTF-8 or UTF-16 byte order mark) are decoded and converted, "?" standing for what the code
// page cannot hold; any other bytes are Windows-1252 already and stay as they are. `truncated`
// says that the bytes are only the start of a longer file, so a character cut short at their
// end does not make them invalid UTF-8.
std::string DecodePlainText(std::string_view bytes, bool truncated = false);

// `text` in the note's form: line breaks of any kind as CR LF, cut to kMaxImportLength
// characters (never between a CR and its LF), and every line ended by CR LF.
std::string ImportedNoteText(std::string_view text);

// The note text of a file's bytes: rich text when `as_rtf` and the bytes start as a rich-text
// document, plain text otherwise.
std::string NoteTextOfBytes(std::string_view bytes, bool as_rtf, bool truncated = false);

struct ImportedFile {
    FileReadStatus status = FileReadStatus::CannotOpen;
    std::string text;  // the note's text (see ImportedNoteText) when status is Ok
    bool ok() const { return status == FileReadStatus::Ok; }
};

// Reads the file to import and makes the note's text from it. Only a regular file is read
// (a folder, a pipe or a device is refused without waiting), and only as much of it as a note
// can use: a huge file costs no more than its first megabytes.
ImportedFile ReadImportFile(const std::string& path);

}  // namespace quillora
