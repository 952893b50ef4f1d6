#include "app/full_scale_range.h"

#include <gtest/gtest.h>

#include "common/number_text.h"

namespace korvane {
namespace {

TEST(FullScaleRange, ReferencePolarityAndGain) {
  EXPECT_EQ(FullScaleRangeVolts(false, false, true, 0), 0.0) << "external reference";
  EXPECT_EQ(FullScaleRangeVolts(false, false, false, 7), 0.0);
  EXPECT_EQ(FullScaleRangeVolts(true, false, true, 0), 5.0);
  EXPECT_EQ(FullScaleRangeVolts(true, false, false, 0), 2.5);
  EXPECT_EQ(FullScaleRangeVolts(false, true, true, 1), 1.25);
  EXPECT_EQ(FullScaleRangeVolts(false, true, false, 7), 0.009765625);
  EXPECT_EQ(GeneralText(FullScaleRangeVolts(false, true, false, 7)), "0.009765625");
  EXPECT_EQ(FullScaleRangeVolts(true, false, true, 3), 0.625);
}

}  // namespace
}  // namespace korvane
