// Reads arbitrary bytes as a favorites file. Besides memory errors it stops on a broken promise:
// at most the limit of records, each with a level from 0 to 99 at most one below the record
// before it, and the menu's items built from them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "favorites/favorites_file.h"
#include "favorites/favorites_menu.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quillora::favorites;
    const FavoritesContent content =
        ParseFavorites(std::string_view(reinterpret_cast<const char*>(data), size));
    if (content.records.size() > kMaxRecords) std::abort();
    int previous = -1;
    for (const FavoriteRecord& record : content.records) {
        if (record.level < 0 || record.level > kMaxLevel || record.level > previous + 1)
            std::abort();
        previous = record.level;
    }
    MenuEntries(content.records, Markers{});
    return 0;
}
