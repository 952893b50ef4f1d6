#include "platform/qt/termination_signals.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <csignal>

namespace korvane {
namespace {

TEST(QtTerminationSignalsTest, SignalsArriveOnTheEventLoop) {
  int calls = 0;
  {
    TerminationSignals termination([&calls] { ++calls; });
    for (const int signal : {SIGTERM, SIGINT}) {
      const int before = calls;
      std::raise(signal);
      EXPECT_EQ(calls, before) << "nothing runs inside the signal handler";
      QElapsedTimer waited;
      waited.start();
      while (calls == before && waited.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
      }
      EXPECT_EQ(calls, before + 1) << signal;
    }
  }
  // Once it is gone the default actions are back.
  struct sigaction current {};
  sigaction(SIGTERM, nullptr, &current);
  EXPECT_EQ(current.sa_handler, SIG_DFL);
}

}  // namespace
}  // namespace korvane
