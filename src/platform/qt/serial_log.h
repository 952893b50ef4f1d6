#pragma once

#include "platform/traffic_listener.h"

namespace korvane {

/// Logs every chunk of serial traffic with its direction on "korvane.serial" (debug level, so
/// nothing is formatted while the category is off).
class SerialLog final : public TrafficListener {
 public:
  void OnTraffic(TrafficDirection direction, std::string_view bytes) override;
  void OnPortLost(int port_number) override;
};

}  // namespace korvane
