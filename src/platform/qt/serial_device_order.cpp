#include "platform/qt/serial_device_order.h"

#include <algorithm>
#include <cctype>

namespace korvane {

namespace {

bool IsDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

/// "ttyS2" < "ttyS10": runs of digits compare by value, everything else by character.
bool NaturalLess(const std::string& a, const std::string& b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      const std::size_t a_start = i;
      const std::size_t b_start = j;
      while (i < a.size() && IsDigit(a[i])) ++i;
      while (j < b.size() && IsDigit(b[j])) ++j;
      std::string_view a_digits(a.data() + a_start, i - a_start);
      std::string_view b_digits(b.data() + b_start, j - b_start);
      while (a_digits.size() > 1 && a_digits.front() == '0') a_digits.remove_prefix(1);
      while (b_digits.size() > 1 && b_digits.front() == '0') b_digits.remove_prefix(1);
      if (a_digits.size() != b_digits.size()) return a_digits.size() < b_digits.size();
      if (a_digits != b_digits) return a_digits < b_digits;
    } else {
      if (a[i] != b[j]) return a[i] < b[j];
      ++i;
      ++j;
    }
  }
  return a.size() - i < b.size() - j;
}

}  // namespace

std::vector<std::string> OrderSerialDevices(std::vector<SerialDeviceEntry> devices) {
  std::stable_sort(devices.begin(), devices.end(),
                   [](const SerialDeviceEntry& a, const SerialDeviceEntry& b) {
                     if (a.is_usb_adapter != b.is_usb_adapter) return a.is_usb_adapter;
                     if (NaturalLess(a.name, b.name)) return true;
                     if (NaturalLess(b.name, a.name)) return false;
                     return a.location < b.location;
                   });
  std::vector<std::string> locations;
  locations.reserve(devices.size());
  for (const auto& device : devices) locations.push_back(device.location);
  return locations;
}

}  // namespace korvane
