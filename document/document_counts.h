#pragma once

#include <cstdint>
#include <string>

namespace quillora {

// What the properties of a document count: its notes, its folders and the characters of all
// its texts (each line with its CR LF). A node whose kind is 0 is a folder; any other kind
// counts as a note.
struct DocumentCounts {
    int notes = 0;
    int folders = 0;
    int64_t text_bytes = 0;

    int Total() const { return notes + folders; }
    void Add(int32_t kind, int32_t text_length) {
        if (kind == 0) {
            ++folders;
        } else {
            ++notes;
        }
        if (text_length > 0) text_bytes += text_length;
    }
};

// `value` in decimal with a comma between each group of three digits from the right
// ("1,234,567"), whatever the locale.
std::string WithThousandsCommas(int64_t value);

}  // namespace quillora
