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

TEST(HexLoading, ImageIsProgrammedLineByLine) {
  std::vector<std::uint8_t> image(40);
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 7 + 1);
  const auto lines = HexImageLines(0x0200, image);
  ASSERT_EQ(lines.size(), 5u);

  LoadingBench bench;
  // A LF between lines is the rest of a line end; no prompt follows the end record.
  std::string answers = bench.SendLine(lines[0]) + "|";
  answers += bench.Exchange("\n") + "|";
  for (std::size_t i = 1; i < lines.size(); ++i) answers += bench.SendLine(lines[i]);
  EXPECT_EQ(answers, ".||...T");
  for (std::size_t i = 0; i < image.size(); ++i) {
    EXPECT_EQ(bench.board.Memory().FlashByte(0x0200 + static_cast<int>(i)), image[i]) << i;
  }
  EXPECT_EQ(bench.board.Memory().FlashByte(0x01FF), 0xFF);
  EXPECT_EQ(bench.board.Memory().FlashByte(0x0228), 0xFF);
  EXPECT_EQ(bench.Exchange("\r"), "\r\n>") << "back in the command state";
  EXPECT_EQ(bench.board.ReceivedCommands().back().text, "\r");
  EXPECT_EQ(bench.board.ReceivedCommands().end()[-2].text, lines[4]);
}

TEST(HexLoading, OnlyAWholeImageRuns) {
  const auto image = DemoProgramBytes(100);
  auto lines_but_second = HexImageLines(0x0000, image);
  lines_but_second.erase(lines_but_second.begin() + 1);
  auto changed_byte = HexImageLines(0x0000, image);
  changed_byte[2] = HexRecord(0x00, 0x0020, std::vector<std::uint8_t>(16, 0x00));
  struct Case {
    const char* what;
    std::vector<std::string> lines;
    std::string answer;
  };
  const Case cases[] = {
      {"whole", HexImageLines(0x0000, image), "]"},
      {"no trailer", PartialHexImageLines(0x0000, image), ""},
      {"stopped half way", {HexImageLines(0x0000, image)[0]}, ""},
      {"a line left out", lines_but_second, ""},
      {"a line changed", changed_byte, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LoadingBench bench;
    for (const std::string& line : c.lines) bench.SendLine(line);
    bench.Open(9600);
    bench.PulseRunReset();
    EXPECT_EQ(bench.Exchange("\r"), c.answer);
  }
}

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

TEST(HexImage, RecordsCarryTheirChecksum) {
  EXPECT_EQ(HexRecord(0x01, 0x0000, {}), ":00000001FF");
  EXPECT_EQ(HexRecord(0x00, 0x0030, {0x02, 0x33, 0x7A}), ":0300300002337A1E");
  const auto lines = PartialHexImageLines(0x0100, std::vector<std::uint8_t>(33, 0xAB));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[2].substr(0, 9), ":01012000");
  // "KV", length 0000, sum 0000; then the end record.
  EXPECT_EQ(HexImageText(0x0000, {}), ":06F7FA004B560000000068\r\n:00000001FF\r\n");
  // Length 0102, sum of FF x 100 (erased below the image) + 01 + 02 = FF03.
  EXPECT_EQ(HexImageLines(0x0100, {0x01, 0x02})[1], ":06F7FA004B560102FF0363");
}

}  // namespace
}  // namespace korvane
