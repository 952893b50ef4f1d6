#pragma once

#include <QTimer>
#include <string>

#include "platform/traffic_listener.h"

namespace korvane {

/// Logs the serial traffic on "korvane.serial" (debug level, off by default). Chunks of one
/// direction are gathered into one line until the direction changes, a line feed passes, the
/// line goes quiet for kQuietMs or grows long, so a paced command and its echo read
/// "TX: RRCA" and "RX: RRCAE0>" rather than one line per character.
class SerialLog final : public TrafficListener {
 public:
  SerialLog();
  ~SerialLog() override;
  SerialLog(const SerialLog&) = delete;
  SerialLog& operator=(const SerialLog&) = delete;

  void OnTraffic(TrafficDirection direction, std::string_view bytes) override;
  void OnPortLost(int port_number) override;
  /// Writes out the gathered line now.
  void Flush();

  static constexpr int kQuietMs = 30;
  static constexpr std::size_t kLongestLine = 256;

 private:
  QTimer flush_timer_;
  TrafficDirection direction_ = TrafficDirection::kToBoard;
  std::string pending_;
};

}  // namespace korvane
