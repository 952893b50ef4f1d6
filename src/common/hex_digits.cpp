#include "common/hex_digits.h"

namespace korvane {

std::optional<int> HexDigitValue(char digit) {
  if (digit >= '0' && digit <= '9') return digit - '0';
  if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
  if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
  return std::nullopt;
}

std::optional<int> HexValue(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  int value = 0;
  for (const char digit : digits) {
    const auto digit_value = HexDigitValue(digit);
    if (!digit_value) return std::nullopt;
    value = value * 16 + *digit_value;
  }
  return value;
}

}  // namespace korvane
