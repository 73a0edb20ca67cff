#include "base/string_growth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace quillora {
namespace {

// Growing from empty, from inside the inline buffer and from a heap string, and shrinking: the
// string ends exactly `n` bytes long and keeps the bytes it had before.
TEST(StringGrowth, ResizeForOverwriteGivesExactlyTheAskedLength) {
    for (const std::string& start : {std::string(), std::string("abc"), std::string(40, 'x')}) {
        for (std::size_t n : {0u, 3u, 15u, 16u, 17u, 31u, 100u, 65498u}) {
            std::string text = start;
            ResizeForOverwrite(text, n);
            ASSERT_EQ(text.size(), n) << start.size() << " to " << n;
            const std::size_t kept = std::min(start.size(), n);
            EXPECT_EQ(text.substr(0, kept), start.substr(0, kept));
        }
    }
}

}  // namespace
}  // namespace quillora
