#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "board/board_mode.h"
#include "board_bench.h"

namespace korvane {
namespace {

bool AllHighBitSet(const std::string& bytes) {
  return std::all_of(bytes.begin(), bytes.end(),
                     [](char byte) { return static_cast<unsigned char>(byte) >= 0x80; });
}

TEST(SimulatedSerialPort, BytesTakeTheirTimeOnTheLine) {
  BoardBench bench;
  bench.EnterProgrammingMode(1200);  // 8333 us per byte
  const Micros start = bench.time.Now();
  bench.port.Transmit("EEEEEEEEEE");
  bench.time.Advance(Millis{200});
  const auto& commands = bench.board.ReceivedCommands();
  ASSERT_GE(commands.size(), 10u);
  EXPECT_EQ(commands.end()[-10].time - start, Micros{8333});
  EXPECT_EQ(commands.back().time - start, Micros{83330});

  bench.port.TakeInput();
  bench.port.Transmit("E");  // echo and prompt come back after the byte went out
  bench.time.Advance(Micros{16666});
  EXPECT_EQ(bench.port.TakeInput(), "E");
  bench.time.Advance(Micros{8332});
  EXPECT_EQ(bench.port.TakeInput(), "");
  bench.time.Advance(Micros{1});
  EXPECT_EQ(bench.port.TakeInput(), ">");
}

TEST(SimulatedSerialPort, OnlyTheBoardsPortHearsTheBoard) {
  BoardBench on_three({}, 3);
  on_three.Open(1200, 1);
  on_three.PulseProgReset();
  EXPECT_EQ(on_three.Exchange("\r"), "");
  EXPECT_EQ(on_three.board.Mode(), BoardMode::kRunning) << "the reset line did not reach it";
  on_three.Open(1200, 3);
  on_three.PulseProgReset();
  EXPECT_EQ(on_three.Exchange("\r"), "\r\n>");

  BoardBench first_opened({}, SimulatedSerialPort::kFirstPortOpened);
  EXPECT_EQ(first_opened.port.BoardPort(), SimulatedSerialPort::kNoBoard);
  first_opened.Open(1200, 7);
  EXPECT_EQ(first_opened.port.BoardPort(), 7);
  first_opened.PulseProgReset();
  EXPECT_EQ(first_opened.Exchange("\r"), "\r\n>");
  first_opened.Open(1200, 1);
  EXPECT_EQ(first_opened.Exchange("\r"), "");

  BoardBench nowhere({}, SimulatedSerialPort::kNoBoard);
  EXPECT_EQ(nowhere.EnterProgrammingMode(), "");
  EXPECT_TRUE(nowhere.port.IsPortOpen());

  BoardBench closing;  // closing releases a line held off: the board sees the rising edge
  closing.Open(1200);
  closing.port.SetProgResetLine(false);
  EXPECT_EQ(closing.board.Mode(), BoardMode::kHeldInReset);
  closing.port.ClosePort();
  EXPECT_EQ(closing.board.Mode(), BoardMode::kDetectingBitRate);
}

TEST(SimulatedSerialPort, MismatchedBitRatesGarbleBothWays) {
  BoardBench to_board;
  to_board.EnterProgrammingMode(1200);
  to_board.Open(2400);
  const auto taken = to_board.board.ReceivedCommands().size();
  EXPECT_EQ(to_board.Exchange("RRCA"), "");
  EXPECT_EQ(to_board.board.ReceivedCommands().size(), taken);

  // 56170 bit/s: the board (57600) still reads the host, the host cannot read the board.
  BoardBench to_host;
  to_host.EnterProgrammingMode();
  to_host.Exchange("CW80104A");
  to_host.Exchange("CW8011FA");
  to_host.Exchange("CW80124B");
  to_host.Exchange("CW8013FF");
  to_host.Open(56170);
  to_host.PulseRunReset();
  const std::string reply = to_host.Exchange("\r");
  EXPECT_EQ(to_host.board.ReceivedCommands().back().text, "\r");
  EXPECT_EQ(reply.size(), 1u);
  EXPECT_TRUE(AllHighBitSet(reply));
}

TEST(SimulatedBoard, InjectedFaults) {
  BoardOptions talks_garbage;
  talks_garbage.faults.garbage_answers = true;
  BoardBench garbage(talks_garbage);
  const std::string answer = garbage.EnterProgrammingMode();
  EXPECT_EQ(answer.size(), 3u);
  EXPECT_EQ(answer.find_first_of("]>.TEX"), std::string::npos);

  BoardOptions tires;
  tires.faults.prog_mode_answer_limit = 2;
  BoardBench tiring(tires);
  EXPECT_EQ(tiring.EnterProgrammingMode(), "\r\n>");
  EXPECT_EQ(tiring.Exchange("RWFB0A"), "RWFB0A>");
  EXPECT_EQ(tiring.Exchange("RWFC00"), "");
  BoardFaults run_mode_tires;
  run_mode_tires.run_mode_answer_limit = 1;
  tiring.board.SetFaults(run_mode_tires);
  tiring.Open(9600);
  tiring.PulseRunReset();
  EXPECT_EQ(tiring.Exchange("\r"), "]");
  EXPECT_EQ(tiring.Exchange("\r"), "");
}

TEST(SimulatedBoard, SurvivesEveryByteValueInEveryState) {
  std::string all_bytes;
  for (int value = 0; value < 256; ++value) all_bytes.push_back(static_cast<char>(value));

  BoardBench bench;
  bench.EnterProgrammingMode(57600);
  bench.Exchange(all_bytes + all_bytes + "\r");  // its "L" starts a HEX transfer, too
  bench.PulseProgReset();
  EXPECT_EQ(bench.Exchange("\r"), "\r\n>");

  bench.Exchange("CW80104A");  // the board program at 57600
  bench.Exchange("CW8011FA");
  bench.Exchange("CW80124B");
  bench.Exchange("CW8013FF");
  bench.PulseRunReset();
  bench.Exchange(all_bytes + "U3" + all_bytes);
  EXPECT_EQ(bench.Exchange("\r"), "]");
}

}  // namespace
}  // namespace korvane
