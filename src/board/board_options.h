#pragma once

#include <cstdint>
#include <optional>

#include "board/adc_inputs.h"

namespace korvane {

/// Faults a test can inject into the simulated board.
struct BoardFaults {
  /// The programming mode gives this many answers (prompts, replies to HEX lines), then stays
  /// silent: no echo, no prompt. Nothing = no limit.
  std::optional<int> prog_mode_answer_limit;
  /// The board program gives this many "]" answers, then stays silent. Nothing = no limit.
  std::optional<int> run_mode_answer_limit;
  /// Every byte the board sends is replaced by a byte that is never a prompt or a reply letter.
  bool garbage_answers = false;
  /// The first this-many carriage returns that would start programming mode are ignored, so that
  /// the board answers only a later programming-reset attempt.
  int ignored_bit_rate_crs = 0;
  /// The n-th line (1-based) of every Intel HEX transfer arrives with one digit changed, as line
  /// noise would change it, so the boot firmware answers it "E". Nothing = no such line.
  std::optional<int> corrupted_hex_line;
};

struct BoardOptions {
  double clock_mhz = 11.0592;
  /// The flash holds a program at power-up; false gives a blank board.
  bool program_loaded = true;
  /// Seeds everything random the board does (garbage answers, conversion noise).
  std::uint32_t seed = 1;
  /// What the converter's inputs carry at power-up; SimulatedBoard::ConverterInputs changes it.
  AdcInputs adc_inputs;
  BoardFaults faults;
};

}  // namespace korvane
