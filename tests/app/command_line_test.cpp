#include "app/command_line.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(CommandLine, WordsByPosition) {
  auto none = ParseCommandLine("", 5);
  EXPECT_TRUE(none.Sound);
  EXPECT_EQ(none.PortNumber, 5);
  EXPECT_FALSE(none.FreqText);
  EXPECT_EQ(none.Freq, 0);
  EXPECT_FALSE(none.TooManyWords);

  auto full = ParseCommandLine("S 3 11.0592", 12);
  EXPECT_FALSE(full.Sound);
  EXPECT_EQ(full.PortNumber, 3);
  EXPECT_EQ(full.FreqText, "11.0592");
  EXPECT_EQ(full.Freq, 11.0592);

  EXPECT_FALSE(ParseCommandLine("s 0", 4).Sound);
  EXPECT_EQ(ParseCommandLine("s 0", 4).PortNumber, 0);
  EXPECT_EQ(ParseCommandLine("s 257", 4).PortNumber, 0);
  EXPECT_EQ(ParseCommandLine("s -1", 4).PortNumber, 0);
  EXPECT_EQ(ParseCommandLine("s 99999999", 4).PortNumber, 0);
  EXPECT_EQ(ParseCommandLine("s COM3", 4).PortNumber, 0);
  EXPECT_EQ(ParseCommandLine("s 2.5", 4).PortNumber, 2) << "halves to even";
  EXPECT_EQ(ParseCommandLine("s 256", 4).PortNumber, 256);

  auto x = ParseCommandLine("x", 7);
  EXPECT_TRUE(x.Sound) << "only S and s switch the sound off";
  EXPECT_EQ(x.PortNumber, 7);
  EXPECT_TRUE(ParseCommandLine("SS", 7).Sound);
  EXPECT_TRUE(ParseCommandLine("-S", 7).Sound);

  // Two blanks make an empty second word: no port, and the third word is the clock.
  auto gap = ParseCommandLine("S  3", 9);
  EXPECT_EQ(gap.PortNumber, 0);
  EXPECT_EQ(gap.FreqText, "3");
  EXPECT_EQ(gap.Freq, 3);

  auto spaced = ParseCommandLine("S 1\t2 1.5e1", 0);
  EXPECT_EQ(spaced.PortNumber, 12) << "tabs inside a word are ignored";
  EXPECT_EQ(spaced.FreqText, "15");

  auto junk = ParseCommandLine("S 3 abc", 0);
  EXPECT_EQ(junk.FreqText, "0");
  EXPECT_EQ(junk.Freq, 0);
  EXPECT_EQ(ParseCommandLine("S 3 1e999", 0).Freq, 0) << "an unusable clock counts as none";
}

TEST(CommandLine, TooManyWordsAfterTheFirstThreeApply) {
  auto five = ParseCommandLine("S 3 11 x y", 0);
  EXPECT_TRUE(five.TooManyWords);
  EXPECT_FALSE(five.Sound);
  EXPECT_EQ(five.PortNumber, 3);
  EXPECT_EQ(five.Freq, 11);
  EXPECT_TRUE(ParseCommandLine("a b c ", 0).TooManyWords) << "a trailing blank makes a word";
  const std::string huge(100000, 'S');
  EXPECT_TRUE(ParseCommandLine(huge, 0).Sound);
  EXPECT_TRUE(ParseCommandLine(std::string(50000, ' '), 0).TooManyWords);
}

TEST(CommandLine, StoredPort) {
  EXPECT_EQ(PortFromStoredValue("COM12"), 12);
  EXPECT_EQ(PortFromStoredValue("COM3"), 3);
  EXPECT_EQ(PortFromStoredValue("0"), 0);
  EXPECT_EQ(PortFromStoredValue(""), 0);
  EXPECT_EQ(PortFromStoredValue("COM"), 0);
  EXPECT_EQ(PortFromStoredValue("COMx"), 0);
  EXPECT_EQ(PortFromStoredValue("COM40000"), 0) << "beyond 16 bits";
  EXPECT_EQ(PortFromStoredValue("COM300"), 300) << "no range check on the stored value";
  EXPECT_EQ(PortFromStoredValue("XYZ7.5"), 8);
}

}  // namespace
}  // namespace korvane
