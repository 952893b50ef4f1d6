#include <gtest/gtest.h>

#include <string>

#include "board_bench.h"

namespace korvane {
namespace {

/// The host's reading of characters 5 and 6 of a register-read reply.
int RegisterValue(const std::string& reply) {
  return std::stoi(reply.substr(4, 2), nullptr, 16);
}

TEST(ProgrammingMode, EnteredOnlyAtARateTheClockMakes) {
  struct Case {
    double clock;
    int rate;
    bool answers;
  };
  const Case cases[] = {
      {11.0592, 1200, true},    {11.0592, 2400, true}, {11.0592, 57600, true},
      {11.0592, 115200, false}, {10.0, 38400, true},   {10.0, 57600, false},
      {24.0, 57600, true},      {1.8432, 1200, true},  {1.8432, 2400, true},
      {1.8432, 57600, false},   {3.6864, 1200, true},  {3.6864, 2400, false},
      {0.5, 1200, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.clock) + " MHz at " + std::to_string(c.rate));
    BoardBench bench(ClockedAt(c.clock));
    EXPECT_EQ(bench.EnterProgrammingMode(c.rate), c.answers ? "\r\n>" : "");
    EXPECT_EQ(bench.board.UartBitRate(), c.answers ? c.rate : 0);
    if (!c.answers) {
      EXPECT_EQ(bench.Exchange("\r", Millis{100}), "") << "every CR is ignored";
    }
  }

  BoardOptions ignores_one_cr;
  ignores_one_cr.faults.ignored_bit_rate_crs = 1;
  BoardBench second_attempt(ignores_one_cr);
  EXPECT_EQ(second_attempt.EnterProgrammingMode(), "");
  second_attempt.PulseProgReset();
  EXPECT_EQ(second_attempt.Exchange("\r"), "\r\n>");
}

TEST(ProgrammingMode, ClockCountReadsBackAsTheBoardsClock) {
  struct Case {
    double clock;
    int count;
  };
  // The counts the host turns into 11.0592, 7.4, 1.8432, 3.7 and 24.0 MHz.
  const Case cases[] = {{11.0592, 736}, {7.3728, 832}, {1.8432, 976}, {3.6864, 928}, {24.0, 399}};
  for (const Case& c : cases) {
    BoardBench bench(ClockedAt(c.clock));
    bench.EnterProgrammingMode();
    const std::string low = bench.Exchange("RRCA");
    const std::string high = bench.Exchange("RRCB");
    ASSERT_TRUE(low.size() == 7 && low.starts_with("RRCA") && low.ends_with('>')) << low;
    EXPECT_NE(RegisterValue(high) & 0xFC, 0) << "the host must mask CB";
    EXPECT_EQ((RegisterValue(high) % 4) * 256 + RegisterValue(low), c.count) << c.clock;
  }
}

TEST(ProgrammingMode, AMalformedCommandGetsNoPromptUntilTheNextCr) {
  struct Case {
    std::string sent;
    std::string answer;
  };
  const Case cases[] = {
      {"Z", "Z?\r\n"},       {"RQ", "RQ?\r\n"},
      {"RWG", "RWG?\r\n"},   {"M1234", "M1234?\r\n"},
      {"RW\r", "RW\r?\r\n"}, {"CW8011CW80124B", "CW8011CW?\r\n"},  // a byte value left out
      {"\x80", "\x80?\r\n"},
  };
  BoardBench bench;
  bench.EnterProgrammingMode();
  for (const Case& c : cases) {
    // The rest of the line is dropped.
    EXPECT_EQ(bench.Exchanges({c.sent, "RWFB0A", "\r", "RWFB0A"}), c.answer + "||\r\n>|RWFB0A>|");
  }
}

}  // namespace
}  // namespace korvane
