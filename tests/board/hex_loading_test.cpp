#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "board/hex_image.h"
#include "board_bench.h"

namespace korvane {
namespace {

/// A board in programming mode at 57600 with erased flash, in the HEX transfer.
struct LoadingBench : BoardBench {
  LoadingBench() {
    EnterProgrammingMode(57600);
    Exchange("M0000");
    Exchange("L");
  }
  std::string SendLine(const std::string& line) { return Exchange(line + "\r\n"); }
};

TEST(HexLoading, FaultyLinesAreRefusedAndTheTransferGoesOn) {
  LoadingBench bench;
  const std::string good = HexRecord(0x00, 0x1000, {0x12, 0x34});
  std::string bad_checksum = good;
  bad_checksum.back() = bad_checksum.back() == '0' ? '1' : '0';
  std::string overlong = HexRecord(0x00, 0x3000, std::vector<std::uint8_t>(255, 0x55));
  overlong += std::string(700 - overlong.size(), '0');

  // A wrong checksum, no ':', an odd number of digits, fewer bytes than its count, not
  // hexadecimal, shorter than a record, overlong, empty, a LF inside.
  std::string answers;
  for (const std::string& line :
       {bad_checksum, good.substr(1), good + "0", std::string(":0210000012DC"),
        std::string(":0G1000001234A6"), std::string(":00000001"), overlong, std::string(),
        good.substr(0, 5) + "\n" + good.substr(5)}) {
    answers += bench.SendLine(line);
  }
  EXPECT_EQ(answers, "EEEEEEEEE");
  EXPECT_EQ(bench.board.Memory().FlashByte(0x3000), 0xFF);
  EXPECT_EQ(bench.SendLine(HexRecord(0x00, 0xF7FF, {0x01, 0x02})), "X") << "past the flash";
  EXPECT_EQ(bench.board.Memory().FlashByte(0xF7FF), 0xFF) << "nothing of a refused line";
  EXPECT_EQ(bench.SendLine(HexRecord(0x04, 0x0000, {0x00, 0x01})), "X") << "record type";

  EXPECT_EQ(bench.SendLine(good), ".");
  EXPECT_EQ(bench.SendLine(good), "X") << "cells not erased";
  EXPECT_EQ(bench.board.Memory().FlashByte(0x1001), 0x34);
  EXPECT_EQ(bench.SendLine(HexRecord(0x01, 0x0000, {})), "T");

  BoardFaults second_line_corrupted;
  second_line_corrupted.corrupted_hex_line = 2;
  bench.board.SetFaults(second_line_corrupted);
  bench.Exchange("M0000");
  bench.Exchange("L");
  EXPECT_EQ(bench.SendLine(good), ".");
  EXPECT_EQ(bench.SendLine(HexRecord(0x00, 0x2000, {0x56})), "E") << "changed on the line";
  EXPECT_EQ(bench.board.Memory().FlashByte(0x2000), 0xFF);
}

}  // namespace
}  // namespace korvane
