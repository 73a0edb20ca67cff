#include "exchange/import_file.h"

#include <algorithm>
#include <optional>

#include "base/cp1252.h"
#include "document/note_tree.h"
#include "document/text_store.h"
#include "exchange/rtf_text.h"

namespace quillora {

namespace {

std::string_view FileNamePart(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// The position of the name's last "." when it marks an extension: not the first character.
std::size_t ExtensionDot(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos || dot == 0 ? std::string_view::npos : dot;
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// UTF-16 in the given byte order after its byte order mark; an odd last byte is dropped.
std::string FromUtf16(std::string_view bytes, bool big_endian) {
    std::string out;
    out.reserve(bytes.size() / 2);
    const auto unit = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char32_t>(big_endian ? (a << 8) | b : (b << 8) | a);
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t next = unit(i + 2);
            if (next >= 0xDC00 && next <= 0xDFFF) i += 2;  // the pair is one character
            out += '?';
        } else {
            out += cp1252::FromCodePoint(u);
        }
    }
    return out;
}

// How many of `bytes` are UTF-8 when all of them are, or only a sequence cut short at their
// end (at most three bytes) is not and they are just the start of a longer file; none
// otherwise.
std::optional<std::size_t> Utf8Length(std::string_view bytes, bool truncated) {
    if (cp1252::IsValidUtf8(bytes)) return bytes.size();
    if (!truncated) return std::nullopt;
    for (std::size_t cut = 1; cut <= 3 && cut <= bytes.size(); ++cut) {
        if (cp1252::IsValidUtf8(bytes.substr(0, bytes.size() - cut))) return bytes.size() - cut;
    }
    return std::nullopt;
}

}  // namespace

bool HasRtfExtension(std::string_view path) {
    const std::string_view name = FileNamePart(path);
    const std::size_t dot = ExtensionDot(name);
    if (dot == std::string_view::npos) return false;
    const std::string_view extension = name.substr(dot + 1);
    return extension.size() == 3 && Lower(extension[0]) == 'r' && Lower(extension[1]) == 't' &&
           Lower(extension[2]) == 'f';
}

std::string ImportTitle(std::string_view path) {
    std::string_view name = FileNamePart(path);
    const std::size_t dot = ExtensionDot(name);
    if (dot != std::string_view::npos) name = name.substr(0, dot);
    // File names are UTF-8 here; one that is not is taken byte by byte as Windows-1252.
    const std::string title =
        cp1252::IsValidUtf8(name) ? cp1252::FromUtf8(name) : std::string(name);
    return CutTitle(title);
}

std::string DecodePlainText(std::string_view bytes, bool truncated) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return cp1252::FromUtf8(bytes.substr(3));
    if (bytes.substr(0, 2) == "\xFF\xFE") return FromUtf16(bytes.substr(2), false);
    if (bytes.substr(0, 2) == "\xFE\xFF") return FromUtf16(bytes.substr(2), true);
    if (const auto length = Utf8Length(bytes, truncated)) {
        return cp1252::FromUtf8(bytes.substr(0, *length));
    }
    return std::string(bytes);
}

std::string ImportedNoteText(std::string_view text) {
    std::string note = line_text::Canonical(text);
    if (note.size() > kMaxImportLength) {
        note.resize(kMaxImportLength);
        // A cut between CR and LF would leave a lone CR, which is a line break of its own.
        if (note.back() == '\r') note.pop_back();
        line_text::MakeCanonical(note);
    }
    return note;
}

std::string NoteTextOfBytes(std::string_view bytes, bool as_rtf, bool truncated) {
    if (as_rtf && StartsAsRtf(bytes)) return ImportedNoteText(RtfToText(bytes, kMaxImportLength));
    return ImportedNoteText(DecodePlainText(bytes, truncated));
}

ImportedFile ReadImportFile(const std::string& path) {
    const bool as_rtf = HasRtfExtension(path);
    bool truncated = false;
    FileContents file =
        ReadFileStart(path, as_rtf ? kMaxRtfImportBytes : kMaxPlainImportBytes, &truncated);
    if (!file.ok()) return {file.status, {}};
    return {FileReadStatus::Ok, NoteTextOfBytes(file.bytes, as_rtf, truncated)};
}

}  // namespace quillora
