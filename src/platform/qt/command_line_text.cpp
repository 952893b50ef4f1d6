#include "platform/qt/command_line_text.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace korvane {

namespace {

constexpr std::array<std::string_view, 6> kProgramOptions = {
    "--simulate", "--blank-board", "--help", "--version", "--show-noise", "--show-spectrum"};
/// An option that carries its value after "=".
constexpr std::string_view kOpenOption = "--open=";

/// An option that carries its value in the next argument, or after "=".
constexpr std::string_view kPortOption = "--port";

bool IsProgramOption(const std::string& argument) {
  return std::find(kProgramOptions.begin(), kProgramOptions.end(), argument) !=
             kProgramOptions.end() ||
         argument.starts_with(kOpenOption) || argument.starts_with("--port=");
}

}  // namespace

std::string CommandLineTextFromArguments(const std::vector<std::string>& arguments_after_name) {
  std::string text;
  bool first = true;
  bool port_value_next = false;
  for (const auto& argument : arguments_after_name) {
    // "--port DEVICE": the device is the option's, not one of the user's words.
    if (std::exchange(port_value_next, argument == kPortOption)) continue;
    if (IsProgramOption(argument) || argument == kPortOption) continue;
    if (!first) text += ' ';
    text += argument;
    first = false;
  }
  return text;
}

}  // namespace korvane
