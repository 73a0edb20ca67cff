#include "favorites/favorites_file.h"

#include <algorithm>
#include <cstring>

#include "favorites/favorite_text.h"

namespace quillora::favorites {

namespace {

constexpr char kMagic[12] = {'Q', 'L', 'F', 'a', 'v', 'o', 'r', 'i', 't', 'e', 's', '\0'};
constexpr std::size_t kCountOffset = 16;
constexpr std::size_t kRootOffset = 20;
// Readers take at most the header and kMaxRecords records; Add keeps every byte of a longer file.
constexpr std::uint64_t kMaxReadBytes = kHeaderSize + kRecordSize * kMaxRecords;
constexpr std::uint64_t kMaxAppendBytes = std::uint64_t{1} << 28;

void PutInt(std::string& out, int32_t value) {
    const auto u = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((u >> shift) & 0xFF);
}

int32_t GetInt(std::string_view bytes, std::size_t at) {
    uint32_t u = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        u |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    }
    return static_cast<int32_t>(u);
}

void PutText(std::string& out, std::string_view text) {
    const std::string_view fitted =
        FitBytes(text.substr(0, std::min(text.find('\0'), text.size())), kTextFieldSize - 1);
    out += fitted;
    out.append(kTextFieldSize - fitted.size(), '\0');
}

// A field ends at its first zero byte, or at its end when it has none.
std::string GetText(std::string_view bytes, std::size_t at) {
    std::string_view field = bytes.substr(at, kTextFieldSize);
    field = field.substr(0, std::min(field.find('\0'), field.size()));
    return FieldToUtf8(field);
}

bool HeaderIsValid(std::string_view bytes) {
    return bytes.size() >= kHeaderSize && std::memcmp(bytes.data(), kMagic, sizeof kMagic) == 0 &&
           GetInt(bytes, 12) == kVersion;
}

// How many whole records the bytes hold, no more than the header's count.
std::size_t RecordsHeld(std::string_view bytes) {
    const int32_t count = GetInt(bytes, kCountOffset);
    if (count <= 0) return 0;
    return std::min(static_cast<std::size_t>(count), (bytes.size() - kHeaderSize) / kRecordSize);
}

FavoritesStatus StatusOf(FileReadStatus status) {
    return status == FileReadStatus::NotFound ? FavoritesStatus::Missing
                                              : FavoritesStatus::CannotOpen;
}

}  // namespace

std::string FavoritesFilePath(const std::string& folder) {
    if (folder.empty() || folder.back() == '/') return folder + kFileName;
    return folder + '/' + kFileName;
}

std::string EncodeHeader(std::string_view root_title, int32_t count) {
    std::string out(kMagic, sizeof kMagic);
    PutInt(out, kVersion);
    PutInt(out, count);
    PutText(out, root_title);
    return out;
}

std::string EncodeRecord(const FavoriteRecord& record) {
    std::string out;
    out.reserve(kRecordSize);
    PutInt(out, record.level);
    PutText(out, record.file_name);
    PutText(out, record.title);
    return out;
}

std::string EncodeFavorites(std::string_view root_title,
                            const std::vector<FavoriteRecord>& records) {
    std::string out = EncodeHeader(root_title, static_cast<int32_t>(records.size()));
    out.reserve(kHeaderSize + kRecordSize * records.size());
    for (const FavoriteRecord& record : records) out += EncodeRecord(record);
    return out;
}

std::string DefaultFavorites(std::string_view root_title, std::string_view placeholder) {
    return EncodeFavorites(root_title, {FavoriteRecord{0, "", std::string(placeholder)}});
}

FavoritesContent ParseFavorites(std::string_view bytes, std::size_t max_records) {
    FavoritesContent content;
    if (!HeaderIsValid(bytes)) {
        content.status = FavoritesStatus::BadFormat;
        return content;
    }
    content.status = FavoritesStatus::Ok;
    content.root_title = GetText(bytes, kRootOffset);
    const std::size_t count = std::min(RecordsHeld(bytes), max_records);
    content.records.reserve(count);
    int open_level = -1;  // the level of the last record kept; -1: the root
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kHeaderSize + i * kRecordSize;
        const int32_t level = GetInt(bytes, at);
        if (level < 0 || level > kMaxLevel) continue;
        open_level = std::min(level, open_level + 1);
        content.records.push_back(FavoriteRecord{open_level, GetText(bytes, at + 4),
                                                 GetText(bytes, at + 4 + kTextFieldSize)});
    }
    return content;
}

FavoritesContent OpenFavoritesForMenu(const std::string& path, std::string_view default_root,
                                      std::string_view placeholder, const WriteFaults& faults) {
    const FileContents file = ReadFileStart(path, kMaxReadBytes);
    if (file.ok()) return ParseFavorites(file.bytes);
    if (file.status != FileReadStatus::NotFound) return {FavoritesStatus::CannotOpen, {}, {}};
    const std::string fresh = DefaultFavorites(default_root, placeholder);
    if (ReplaceFile(path, fresh, faults) != ReplaceStatus::Ok) {
        return {FavoritesStatus::CannotCreate, {}, {}};
    }
    return ParseFavorites(fresh);
}

FavoritesContent ReadFavoritesForEditor(const std::string& path) {
    const FileContents file = ReadFileStart(path, kMaxReadBytes);
    if (!file.ok()) return {StatusOf(file.status), {}, {}};
    return ParseFavorites(file.bytes);
}

ReplaceStatus WriteFavoritesFromEditor(const std::string& path, std::string_view root_title,
                                       const std::vector<FavoriteRecord>& records,
                                       const WriteFaults& faults) {
    return ReplaceFile(path, EncodeFavorites(root_title, records), faults);
}

std::string TitleForPath(std::string_view path) {
    std::string name = FileNamePart(path);
    if (CharCount(name) <= 63) return name;
    return FirstChars(name, 60) + "...";
}

AppendResult AppendFavorite(const std::string& file, const std::string& path,
                            const Markers& markers, const WriteFaults& faults) {
    if (path.size() > kMaxPathBytes) return {AppendStatus::PathTooLong, {}};
    const FileContents old = ReadRegularFile(file, kMaxAppendBytes);
    if (!old.ok()) return {AppendStatus::CannotOpen, {}};
    if (!HeaderIsValid(old.bytes)) return {AppendStatus::BadFormat, {}};
    std::size_t kept = RecordsHeld(old.bytes);
    const bool replace =
        kept == 1 && markers.IsPlaceholder(GetText(old.bytes, kHeaderSize + 4 + kTextFieldSize));
    if (replace) kept = 0;
    AppendResult result{replace ? AppendStatus::ReplacedPlaceholder : AppendStatus::Appended,
                        TitleForPath(path)};
    // The new file is the old header with the new count, the records kept and the new one;
    // bytes past the counted records meant nothing and are not carried over.
    std::string bytes = EncodeHeader("", static_cast<int32_t>(kept + 1));
    bytes.replace(kRootOffset, kTextFieldSize, old.bytes, kRootOffset, kTextFieldSize);
    bytes.append(old.bytes, kHeaderSize, kept * kRecordSize);
    bytes += EncodeRecord(FavoriteRecord{0, path, result.title});
    if (ReplaceFile(file, bytes, faults) != ReplaceStatus::Ok)
        return {AppendStatus::WriteFailed, {}};
    return result;
}

}  // namespace quillora::favorites
