#include "board/conversion_averager.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace korvane {
namespace {

std::vector<std::optional<std::int32_t>> Feed(ConversionAverager averager,
                                              const std::vector<std::int32_t>& codes) {
  std::vector<std::optional<std::int32_t>> results;
  for (const auto code : codes) results.push_back(averager.Add(code));
  return results;
}

using Results = std::vector<std::optional<std::int32_t>>;
constexpr auto kNone = std::nullopt;

TEST(ConversionAverager, SinglePassesAveragingBlocksFilteringSlides) {
  EXPECT_EQ(Feed({StreamKind::kSingle, 16}, {5, -8388608, 8388607}),
            (Results{5, -8388608, 8388607}));

  EXPECT_EQ(Feed({StreamKind::kAveraging, 4}, {1, 2, 3, 5, 10, 10, 10, 11, 7}),
            (Results{kNone, kNone, kNone, 3, kNone, kNone, kNone, 10, kNone}));
  EXPECT_EQ(Feed({StreamKind::kAveraging, 2}, {-1, -2, -8388608, -8388608}),
            (Results{kNone, -2, kNone, -8388608}))
      << "signed means, halves away from zero, full scale stays full scale";
  EXPECT_EQ(Feed({StreamKind::kAveraging, 2}, {16777215, 16777215, 0, 1}),
            (Results{kNone, 16777215, kNone, 1}));

  EXPECT_EQ(Feed({StreamKind::kFiltering, 3}, {3, 6, 9, 12, 0, 0, 0}),
            (Results{3, 5, 6, 9, 7, 4, 0}));

  EXPECT_EQ(Feed({StreamKind::kAveraging, 0}, {4, 9}), (Results{4, 9})) << "N 0 counts as 1";
  EXPECT_EQ(Feed({StreamKind::kFiltering, 0}, {4, 9}), (Results{4, 9}));
}

}  // namespace
}  // namespace korvane
