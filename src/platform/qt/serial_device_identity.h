#pragma once

#include <string>
#include <vector>

namespace korvane {

/// What tells one serial adapter from another wherever it is plugged in: the serial number it
/// reports and, on Linux, its stable name under /dev/serial/by-id (both may be empty).
struct SerialDeviceIdentity {
  std::string location;  ///< what opens it now: "/dev/ttyUSB0"
  std::string serial_number;
  std::string by_id;  ///< "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10KZP4M-if00-port0"
};

/// The stable name in `by_id_folder` that points at `device`, "" when none does.
std::string ByIdNameOf(const std::string& device,
                       const std::string& by_id_folder = "/dev/serial/by-id");

/// What a port mapping names for `device` (a path or a stable name as the user gave it): the
/// stable name when the device has one, so the mapping survives a move to another USB socket;
/// anything else (a name with no device behind it) as it stands.
std::string MappingNameFor(const std::string& device,
                           const std::string& by_id_folder = "/dev/serial/by-id");

/// Where the adapter `lost` is now among the `present` ones, "" when it is not back. The stable
/// name decides before the serial number; an adapter with neither cannot be told from another
/// one put into its socket, so it is never taken for the lost one.
std::string FindSameDevice(const SerialDeviceIdentity& lost,
                           const std::vector<SerialDeviceIdentity>& present);

}  // namespace korvane
