#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillora {

// Line-break helpers for the canonical joined form of a line list: every line followed by CR LF,
// so a non-empty text always ends with CR LF and an empty list is the empty text.
namespace line_text {
// Splits at CR LF, a lone CR or a lone LF and joins the lines again, each followed by CR LF.
// A line break at the very end of the input makes no extra empty line.
std::string Canonical(std::string_view text);
// Rewrites `text` in place into the canonical form; cheap when it already is canonical.
void MakeCanonical(std::string& text);
bool IsCanonical(std::string_view text);
// The length of `text` as a pane counts it: every line break (CR LF, a lone CR or a lone LF) is
// two characters, the CR LF it is stored as.
std::size_t EditLength(std::string_view text);
}  // namespace line_text

// The most characters a pane holds, line breaks counted as two. Typing, pasting and replacing
// never make a text longer than this.
constexpr int32_t kMaxEditLength = 65497;

// The fixed-capacity store of node texts. Each occupied slot holds exactly one node's text, kept
// in the canonical joined form (see line_text), which behaves exactly like a list of lines.
class TextStore {
public:
    static constexpr int kCapacity = 4000;

    // Takes the lowest empty slot and gives it the empty text; none when every slot is taken.
    std::optional<int> AllocateTextSlot();
    // Empties the slot; an out-of-range or empty slot is left alone.
    void ReleaseTextSlot(int slot);
    // Occupies `slot` with `text` (canonicalised). Used by the reader, which numbers slots itself.
    void Occupy(int slot, std::string text);
    void ReleaseAll();

    bool IsOccupied(int slot) const;
    int OccupiedCount() const { return occupied_count_; }

    // The joined text of the slot (lines each ended by CR LF); empty for an empty slot.
    const std::string& TextOf(int slot) const;
    // Number of characters of TextOf, line breaks included.
    int32_t TextLength(int slot) const;
    // Sets the slot's lines from `text`, split at CR LF, CR and LF. The slot must be occupied.
    void SetText(int slot, std::string_view text);
    // Replaces the slot's text with one that is already canonical (no copy, no scan).
    void SetCanonicalText(int slot, std::string&& text);

    // A number that changes whenever the slot's text is set, occupied or released (and never
    // comes back), so that a copy of the text can tell whether it is still current.
    std::uint64_t ChangeStamp(int slot) const;

private:
    static bool InRange(int slot) { return slot >= 0 && slot < kCapacity; }
    void Touch(int slot) { stamps_[slot] = ++last_stamp_; }

    std::array<std::string, kCapacity> texts_{};
    std::array<bool, kCapacity> occupied_{};
    int occupied_count_ = 0;
    std::array<std::uint64_t, kCapacity> stamps_{};
    std::uint64_t last_stamp_ = 0;
};

}  // namespace quillora
