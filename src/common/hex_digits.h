#pragma once

#include <optional>
#include <string_view>

namespace korvane {

/// Value of one hexadecimal digit (either case); nothing for any other character.
std::optional<int> HexDigitValue(char digit);

/// Value of a run of hexadecimal digits; nothing when empty or when any character is not a digit.
std::optional<int> HexValue(std::string_view digits);

}  // namespace korvane
