#include <gtest/gtest.h>

#include <string>

#include "board/board_mode.h"
#include "board_bench.h"

namespace korvane {
namespace {

TEST(BoardProgram, AnswersAtTheLinkSpeedOfItsConfigurationBytes) {
  BoardBench fast;
  ASSERT_TRUE(fast.ProgramLinkSpeed("FA", 57600));
  EXPECT_EQ(fast.board.UartBitRate(), 57600);
  EXPECT_EQ(fast.Exchange("\r"), "]");

  BoardBench wrong_rate;  // the CR reads as another byte: "?" CR LF, read at 38400 as "o "
  ASSERT_TRUE(wrong_rate.ProgramLinkSpeed("FA", 38400));
  EXPECT_EQ(wrong_rate.Exchange("\r"), "o ");

  BoardBench ten_mhz(ClockedAt(10.0));  // 39062.5 bit/s: within reach of 38400
  ASSERT_TRUE(ten_mhz.ProgramLinkSpeed("F8", 38400));
  EXPECT_EQ(ten_mhz.Exchange("\r"), "]");

  BoardBench slow_clock(ClockedAt(1.8432));
  ASSERT_TRUE(slow_clock.ProgramLinkSpeed("FF", 57600));
  EXPECT_EQ(slow_clock.Exchange("\r"), "]");

  BoardBench erased_config;  // no reload value: the program's default speed
  erased_config.Open(9600);
  erased_config.PulseRunReset();
  EXPECT_EQ(erased_config.board.Mode(), BoardMode::kRunning);
  EXPECT_EQ(erased_config.Exchange("\r"), "]");

  BoardOptions blank_flash;
  blank_flash.program_loaded = false;
  BoardBench blank(blank_flash);
  for (const int rate : {1200, 9600, 57600}) {
    blank.Open(rate);
    blank.PulseRunReset();
    EXPECT_EQ(blank.Exchange("\r"), "") << rate;
  }
  EXPECT_EQ(blank.board.Mode(), BoardMode::kIdle);
  EXPECT_EQ(blank.board.UartBitRate(), 0);
}

TEST(BoardProgram, CommandsAreTakenWithoutEcho) {
  BoardBench bench;
  bench.Open(9600);
  bench.PulseRunReset();
  EXPECT_EQ(bench.Exchanges({"RWFB07", "RWE6FF", "H1", "N0010", "\n"}), "]|]|]|]||");
  for (const char* malformed : {"Q", "H2", "U6", "RR", "RW\r", "RWFB0G", "N00\x85"}) {
    // No prompt, and the rest of the line is dropped.
    EXPECT_EQ(bench.Exchanges({malformed, "RWFB01", "\r"}), "?\r\n||]|") << malformed;
  }
  EXPECT_EQ(bench.board.Sfr(0xFB), 0x07);
  EXPECT_EQ(bench.board.Sfr(0xE6), 0xFF);
  EXPECT_EQ(bench.board.Program().AveragingCount(), 16);

  // A conversion every 3 s.
  EXPECT_EQ(bench.Exchanges({"RWF6FF", "RWDEFF", "RWDF07", "U4"}), "]|]|]||");
  EXPECT_EQ(bench.board.Program().Stream(), StreamKind::kAveraging);
  EXPECT_EQ(bench.Exchange("RWFB01"), "") << "a stream takes only its end";
  EXPECT_EQ(bench.board.Sfr(0xFB), 0x07);
  EXPECT_EQ(bench.Exchange("\r"), "]");
  EXPECT_FALSE(bench.board.Program().Stream().has_value());

  bench.PulseRunReset();
  EXPECT_EQ(bench.board.Sfr(0xFB), 0x00);
  EXPECT_EQ(bench.board.Sfr(0xE6), 0x80) << "the program starts with the offset DAC at zero";
  EXPECT_EQ(bench.board.Program().AveragingCount(), 0);
  EXPECT_EQ(bench.board.ReceivedCommands().back().mode, BoardMode::kRunning);
}

}  // namespace
}  // namespace korvane
