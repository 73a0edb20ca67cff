#include "document/document_counts.h"

namespace quillora {

std::string WithThousandsCommas(int64_t value) {
    // Digits of the magnitude, built from the right; unsigned so the most negative value works.
    uint64_t magnitude =
        value < 0 ? uint64_t{0} - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    std::string reversed;
    int digits = 0;
    do {
        if (digits > 0 && digits % 3 == 0) reversed += ',';
        reversed += static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
        ++digits;
    } while (magnitude != 0);
    if (value < 0) reversed += '-';
    return {reversed.rbegin(), reversed.rend()};
}

}  // namespace quillora
