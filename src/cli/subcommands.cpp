#include "cli/capture_command.h"
#include "cli/info_command.h"
#include "cli/load_command.h"
#include "cli/reset_command.h"
#include "cli/setup_command.h"
#include "cli/subcommand.h"
#include "cli/sweep_command.h"

namespace korvane {

std::span<const Subcommand> Subcommands() {
  // A new subcommand goes here: a file `NAME_command.{h,cpp}` in this folder that defines its
  // `Subcommand` (options, reading them into `CliRequest`, running it on a `BoardSession`), and
  // one line in this table. Options it alone needs go into `CliRequest` under its name.
  static const Subcommand kTable[] = {
      kInfoCommand, kResetCommand, kLoadCommand, kSetupCommand, kCaptureCommand, kSweepCommand,
  };
  return kTable;
}

}  // namespace korvane
