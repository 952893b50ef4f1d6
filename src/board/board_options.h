#pragma once

#include <cstdint>
#include <optional>

#include "board/adc_inputs.h"
#include "board/simulated_signals.h"

namespace korvane {

/// Faults a test can inject into the simulated board.
struct BoardFaults {
  /// The programming mode gives this many answers (prompts, replies to HEX lines), then stays
  /// silent: no echo, no prompt. Nothing = no limit.
  std::optional<int> prog_mode_answer_limit;
  /// The board program gives this many "]" answers, then stays silent. Nothing = no limit.
  std::optional<int> run_mode_answer_limit;
  /// Every byte the board sends is replaced by pure garbage: random bytes that are never a prompt
  /// or a reply letter ("]", ">", ".", "T", "E", "X"), for tests of a port where nothing
  /// sensible ever answers. Line faults that can forge those letters are the noise faults below
  /// and a bit-rate mismatch.
  bool garbage_answers = false;
  /// Line noise: every data bit of every byte on the board's line, in both directions, flips with
  /// this probability (seeded by BoardOptions::seed), so bytes turn into other bytes, prompts and
  /// reply letters included.
  double noise_bit_error_rate = 0.0;
  /// One byte hit by noise: the `nth` byte (1-based, counted from power-up or SetFaults) that the
  /// board sends (`to_host`) or hears, with the data bits of `flipped_bits` inverted.
  struct NoisyByte {
    bool to_host = true;
    int nth = 1;
    std::uint8_t flipped_bits = 0;
  };
  std::optional<NoisyByte> noisy_byte;
  /// How long "M0000" and "M8000" take, in ms; nothing = the chip's 250 ms. Over 400 outlasts
  /// the host's time-out for them.
  std::optional<int> erase_ms;
  /// The first this-many carriage returns that would start programming mode are ignored, so that
  /// the board answers only a later programming-reset attempt.
  int ignored_bit_rate_crs = 0;
  /// The n-th line (1-based) of every Intel HEX transfer arrives with one digit changed, as line
  /// noise would change it, so the boot firmware answers it "E". Nothing = no such line.
  std::optional<int> corrupted_hex_line;
};

struct BoardOptions {
  double clock_mhz = 11.0592;
  /// The flash holds a whole program image at power-up; false gives a blank board.
  bool program_loaded = true;
  /// Seeds everything random the board does (garbage answers, line noise, conversion noise).
  std::uint32_t seed = 1;
  /// What the converter's inputs carry at power-up; SimulatedBoard::ConverterInputs changes it.
  AdcInputs adc_inputs;
  /// Tones, mains hum and 1/f noise on top of the inputs; none by default.
  SimulatedSignals input_signals;
  BoardFaults faults;
};

}  // namespace korvane
