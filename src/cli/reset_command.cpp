#include "cli/reset_command.h"

#include <cstdio>

#include "cli/board_session.h"
#include "cli/output.h"
#include "link/board_reset.h"

namespace korvane {

namespace {

ExitCode RunReset(BoardSession& session, const CliRequest& request) {
  const ExitCode code = session.Connect();
  if (code != ExitCode::kOk) return session.Finish(code);
  Form& form = session.form();
  const int messages_before = session.dialogs().Count();
  form.cmdReset.Click();
  if (form.Panel(1).Text() != BoardReset::ResetDoneText(form.PortNumber, form.BaudRate)) {
    session.ReportFailure(ConsoleDialogs::OneLine(form.Panel(1).Text()), messages_before);
    return session.Finish(ExitCode::kBoardError);
  }
  WriteAll(stdout, FieldsText({{"reset", "done"},
                               {"port", std::to_string(form.PortNumber)},
                               {"link_bit_rate", form.BaudRate}},
                              request.shared.json));
  return session.Finish(ExitCode::kOk);
}

}  // namespace

const Subcommand kResetCommand{
    "reset", "reset", "Reset the board as the window's RESET does.", 0, nullptr, nullptr, RunReset};

}  // namespace korvane
