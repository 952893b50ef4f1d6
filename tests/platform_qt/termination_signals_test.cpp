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
    std::raise(SIGTERM);
    EXPECT_EQ(calls, 0) << "nothing runs inside the signal handler";
    QElapsedTimer waited;
    waited.start();
    while (calls == 0 && waited.elapsed() < 5000) {
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    EXPECT_EQ(calls, 1);
    std::raise(SIGINT);
    waited.restart();
    while (calls == 1 && waited.elapsed() < 5000) {
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    EXPECT_EQ(calls, 2);
  }
  // Once it is gone the default actions are back.
  struct sigaction current {};
  sigaction(SIGTERM, nullptr, &current);
  EXPECT_EQ(current.sa_handler, SIG_DFL);
}

}  // namespace
}  // namespace korvane
