#include "favorites/favorite_text.h"

#include <algorithm>

#include "base/cp1252.h"

namespace quillora::favorites {

namespace {

bool StartsCharacter(unsigned char byte) {
    return (byte & 0xC0) != 0x80;
}

}  // namespace

std::string FieldToUtf8(std::string_view field) {
    const bool ascii = std::all_of(field.begin(), field.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii || cp1252::IsValidUtf8(field)) return std::string(field);
    return cp1252::ToUtf8(field);
}

std::size_t CharCount(std::string_view utf8) {
    std::size_t count = 0;
    for (const char byte : utf8) count += StartsCharacter(static_cast<unsigned char>(byte)) ? 1 : 0;
    return count;
}

std::string FirstChars(std::string_view utf8, std::size_t count) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (StartsCharacter(static_cast<unsigned char>(utf8[i])) && seen++ == count) {
            return std::string(utf8.substr(0, i));
        }
    }
    return std::string(utf8);
}

std::string_view FitBytes(std::string_view utf8, std::size_t max_bytes) {
    if (utf8.size() <= max_bytes) return utf8;
    std::size_t end = max_bytes;
    while (end > 0 && !StartsCharacter(static_cast<unsigned char>(utf8[end]))) --end;
    return utf8.substr(0, end);
}

std::string FileNamePart(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace quillora::favorites
