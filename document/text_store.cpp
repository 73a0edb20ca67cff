#include "document/text_store.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillora {

namespace line_text {

bool IsCanonical(std::string_view text) {
    // Canonical means: every CR is followed by LF, every LF is preceded by CR, and a non-empty
    // text ends with LF. Texts run to megabytes, so the check looks at 16 bytes at a time where
    // it can: the LF positions must be exactly the CR positions moved on by one.
    const char* p = text.data();
    const size_t n = text.size();
    size_t i = 0;
    bool after_cr = false;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const auto masks = [&](size_t at, uint64_t& crs, uint64_t& lfs) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
        crs = static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, cr)));
        lfs = static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, lf)));
    };
    uint64_t carry = 0;
    for (; i + 64 <= n; i += 64) {
        uint64_t crs = 0;
        uint64_t lfs = 0;
        for (int k = 0; k < 4; ++k) {
            uint64_t c, l;
            masks(i + 16 * k, c, l);
            crs |= c << (16 * k);
            lfs |= l << (16 * k);
        }
        if (lfs != ((crs << 1) | carry)) return false;
        carry = crs >> 63;
    }
    for (; i + 16 <= n; i += 16) {
        uint64_t crs, lfs;
        masks(i, crs, lfs);
        if (lfs != (((crs << 1) | carry) & 0xFFFFu)) return false;
        carry = crs >> 15;
    }
    after_cr = carry != 0;
#endif
    for (; i < n; ++i) {
        const bool is_lf = p[i] == '\n';
        if (is_lf != after_cr) return false;
        after_cr = p[i] == '\r';
    }
    return !after_cr && (n == 0 || p[n - 1] == '\n');
}

std::size_t EditLength(std::string_view text) {
    // A stored text is canonical and so its own length; the quick check spares it the walk.
    if (IsCanonical(text)) return text.size();
    std::size_t length = text.size();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            } else {
                ++length;
            }
        } else if (text[i] == '\n') {
            ++length;
        }
    }
    return length;
}

std::string Canonical(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        size_t j = i;
        while (j < n && text[j] != '\r' && text[j] != '\n') ++j;
        out.append(text.data() + i, j - i);
        out += "\r\n";
        if (j < n && text[j] == '\r' && j + 1 < n && text[j + 1] == '\n') {
            j += 2;
        } else if (j < n) {
            j += 1;
        }
        i = j;
    }
    return out;
}

void MakeCanonical(std::string& text) {
    if (!IsCanonical(text)) text = Canonical(text);
}

}  // namespace line_text

namespace {
const std::string kEmpty;
}

std::optional<int> TextStore::AllocateTextSlot() {
    if (occupied_count_ >= kCapacity) return std::nullopt;
    for (int slot = 0; slot < kCapacity; ++slot) {
        if (!occupied_[slot]) {
            occupied_[slot] = true;
            texts_[slot].clear();
            Touch(slot);
            ++occupied_count_;
            return slot;
        }
    }
    return std::nullopt;
}

void TextStore::ReleaseTextSlot(int slot) {
    if (!InRange(slot) || !occupied_[slot]) return;
    occupied_[slot] = false;
    std::string().swap(texts_[slot]);
    Touch(slot);
    --occupied_count_;
}

void TextStore::Occupy(int slot, std::string text) {
    if (!InRange(slot)) return;
    if (!occupied_[slot]) {
        occupied_[slot] = true;
        ++occupied_count_;
    }
    line_text::MakeCanonical(text);
    texts_[slot] = std::move(text);
    Touch(slot);
}

void TextStore::ReleaseAll() {
    for (int slot = 0; slot < kCapacity; ++slot) ReleaseTextSlot(slot);
}

bool TextStore::IsOccupied(int slot) const {
    return InRange(slot) && occupied_[slot];
}

const std::string& TextStore::TextOf(int slot) const {
    return IsOccupied(slot) ? texts_[slot] : kEmpty;
}

int32_t TextStore::TextLength(int slot) const {
    return static_cast<int32_t>(TextOf(slot).size());
}

void TextStore::SetText(int slot, std::string_view text) {
    if (!IsOccupied(slot)) return;
    if (line_text::IsCanonical(text)) {
        texts_[slot].assign(text);
    } else {
        texts_[slot] = line_text::Canonical(text);
    }
    Touch(slot);
}

void TextStore::SetCanonicalText(int slot, std::string&& text) {
    if (!IsOccupied(slot)) return;
    texts_[slot] = std::move(text);
    Touch(slot);
}

std::uint64_t TextStore::ChangeStamp(int slot) const {
    return InRange(slot) ? stamps_[slot] : 0;
}

}  // namespace quillora
