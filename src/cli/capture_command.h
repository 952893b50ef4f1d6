#pragma once

#include "cli/subcommand.h"

namespace korvane {

/// `capture -n N [-o FILE]`: N readings at the settings given, as CSV in the recording format on
/// stdout or in FILE, and the noise figures of all N at the end.
extern const Subcommand kCaptureCommand;

}  // namespace korvane
