#pragma once

#include <fstream>
#include <string>
#include <string_view>

#include "platform/traffic_listener.h"

namespace korvane {

/// Writes the serial traffic of both directions, in order, to a text file: each change of
/// direction starts a line "TX: " or "RX: "; bytes outside printable ASCII appear as <0D>.
class CaptureFile {
 public:
  explicit CaptureFile(const std::string& file_name);
  bool IsOpen() const { return out_.is_open(); }
  void Record(TrafficDirection direction, std::string_view bytes);

 private:
  std::ofstream out_;
  bool has_direction_ = false;
  TrafficDirection direction_ = TrafficDirection::kToBoard;
};

/// Printable form of raw serial bytes, as the capture and the traffic view show them.
std::string PrintableTraffic(std::string_view bytes);

}  // namespace korvane
