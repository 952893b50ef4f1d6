#include "acquisition/reading_lines.h"

namespace korvane {

void ReadingLines::Append(std::string_view received) {
  for (const char c : received) {
    if (c == '\r') {
      pending_.push_back(c);
      current_length_ = 0;
      continue;
    }
    if (c == '\n' && current_length_ == 0) continue;  // the LF of the previous CR LF
    if (current_length_ < kKeptPerReading) pending_.push_back(c);
    ++current_length_;
  }
}

std::optional<std::string> ReadingLines::Next() {
  const auto end = pending_.find('\r');
  if (end == std::string::npos) return std::nullopt;
  std::string reading = pending_.substr(0, end);
  pending_.erase(0, end + 1);
  return reading;
}

void ReadingLines::Clear() {
  pending_.clear();
  current_length_ = 0;
}

std::int32_t ConversionCode(std::string_view reading) {
  std::int32_t code = 0;
  for (const char c : reading.substr(0, 6)) {
    if (c == ' ' || c == '\t' || c == '\n') continue;
    int digit = 0;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else {
      break;
    }
    code = code * 16 + digit;
  }
  return code;
}

}  // namespace korvane
