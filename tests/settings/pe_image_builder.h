#pragma once

// Builds small Windows module images (PE32 or PE32+) whose only content is a resource section
// with string-table blocks, and records where each structure landed so that tests can damage it.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "settings/pe_string_table.h"

namespace quillora::testing {

// The bytes of one string-table block: 16 entries, each a 16-bit length and that many UTF-16
// units. Entries past the end of `strings` are empty.
inline std::vector<uint8_t> StringBlockBytes(const std::vector<std::u16string>& strings) {
    std::vector<uint8_t> bytes;
    for (std::size_t i = 0; i < 16; ++i) {
        const std::u16string text = i < strings.size() ? strings[i] : std::u16string();
        bytes.push_back(static_cast<uint8_t>(text.size() & 0xFF));
        bytes.push_back(static_cast<uint8_t>(text.size() >> 8));
        for (char16_t unit : text) {
            bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
            bytes.push_back(static_cast<uint8_t>(unit >> 8));
        }
    }
    return bytes;
}

// A block whose entry `id & 15` is `text`, the others empty.
inline std::vector<uint8_t> BlockWith(uint16_t id, const std::u16string& text) {
    std::vector<std::u16string> strings(16);
    strings[id & 15] = text;
    return StringBlockBytes(strings);
}

inline uint16_t BlockOf(uint16_t id) {
    return static_cast<uint16_t>((id >> 4) + 1);
}

struct ResourceBlock {
    uint16_t block;
    uint16_t language;
    std::vector<uint8_t> data;
};

struct PeImageOptions {
    bool pe32_plus = false;
    uint32_t resource_rva = 0x2000;
    // Section sizes of the resource section; by default the exact size and the aligned size.
    std::optional<uint32_t> virtual_size;
    std::optional<uint32_t> raw_size;
    // Adds a named entry before the ids at every level, each leading to a decoy block whose
    // strings all read "WRONG".
    bool named_entries = false;
};

struct PeImage {
    std::vector<uint8_t> bytes;
    std::size_t optional_header = 0;
    std::size_t section_count_field = 0;
    std::size_t resource_section_header = 0;
    std::size_t resource_root = 0;
    std::size_t string_type_directory = 0;
    std::map<uint16_t, std::size_t> language_directories;               // by block
    std::map<std::pair<uint16_t, uint16_t>, std::size_t> data_entries;  // by block, language
    std::map<std::pair<uint16_t, uint16_t>, std::size_t> block_data;    // by block, language

    // Offsets of fields, for damaging them.
    std::size_t DataDirectoryCountField(bool pe32_plus) const {
        return optional_header + (pe32_plus ? 108 : 92);
    }
    std::size_t ResourceDirectoryField(bool pe32_plus) const {
        return optional_header + (pe32_plus ? 112 : 96) + 16;
    }

