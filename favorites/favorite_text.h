#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillora::favorites {

// Texts of the favorites file are UTF-8. A field written by a program that used Windows-1252
// instead is turned into the same characters in UTF-8, so it shows what it says.
std::string FieldToUtf8(std::string_view field);

// How many characters a UTF-8 text holds (bytes that start no character are not counted).
std::size_t CharCount(std::string_view utf8);
// The first `count` characters of a UTF-8 text.
std::string FirstChars(std::string_view utf8, std::size_t count);
// The longest start of a UTF-8 text that fits in `max_bytes` bytes without cutting a character.
std::string_view FitBytes(std::string_view utf8, std::size_t max_bytes);

// What follows the last "/" of a path: the file's name with its extension.
std::string FileNamePart(std::string_view path);

}  // namespace quillora::favorites
