#include "acquisition/reading_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvane {
namespace {

std::vector<std::string> Drain(ReadingLines& lines) {
  std::vector<std::string> readings;
  while (auto reading = lines.Next()) readings.push_back(*reading);
  return readings;
}

TEST(ReadingLines, TakesMaySplitOrJoinReadingsWithoutLosingAny) {
  ReadingLines lines;
  lines.Append("0A1B");
  EXPECT_FALSE(lines.Next()) << "no CR yet";
  lines.Append("2C\r");
  EXPECT_EQ(Drain(lines), std::vector<std::string>{"0A1B2C"});
  lines.Append("\n");  // the LF left over from the previous reading
  lines.Append("\n");  // and a lone LF, dropped too
  lines.Append("111111\r\n222222\r\n33");
  EXPECT_EQ(Drain(lines), (std::vector<std::string>{"111111", "222222"}));
  lines.Append("3333\r");
  EXPECT_EQ(Drain(lines), std::vector<std::string>{"333333"});
  lines.Append("\r\r");
  EXPECT_EQ(Drain(lines), (std::vector<std::string>{"", ""})) << "empty readings count";
  lines.Append("12\n34\r");
  EXPECT_EQ(Drain(lines), std::vector<std::string>{"12\n34"}) << "a LF inside stays";
  lines.Append("99");
  lines.Clear();
  lines.Append("\n88\r");
  EXPECT_EQ(Drain(lines), std::vector<std::string>{"88"});
}

TEST(ReadingLines, EndlessGarbageKeepsOnlyTheStartOfItsReading) {
  ReadingLines lines;
  const std::string garbage(100000, '\xC3');
  for (int i = 0; i < 10; ++i) lines.Append(garbage);
  lines.Append("\rABCDEF\r");
  const auto readings = Drain(lines);
  ASSERT_EQ(readings.size(), 2u);
  EXPECT_EQ(readings[0], std::string(ReadingLines::kKeptPerReading, '\xC3'));
  EXPECT_EQ(readings[1], "ABCDEF");
}

TEST(ConversionCode, FirstSixCharactersAsHexadecimal) {
  EXPECT_EQ(ConversionCode("0A1B2C"), 0x0A1B2C);
  EXPECT_EQ(ConversionCode("0a1b2c"), 0x0A1B2C);
  EXPECT_EQ(ConversionCode("FFFFFF"), 16777215);
  EXPECT_EQ(ConversionCode("1234567"), 0x123456) << "only six characters count";
  EXPECT_EQ(ConversionCode("12 3\t4"), 0x1234) << "blanks and tabs are skipped";
  EXPECT_EQ(ConversionCode("\n12345"), 0x12345);
  EXPECT_EQ(ConversionCode("12]456"), 0x12) << "stops at the first other character";
  EXPECT_EQ(ConversionCode("]12345"), 0);
  EXPECT_EQ(ConversionCode(""), 0);
  EXPECT_EQ(ConversionCode("\xFF\xFE"), 0);
}

}  // namespace
}  // namespace korvane
