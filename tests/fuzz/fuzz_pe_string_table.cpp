// Reads any bytes as a language pack: parsing, then every string of up to 64 of its blocks in
// two user languages, and the conversion each string gets before it is shown.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "settings/language_pack.h"
#include "settings/pe_string_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto table =
        quillora::PeStringTable::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!table) return 0;
    int blocks = 0;
    for (uint16_t block : table->BlockNumbers()) {
        if (block == 0 || ++blocks > 64) continue;
        for (uint32_t index = 0; index < 16; ++index) {
            const uint32_t id = (static_cast<uint32_t>(block - 1) << 4) | index;
            if (id > 0xFFFF) break;
            for (uint16_t language : {uint16_t{0x0407}, uint16_t{0x0409}}) {
                const std::u16string text = table->Lookup(static_cast<uint16_t>(id), language);
                const std::string shown = quillora::PackTextToUtf8(text);
                if (shown.size() > 3 * 249 || shown.find('\0') != std::string::npos) {
                    __builtin_trap();
                }
            }
        }
    }
    for (uint16_t id : {uint16_t{0}, uint16_t{1}, uint16_t{7757}, uint16_t{65535}}) {
        (void)table->Lookup(id, 0x0000);
    }
    return 0;
}
