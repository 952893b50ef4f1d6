#include "platform/qt/termination_signals.h"

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#endif

namespace korvane {

#ifdef Q_OS_UNIX
namespace {

int signal_pipe[2] = {-1, -1};

/// Only async-signal-safe work here: one byte into the pipe, read on the event loop.
void WriteSignalByte(int) {
  const char byte = 1;
  [[maybe_unused]] const auto written = ::write(signal_pipe[0], &byte, 1);
}

}  // namespace
#endif

TerminationSignals::TerminationSignals(std::function<void()> on_signal)
    : on_signal_(std::move(on_signal)) {
#ifdef Q_OS_UNIX
  if (signal_pipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, signal_pipe) != 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(signal_pipe[1], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
    char byte = 0;
    [[maybe_unused]] const auto read = ::read(signal_pipe[1], &byte, 1);
    if (on_signal_) on_signal_();
  });
  struct sigaction action {};
  action.sa_handler = WriteSignalByte;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
#endif
}

TerminationSignals::~TerminationSignals() {
#ifdef Q_OS_UNIX
  if (!notifier_) return;
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  notifier_.reset();
  ::close(signal_pipe[0]);
  ::close(signal_pipe[1]);
  signal_pipe[0] = signal_pipe[1] = -1;
#endif
}

}  // namespace korvane
