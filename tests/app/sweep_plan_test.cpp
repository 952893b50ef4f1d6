#include "app/sweep_plan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvane {
namespace {

using namespace sweep_rules;

std::string RatesAt28k8(const char* text, std::vector<int>& decimations) {
  std::vector<double> rates;
  const std::string refusal = ParseRates(text, rates);
  return refusal.empty() ? DecimationsForRates(rates, 28.8, decimations) : refusal;
}

// What the dialog's boxes and the command line's lists turn into, or the start of the reason
// they are refused.
TEST(SweepPlanRules, ListsBecomeGainsAndDecimationsOrAreRefused) {
  struct Case {
    const char* kind;  // "gains", "decimations", or "rates" at a 28.8 kHz modulator
    const char* text;
    std::vector<int> values;
    const char* refusal;
  };
  const Case cases[] = {
      {"gains", "1,2,...,128", {1, 2, 4, 8, 16, 32, 64, 128}, ""},
      {"gains", " 2 ,...,  16", {2, 4, 8, 16}, ""},
      {"gains", "1,3", {}, "gain \"3\" is not one the chip can do"},
      {"gains", "256", {}, "gain \"256\" is not"},
      {"gains", "...,8", {}, "\"...\" must stand between two gains"},
      {"gains", "8,...", {}, "\"...\" must stand between two gains"},
      {"gains", "8,...,2", {}, "\"...\" must lead to a larger gain"},
      {"decimations", "1920,1,2047", {1920, 1, 2047}, ""},
      {"decimations", "2048", {}, "decimation \"2048\" is not one the chip can do (1 .. 2047)"},
      {"decimations", "19.5", {}, "decimation \"19.5\""},
      {"rates", "15,50,60.000, 28800", {1920, 576, 480, 1}, ""},
      {"rates", "14.069", {2047}, ""},
      {"rates",
       "7000",
       {},
       "data rate 7000 Hz is not one the chip can do at a modulator rate "
       "of 28.8 kHz (nearest: 5760 Hz or 7200 Hz)"},
      {"rates",
       "14",
       {},
       "data rate 14 Hz is not one the chip can do at a modulator rate of "
       "28.8 kHz (nearest: 14.069 Hz)"},
      {"rates", "-5", {}, "data rate \"-5\" is not a number of Hz above 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.kind) + " " + c.text);
    std::vector<int> values;
    const std::string kind = c.kind;
    const std::string refusal = kind == "gains"         ? ParseGains(c.text, values)
                                : kind == "decimations" ? ParseDecimations(c.text, values)
                                                        : RatesAt28k8(c.text, values);
    EXPECT_EQ(refusal.substr(0, std::string(c.refusal).size()), c.refusal);
    EXPECT_EQ(refusal.empty(), std::string(c.refusal).empty());
    if (refusal.empty()) {
      EXPECT_EQ(values, c.values);
    }
  }
  EXPECT_EQ(CheckPlan({{1, 4}, {1920}, 1000}), "");
  EXPECT_EQ(CheckPlan({{1, 4, 1}, {1920}, 1000}), "a gain is given twice");
  EXPECT_EQ(CheckPlan({{1}, {1920}, 9}), "readings per cell must be 10 .. 1048576");
}

}  // namespace
}  // namespace korvane
