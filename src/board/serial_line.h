#pragma once

#include "platform/time_base.h"

namespace korvane {

/// Time one byte takes on an 8-N-1 line: start bit, 8 data bits, stop bit. Zero for a rate <= 0.
Micros ByteTimeOnLine(int bit_rate);

/// Whether a UART receiving at `receiver_rate` reads bytes sent at `sender_rate` correctly: the
/// two may differ by at most 2.5 % of the receiver's rate.
bool BitRatesMatch(int sender_rate, int receiver_rate);

/// What a UART reads when the sender's rate does not match its own. Deterministic, and always
/// with the high bit set, so a garbled byte never reads as a prompt or a command letter.
char GarbledByte(char sent);

}  // namespace korvane
