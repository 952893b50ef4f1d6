#include "platform/qt/serial_device_identity.h"

#include <filesystem>
#include <system_error>

namespace korvane {

std::string ByIdNameOf(const std::string& device, const std::string& by_id_folder) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path target = fs::canonical(device, error);
  if (error) return {};
  for (fs::directory_iterator it(by_id_folder, error), end; !error && it != end;
       it.increment(error)) {
    std::error_code link_error;
    if (fs::canonical(it->path(), link_error) == target && !link_error) {
      return it->path().string();
    }
  }
  return {};
}

std::string MappingNameFor(const std::string& device, const std::string& by_id_folder) {
  if (device.starts_with(by_id_folder + "/")) return device;
  const std::string by_id = ByIdNameOf(device, by_id_folder);
  return by_id.empty() ? device : by_id;
}

std::string FindSameDevice(const SerialDeviceIdentity& lost,
                           const std::vector<SerialDeviceIdentity>& present) {
  if (!lost.by_id.empty()) {
    for (const auto& device : present) {
      if (device.by_id == lost.by_id) return device.location;
    }
  }
  if (!lost.serial_number.empty()) {
    for (const auto& device : present) {
      if (device.serial_number == lost.serial_number) return device.location;
    }
  }
  return {};
}

}  // namespace korvane
