#pragma once

#include "cli/subcommand.h"

namespace korvane {

/// `load FILE`: puts the firmware of an Intel HEX file into the chip, as "Load Korvane" does,
/// with its checks: the whole file is read and checked before the board is touched.
extern const Subcommand kLoadCommand;

}  // namespace korvane
