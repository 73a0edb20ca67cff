#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillora {

// Language identifiers as Windows numbers them.
constexpr uint16_t kLanguageNeutral = 0x0000;
constexpr uint16_t kLanguageUsEnglish = 0x0409;

// The string-table resources of a Windows module file (PE32 or PE32+), read straight from the
// file's bytes the way a module loaded as a data file is read. Every offset, count and length
// taken from the file is checked against the file before use, so any input is safe to parse.
class PeStringTable {
public:
    // None when the bytes are not a PE image with a resource directory.
    static std::optional<PeStringTable> Parse(std::vector<uint8_t> image);
    static std::optional<PeStringTable> Parse(std::string_view bytes);

    // The string with this identifier, in the language chosen for its block: language-neutral
    // first, then `user_language`, then US English, else the lowest language present. Empty when
    // the string is missing, empty, or its block is damaged.
    std::u16string Lookup(uint16_t id, uint16_t user_language) const;

    // The block numbers that have a string table, ascending (block N holds ids 16(N-1)..16N-1).
    std::vector<uint16_t> BlockNumbers() const;

private:
    struct Span {
        std::size_t offset = 0;
        std::size_t size = 0;
    };

    explicit PeStringTable(std::vector<uint8_t> image) : image_(std::move(image)) {}

    bool ReadHeaders();
    void IndexStringBlocks();
    std::optional<Span> ChooseBlockData(uint32_t language_directory, uint16_t user_language) const;
    std::optional<Span> DataEntrySpan(uint32_t data_entry) const;
    std::optional<std::size_t> RvaToOffset(uint32_t rva) const;

    bool Has(std::size_t offset, std::size_t length) const {
        return offset <= image_.size() && length <= image_.size() - offset;
    }
    uint16_t U16(std::size_t offset) const;
    uint32_t U32(std::size_t offset) const;

    struct Section {
        uint32_t virtual_address = 0;
        uint32_t extent = 0;  // the larger of the virtual size and the raw size
        uint32_t raw_offset = 0;
    };

    std::vector<uint8_t> image_;
    std::vector<Section> sections_;
    std::size_t resource_root_ = 0;
    // Block number -> its language directory, as an offset from the resource root.
    std::map<uint16_t, uint32_t> blocks_;
};

}  // namespace quillora