    void Put16(std::size_t at, uint16_t value) {
        bytes[at] = static_cast<uint8_t>(value & 0xFF);
        bytes[at + 1] = static_cast<uint8_t>(value >> 8);
    }
    void Put32(std::size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
    uint32_t Get32(std::size_t at) const {
        return static_cast<uint32_t>(bytes[at]) | (static_cast<uint32_t>(bytes[at + 1]) << 8) |
               (static_cast<uint32_t>(bytes[at + 2]) << 16) |
               (static_cast<uint32_t>(bytes[at + 3]) << 24);
    }
    // Entry `index` (named ones first) of the directory at `directory`.
    static std::size_t Entry(std::size_t directory, std::size_t index) {
        return directory + 16 + 8 * index;
    }
    std::string AsString() const { return std::string(bytes.begin(), bytes.end()); }
};

namespace detail {

class Blob {
public:
    std::size_t Size() const { return bytes_.size(); }
    std::size_t Zeros(std::size_t count) {
        const std::size_t at = bytes_.size();
        bytes_.resize(at + count, 0);
        return at;
    }
    void Align(std::size_t alignment) {
        while (bytes_.size() % alignment != 0) bytes_.push_back(0);
    }
    std::size_t Append(const std::vector<uint8_t>& data) {
        const std::size_t at = bytes_.size();
        bytes_.insert(bytes_.end(), data.begin(), data.end());
        return at;
    }
    void Put16(std::size_t at, uint16_t value) {
        bytes_[at] = static_cast<uint8_t>(value & 0xFF);
        bytes_[at + 1] = static_cast<uint8_t>(value >> 8);
    }
    void Put32(std::size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes_[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
    std::size_t Directory(uint16_t named, uint16_t ids) {
        const std::size_t at = Zeros(16 + 8 * (named + ids));
        Put16(at + 12, named);
        Put16(at + 14, ids);
        return at;
    }
    void SetEntry(std::size_t directory, std::size_t index, uint32_t name, uint32_t data) {
        Put32(directory + 16 + 8 * index, name);
        Put32(directory + 16 + 8 * index + 4, data);
    }
    std::vector<uint8_t>& Bytes() { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

}  // namespace detail

// Blocks are sorted by number; the languages of a block keep the order in which they are given.
inline PeImage BuildPeImage(const std::vector<ResourceBlock>& blocks,
                            const PeImageOptions& options = {}) {
    constexpr uint32_t kHigh = 0x80000000u;
    constexpr uint32_t kResourceRaw = 0x400;
    const uint16_t named = options.named_entries ? 1 : 0;

    std::map<uint16_t, std::vector<const ResourceBlock*>> by_block;
    for (const ResourceBlock& block : blocks) by_block[block.block].push_back(&block);

    // The resource section, with offsets relative to its start (the resource root).
    detail::Blob r;
    PeImage image;
    const std::size_t root = r.Directory(named, 3);
    const std::size_t empty = r.Directory(0, 0);
    const std::size_t strings = r.Directory(named, static_cast<uint16_t>(by_block.size()));
    r.SetEntry(root, named + 0, 3, kHigh | static_cast<uint32_t>(empty));
    r.SetEntry(root, named + 1, 6, kHigh | static_cast<uint32_t>(strings));
    r.SetEntry(root, named + 2, 16, kHigh | static_cast<uint32_t>(empty));

    std::map<std::pair<uint16_t, uint16_t>, std::size_t> entries;
    std::size_t index = named;
    for (const auto& [number, languages] : by_block) {
        const std::size_t directory = r.Directory(named, static_cast<uint16_t>(languages.size()));
        image.language_directories[number] = directory;
        r.SetEntry(strings, index++, number, kHigh | static_cast<uint32_t>(directory));
        for (std::size_t i = 0; i < languages.size(); ++i) {
            const std::size_t entry = r.Zeros(16);
            entries[{number, languages[i]->language}] = entry;
            r.SetEntry(directory, named + i, languages[i]->language, static_cast<uint32_t>(entry));
        }
    }

    if (options.named_entries) {
        // Decoys reached only through named entries: a name string, a decoy data entry, a decoy
        // language directory and a decoy block directory holding every block number.
        std::vector<std::u16string> wrong(16, u"WRONG");
        const std::size_t name = r.Append({6, 0, 'S', 0, 'T', 0, 'R', 0, 'I', 0, 'N', 0, 'G', 0});
        r.Align(4);
        const std::size_t decoy_entry = r.Zeros(16);
        const std::size_t decoy_languages = r.Directory(0, 1);
        r.SetEntry(decoy_languages, 0, 0x0000, static_cast<uint32_t>(decoy_entry));
        const std::size_t decoy_blocks = r.Directory(0, static_cast<uint16_t>(by_block.size()));
        std::size_t k = 0;
        for (const auto& [number, languages] : by_block) {
            r.SetEntry(decoy_blocks, k++, number, kHigh | static_cast<uint32_t>(decoy_languages));
            r.SetEntry(image.language_directories[number], 0, kHigh | static_cast<uint32_t>(name),
                       static_cast<uint32_t>(decoy_entry));
        }
        r.SetEntry(root, 0, kHigh | static_cast<uint32_t>(name),
                   kHigh | static_cast<uint32_t>(decoy_blocks));
        r.SetEntry(strings, 0, kHigh | static_cast<uint32_t>(name),
                   kHigh | static_cast<uint32_t>(decoy_languages));
        r.Align(4);
        const std::size_t data = r.Append(StringBlockBytes(wrong));
        r.Put32(decoy_entry, options.resource_rva + static_cast<uint32_t>(data));
        r.Put32(decoy_entry + 4, static_cast<uint32_t>(StringBlockBytes(wrong).size()));
    }

    for (const ResourceBlock& block : blocks) {
        const auto key = std::make_pair(block.block, block.language);
        r.Align(4);
        const std::size_t data = r.Append(block.data);
        image.block_data[key] = kResourceRaw + data;
        r.Put32(entries[key], options.resource_rva + static_cast<uint32_t>(data));
        r.Put32(entries[key] + 4, static_cast<uint32_t>(block.data.size()));
        r.Put32(entries[key] + 8, 1200);
    }
    const auto resource_size = static_cast<uint32_t>(r.Size());
    r.Align(0x200);

    // Headers: DOS stub, signature, file header, optional header, a code section and the
    // resource section.
    const std::size_t optional_size = options.pe32_plus ? 240 : 224;
    std::vector<uint8_t>& out = image.bytes;
    out.assign(kResourceRaw, 0);
    auto put16 = [&](std::size_t at, uint16_t v) {
        out[at] = static_cast<uint8_t>(v & 0xFF);
        out[at + 1] = static_cast<uint8_t>(v >> 8);
    };
    auto put32 = [&](std::size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    out[0] = 'M';
    out[1] = 'Z';
    put32(0x3C, 0x40);
    out[0x40] = 'P';
    out[0x41] = 'E';
    const std::size_t coff = 0x44;
    put16(coff, options.pe32_plus ? 0x8664 : 0x014C);
    put16(coff + 2, 2);
    image.section_count_field = coff + 2;
    put16(coff + 16, static_cast<uint16_t>(optional_size));
    put16(coff + 18, 0x2102);
    const std::size_t optional = coff + 20;
    image.optional_header = optional;
    put16(optional, options.pe32_plus ? 0x20B : 0x10B);
    const std::size_t directories = optional + (options.pe32_plus ? 112 : 96);
    put32(directories - 4, 16);
    put32(directories + 16, options.resource_rva);
    put32(directories + 20, resource_size);

    const std::size_t sections = optional + optional_size;
    auto section = [&](std::size_t at, const char* name, uint32_t virtual_size, uint32_t rva,
                       uint32_t raw_size, uint32_t raw_offset) {
        for (int i = 0; name[i] != '\0'; ++i) out[at + i] = static_cast<uint8_t>(name[i]);
        put32(at + 8, virtual_size);
        put32(at + 12, rva);
        put32(at + 16, raw_size);
        put32(at + 20, raw_offset);
    };
    section(sections, ".text", 0x10, 0x1000, 0x200, 0x200);
    image.resource_section_header = sections + 40;
    section(sections + 40, ".rsrc", options.virtual_size.value_or(resource_size),
            options.resource_rva, options.raw_size.value_or(static_cast<uint32_t>(r.Size())),
            kResourceRaw);

    out.insert(out.end(), r.Bytes().begin(), r.Bytes().end());
    image.resource_root = kResourceRaw + root;
    image.string_type_directory = kResourceRaw + strings;
    for (auto& [number, directory] : image.language_directories) directory += kResourceRaw;
    for (const auto& [key, entry] : entries) image.data_entries[key] = kResourceRaw + entry;
    return image;
}

// The bytes of a language pack whose blocks hold the given strings, all in one language.
inline std::string PackBytes(const std::map<uint16_t, std::u16string>& strings,
                             uint16_t language = kLanguageUsEnglish) {
    std::map<uint16_t, std::vector<std::u16string>> blocks;
    for (const auto& [id, text] : strings) {
        auto& block = blocks[BlockOf(id)];
        block.resize(16);
        block[id & 15] = text;
    }
    std::vector<ResourceBlock> resources;
    resources.reserve(blocks.size());
    for (const auto& [number, texts] : blocks) {
        resources.push_back({number, language, StringBlockBytes(texts)});
    }
    return BuildPeImage(resources).AsString();
}

}  // namespace quillora::testing
