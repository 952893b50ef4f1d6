#include "board/image_trailer.h"

namespace korvane {

namespace {

constexpr std::uint8_t kMarkK = 'K';
constexpr std::uint8_t kMarkV = 'V';

std::uint16_t Word(const BoardMemory& memory, int address) {
  return static_cast<std::uint16_t>(memory.FlashByte(address) * 256 +
                                    memory.FlashByte(address + 1));
}

}  // namespace

std::vector<std::uint8_t> ImageTrailer(std::uint16_t address,
                                       const std::vector<std::uint8_t>& bytes) {
  const unsigned length = address + static_cast<unsigned>(bytes.size());
  unsigned sum = BoardMemory::kErased * unsigned{address};
  for (const std::uint8_t byte : bytes) sum += byte;
  return {kMarkK,
          kMarkV,
          static_cast<std::uint8_t>((length >> 8) & 0xFFu),
          static_cast<std::uint8_t>(length & 0xFFu),
          static_cast<std::uint8_t>((sum >> 8) & 0xFFu),
          static_cast<std::uint8_t>(sum & 0xFFu)};
}

bool HoldsWholeImage(const BoardMemory& memory) {
  if (memory.FlashByte(kImageTrailerAddress) != kMarkK ||
      memory.FlashByte(kImageTrailerAddress + 1) != kMarkV) {
    return false;
  }
  const int length = Word(memory, kImageTrailerAddress + 2);
  if (length > kImageTrailerAddress) return false;
  unsigned sum = 0;
  for (int address = 0; address < length; ++address) sum += memory.FlashByte(address);
  return (sum & 0xFFFFu) == Word(memory, kImageTrailerAddress + 4);
}

void WriteWholeImage(BoardMemory& memory, const std::vector<std::uint8_t>& bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    memory.WriteFlash(static_cast<int>(i), bytes[i]);
  }
  const std::vector<std::uint8_t> trailer = ImageTrailer(0x0000, bytes);
  for (std::size_t i = 0; i < trailer.size(); ++i) {
    memory.WriteFlash(kImageTrailerAddress + static_cast<int>(i), trailer[i]);
  }
}

}  // namespace korvane
