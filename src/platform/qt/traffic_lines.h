#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/traffic_listener.h"

namespace korvane {

/// Turns the serial traffic into the lines of the traffic view: each line starts with "TX: " or
/// "RX: ", bytes outside printable ASCII appear as <0D>, and a line ends at a change of
/// direction, after a line end of the board (CR, LF or CR LF) or when it grows long. Text piles
/// up here until the view takes it, bounded so that a view that is not taking cannot eat memory.
class TrafficLines {
 public:
  enum class Kind { kToBoard, kFromBoard, kNotice };
  /// Consecutive text of one kind; "\n" separates lines, the last line may still be growing.
  struct Run {
    Kind kind;
    std::string text;
    bool operator==(const Run&) const = default;
  };

  static constexpr std::size_t kMaxLineChars = 120;
  static constexpr std::size_t kMaxPendingChars = 256 * 1024;

  void Add(TrafficDirection direction, std::string_view bytes);
  /// A line of its own, such as "PORT LOST".
  void AddNotice(std::string_view text);
  /// The text added since the last take.
  std::vector<Run> Take();
  bool HasPending() const { return !pending_.empty(); }

 private:
  void AddByte(Kind kind, char byte);
  void EndLine();
  void Append(Kind kind, std::string_view text);

  std::vector<Run> pending_;
  std::size_t pending_chars_ = 0;
  bool line_open_ = false;
  Kind line_kind_ = Kind::kToBoard;
  std::size_t line_chars_ = 0;
  bool after_carriage_return_ = false;
};

}  // namespace korvane
