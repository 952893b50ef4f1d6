#include "cli/info_command.h"

#include <cstdio>

#include "app/main_form.h"
#include "cli/board_session.h"
#include "cli/output.h"

namespace korvane {

namespace {

ExitCode RunInfo(BoardSession& session, const CliRequest& request) {
  const ExitCode code = session.Connect();
  if (code != ExitCode::kOk) return session.Finish(code);
  const Form& form = session.form();
  const std::vector<FigureLine> lines{
      {"port", std::to_string(form.PortNumber)},   {"device", session.DeviceName()},
      {"clock_MHz", form.txtFreq.Text()},          {"link_bit_rate", form.BaudRate},
      {"program", "korvane-cli " + VersionText()},
  };
  WriteAll(stdout, FieldsText(lines, request.shared.json));
  return session.Finish(ExitCode::kOk);
}

}  // namespace

const Subcommand kInfoCommand{
    "info",  "info", "Find the board; print its port, clock and link speed.", 0, nullptr,
    nullptr, RunInfo};

}  // namespace korvane
