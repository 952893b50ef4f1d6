#pragma once

#include <string_view>

namespace korvane {

enum class TrafficDirection { kToBoard, kFromBoard };

/// Sees the serial traffic as it passes, and the requests to show or hide the traffic view.
class TrafficListener {
 public:
  virtual ~TrafficListener() = default;
  virtual void OnTraffic(TrafficDirection direction, std::string_view bytes) = 0;
  virtual void OnShowTerminal(bool /*on*/) {}
  virtual void OnPortLost(int /*port_number*/) {}
  /// Port `port_number` could not be opened, for `reason` (a remote port that is not reached).
  virtual void OnPortNotOpened(int /*port_number*/, std::string_view /*reason*/) {}
};

}  // namespace korvane
