#pragma once

#include "cli/subcommand.h"

namespace korvane {

/// `reset`: finds the board and resets it as the window's RESET does.
extern const Subcommand kResetCommand;

}  // namespace korvane
