#include "acquisition/reading_math.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace korvane {
namespace {

TEST(ReadingMath, MeterTextSignsOnlyNonZeroValues) {
  EXPECT_EQ(MeterText(0.0, 8), "0.00000000");
  EXPECT_EQ(MeterText(-0.0, 8), "0.00000000");
  EXPECT_EQ(MeterText(0.00000001, 8), "+0.00000001");
  EXPECT_EQ(MeterText(-0.00000001, 8), "-0.00000001");
  EXPECT_EQ(MeterText(2.5, 8), "+2.50000000");
  EXPECT_EQ(MeterText(-12.25, 8), "-12.25000000");
  EXPECT_EQ(MeterText(51.667, 3), "+51.667");
  EXPECT_EQ(MeterText(-15.0, 3), "-15.000");
  EXPECT_EQ(MeterText(0.0, 3), "0.000");
  EXPECT_EQ(MeterText(-281.667, 3), "-281.667");
}

TEST(ReadingMath, OverloadAtFullScaleOnly) {
  EXPECT_EQ(OverloadOf(8388607, true), Overload::kPositive);
  EXPECT_EQ(OverloadOf(8388606, true), Overload::kNone);
  EXPECT_EQ(OverloadOf(-8388608, true), Overload::kNegative);
  EXPECT_EQ(OverloadOf(-8388607, true), Overload::kNone);
  EXPECT_EQ(OverloadOf(0, true), Overload::kNone);
  EXPECT_EQ(OverloadOf(16777215, false), Overload::kPositive);
  EXPECT_EQ(OverloadOf(16777214, false), Overload::kNone);
  EXPECT_EQ(OverloadOf(1, false), Overload::kNone);
  EXPECT_EQ(OverloadOf(0, false), Overload::kNegative);
  EXPECT_EQ(OverloadOf(-3, false), Overload::kNegative);
}

}  // namespace
}  // namespace korvane
