#include <gtest/gtest.h>

#include <string>

#include "board/board_mode.h"
#include "board/serial_line.h"
#include "board_bench.h"

namespace korvane {
namespace {

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

}  // namespace
}  // namespace korvane
