#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_io.h"

namespace quillora::favorites {

// The favorites file: a 276-byte header (magic "QLFavorites" and a zero, version 1, the record
// count, the root title) followed by 516-byte records (level, file name, title). Integers are
// 32-bit little-endian; texts are zero-ended UTF-8 in fields of 256 bytes.
inline constexpr char kFileName[] = "Quillora.fav";
inline constexpr std::size_t kTextFieldSize = 256;
inline constexpr std::size_t kHeaderSize = 12 + 4 + 4 + kTextFieldSize;          // 276
inline constexpr std::size_t kRecordSize = 4 + kTextFieldSize + kTextFieldSize;  // 516
inline constexpr int32_t kVersion = 1;
inline constexpr int kMaxLevel = 99;
inline constexpr std::size_t kMaxRecords = 4000;
inline constexpr std::size_t kMaxPathBytes = kTextFieldSize - 1;

inline constexpr char kSeparatorLiteral[] = "[-- Separator --]";
inline constexpr char kPlaceholderLiteral[] = "[Empty]";

// The two marker titles: a record is a separator or a placeholder when its title equals the
// text of the language pack in use or the English literal.
struct Markers {
    std::string separator = kSeparatorLiteral;
    std::string placeholder = kPlaceholderLiteral;

    bool IsSeparator(std::string_view title) const {
        return title == separator || title == kSeparatorLiteral;
    }
    bool IsPlaceholder(std::string_view title) const {
        return title == placeholder || title == kPlaceholderLiteral;
    }
};

struct FavoriteRecord {
    int32_t level = 0;
    std::string file_name;
    std::string title;
    bool operator==(const FavoriteRecord&) const = default;
};

// `folder` followed by the file's name.
std::string FavoritesFilePath(const std::string& folder);

std::string EncodeHeader(std::string_view root_title, int32_t count);
std::string EncodeRecord(const FavoriteRecord& record);
// The bytes of a whole file.
std::string EncodeFavorites(std::string_view root_title,
                            const std::vector<FavoriteRecord>& records);
// The content of a new file: the root title and one placeholder record, 792 bytes.
std::string DefaultFavorites(std::string_view root_title, std::string_view placeholder);

enum class FavoritesStatus {
    Ok,
    Missing,       // there is no file
    CannotOpen,    // it exists but cannot be read
    CannotCreate,  // it was missing and could not be created
    BadFormat,     // the magic or the version is wrong, or the header is cut short
};

struct FavoritesContent {
    FavoritesStatus status = FavoritesStatus::Missing;
    std::string root_title;
    // In file order, with the levels made sound: records deeper than kMaxLevel or negative are
    // left out, and a record that skips a level becomes a child of the record before it.
    std::vector<FavoriteRecord> records;
};

// Reads the bytes of a favorites file: at most `max_records` records, and never more than the
// bytes hold whatever the count says.
FavoritesContent ParseFavorites(std::string_view bytes, std::size_t max_records = kMaxRecords);

// The file at `path` as the menu reads it; a missing file is first created with the default
// content (the root title and placeholder given).
FavoritesContent OpenFavoritesForMenu(const std::string& path, std::string_view default_root,
                                      std::string_view placeholder, const WriteFaults& faults = {});

// The file as the editor reads it; Missing leaves the editor its default tree.
FavoritesContent ReadFavoritesForEditor(const std::string& path);

// Replaces the file with the editor's tree, as one step: a failure keeps the old file.
ReplaceStatus WriteFavoritesFromEditor(const std::string& path, std::string_view root_title,
                                       const std::vector<FavoriteRecord>& records,
                                       const WriteFaults& faults = {});

enum class AppendStatus {
    Appended,
    ReplacedPlaceholder,
    CannotOpen,   // the file is missing or cannot be read
    BadFormat,    // wrong magic or version: the file is left alone
    PathTooLong,  // the path does not fit the record's field
    WriteFailed,  // the file could not be replaced; it is as it was
};

struct AppendResult {
    AppendStatus status = AppendStatus::CannotOpen;
    std::string title;  // the title the new record got
    bool ok() const {
        return status == AppendStatus::Appended || status == AppendStatus::ReplacedPlaceholder;
    }
};

// The title a favourite of `path` gets: its file's name, cut to 60 characters and "..." when it
// has more than 63.
std::string TitleForPath(std::string_view path);

// Adds `path` at the top level of the file: in place of the only record when that is a
// placeholder, else after the last record.
AppendResult AppendFavorite(const std::string& file, const std::string& path,
                            const Markers& markers, const WriteFaults& faults = {});

}  // namespace quillora::favorites
