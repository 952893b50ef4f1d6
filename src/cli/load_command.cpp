#include "cli/load_command.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/board_session.h"
#include "cli/console_progress.h"
#include "cli/output.h"

namespace korvane {

namespace {

constexpr int kLoadButton = 0;
constexpr const char* kLoaded = "PROGRAM  WAS  LOADED";

void AddLoadOptions(QCommandLineParser& parser) {
  parser.addPositionalArgument("FILE", "The firmware, an Intel HEX file.");
}

std::string ReadLoad(const QCommandLineParser& parser, CliRequest& request) {
  request.hex_path = parser.positionalArguments().value(1).toStdString();
  return "";
}

/// The loader's outcome from the status texts it showed.
ExitCode LoadOutcome(const BoardSession& session) {
  if (session.StatusShowed(kLoaded)) return ExitCode::kOk;
  if (session.StatusShowed("HEX  FILE") || session.StatusShowed(" OPEN  FILE")) {
    return ExitCode::kFileError;
  }
  return session.Interrupted() ? ExitCode::kInterrupted : ExitCode::kBoardError;
}

ExitCode RunLoad(BoardSession& session, const CliRequest& request) {
  if (std::FILE* file = std::fopen(request.hex_path.c_str(), "rb")) {
    std::fclose(file);
  } else {
    std::fprintf(stderr, "korvane-cli: cannot read %s: %s\n", request.hex_path.c_str(),
                 std::strerror(errno));
    return ExitCode::kFileError;
  }
  // Also the file a blank board gets when the start-up's reset finds no program on it.
  session.main_form().loader().SetHexFile(request.hex_path);
  ExitCode code = session.Connect(false);
  if (code != ExitCode::kOk) return session.Finish(code);
  Form& form = session.form();
  if (!session.StatusShowed(kLoaded)) {
    const int messages_before = session.dialogs().Count();
    session.ForgetStatus();
    ConsoleProgress bar = ConsoleProgress::ForStderr("load");
    form.prgProgress.SetObserver(
        [&] { bar.Update(form.prgProgress.Value(), form.prgProgress.Max(), -1); });
    form.cmdCntr[kLoadButton].Click();
    form.prgProgress.SetObserver({});
    bar.Finish();
    code = LoadOutcome(session);
    if (code != ExitCode::kOk) {
      // A refused file's fault (its line, a missing end record) is on the panel only.
      if (code == ExitCode::kFileError) {
        std::fprintf(stderr, "korvane-cli: %s: %s\n", request.hex_path.c_str(),
                     ConsoleDialogs::OneLine(form.Panel(1).Text()).c_str());
      } else {
        session.ReportFailure(ConsoleDialogs::OneLine(form.Panel(1).Text()), messages_before);
      }
      return session.Finish(code);
    }
  }
  WriteAll(stdout,
           FieldsText({{"loaded", request.hex_path}, {"port", std::to_string(form.PortNumber)}},
                      request.shared.json));
  return session.Finish(ExitCode::kOk);
}

}  // namespace

const Subcommand kLoadCommand{
    "load", "load FILE",    "Load the firmware from an Intel HEX file, as \"Load Korvane\" does.",
    1,      AddLoadOptions, ReadLoad,
    RunLoad};

}  // namespace korvane
