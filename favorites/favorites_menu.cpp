#include "favorites/favorites_menu.h"

#include <array>

namespace quillora::favorites {

namespace {

// The code point that starts at `at` and how many bytes it takes; a stray byte is one character.
std::pair<char32_t, std::size_t> DecodeAt(std::string_view s, std::size_t at) {
    const auto lead = static_cast<unsigned char>(s[at]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (lead < 0x80 || lead < 0xC0 || at + length > s.size()) return {lead, 1};
    char32_t c = lead & (0x3F >> (length - 1));
    for (std::size_t i = 1; i < length; ++i) {
        c = (c << 6) | (static_cast<unsigned char>(s[at + i]) & 0x3F);
    }
    return {c, length};
}

// Upper case for the Latin letters; other characters stay as they are.
char32_t Upper(char32_t c) {
    if (c >= 'a' && c <= 'z') return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
    return c;
}

MenuEntry::Kind KindOf(const std::string& title, const Markers& markers) {
    if (markers.IsSeparator(title)) return MenuEntry::Kind::Separator;
    if (markers.IsPlaceholder(title)) return MenuEntry::Kind::Placeholder;
    return MenuEntry::Kind::Favorite;
}

}  // namespace

std::vector<MenuEntry> MenuEntries(const std::vector<FavoriteRecord>& records,
                                   const Markers& markers) {
    std::vector<MenuEntry> top;
    // The item list that receives the entries of each level; a level's list lives in the last
    // entry of the level above, which is not moved while its children are added.
    std::array<std::vector<MenuEntry>*, kMaxLevel + 2> lists{};
    lists[0] = &top;
    for (const FavoriteRecord& record : records) {
        // The parser keeps levels from 0 to kMaxLevel, each at most one below the last.
        std::vector<MenuEntry>* list = lists[static_cast<std::size_t>(record.level)];
        if (list == nullptr) continue;
        if (record.level > 0) {
            MenuEntry& parent = lists[static_cast<std::size_t>(record.level) - 1]->back();
            if (parent.kind == MenuEntry::Kind::Favorite) parent.kind = MenuEntry::Kind::Folder;
        }
        MenuEntry entry{KindOf(record.title, markers), record.title, {}, {}};
        if (entry.kind == MenuEntry::Kind::Favorite) entry.path = record.file_name;
        list->push_back(std::move(entry));
        lists[static_cast<std::size_t>(record.level) + 1] = &list->back().entries;
    }
    return top;
}

std::string CaptionWithAccessKey(std::string_view title, std::u32string_view taken) {
    std::string caption;
    bool chosen = false;
    for (std::size_t at = 0; at < title.size();) {
        const auto [c, length] = DecodeAt(title, at);
        const bool last = at + length >= title.size();
        if (!chosen && !last && c != '&' && taken.find(Upper(c)) == std::u32string_view::npos) {
            caption += '&';
            chosen = true;
        }
        caption.append(title.substr(at, length));
        if (c == '&') caption += '&';
        at += length;
    }
    return caption;
}

char32_t AccessKeyOf(std::string_view caption) {
    for (std::size_t at = 0; at + 1 < caption.size(); ++at) {
        if (caption[at] != '&') continue;
        if (caption[at + 1] == '&') {
            ++at;
            continue;
        }
        return Upper(DecodeAt(caption, at + 1).first);
    }
    return 0;
}

}  // namespace quillora::favorites
