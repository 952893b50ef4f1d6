#pragma once

#include <string>
#include <vector>

namespace korvane {

/// A serial device present on this computer, as the port search sees it.
struct SerialDeviceEntry {
  std::string name;      ///< "ttyUSB0", "ttyS1", "COM3"
  std::string location;  ///< what opens it: "/dev/ttyUSB0"
  bool is_usb_adapter = false;
};

/// The devices in the order that port numbers 1, 2, 3 ... map to: USB and ACM adapters first
/// (the usual way to reach the board), then by name with digit runs compared as numbers
/// ("ttyS2" before "ttyS10"), so the numbering stays the same between runs.
std::vector<std::string> OrderSerialDevices(std::vector<SerialDeviceEntry> devices);

}  // namespace korvane
