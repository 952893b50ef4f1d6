#pragma once

#include <string>

#include "board/board_mode.h"
#include "platform/time_base.h"

namespace korvane {

/// One command the board took in, as the board saw it (after any garbling on the line).
struct ReceivedCommand {
  Micros time{0};
  /// kProgramming or kRunning: the interpreter that took the command.
  BoardMode mode = BoardMode::kProgramming;
  /// The command's characters; a HEX line without its line end; "\r" for a lone carriage return.
  std::string text;
};

}  // namespace korvane
