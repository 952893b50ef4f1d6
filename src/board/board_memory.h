#pragma once

#include <cstdint>
#include <vector>

namespace korvane {

/// The chip's nonvolatile memories: program flash at 0000..F7FF and the hardware configuration
/// memory at 8000..80FF (its own address space). Both keep their contents across resets; erased
/// cells read FF.
class BoardMemory {
 public:
  static constexpr int kFlashEnd = 0xF7FF;
  static constexpr int kConfigStart = 0x8000;
  static constexpr int kConfigEnd = 0x80FF;
  static constexpr std::uint8_t kErased = 0xFF;

  BoardMemory();

  static bool IsFlashAddress(int address) { return address >= 0 && address <= kFlashEnd; }
  static bool IsConfigAddress(int address) {
    return address >= kConfigStart && address <= kConfigEnd;
  }

  void EraseFlash();
  void EraseConfig();

  /// Programs one flash byte; false when the address is outside the flash or the cell is not
  /// erased (flash is written once per erase).
  bool WriteFlash(int address, std::uint8_t value);
  /// Whether a flash byte can be programmed now (inside the flash and erased).
  bool CanWriteFlash(int address) const;
  /// Writes one configuration byte (any number of times); false outside 8000..80FF.
  bool WriteConfig(int address, std::uint8_t value);

  /// FF outside the flash.
  std::uint8_t FlashByte(int address) const;
  /// FF outside the configuration memory.
  std::uint8_t ConfigByte(int address) const;

  /// A program is loaded when any flash byte is programmed.
  bool HasProgram() const;

 private:
  std::vector<std::uint8_t> flash_;
  std::vector<std::uint8_t> config_;
};

}  // namespace korvane
