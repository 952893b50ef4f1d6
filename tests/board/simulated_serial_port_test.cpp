#include <gtest/gtest.h>

#include <string>

#include "board/board_mode.h"
#include "board/serial_line.h"
#include "board_bench.h"

namespace korvane {
namespace {

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
  EXPECT_EQ(on_three.board.Mode(), BoardMode::kHeldInReset) << "port 3 was never opened";
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

  on_three.port.ClosePort();
  on_three.port.SetPortSettings(",N,8,1");
  on_three.port.OpenPort();
  EXPECT_FALSE(on_three.port.IsPortOpen()) << "no bit rate: no open port at a default speed";

  BoardBench nowhere({}, SimulatedSerialPort::kNoBoard);
  EXPECT_EQ(nowhere.EnterProgrammingMode(), "");
  EXPECT_TRUE(nowhere.port.IsPortOpen());
}

TEST(SimulatedSerialPort, ModemLinesAreOffWhileThePortIsClosed) {
  BoardBench bench;
  EXPECT_EQ(bench.board.Mode(), BoardMode::kHeldInReset) << "a port never opened";
  bench.Open(1200);  // both lines come on: the programming-reset input went off meanwhile
  EXPECT_EQ(bench.board.Mode(), BoardMode::kDetectingBitRate);
  EXPECT_EQ(bench.Exchange("\r"), "\r\n>");
  bench.PulseRunReset();
  EXPECT_EQ(bench.board.Mode(), BoardMode::kRunning);
  bench.port.ClosePort();
  EXPECT_EQ(bench.board.Mode(), BoardMode::kHeldInReset);

  bench.port.SetRunResetLine(false);  // opened with one line set off: still held
  bench.port.OpenPort();
  EXPECT_EQ(bench.board.Mode(), BoardMode::kHeldInReset);
  bench.port.SetRunResetLine(true);
  EXPECT_EQ(bench.board.Mode(), BoardMode::kDetectingBitRate);

  bench.port.Unplug(1);
  EXPECT_FALSE(bench.port.IsPortOpen());
  EXPECT_EQ(bench.board.Mode(), BoardMode::kHeldInReset);
  bench.port.OpenPort();
  EXPECT_EQ(bench.board.Mode(), BoardMode::kHeldInReset) << "unplugged";
  bench.port.PlugIn();
  EXPECT_EQ(bench.EnterProgrammingMode(), "\r\n>");
}

TEST(SerialLine, AUartAtAnotherRateReadsOrdinaryBytes) {
  struct Case {
    std::string sent;
    int sender_rate;
    int receiver_rate;
    std::string read;
  };
  const Case cases[] = {
      {"RWFB0A", 57600, 56170, "RWFB0A"},  // 2.5 % apart: read right both ways
      {"RWFB0A", 56170, 57600, "RWFB0A"},
      {"RWFB0A", 57600, 54000, "\x92\xD5\x89\xB0\xD0"},
      {"]", 57600, 1200, ""},                              // over before the start bit's middle
      {"\r", 1200, 9600, std::string("\x80\x80\x00", 3)},  // one byte read as three
      {"D1", 2400, 1200, "]"},                             // two bytes read as one
      {"P%", 2400, 1200, ">"},
      {"P$", 2400, 1200, "."},
      {" 1", 2400, 1200, "X"},
      {"% ", 38400, 43200, "E@"},
      {"123ABC\r\n", 57600, 43200, "\x08+E\x91\xEC\xC5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sent + " at " + std::to_string(c.sender_rate) + " read at " +
                 std::to_string(c.receiver_rate));
    EXPECT_EQ(ReadBytesAtRate(c.sent, c.sender_rate, c.receiver_rate), c.read);
  }
}

TEST(SimulatedSerialPort, MismatchedBitRatesReachTheReceiverAsItsUartReadsThem) {
  BoardBench to_board;  // the board's program at 57600 reads a host at 54000
  ASSERT_TRUE(to_board.ProgramLinkSpeed("FA", 54000));
  to_board.Exchange("RWFB0A");
  EXPECT_EQ(to_board.board.ReceivedCommands().back().text, "\xD2") << "its bit 7 samples bit 6";

  BoardBench to_host;  // a program at 43200 (reload FFF8) answers a host at 57600
  ASSERT_TRUE(to_host.ProgramLinkSpeed("F8", 57600));
  to_host.board.ReceiveSerial("\r", 43200);
  to_host.time.Advance(Millis{10});
  EXPECT_EQ(to_host.port.TakeInput(), "{\xFF") << "its \"]\" read as two bytes";
}

TEST(SimulatedBoard, InjectedFaults) {
  BoardOptions talks_garbage;
  talks_garbage.faults.garbage_answers = true;
  BoardBench garbage(talks_garbage);
  const std::string answer = garbage.EnterProgrammingMode();
  EXPECT_EQ(answer.size(), 3u);
  EXPECT_EQ(answer.find_first_of("]>.TEX"), std::string::npos);

  BoardOptions prompt_hit;  // bit 4 of the third byte sent flips: the prompt ">" reads "."
  prompt_hit.faults.noisy_byte = BoardFaults::NoisyByte{true, 3, 0x10};
  EXPECT_EQ(BoardBench(prompt_hit).EnterProgrammingMode(), "\r\n.");
  BoardOptions command_hit;  // bit 0 of the third byte heard (CR, R, R) flips: "RSCA" arrives
  command_hit.faults.noisy_byte = BoardFaults::NoisyByte{false, 3, 0x01};
  BoardBench hit(command_hit);
  hit.EnterProgrammingMode();
  EXPECT_EQ(hit.Exchange("RRCA"), "RS?\r\n");

  BoardOptions noisy_line;
  noisy_line.faults.noise_bit_error_rate = 0.005;
  BoardBench noisy(noisy_line);
  noisy.EnterProgrammingMode(57600);
  int changed = 0;
  for (int i = 0; i < 100; ++i) {
    const std::string noisy_answer = noisy.Exchange("RRCA\r", Millis{20});
    changed += noisy_answer != "RRCAE0>\r\n>";
  }
  EXPECT_GT(changed, 0);
  EXPECT_LT(changed, 50);

  BoardOptions tires;
  tires.faults.prog_mode_answer_limit = 2;
  BoardBench tiring(tires);
  EXPECT_EQ(tiring.EnterProgrammingMode(), "\r\n>");
  EXPECT_EQ(tiring.Exchanges({"RWFB0A", "RWFC00"}), "RWFB0A>||");
  BoardFaults run_mode_tires;
  run_mode_tires.run_mode_answer_limit = 1;
  tiring.board.SetFaults(run_mode_tires);
  tiring.Open(9600);
  tiring.PulseRunReset();
  EXPECT_EQ(tiring.Exchanges({"\r", "\r"}), "]||");
}

}  // namespace
}  // namespace korvane
