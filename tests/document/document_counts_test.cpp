#include "document/document_counts.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace quillora {
namespace {

TEST(WithThousandsCommas, GroupsThreeDigitsFromTheRight) {
    const struct {
        int64_t value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {999, "999"},
        {1000, "1,000"},
        {9, "9"},
        {123456, "123,456"},
        {1234567, "1,234,567"},
        {-1234, "-1,234"},
        {std::numeric_limits<int64_t>::min(), "-9,223,372,036,854,775,808"},
    };
    for (const auto& c : cases) EXPECT_EQ(WithThousandsCommas(c.value), c.text) << c.value;
}

TEST(DocumentCounts, OnlyKindZeroIsAFolder) {
    DocumentCounts counts;
    for (int32_t kind : {0, 1, 0, 7, -1}) counts.Add(kind, 4);
    EXPECT_EQ(counts.folders, 2);
    EXPECT_EQ(counts.notes, 3);
    EXPECT_EQ(counts.Total(), 5);
    EXPECT_EQ(counts.text_bytes, 20);
}

}  // namespace
}  // namespace quillora
