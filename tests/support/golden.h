#pragma once
// Comparison of produced text with a golden file in tests/golden. Set the
// environment variable CQ_UPDATE_GOLDEN=1 to (re)write the golden files instead.
#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace cq::test {

// Succeeds when `actual` equals the golden file byte for byte; otherwise the
// failure message holds a diff of the first differing lines.
::testing::AssertionResult matchesGolden(std::string_view goldenName, std::string_view actual);

}  // namespace cq::test
