#include "document/text_store.h"

#include <cstring>

namespace quillora {

namespace line_text {

bool IsCanonical(std::string_view text) {
    const char* p = text.data();
    const char* end = p + text.size();
    // Every CR must be followed by LF, every LF preceded by CR, and the text must end with CR LF.
    while (p < end) {
        const void* hit = std::memchr(p, '\n', static_cast<size_t>(end - p));
        const char* lf = hit ? static_cast<const char*>(hit) : end;
        // A CR inside the line (not just before its LF) is a lone CR.
        const char* line_end = (lf < end && lf > p && lf[-1] == '\r') ? lf - 1 : lf;
        if (lf < end && line_end == lf) return false;  // LF without CR
        if (std::memchr(p, '\r', static_cast<size_t>(line_end - p)) != nullptr) return false;
        if (lf == end) return p == end;  // text left over without a final CR LF
        p = lf + 1;
    }
    return true;
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
}

void TextStore::ReleaseAll() {
    for (int slot = 0; slot < kCapacity; ++slot) ReleaseTextSlot(slot);
}

bool TextStore::IsOccupied(int slot) const { return InRange(slot) && occupied_[slot]; }

const std::string& TextStore::TextOf(int slot) const {
    return IsOccupied(slot) ? texts_[slot] : kEmpty;
}

int32_t TextStore::TextLength(int slot) const { return static_cast<int32_t>(TextOf(slot).size()); }

void TextStore::SetText(int slot, std::string_view text) {
    if (!IsOccupied(slot)) return;
    if (line_text::IsCanonical(text)) {
        texts_[slot].assign(text);
    } else {
        texts_[slot] = line_text::Canonical(text);
    }
}

void TextStore::SetCanonicalText(int slot, std::string&& text) {
    if (!IsOccupied(slot)) return;
    texts_[slot] = std::move(text);
}

}  // namespace quillora
