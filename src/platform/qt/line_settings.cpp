#include "platform/qt/line_settings.h"

#include <charconv>
#include <string>
#include <vector>

namespace korvane {

namespace {

std::vector<std::string> SplitFields(std::string_view text) {
  std::vector<std::string> fields;
  std::string field;
  for (const char c : text) {
    if (c == ',') {
      fields.push_back(field);
      field.clear();
    } else if (c != ' ' && c != '\t') {
      field += c;
    }
  }
  fields.push_back(field);
  return fields;
}

/// The whole field as a positive number, 0 when it is anything else.
int PositiveNumber(const std::string& field) {
  int value = 0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (error != std::errc{} || end != field.data() + field.size() || value <= 0) return 0;
  return value;
}

}  // namespace

LineSettings ParseLineSettings(std::string_view text) {
  LineSettings settings;
  const std::vector<std::string> fields = SplitFields(text);
  if (const int rate = PositiveNumber(fields[0]); rate > 0) settings.bit_rate = rate;
  if (fields.size() > 1 && fields[1].size() == 1) {
    switch (fields[1][0]) {
      case 'E':
      case 'e':
        settings.parity = LineSettings::Parity::kEven;
        break;
      case 'O':
      case 'o':
        settings.parity = LineSettings::Parity::kOdd;
        break;
      default:
        break;
    }
  }
  if (fields.size() > 2) {
    if (const int bits = PositiveNumber(fields[2]); bits >= 5 && bits <= 8) {
      settings.data_bits = bits;
    }
  }
  if (fields.size() > 3) {
    if (fields[3] == "2") settings.stop_bits = LineSettings::StopBits::kTwo;
    if (fields[3] == "1.5") settings.stop_bits = LineSettings::StopBits::kOneAndHalf;
  }
  return settings;
}

}  // namespace korvane
