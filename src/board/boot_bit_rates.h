#pragma once

namespace korvane {

/// Whether the boot firmware's bit-rate detection locks onto a carriage return sent at
/// `sender_rate` (within 1 % of a standard rate): its timer makes 1200 bit/s from every clock;
/// below 5 MHz nothing else but 2400 from exactly 1.8432 MHz; from 5 MHz on every standard rate
/// (57600, 38400, 19200 ... 1200) whose reload value 65536 - clock / (32 x rate), rounded, comes
/// within 2 % of it. Any other rate it does not hear as a carriage return.
bool BootFirmwareLocksOnto(double clock_mhz, int sender_rate);

}  // namespace korvane
