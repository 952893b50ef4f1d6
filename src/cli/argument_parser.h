#pragma once

#include <QStringList>
#include <string>

#include "cli/cli_request.h"
#include "cli/exit_codes.h"
#include "cli/subcommand.h"

namespace korvane {

/// What the command line asks for: a subcommand to run with its request, or text to print and
/// the exit code to end with (help and version: kOk on stdout; a mistake: kBadArguments and a
/// one-line error for stderr).
struct ParsedArguments {
  const Subcommand* command = nullptr;
  CliRequest request;
  ExitCode code = ExitCode::kOk;
  std::string output;
  std::string error;
};

/// Parses korvane-cli's arguments (the program's name first) with QCommandLineParser: the shared
/// options, then the subcommand and its own options, which may come in any order after it.
ParsedArguments ParseArguments(const QStringList& arguments);

}  // namespace korvane
