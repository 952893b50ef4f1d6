#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvane {

/// Splits the board's stream into the text of single readings. Each reading's text ends at its
/// CR; a LF at the start of a reading (the rest of the previous CR LF) is dropped. Text that
/// arrives in one take may hold several readings: none of them is lost. A reading that never
/// ends keeps only its first characters, so garbage without CR cannot fill the memory.
class ReadingLines {
 public:
  /// Characters kept of one reading's text; only the first six carry the code.
  static constexpr std::size_t kKeptPerReading = 64;

  void Append(std::string_view received);
  /// The next complete reading's text (without its CR), or nothing while none is complete.
  std::optional<std::string> Next();
  void Clear();

 private:
  /// Complete readings, each ended by its CR, then the kept start of the current one.
  std::string pending_;
  /// Characters of the current reading seen so far (kept or not).
  std::size_t current_length_ = 0;
};

/// The conversion code in a reading's text: its first six characters as hexadecimal, blanks,
/// tabs and line feeds among them skipped, stopping at the first other character (0 when no
/// digit comes first).
std::int32_t ConversionCode(std::string_view reading);

}  // namespace korvane
