#include "platform/qt/command_line_text.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace korvane {

namespace {

constexpr std::array<std::string_view, 6> kProgramOptions = {
    "--simulate", "--blank-board", "--help", "--version", "--show-noise", "--show-spectrum"};
/// An option that carries its value after "=".
constexpr std::string_view kOpenOption = "--open=";

bool IsProgramOption(const std::string& argument) {
  return std::find(kProgramOptions.begin(), kProgramOptions.end(), argument) !=
             kProgramOptions.end() ||
         argument.starts_with(kOpenOption);
}

}  // namespace

std::string CommandLineTextFromArguments(const std::vector<std::string>& arguments_after_name) {
  std::string text;
  bool first = true;
  for (const auto& argument : arguments_after_name) {
    if (IsProgramOption(argument)) continue;
    if (!first) text += ' ';
    text += argument;
    first = false;
  }
  return text;
}

}  // namespace korvane
