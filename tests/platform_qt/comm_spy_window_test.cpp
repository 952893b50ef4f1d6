#include "platform/qt/comm_spy_window.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <ostream>
#include <string>
#include <vector>

#include "platform/qt/traffic_lines.h"

namespace korvane {

void PrintTo(const TrafficLines::Run& run, std::ostream* out) {
  *out << static_cast<int>(run.kind) << ":\"" << run.text << '"';
}

namespace {

using Kind = TrafficLines::Kind;
using Runs = std::vector<TrafficLines::Run>;
constexpr auto kTo = TrafficDirection::kToBoard;
constexpr auto kFrom = TrafficDirection::kFromBoard;

TEST(QtTrafficLinesTest, LinesBreakAtDirectionChangesLineEndsAndLength) {
  TrafficLines lines;
  EXPECT_FALSE(lines.HasPending());
  for (const char* chunk : {"RR", "CA"}) lines.Add(kTo, chunk);
  for (const char* chunk : {"RRCA3F\r\n>", "123456\r", "654321\r"}) lines.Add(kFrom, chunk);
  lines.Add(kTo, "\r");
  ASSERT_TRUE(lines.HasPending());
  EXPECT_EQ(lines.Take(),
            (Runs{{Kind::kToBoard, "TX: RRCA\n"},
                  {Kind::kFromBoard, "RX: RRCA3F<0D><0A>\nRX: >123456<0D>\nRX: 654321<0D>\n"},
                  {Kind::kToBoard, "TX: <0D>"}}));
  EXPECT_FALSE(lines.HasPending());

  // The open line goes on after a take; a CR LF split between chunks is still one line end.
  lines.Add(kTo, "L:10\r");
  lines.Add(kTo, "\n:00");
  lines.AddNotice("PORT LOST");
  lines.Add(kTo, "\x01");
  EXPECT_EQ(lines.Take(), (Runs{{Kind::kToBoard, "\nTX: L:10<0D><0A>\nTX: :00\n"},
                                {Kind::kNotice, "PORT LOST\n"},
                                {Kind::kToBoard, "TX: <01>"}}));

  // A stream without line ends is cut into lines of bounded length.
  TrafficLines endless;
  endless.Add(kFrom, std::string(1000, '7'));
  const std::string text = endless.Take().front().text;
  EXPECT_EQ(text.substr(0, TrafficLines::kMaxLineChars + 5),
            "RX: " + std::string(TrafficLines::kMaxLineChars, '7') + "\n");
}

TEST(QtTrafficLinesTest, UntakenTextStaysBounded) {
  TrafficLines lines;
  for (int i = 0; i < 200'000; ++i) lines.Add(kFrom, "123456\r");
  std::size_t pending = 0;
  const auto runs = lines.Take();
  for (const auto& run : runs) pending += run.text.size();
  EXPECT_LE(pending, TrafficLines::kMaxPendingChars);
  EXPECT_GT(pending, TrafficLines::kMaxPendingChars / 2);
  EXPECT_TRUE(runs.back().text.ends_with("RX: 123456<0D>")) << "the newest text is kept";
}

/// Runs events until `done` or two seconds have passed.
template <typename Done>
void ProcessEventsUntil(Done done) {
  QElapsedTimer waited;
  waited.start();
  while (!done() && waited.elapsed() < 2000) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
  }
}

TEST(QtCommSpyWindowTest, HistoryIsBoundedAndTheWindowFollowsShowTerminal) {
  CommSpyWindow spy;
  EXPECT_EQ(spy.windowTitle(), "CommSpy");
  EXPECT_TRUE(spy.isWindow());
  EXPECT_FALSE(spy.isVisible());
  int closed_by_user = 0;
  QObject::connect(&spy, &CommSpyWindow::ClosedByUser, &spy, [&] { ++closed_by_user; });
  spy.OnShowTerminal(true);
  EXPECT_TRUE(spy.isVisible());
  auto* view = spy.findChild<QPlainTextEdit*>();
  ASSERT_NE(view, nullptr);
  for (int batch = 0; batch < 4; ++batch) {
    for (int i = 0; i < 3000; ++i) spy.OnTraffic(kFrom, "123456\r");
    const std::string marker = "B" + std::to_string(batch);
    spy.OnTraffic(kTo, marker);
    ProcessEventsUntil([&] {
      return view->document()->toPlainText().endsWith(QString::fromStdString("TX: " + marker));
    });
  }
  EXPECT_EQ(view->document()->blockCount(), CommSpyWindow::kMaxLines);
  EXPECT_TRUE(view->document()->toPlainText().endsWith("RX: 123456<0D>\nTX: B3"));

  // Hidden, the window lays out nothing; on showing it catches up with what passed.
  spy.OnShowTerminal(false);
  EXPECT_FALSE(spy.isVisible());
  spy.OnTraffic(kTo, "hidden");
  QElapsedTimer waited;
  waited.start();
  while (waited.elapsed() < 100) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_TRUE(view->document()->toPlainText().endsWith("TX: B3"));
  EXPECT_EQ(closed_by_user, 0);
  spy.OnShowTerminal(true);
  EXPECT_TRUE(view->document()->toPlainText().endsWith("TX: B3hidden"));
  spy.close();
  EXPECT_FALSE(spy.isVisible());
  EXPECT_EQ(closed_by_user, 1);
}

}  // namespace
}  // namespace korvane
