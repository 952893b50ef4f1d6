#include "acquisition/reading_presenter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "form/form.h"
#include "support/fakes.h"

namespace korvane {
namespace {

using testing::FakeChart;

constexpr std::int32_t kAverage = ReadingPresenter::AVERAGE_INDEX;
constexpr int kContinuous = 2;
constexpr int kVolts = 0, kDec = 1, kHex = 2;

class ReadingPresenterTest : public ::testing::Test {
 protected:
  ReadingPresenterTest() {
    form.VoltsPerCode = 5.0 / 16777215.0;  // bipolar, 2.5 V reference
    form.AverNumb = 50;
    form.cboSampling.SetListIndex(kContinuous);
    graph.SetPointCount(51);
  }

  void Mode(int index) { form.optDataShow[static_cast<std::size_t>(index)].SetValue(true); }
  const std::string& Shown() const { return form.txtDisplay.Caption(); }
  /// Shows `raw` as reading `index` and returns what the display shows then.
  std::string Show(std::int32_t raw, std::int32_t index) {
    presenter.ShowReading(raw, index);
    return Shown();
  }

  Form form;
  FakeChart graph;
  ReadingPresenter presenter{form, graph};
};

TEST_F(ReadingPresenterTest, WorkedExampleInEveryMode) {
  struct Row {
    std::int32_t raw, stored;
    const char *volts, *dec, *hex;
    float y_volts, y_dec, y_hex;
  };
  const Row rows[] = {
      {0x000001, 1, "+0.00000030", "1", "1", 0.0000003f, 0.001f, 0.3f},
      {0xFFFFFF, -1, "-0.00000030", "-1", "FFFFFF", -0.0000003f, -0.001f, -0.3f},
      {0x123456, 1193046, "+0.35555544", "1193046", "123456", 0.35555544f, 1193.046f, 355555.44f},
      {0xC00000, -4194304, "-1.25000007", "-4194304", "C00000", -1.25000007f, -4194.304f,
       -1250000.07f},
      {0x7FFFFF, 8388607, "+OVERLOAD", "8388607", "7FFFFF", 2.49999985f, 8388.607f, 2499999.85f},
      {0x800000, -8388608, "-OVERLOAD", "-8388608", "800000", -2.50000015f, -8388.608f,
       -2500000.15f},
  };
  form.DecTrack = 1;  // seeded, so that no decimal reading is dropped
  std::int32_t index = 0;
  for (const Row& row : rows) {
    const auto at = static_cast<std::size_t>(++index);
    const char* const texts[] = {row.volts, row.dec, row.hex};
    const float ys[] = {row.y_volts, row.y_dec, row.y_hex};
    for (const int mode : {kVolts, kDec, kHex}) {
      SCOPED_TRACE(::testing::Message() << row.hex << " in mode " << mode);
      Mode(mode);
      const double mean_before = form.MeanCode;
      presenter.ShowReading(row.raw, index);
      EXPECT_EQ(Shown(), texts[mode]);
      EXPECT_EQ(form.Samples[at], row.stored) << "stored signed, whatever the mode";
      EXPECT_EQ(graph.ys[at], ys[mode]);
      EXPECT_NEAR(form.MeanCode - mean_before, row.stored / 50.0, 1e-6);
    }
  }
}

TEST_F(ReadingPresenterTest, DecimalModeKeepsTheReadingThatSeedsTheTrackingValue) {
  Mode(kDec);
  form.Samples[1] = 42;                // left from an earlier block
  presenter.ShowReading(0xFFFF38, 1);  // -200 seeds the tracking value and still counts
  EXPECT_EQ(form.DecTrack, -200);
  EXPECT_EQ(Shown(), "-200");
  EXPECT_EQ(form.Samples[1], -200);
  EXPECT_EQ(graph.ys[1], -0.2f);
  EXPECT_DOUBLE_EQ(form.MeanCode, -4.0);

  presenter.ShowReading(0x000064, 2);  // 100
  EXPECT_EQ(form.DecTrack, -197);
  EXPECT_EQ(Shown(), "100");
  EXPECT_EQ(form.Samples[2], 100);
  EXPECT_DOUBLE_EQ(form.MeanCode, -2.0);

  // A block average is shown even when it finds no tracking value.
  form.DecTrack = 0;
  EXPECT_EQ(Show(12, kAverage), "12");
  EXPECT_EQ(form.DecTrack, 12);

  // The other modes leave the tracking value alone.
  form.DecTrack = 0;
  Mode(kVolts);
  presenter.ShowReading(0x000064, 2);
  Mode(kHex);
  presenter.ShowReading(0x000064, 3);
  EXPECT_EQ(form.DecTrack, 0);
}

TEST_F(ReadingPresenterTest, NothingIsWrittenOutsideTheBlockBuffer) {
  form.Samples.fill(9);
  form.DecTrack = 5;  // lies right behind the buffer in the form
  presenter.ShowReading(0x000064, 0);
  EXPECT_EQ(form.Samples[0], 0);  // the guard stores a code of 0 at index 0
  EXPECT_EQ(form.MeanCode, 0.0);
  presenter.ShowReading(0x000064, -7);
  EXPECT_EQ(form.Samples[0], 0);

  presenter.ShowReading(0x000064, 5000);
  EXPECT_EQ(form.Samples[5000], 100);
  const double mean = form.MeanCode;
  for (const std::int32_t index : {5001, 70000, std::numeric_limits<std::int32_t>::max()}) {
    EXPECT_EQ(Show(0x000065, index), "+0.00003010");
  }
  EXPECT_EQ(form.MeanCode, mean);
  EXPECT_EQ(form.DecTrack, 5);
  for (std::size_t i = 1; i < 5000; ++i) ASSERT_EQ(form.Samples[i], 9) << i;
}

}  // namespace
}  // namespace korvane
