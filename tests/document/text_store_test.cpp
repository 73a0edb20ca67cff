#include "document/text_store.h"

#include <gtest/gtest.h>

namespace quillora {
namespace {

TEST(LineText, SplitsAtEveryKindOfBreakAndRejoinsWithCrLf) {
    EXPECT_EQ(line_text::Canonical(""), "");
    EXPECT_EQ(line_text::Canonical("abc"), "abc\r\n");
    EXPECT_EQ(line_text::Canonical("abc\r\n"), "abc\r\n");
    EXPECT_EQ(line_text::Canonical("a\rb\nc\r\nd"), "a\r\nb\r\nc\r\nd\r\n");
    EXPECT_EQ(line_text::Canonical("\r\n"), "\r\n");        // one empty line
    EXPECT_EQ(line_text::Canonical("a\n\n"), "a\r\n\r\n");  // a, then an empty line
    EXPECT_EQ(line_text::Canonical("a\r"), "a\r\n");        // a trailing lone CR ends the line
    EXPECT_EQ(line_text::Canonical("\n\r"), "\r\n\r\n");    // LF then CR: two breaks
}

TEST(LineText, RecognisesCanonicalTextsOnly) {
    EXPECT_TRUE(line_text::IsCanonical(""));
    EXPECT_TRUE(line_text::IsCanonical("a\r\n\r\nb\r\n"));
    EXPECT_FALSE(line_text::IsCanonical("a"));
    EXPECT_FALSE(line_text::IsCanonical("a\n"));
    EXPECT_FALSE(line_text::IsCanonical("a\r"));
    EXPECT_FALSE(line_text::IsCanonical("a\rb\r\n"));
    EXPECT_FALSE(line_text::IsCanonical("a\r\r\n"));
    for (const char* s : {"", "x", "x\r", "\r\r\n\n", "a\nb", "\r\n\r", "q\r\nw"}) {
        EXPECT_TRUE(line_text::IsCanonical(line_text::Canonical(s))) << s;
    }
}

TEST(TextStore, AllocatesLowestFreeSlotAndReusesHoles) {
    TextStore store;
    EXPECT_EQ(store.AllocateTextSlot(), 0);
    EXPECT_EQ(store.AllocateTextSlot(), 1);
    EXPECT_EQ(store.AllocateTextSlot(), 2);
    store.ReleaseTextSlot(1);
    EXPECT_FALSE(store.IsOccupied(1));
    EXPECT_EQ(store.AllocateTextSlot(), 1);
    EXPECT_EQ(store.OccupiedCount(), 3);
}

TEST(TextStore, RefusesTheSlotAfterTheLastAndFreesExactlyOne) {
    TextStore store;
    for (int i = 0; i < TextStore::kCapacity; ++i) ASSERT_EQ(store.AllocateTextSlot(), i);
    EXPECT_EQ(store.AllocateTextSlot(), std::nullopt);
    EXPECT_EQ(store.OccupiedCount(), TextStore::kCapacity);
    store.ReleaseTextSlot(2718);
    EXPECT_EQ(store.AllocateTextSlot(), 2718);
    EXPECT_EQ(store.AllocateTextSlot(), std::nullopt);
}

TEST(TextStore, TextsBehaveAsLineLists) {
    TextStore store;
    const int slot = *store.AllocateTextSlot();
    EXPECT_EQ(store.TextOf(slot), "");
    EXPECT_EQ(store.TextLength(slot), 0);
    store.SetText(slot, "abc");
    EXPECT_EQ(store.TextOf(slot), "abc\r\n");
    EXPECT_EQ(store.TextLength(slot), 5);
    store.SetText(slot, "x\ny");
    EXPECT_EQ(store.TextOf(slot), "x\r\ny\r\n");
    store.ReleaseTextSlot(slot);
    EXPECT_EQ(store.TextOf(slot), "");
    store.SetText(slot, "ignored");  // an empty slot cannot be written
    EXPECT_FALSE(store.IsOccupied(slot));
}

TEST(TextStore, OutOfRangeSlotsAreHarmless) {
    TextStore store;
    store.ReleaseTextSlot(-1);
    store.ReleaseTextSlot(TextStore::kCapacity);
    store.Occupy(TextStore::kCapacity, "x");
    EXPECT_EQ(store.TextOf(-5), "");
    EXPECT_EQ(store.OccupiedCount(), 0);
}

}  // namespace
}  // namespace quillora
