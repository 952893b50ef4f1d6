#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "board/board_mode.h"
#include "board_bench.h"

namespace korvane {
namespace {

/// The host's reading of characters 5 and 6 of a register-read reply.
int RegisterValue(const std::string& reply) {
  return std::stoi(reply.substr(4, 2), nullptr, 16);
}

/// The host's clock measurement: formula, then its snapping windows or one decimal.
double HostClockMhz(int ca, int cb) {
  const int count = (cb % 4) * 256 + ca;
  const double f = (998 - count) * 0.03789126 * 1.013 + 1.0;
  if (f > 1.8 && f < 1.9) return 1.8432;
  if (f > 11.0 && f < 11.1) return 11.0592;
  return std::round(f * 10.0) / 10.0;
}

TEST(ProgrammingMode, ResetPulseAndCarriageReturnGivePromptAtTheHostsRate) {
  for (const int rate : {1200, 2400, 57600}) {
    BoardBench bench;
    EXPECT_EQ(bench.EnterProgrammingMode(rate), "\r\n>") << rate;
    EXPECT_EQ(bench.board.Mode(), BoardMode::kProgramming);
    EXPECT_EQ(bench.board.UartBitRate(), rate);
  }

  BoardBench running;  // no programming reset: the board program at 9600 cannot hear 1200
  running.Open(1200);
  EXPECT_EQ(running.Exchange("\r"), "");

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
    double measured;
  };
  const Case cases[] = {{11.0592, 736, 11.0592},
                        {7.3728, 832, 7.4},
                        {1.8432, 976, 1.8432},
                        {3.6864, 928, 3.7},
                        {24.0, 399, 24.0}};
  for (const Case& c : cases) {
    BoardBench bench(ClockedAt(c.clock));
    bench.EnterProgrammingMode();
    const std::string low = bench.Exchange("RRCA");
    const std::string high = bench.Exchange("RRCB");
    ASSERT_EQ(low.size(), 7u) << low;
    EXPECT_EQ(low.substr(0, 4), "RRCA");
    EXPECT_EQ(low.back(), '>');
    EXPECT_NE(RegisterValue(high) & 0xFC, 0) << "the host must mask CB";
    EXPECT_EQ((RegisterValue(high) % 4) * 256 + RegisterValue(low), c.count) << c.clock;
    EXPECT_DOUBLE_EQ(HostClockMhz(RegisterValue(low), RegisterValue(high)), c.measured) << c.clock;
  }
}

TEST(ProgrammingMode, RegistersAndMemoryCommands) {
  BoardBench bench;
  bench.EnterProgrammingMode();
  EXPECT_EQ(bench.Exchange("RR00"), "RR0000>");
  EXPECT_EQ(bench.Exchange("RWFB0A"), "RWFB0A>");
  EXPECT_EQ(bench.Exchange("RRFB"), "RRFB0A>");
  EXPECT_EQ(bench.Exchange("CP8000"), "CP8000>");
  EXPECT_EQ(bench.Exchange("CW80104A"), "CW80104A>");
  EXPECT_EQ(bench.Exchange("CW8013FF"), "CW8013FF>");
  EXPECT_EQ(bench.Exchange("CW80104C"), "CW80104C>") << "configuration bytes can be rewritten";
  EXPECT_EQ(bench.Exchange("CW01005A"), "CW01005A>");
  EXPECT_EQ(bench.Exchange("CW000011"), "CW000011X>") << "a programmed flash cell";
  EXPECT_EQ(bench.Exchange("CWF80011"), "CWF80011X>") << "outside the flash";
  EXPECT_EQ(bench.board.Memory().ConfigByte(0x8010), 0x4C);
  EXPECT_EQ(bench.board.Memory().ConfigByte(0x8013), 0xFF);
  EXPECT_EQ(bench.board.Memory().FlashByte(0x0100), 0x5A);

  EXPECT_EQ(bench.Exchange("E"), "E>");
  EXPECT_EQ(bench.Exchange("\r"), "\r\n>");
  EXPECT_EQ(bench.Exchange("Z"), "Z?>");
  EXPECT_EQ(bench.Exchange("RQ"), "RQ?>");
  EXPECT_EQ(bench.Exchange("RWG"), "RWG?>");
  EXPECT_EQ(bench.Exchange("M1234"), "M1234?>");
  EXPECT_EQ(bench.Exchange(std::string("\x80\xFE\n", 3)), "") << "line noise is not echoed";

  // Memory outlives resets; registers do not.
  bench.PulseProgReset();
  bench.Exchange("\r");
  EXPECT_EQ(bench.Exchange("RRFB"), "RRFB00>");
  EXPECT_EQ(bench.board.Memory().ConfigByte(0x8010), 0x4C);
  EXPECT_TRUE(bench.board.Memory().HasProgram());

  EXPECT_EQ(bench.Exchange("M0000"), "M0000>");
  EXPECT_FALSE(bench.board.Memory().HasProgram());
  EXPECT_EQ(bench.board.Memory().ConfigByte(0x8010), 0x4C);
  EXPECT_EQ(bench.Exchange("M8000"), "M8000>");
  EXPECT_EQ(bench.board.Memory().ConfigByte(0x8010), 0xFF);

  const auto& commands = bench.board.ReceivedCommands();
  ASSERT_GE(commands.size(), 2u);
  EXPECT_EQ(commands.front().text, "\r");
  EXPECT_EQ(commands.back().text, "M8000");
  EXPECT_EQ(commands.back().mode, BoardMode::kProgramming);
}

}  // namespace
}  // namespace korvane
