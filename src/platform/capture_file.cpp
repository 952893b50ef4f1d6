#include "platform/capture_file.h"

#include "common/number_text.h"

namespace korvane {

std::string PrintableTraffic(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && c != '<') {
      text += c;
    } else {
      text += '<' + Hex2(byte) + '>';
    }
  }
  return text;
}

CaptureFile::CaptureFile(const std::string& file_name)
    : out_(file_name, std::ios::out | std::ios::trunc | std::ios::binary) {}

void CaptureFile::Record(TrafficDirection direction, std::string_view bytes) {
  if (!out_.is_open() || bytes.empty()) return;
  if (!has_direction_ || direction != direction_) {
    if (has_direction_) out_ << '\n';
    out_ << (direction == TrafficDirection::kToBoard ? "TX: " : "RX: ");
    has_direction_ = true;
    direction_ = direction;
  }
  out_ << PrintableTraffic(bytes);
  out_.flush();
}

}  // namespace korvane
