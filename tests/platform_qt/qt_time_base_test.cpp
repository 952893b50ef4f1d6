#include "platform/qt/qt_time_base.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <vector>

namespace korvane {
namespace {

using std::chrono::milliseconds;

/// Waits as the board link does: a deadline callback, then WaitForEvents until it has passed.
void WaitLikeTheLink(QtTimeBase& time, Micros duration) {
  const Micros deadline = time.Now() + duration;
  time.Schedule(duration, [] {});
  while (time.Now() < deadline) time.WaitForEvents();
}

TEST(QtTimeBaseTest, CallbacksRunInOrderOfDueTimeNeverEarlyAndOnlyIfNotCancelled) {
  QtTimeBase time;
  std::vector<int> order;
  std::vector<Micros> ran_at;
  const Micros start = time.Now();
  auto record = [&](int tag) {
    return [&, tag] {
      order.push_back(tag);
      ran_at.push_back(time.Now() - start);
    };
  };
  const auto cancelled = time.Schedule(milliseconds(1), record(1));
  const auto last = time.Schedule(milliseconds(30), record(30));
  time.Schedule(Micros(1500), record(2));  // rounded up: 1.5 ms must not become 1 ms
  time.Schedule(milliseconds(20), record(20));
  time.Schedule(Micros(0), record(0));
  time.Schedule(Micros(-5), record(-1));  // a negative delay runs as soon as possible
  time.Cancel(cancelled);
  time.Cancel(cancelled);    // twice: ignored
  time.Cancel(last + 1000);  // unknown: ignored
  while (order.size() < 5) time.WaitForEvents();
  ASSERT_EQ(order, (std::vector<int>{0, -1, 2, 20, 30}));
  EXPECT_GE(ran_at[2], Micros(1500));
  EXPECT_GE(ran_at[3], milliseconds(20));
  EXPECT_GE(ran_at[4], milliseconds(30));
  time.Cancel(last);  // already ran: ignored
  const auto later = time.Schedule(milliseconds(1), [] {});
  EXPECT_NE(later, cancelled) << "ids are not reused";
  EXPECT_NE(later, last);
}

TEST(QtTimeBaseTest, CallbackMayScheduleFromInsideAndDestroyedBaseRunsNothing) {
  QtTimeBase time;
  bool second_ran = false;
  time.Schedule(milliseconds(1),
                [&] { time.Schedule(milliseconds(1), [&] { second_ran = true; }); });
  while (!second_ran) time.WaitForEvents();

  bool orphan_ran = false;
  auto doomed = std::make_unique<QtTimeBase>();
  doomed->Schedule(milliseconds(1), [&] { orphan_ran = true; });
  doomed.reset();
  WaitLikeTheLink(time, milliseconds(20));
  EXPECT_FALSE(orphan_ran);
}

TEST(QtTimeBaseTest, PauseWithoutEventsRunsNoCallback) {
  QtTimeBase time;
  bool ran = false;
  time.Schedule(Micros(0), [&] { ran = true; });
  const Micros start = time.Now();
  time.PauseWithoutEvents(milliseconds(5));
  EXPECT_GE(time.Now() - start, milliseconds(5));
  EXPECT_FALSE(ran);
  time.ProcessPendingEvents();
  EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace korvane
