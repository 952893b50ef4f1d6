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

  bench.PulseRunReset();
  EXPECT_EQ(bench.board.Sfr(0xFB), 0x00);
  EXPECT_EQ(bench.board.Sfr(0xE6), 0x80) << "the program starts with the offset DAC at zero";
  EXPECT_EQ(bench.board.Program().AveragingCount(), 0);
  EXPECT_EQ(bench.board.ReceivedCommands().back().mode, BoardMode::kRunning);
}

}  // namespace
}  // namespace korvane
