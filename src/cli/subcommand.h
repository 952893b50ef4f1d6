#pragma once

#include <QCommandLineParser>
#include <span>
#include <string>

#include "cli/cli_request.h"
#include "cli/exit_codes.h"

namespace korvane {

class BoardSession;

/// One subcommand of korvane-cli: its name, its own options and positional arguments, how they
/// are read into the request, and what it does with the board.
struct Subcommand {
  const char* name;
  /// The line --help shows after the program's name, and the one-line summary.
  const char* synopsis;
  const char* summary;
  /// How many words follow the name (load: its FILE).
  int arguments;
  /// Adds the subcommand's own options and positional arguments; may be null.
  void (*add_options)(QCommandLineParser& parser);
  /// Reads them into `request`; returns why they cannot be used, or "". May be null.
  std::string (*read_options)(const QCommandLineParser& parser, CliRequest& request);
  ExitCode (*run)(BoardSession& session, const CliRequest& request);
};

/// Every subcommand, in the order --help lists them.
std::span<const Subcommand> Subcommands();

}  // namespace korvane
