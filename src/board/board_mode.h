#pragma once

namespace korvane {

/// What the chip on the simulated board is doing.
enum class BoardMode {
  kHeldInReset,       ///< a reset line is off
  kDetectingBitRate,  ///< programming mode, waiting for the carriage return that sets its bit rate
  kProgramming,       ///< programming mode, prompt ">"
  kRunning,           ///< the board program runs, prompt "]"
  kIdle,              ///< started with a blank flash: nothing runs, nothing answers
};

}  // namespace korvane
