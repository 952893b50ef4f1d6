#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/time_base.h"

namespace korvane {

/// Time one byte takes on an 8-N-1 line: start bit, 8 data bits, stop bit. Zero for a rate <= 0.
Micros ByteTimeOnLine(int bit_rate);

/// One byte as a receiving UART read it, and when its stop bit was sampled (from the start of
/// the sender's first start bit).
struct UartByte {
  char byte;
  double stop_sample_seconds;
};

/// What a UART set to `receiver_rate` reads from `bytes` sent back to back at `sender_rate`,
/// followed by an idle (high) line. It waits for a falling edge, takes it as a start bit,
/// samples the start bit, 8 data bits (LSB first) and the stop bit in the middle of its own bit
/// times, and hands on every byte, also one whose stop bit reads low (a framing error, which a
/// PC's serial driver passes on as well). A start bit that reads high at its middle was a
/// glitch. So matching rates (within some 4 %) read the bytes unchanged; other rates read
/// ordinary bytes too, sometimes more or fewer than were sent. Deterministic.
std::vector<UartByte> ReadAtRate(std::string_view bytes, int sender_rate, int receiver_rate);

/// The bytes of ReadAtRate without their times.
std::string ReadBytesAtRate(std::string_view bytes, int sender_rate, int receiver_rate);

}  // namespace korvane
