// korvane-cli: the Korvane evaluation board from the command line. The same subsystems as the
// window, on a core application (the real serial ports need its event loop), without widgets.

#include <QCoreApplication>
#include <QGuiApplication>
#include <csignal>
#include <cstdio>
#include <memory>

#include "app/main_form.h"
#include "cli/argument_parser.h"
#include "cli/board_session.h"
#include "cli/sweep_command.h"

int main(int argc, char** argv) {
  using namespace korvane;
  // The sweep's plot draws text, which needs a QGuiApplication; offscreen, it needs no display.
  std::unique_ptr<QCoreApplication> application;
  if (SweepWantsPlot(argc, argv)) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    application = std::make_unique<QGuiApplication>(argc, argv);
  } else {
    application = std::make_unique<QCoreApplication>(argc, argv);
  }
  QCoreApplication::setApplicationName("korvane-cli");
  QCoreApplication::setApplicationVersion(QString::fromStdString(VersionText()));
  // A reader that goes away (| head) makes the write fail with a file error, not end the program
  // without leaving the board stopped.
  std::signal(SIGPIPE, SIG_IGN);

  const ParsedArguments parsed = ParseArguments(QCoreApplication::arguments());
  if (!parsed.command) {
    if (!parsed.error.empty()) std::fprintf(stderr, "korvane-cli: %s\n", parsed.error.c_str());
    std::fputs(parsed.output.c_str(), stdout);
    return static_cast<int>(parsed.code);
  }
  BoardSession session(parsed.request.shared);
  return static_cast<int>(parsed.command->run(session, parsed.request));
}
