#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/settings_store.h"

namespace korvane {

/// A serial device present on this computer, as the port picker shows it.
struct PresentSerialDevice {
  std::string location;  ///< what opens it: "/dev/ttyUSB0", "COM3"
  std::string description;
  std::string manufacturer;
  std::string serial_number;
  std::string by_id;  ///< the stable name under /dev/serial/by-id, "" when it has none
};

/// One line of the port picker: a device present, a mapping in the settings, or both.
struct PortListEntry {
  int port_number = 0;         ///< the number mapped to it, 0 while it has none
  std::string mapped_to;       ///< what a choice maps: the stable name when there is one
  PresentSerialDevice device;  ///< empty location when the mapped device is not present
};

/// The numbers that the settings section "Ports" maps to a device ("COM3" = "/dev/ttyUSB0").
/// The names are kept as written, so a later kind of port (a network address) maps the same way.
class PortMapping {
 public:
  explicit PortMapping(SettingsStore& settings);

  const std::map<int, std::string>& Mapped() const { return mapped_; }
  /// The present devices with the numbers mapped to them, then the mapped names not present.
  std::vector<PortListEntry> List(const std::vector<PresentSerialDevice>& present) const;
  /// Maps `name` (kept under the number it already has, else the lowest free number), makes it
  /// the stored port and returns its number; 0 when all 256 numbers are taken.
  int Choose(const std::string& name);

  static constexpr int kLastPort = 256;

 private:
  SettingsStore& settings_;
  std::map<int, std::string> mapped_;
};

}  // namespace korvane
