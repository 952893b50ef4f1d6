#include "app/command_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace korvane {
namespace {

/// The choices of a command line as "sound port clock-text clock too-many".
std::string Choices(std::string_view text, std::int16_t stored_port) {
  const StartupChoices choices = ParseCommandLine(text, stored_port);
  std::ostringstream out;
  out << (choices.Sound ? "sound " : "quiet ") << choices.PortNumber << " "
      << choices.FreqText.value_or("-") << " " << choices.Freq
      << (choices.TooManyWords ? " too-many" : "");
  return out.str();
}

TEST(CommandLine, WordsByPosition) {
  const struct {
    const char* text;
    std::int16_t stored_port;
    const char* choices;
  } cases[] = {
      {"", 5, "sound 5 - 0"},
      {"S 3 11.0592", 12, "quiet 3 11.0592 11.0592"},
      {"s 0", 4, "quiet 0 - 0"},
      {"s 257", 4, "quiet 0 - 0"},
      {"s -1", 4, "quiet 0 - 0"},
      {"s 99999999", 4, "quiet 0 - 0"},
      {"s COM3", 4, "quiet 0 - 0"},
      {"s 2.5", 4, "quiet 2 - 0"},  // halves to even
      {"s 256", 4, "quiet 256 - 0"},
      {"x", 7, "sound 7 - 0"},  // only S and s switch the sound off
      {"SS", 7, "sound 7 - 0"},
      {"-S", 7, "sound 7 - 0"},
      {"S  3", 9, "quiet 0 3 3"},             // two blanks make an empty second word: no port
      {"S 1\t2 1.5e1", 0, "quiet 12 15 15"},  // tabs inside a word are ignored
      {"S 3 abc", 0, "quiet 3 0 0"},
      {"S 3 1e999", 0, "quiet 3 0 0"},              // an unusable clock counts as none
      {"S 3 11 x y", 0, "quiet 3 11 11 too-many"},  // the first three words still apply
      {"a b c ", 0, "sound 0 0 0 too-many"},        // a trailing blank makes a word
  };
  for (const auto& c : cases) EXPECT_EQ(Choices(c.text, c.stored_port), c.choices) << c.text;
  EXPECT_EQ(Choices(std::string(100000, 'S'), 0), "sound 0 - 0");
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
