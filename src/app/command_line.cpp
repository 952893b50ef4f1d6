#include "app/command_line.h"

#include <cmath>
#include <vector>

#include "common/number_text.h"

namespace korvane {

namespace {

std::vector<std::string_view> SplitAtBlanks(std::string_view text) {
  std::vector<std::string_view> words;
  if (text.empty()) return words;
  std::size_t start = 0;
  for (;;) {
    const std::size_t blank = text.find(' ', start);
    words.push_back(text.substr(start, blank - start));
    if (blank == std::string_view::npos) break;
    start = blank + 1;
  }
  return words;
}

}  // namespace

std::int16_t PortFromStoredValue(std::string_view stored) {
  const std::string_view number = stored.size() > 3 ? stored.substr(3) : std::string_view{};
  const auto port = RoundedInRange(ValFromCommandWord(number), INT16_MIN, INT16_MAX);
  return static_cast<std::int16_t>(port.value_or(0));
}

StartupChoices ParseCommandLine(std::string_view text, std::int16_t stored_port) {
  StartupChoices choices;
  choices.PortNumber = stored_port;
  const auto words = SplitAtBlanks(text);
  if (!words.empty() && (words[0] == "S" || words[0] == "s")) choices.Sound = false;
  if (words.size() >= 2) {
    const auto port = RoundedInRange(ValFromCommandWord(words[1]), 1, 256);
    choices.PortNumber = static_cast<std::int16_t>(port.value_or(0));
  }
  if (words.size() >= 3) {
    double mhz = ValFromCommandWord(words[2]);
    if (!std::isfinite(mhz)) mhz = 0;  // an unusable frequency word counts as none
    choices.FreqText = GeneralText(mhz);
    choices.Freq = mhz;
  }
  choices.TooManyWords = words.size() >= 4;
  return choices;
}

}  // namespace korvane
