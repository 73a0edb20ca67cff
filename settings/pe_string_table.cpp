#include "settings/pe_string_table.h"

#include <algorithm>
#include <utility>

namespace quillora {

namespace {

constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint16_t kPe32PlusMagic = 0x20B;
constexpr uint32_t kResourceDirectoryIndex = 2;
constexpr uint16_t kStringTableType = 6;  // RT_STRING
constexpr uint32_t kHighBit = 0x80000000u;
constexpr std::size_t kDirectoryHeaderSize = 16;
constexpr std::size_t kDirectoryEntrySize = 8;
constexpr std::size_t kDataEntrySize = 16;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kStringsPerBlock = 16;

}  // namespace

std::optional<PeStringTable> PeStringTable::Parse(std::vector<uint8_t> image) {
    PeStringTable table(std::move(image));
    if (!table.ReadHeaders()) return std::nullopt;
    table.IndexStringBlocks();
    return table;
}

std::optional<PeStringTable> PeStringTable::Parse(std::string_view bytes) {
    return Parse(std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

uint16_t PeStringTable::U16(std::size_t offset) const {
    return static_cast<uint16_t>(image_[offset] | (image_[offset + 1] << 8));
}

uint32_t PeStringTable::U32(std::size_t offset) const {
    return static_cast<uint32_t>(image_[offset]) |
           (static_cast<uint32_t>(image_[offset + 1]) << 8) |
           (static_cast<uint32_t>(image_[offset + 2]) << 16) |
           (static_cast<uint32_t>(image_[offset + 3]) << 24);
}

bool PeStringTable::ReadHeaders() {
    if (!Has(0, 0x40) || image_[0] != 'M' || image_[1] != 'Z') return false;

    const std::size_t signature = U32(0x3C);
    if (!Has(signature, 4 + 20)) return false;
    if (image_[signature] != 'P' || image_[signature + 1] != 'E' || image_[signature + 2] != 0 ||
        image_[signature + 3] != 0) {
        return false;
    }
    const std::size_t coff = signature + 4;
    const std::size_t section_count = U16(coff + 2);
    const std::size_t optional_size = U16(coff + 16);
    const std::size_t optional = coff + 20;

    if (optional_size < 2 || !Has(optional, 2)) return false;
    std::size_t directories = 0;
    switch (U16(optional)) {
        case kPe32Magic:
            directories = 96;
            break;
        case kPe32PlusMagic:
            directories = 112;
            break;
        default:
            return false;
    }
    // The directory count sits just before the directories; the resource entry is the third.
    const std::size_t resource_entry = directories + kResourceDirectoryIndex * 8;
    if (optional_size < resource_entry + 8 || !Has(optional, resource_entry + 8)) return false;
    if (U32(optional + directories - 4) <= kResourceDirectoryIndex) return false;
    const uint32_t resource_rva = U32(optional + resource_entry);
    if (resource_rva == 0) return false;

    const std::size_t section_table = optional + optional_size;
    if (!Has(section_table, section_count * kSectionHeaderSize)) return false;
    sections_.reserve(section_count);
    for (std::size_t i = 0; i < section_count; ++i) {
        const std::size_t header = section_table + i * kSectionHeaderSize;
        Section section;
        section.virtual_address = U32(header + 12);
        section.extent = std::max(U32(header + 8), U32(header + 16));
        section.raw_offset = U32(header + 20);
        sections_.push_back(section);
    }

    const auto root = RvaToOffset(resource_rva);
    if (!root || !Has(*root, kDirectoryHeaderSize)) return false;
    resource_root_ = *root;
    return true;
}

std::optional<std::size_t> PeStringTable::RvaToOffset(uint32_t rva) const {
    for (const Section& section : sections_) {
        if (rva >= section.virtual_address && rva - section.virtual_address < section.extent) {
            // Both terms are below 2^32, so the sum cannot wrap a 64-bit offset.
            const uint64_t offset = static_cast<uint64_t>(rva - section.virtual_address) +
                                    static_cast<uint64_t>(section.raw_offset);
            if (offset >= image_.size()) return std::nullopt;
            return static_cast<std::size_t>(offset);
        }
    }
    return std::nullopt;
}

// The directory levels are fixed (type, block, language), so a subdirectory that points back at
// an earlier node can never make the reader loop: each level is read exactly once.
void PeStringTable::IndexStringBlocks() {
    auto id_entries = [this](std::size_t directory, auto&& visit) {
        if (!Has(directory, kDirectoryHeaderSize)) return;
        const std::size_t named = U16(directory + 12);
        const std::size_t ids = U16(directory + 14);
        for (std::size_t i = named; i < named + ids; ++i) {
            const std::size_t entry = directory + kDirectoryHeaderSize + i * kDirectoryEntrySize;
            if (!Has(entry, kDirectoryEntrySize)) return;
            const uint32_t name = U32(entry);
            const uint32_t data = U32(entry + 4);
            // Ids only, each leading to a subdirectory.
            if ((name & kHighBit) != 0 || (data & kHighBit) == 0) continue;
            if (!visit(static_cast<uint16_t>(name & 0xFFFF), data & ~kHighBit)) return;
        }
    };

    std::optional<uint32_t> type_directory;
    id_entries(resource_root_, [&](uint16_t type, uint32_t directory) {
        if (type != kStringTableType) return true;
        type_directory = directory;
        return false;
    });
    if (!type_directory) return;
    id_entries(resource_root_ + *type_directory, [&](uint16_t block, uint32_t directory) {
        blocks_.emplace(block, directory);
        return true;
    });
}

std::optional<PeStringTable::Span> PeStringTable::ChooseBlockData(uint32_t language_directory,
                                                                  uint16_t user_language) const {
    const std::size_t directory = resource_root_ + language_directory;
    if (!Has(directory, kDirectoryHeaderSize)) return std::nullopt;
    const std::size_t named = U16(directory + 12);
    const std::size_t ids = U16(directory + 14);

    std::optional<uint32_t> neutral, user, us_english, lowest;
    uint16_t lowest_language = 0;
    for (std::size_t i = named; i < named + ids; ++i) {
        const std::size_t entry = directory + kDirectoryHeaderSize + i * kDirectoryEntrySize;
        if (!Has(entry, kDirectoryEntrySize)) break;
        const uint32_t name = U32(entry);
        const uint32_t data = U32(entry + 4);
        // A language entry must name a language and lead to a data entry, not a directory.
        if ((name & kHighBit) != 0 || (data & kHighBit) != 0) continue;
        const auto language = static_cast<uint16_t>(name & 0xFFFF);
        if (language == kLanguageNeutral && !neutral) neutral = data;
        if (language == user_language && !user) user = data;
        if (language == kLanguageUsEnglish && !us_english) us_english = data;
        if (!lowest || language < lowest_language) {
            lowest = data;
            lowest_language = language;
        }
    }
    for (const auto& choice : {neutral, user, us_english, lowest}) {
        if (choice) return DataEntrySpan(*choice);
    }
    return std::nullopt;
}

std::optional<PeStringTable::Span> PeStringTable::DataEntrySpan(uint32_t data_entry) const {
    const std::size_t entry = resource_root_ + data_entry;
    if (!Has(entry, kDataEntrySize)) return std::nullopt;
    const auto offset = RvaToOffset(U32(entry));
    if (!offset) return std::nullopt;
    // A block that claims to run past the end of the file keeps the part that is there.
    const std::size_t size = std::min<std::size_t>(U32(entry + 4), image_.size() - *offset);
    return Span{*offset, size};
}

std::u16string PeStringTable::Lookup(uint16_t id, uint16_t user_language) const {
    const auto block = blocks_.find(static_cast<uint16_t>((id >> 4) + 1));
    if (block == blocks_.end()) return {};
    const auto span = ChooseBlockData(block->second, user_language);
    if (!span) return {};

    const std::size_t end = span->offset + span->size;
    std::size_t position = span->offset;
    const std::size_t index = id & (kStringsPerBlock - 1);
    for (std::size_t i = 0;; ++i) {
        if (end - position < 2) return {};
        const std::size_t length = U16(position);
        position += 2;
        if (end - position < length * 2) return {};
        if (i == index) {
            std::u16string text(length, u'\0');
            for (std::size_t k = 0; k < length; ++k) text[k] = U16(position + 2 * k);
            return text;
        }
        position += length * 2;
    }
}

std::vector<uint16_t> PeStringTable::BlockNumbers() const {
    std::vector<uint16_t> numbers;
    numbers.reserve(blocks_.size());
    for (const auto& [number, directory] : blocks_) numbers.push_back(number);
    return numbers;
}

}  // namespace quillora
