#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "favorites/favorites_file.h"

namespace quillora::favorites {

// One item of the Favorites menu as the file describes it.
struct MenuEntry {
    enum class Kind { Favorite, Folder, Separator, Placeholder };
    Kind kind = Kind::Favorite;
    std::string title;
    std::string path;                // a favourite's notes file
    std::vector<MenuEntry> entries;  // a folder's items
};

// The items of the records, nested as their levels say.
std::vector<MenuEntry> MenuEntries(const std::vector<FavoriteRecord>& records,
                                   const Markers& markers);

// The menu's caption: `title` with "&" doubled and an access key "&" before its first character
// (never the last one) whose upper-case form is not among `taken` (upper-case letters of the
// other menus' access keys). Without such a character the caption has no access key.
std::string CaptionWithAccessKey(std::string_view title, std::u32string_view taken);

// The access key of a caption: the upper-case form of the character after its first lone "&";
// 0 when it has none.
char32_t AccessKeyOf(std::string_view caption);

}  // namespace quillora::favorites
