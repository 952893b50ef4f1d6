#include "platform/port_mapping.h"

namespace korvane {

namespace {

constexpr const char* kApplication = "Korvane-DAQ-EVM";
constexpr const char* kPortsSection = "Ports";

std::string PortKey(int number) {
  return "COM" + std::to_string(number);
}

/// The name a choice of `device` maps: its stable name survives a move to another USB socket.
std::string MappingName(const PresentSerialDevice& device) {
  return device.by_id.empty() ? device.location : device.by_id;
}

}  // namespace

PortMapping::PortMapping(SettingsStore& settings) : settings_(settings) {
  for (int number = 1; number <= kLastPort; ++number) {
    std::string name = settings_.Read(kApplication, kPortsSection, PortKey(number), "");
    if (!name.empty()) mapped_.emplace(number, std::move(name));
  }
}

std::vector<PortListEntry> PortMapping::List(
    const std::vector<PresentSerialDevice>& present) const {
  std::vector<PortListEntry> entries;
  std::map<int, std::string> unseen = mapped_;
  for (const auto& device : present) {
    PortListEntry entry{0, MappingName(device), device};
    for (const auto& [number, name] : mapped_) {
      if (name == device.location || (!device.by_id.empty() && name == device.by_id)) {
        entry.port_number = number;
        entry.mapped_to = name;
        unseen.erase(number);
        break;
      }
    }
    entries.push_back(std::move(entry));
  }
  for (const auto& [number, name] : unseen) entries.push_back({number, name, {}});
  return entries;
}

int PortMapping::Choose(const std::string& name) {
  int chosen = 0;
  for (const auto& [number, mapped_name] : mapped_) {
    if (mapped_name == name) chosen = number;
  }
  for (int number = 1; chosen == 0 && number <= kLastPort; ++number) {
    if (!mapped_.contains(number)) chosen = number;
  }
  if (chosen == 0) return 0;
  mapped_[chosen] = name;
  settings_.Write(kApplication, kPortsSection, PortKey(chosen), name);
  settings_.Write(kApplication, "Settings", "ComPort", PortKey(chosen));
  return chosen;
}

}  // namespace korvane
