#pragma once

#include <vector>

#include "platform/port_mapping.h"

namespace korvane {

/// The serial devices present now, with their stable names resolved.
std::vector<PresentSerialDevice> PresentSerialDevices();

}  // namespace korvane
