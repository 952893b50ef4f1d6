#pragma once

namespace korvane {

/// korvane-cli's exit status: one code per kind of outcome, so that scripts can tell them apart.
enum class ExitCode : int {
  kOk = 0,
  /// An unknown option or subcommand, a value out of range, settings that contradict each other,
  /// a gain or data rate the chip cannot make.
  kBadArguments = 2,
  /// No board answered on any port tried.
  kNoBoard = 3,
  /// The board was found but failed: a register write, a reset or a load without an answer, a
  /// run whose readings stopped.
  kBoardError = 4,
  /// A file could not be read or written (the HEX file, the capture's output).
  kFileError = 5,
  /// Ended by Ctrl+C (SIGINT) or SIGTERM, after the board was left stopped.
  kInterrupted = 130,
};

/// The exit codes and their meaning, for --help.
inline constexpr const char* kExitCodeHelp =
    "Exit codes: 0 done, 2 bad arguments, 3 no board, 4 board error, 5 file error,\n"
    "130 interrupted (Ctrl+C or SIGTERM; the board is left stopped).\n";

}  // namespace korvane
