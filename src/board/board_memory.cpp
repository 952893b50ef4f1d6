#include "board/board_memory.h"

#include <algorithm>

namespace korvane {

BoardMemory::BoardMemory()
    : flash_(kFlashEnd + 1, kErased), config_(kConfigEnd - kConfigStart + 1, kErased) {}

void BoardMemory::EraseFlash() {
  std::fill(flash_.begin(), flash_.end(), kErased);
}

void BoardMemory::EraseConfig() {
  std::fill(config_.begin(), config_.end(), kErased);
}

bool BoardMemory::CanWriteFlash(int address) const {
  return IsFlashAddress(address) && flash_[address] == kErased;
}

bool BoardMemory::WriteFlash(int address, std::uint8_t value) {
  if (!CanWriteFlash(address)) return false;
  flash_[address] = value;
  return true;
}

bool BoardMemory::WriteConfig(int address, std::uint8_t value) {
  if (!IsConfigAddress(address)) return false;
  config_[address - kConfigStart] = value;
  return true;
}

std::uint8_t BoardMemory::FlashByte(int address) const {
  return IsFlashAddress(address) ? flash_[address] : kErased;
}

std::uint8_t BoardMemory::ConfigByte(int address) const {
  return IsConfigAddress(address) ? config_[address - kConfigStart] : kErased;
}

bool BoardMemory::HasProgram() const {
  return std::any_of(flash_.begin(), flash_.end(),
                     [](std::uint8_t cell) { return cell != kErased; });
}

}  // namespace korvane
