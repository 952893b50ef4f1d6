#pragma once

#include "cli/subcommand.h"

namespace korvane {

/// `info`: finds the board and prints its port, clock and link speed.
extern const Subcommand kInfoCommand;

}  // namespace korvane
