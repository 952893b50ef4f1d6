#pragma once

#include <cstdint>
#include <vector>

#include "board/board_memory.h"

namespace korvane {

/// How the simulated board knows that its flash holds a whole program: the image ends with a
/// trailer in the last six flash bytes, F7FA..F7FF: the letters "KV", the image's length n
/// (flash 0000..n-1, n <= F7FA) and the 16-bit sum of those n bytes (erased cells count FF), both
/// high byte first. The trailer is the image's last record, so a load stopped or refused half
/// way never has it, and a missing or changed line spoils the sum.
inline constexpr int kImageTrailerAddress = 0xF7FA;

/// The trailer for an image that holds `bytes` from `address` on (erased below `address`).
std::vector<std::uint8_t> ImageTrailer(std::uint16_t address,
                                       const std::vector<std::uint8_t>& bytes);

/// Whether the flash holds a whole image: a trailer whose length and sum match the flash.
bool HoldsWholeImage(const BoardMemory& memory);

/// Programs `bytes` from 0000 on and their trailer into erased flash (a factory-loaded board).
void WriteWholeImage(BoardMemory& memory, const std::vector<std::uint8_t>& bytes);

}  // namespace korvane
