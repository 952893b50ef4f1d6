#include "app/view/qt_chart.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "app/view/graph_crosshair.h"
#include "app/view/graph_menu_builder.h"
#include "app/view/repaint_pace.h"
#include "form/form.h"

namespace korvane {
namespace {

/// Lets every pending redraw request come due.
void LetFramesPass() {
  QTest::qWait(5 * kRepaintIntervalMs);
}

/// Returns once the chart has repainted after a Redraw request. QCustomPlot queues a replot of
/// its own when it is made: let that pass before asking.
bool ReplotFollows(QtChart& chart) {
  QSignalSpy replots(&chart, &QCustomPlot::afterReplot);
  return replots.wait(5000);
}

/// The points as the chart holds them: series 0 and the missing series 1.
std::vector<float> Points(const QtChart& chart, int count) {
  std::vector<float> points;
  for (int point = -1; point <= count; ++point) points.push_back(chart.PointY(0, point));
  points.push_back(chart.PointY(1, 0));
  return points;
}

TEST(QtChartTest, KeepsPointsAndIgnoresPointsOutsideTheSeries) {
  QtChart chart(QtChart::Style::kLine, "title", "y");
  chart.SetPointCount(3);
  chart.SetPointX(0, 2, 7.5f);
  for (const int point : {2, 3, -1}) chart.SetPointY(0, point, point == 2 ? -1.25f : 99.0f);
  chart.SetPointY(1, 0, 99.0f);  // only series 0 exists; 3 is one past the end, as loops write
  EXPECT_FLOAT_EQ(chart.PointX(0, 2), 7.5f);
  EXPECT_EQ(Points(chart, 3), (std::vector<float>{0, 0, 0, -1.25f, 0, 0}));
  chart.SetPointCount(5);  // growing keeps what was there
  EXPECT_EQ(Points(chart, 5), (std::vector<float>{0, 0, 0, -1.25f, 0, 0, 0, 0}));
  chart.SetPointCount(-4);
  chart.SetPointY(0, 0, 1.0f);
  EXPECT_EQ(chart.PointCount(), 0);
  EXPECT_FLOAT_EQ(chart.PointY(0, 0), 0.0f);
}

TEST(QtChartTest, ScalesYAutomaticallyUntilARangeIsFixedAndExploringChangesNothingOfIt) {
  for (const bool exploring : {false, true}) {
    SCOPED_TRACE(exploring ? "with zoom, pan and crosshair" : "plain");
    QtChart chart(QtChart::Style::kLine, "title", "y");
    if (exploring) {
      chart.AllowExploring();
      new GraphCrosshair(chart, [] { return 2.0; });
    }
    LetFramesPass();
    chart.SetPointCount(2);
    chart.SetPointX(0, 1, 1.0f);
    chart.SetPointY(0, 0, -3.0f);
    chart.SetPointY(0, 1, 40.0f);
    chart.Redraw();
    ASSERT_TRUE(ReplotFollows(chart));
    EXPECT_TRUE(chart.AutoScalesY());
    EXPECT_EQ(chart.yAxis->range(), QCPRange(-3.0, 40.0));
    EXPECT_EQ(chart.xAxis->range(), QCPRange(0.0, 1.0));

    chart.SetYRange(0.0, 10.0);
    chart.SetPointCount(3);
    chart.SetPointX(0, 2, 2.0f);
    chart.SetPointY(0, 1, 500.0f);
    chart.Redraw();
    ASSERT_TRUE(ReplotFollows(chart));
    EXPECT_FALSE(chart.AutoScalesY());
    EXPECT_EQ(chart.yAxis->range(), QCPRange(0.0, 10.0));
    EXPECT_EQ(chart.xAxis->range(), QCPRange(0.0, 2.0));
    EXPECT_EQ(chart.graph(0)->dataCount(), 3);
  }
}

/// What the plot draws and what the chart holds, as (key, value) in key order.
using KeyedPoints = std::vector<std::pair<double, double>>;
KeyedPoints Drawn(const QtChart& chart) {
  KeyedPoints drawn;
  const auto& data = *chart.graph(0)->data();
  for (auto point = data.constBegin(); point != data.constEnd(); ++point)
    drawn.emplace_back(point->key, point->value);
  return drawn;
}
KeyedPoints Held(const QtChart& chart) {
  KeyedPoints held;
  for (int i = 0; i < chart.PointCount(); ++i)
    held.emplace_back(chart.PointX(0, i), chart.PointY(0, i));
  std::sort(held.begin(), held.end());
  return held;
}

/// Streamed values are written into the plot in place; a moved key makes the plot take all
/// points again, and keys out of order keep it doing so.
TEST(QtChartTest, DrawsEveryPointAfterStreamedValuesAndMovedKeys) {
  QtChart chart(QtChart::Style::kLine, "title", "y");
  LetFramesPass();
  chart.SetPointCount(7);
  for (int i = 0; i < 7; ++i) chart.SetPointX(0, i, static_cast<float>(i));
  const std::vector<std::function<void()>> steps = {
      [&] { chart.SetPointY(0, 2, -7.0f), chart.SetPointY(0, 5, 3.5f); },
      [&] { chart.SetPointY(0, 6, 1.0f); },
      [&] { chart.SetPointX(0, 1, 9.0f); },
      [&] { chart.SetPointY(0, 1, 42.0f); },
  };
  for (std::size_t step = 0; step < steps.size(); ++step) {
    SCOPED_TRACE(step);
    steps[step]();
    chart.Redraw();
    ASSERT_TRUE(ReplotFollows(chart));
    EXPECT_EQ(Drawn(chart), Held(chart));
  }
}

/// A block of `count` readings on the time graph as the program draws it: point 0 at 0, the
/// readings at 1..count with the value `level` + point.
void DrawBlock(QtChart& chart, int count, float level) {
  chart.SetPointCount(count + 1);
  for (int point = 0; point <= count; ++point) {
    chart.SetPointX(0, point, static_cast<float>(point));
    chart.SetPointY(0, point, point == 0 ? 0.0f : level + static_cast<float>(point));
  }
  chart.Redraw();
}

void TurnWheel(QtChart& chart) {
  const QPointF at = chart.axisRect()->center();
  QWheelEvent wheel(at, chart.mapToGlobal(at), {}, {0, 120}, Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(&chart, &wheel);
}

/// Pause freezes what is shown while points keep coming; the wheel's zoom holds the ranges
/// against new blocks and the program's own range until "Auto scale"; the crosshair reads the
/// point under the mouse from what is shown.
TEST(QtChartTest, PausesZoomsAndReadsWhatItShows) {
  QtChart chart(QtChart::Style::kLine, "title", "y");
  chart.resize(400, 300);
  chart.AllowExploring();
  auto* crosshair = new GraphCrosshair(chart, [] { return 20.0; });
  LetFramesPass();
  DrawBlock(chart, 10, 100.0f);
  ASSERT_TRUE(ReplotFollows(chart));

  chart.SetPaused(true);
  DrawBlock(chart, 20, 500.0f);
  chart.SetYRange(0.0, 1000.0);
  LetFramesPass();
  EXPECT_EQ(chart.graph(0)->dataCount(), 11) << "the paused view shows the old block";
  EXPECT_EQ(chart.yAxis->range(), QCPRange(0.0, 110.0));
  EXPECT_EQ(chart.PointCount(), 21) << "the readings go on being collected";

  const QPointF at(chart.xAxis->coordToPixel(3.2), chart.axisRect()->center().y());
  QMouseEvent move(QEvent::MouseMove, at, chart.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(&chart, &move);
  EXPECT_TRUE(crosshair->Shown());
  EXPECT_EQ(crosshair->Text(), "#3   t = 0.06 s   103");

  chart.SetPaused(false);
  ASSERT_TRUE(ReplotFollows(chart));
  EXPECT_EQ(chart.graph(0)->dataCount(), 21) << "resuming shows the current block";
  EXPECT_EQ(chart.yAxis->range(), QCPRange(0.0, 1000.0));
  EXPECT_EQ(chart.xAxis->range(), QCPRange(0.0, 20.0));

  TurnWheel(chart);
  EXPECT_TRUE(chart.ViewState().Zoomed());
  const QCPRange zoomed_x = chart.xAxis->range();
  const QCPRange zoomed_y = chart.yAxis->range();
  EXPECT_LT(zoomed_x.size(), 20.0);
  EXPECT_LT(zoomed_y.size(), 1000.0);
  DrawBlock(chart, 30, 0.0f);
  chart.SetYRange(-5.0, 5.0);
  ASSERT_TRUE(ReplotFollows(chart));
  EXPECT_EQ(chart.graph(0)->dataCount(), 31) << "zoomed, new blocks are still drawn";
  EXPECT_EQ(chart.xAxis->range(), zoomed_x);
  EXPECT_EQ(chart.yAxis->range(), zoomed_y);

  chart.AutoScale();
  ASSERT_TRUE(ReplotFollows(chart));
  EXPECT_FALSE(chart.ViewState().Zoomed());
  EXPECT_EQ(chart.xAxis->range(), QCPRange(0.0, 30.0));
  EXPECT_EQ(chart.yAxis->range(), QCPRange(-5.0, 5.0));

  const QPointF from = chart.axisRect()->center();
  const QPointF to = from + QPointF(40, 0);
  QMouseEvent press(QEvent::MouseButtonPress, from, chart.mapToGlobal(from), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QMouseEvent drag(QEvent::MouseMove, to, chart.mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, to, chart.mapToGlobal(to), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  for (QMouseEvent* event : {&press, &drag, &release}) QApplication::sendEvent(&chart, event);
  EXPECT_TRUE(chart.ViewState().Zoomed()) << "a drag pans";
  EXPECT_LT(chart.xAxis->range().lower, 0.0);

  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&chart, &leave);
  EXPECT_FALSE(crosshair->Shown());
}

/// The "&Graph" menu's actions, run as assistive tools run them; each chart saved as PNG and
/// PDF, and a file that cannot be written reported.
TEST(QtChartTest, GraphMenuPausesScalesAndSavesEachChart) {
  Form form;
  QMainWindow window;
  QtChart time_graph(QtChart::Style::kLine, "title", "y");
  QtChart histogram(QtChart::Style::kBars, "", "");
  time_graph.resize(300, 200);
  histogram.resize(300, 200);
  time_graph.replot();  // lays the axes out, so that the wheel lands on the plot
  QString next_file;
  QStringList errors;
  GraphMenuPrompts prompts{[&](const QString&) { return next_file; },
                           [&](const QString& text) { errors << text; }};
  QMenu* menu = GraphMenuBuilder(form, time_graph, histogram).Build(*window.menuBar(), prompts);
  EXPECT_EQ(menu->title(), "&Graph");

  QAccessibleInterface* menu_access = QAccessible::queryAccessibleInterface(menu);
  EXPECT_EQ(menu_access->text(QAccessible::Name), "Graph");
  std::map<QString, QAccessibleInterface*> items;
  for (int i = 0; i < menu_access->childCount(); ++i) {
    items[menu_access->child(i)->text(QAccessible::Name)] = menu_access->child(i);
  }
  const std::vector<std::pair<QString, QString>> shortcuts = {{"Pause", "Ctrl+P"},
                                                              {"Auto scale", "Ctrl+0"},
                                                              {"Export time graph...", "Alt+t"},
                                                              {"Export histogram...", "Alt+h"}};
  for (const auto& [name, shortcut] : shortcuts) {  // a shortcut, else the caption's mnemonic
    ASSERT_EQ(items.count(name), 1u) << name.toStdString();
    EXPECT_EQ(items[name]->text(QAccessible::Accelerator), shortcut);
  }
  const auto press = [&items](const QString& name) {
    items[name]->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  };
  press("Pause");
  EXPECT_TRUE(time_graph.ViewState().Paused());
  press("Pause");
  EXPECT_FALSE(time_graph.ViewState().Paused());
  TurnWheel(time_graph);
  ASSERT_TRUE(time_graph.ViewState().Zoomed());
  press("Auto scale");
  EXPECT_FALSE(time_graph.ViewState().Zoomed());

  QTemporaryDir folder;
  struct Export {
    QString item;
    QString file;
    QByteArray magic;  ///< How the file must begin; empty when it must not be written.
  };
  const std::vector<Export> exports = {
      {"Export time graph...", "graph.png", QByteArray("\x89PNG\r\n\x1a\n", 8)},
      {"Export histogram...", "histogram.PDF", QByteArray("%PDF-")},
      {"Export time graph...", "no-such-folder/graph.png", {}},
      {"Export histogram...", "histogram.jpg", {}},
  };
  for (const Export& e : exports) {
    SCOPED_TRACE(e.file.toStdString());
    errors.clear();
    next_file = folder.filePath(e.file);
    press(e.item);
    QFile written(next_file);
    if (e.magic.isEmpty()) {
      EXPECT_FALSE(written.exists());
      ASSERT_EQ(errors.size(), 1);
      EXPECT_TRUE(errors.front().contains(e.file)) << errors.front().toStdString();
    } else {
      EXPECT_TRUE(errors.isEmpty());
      ASSERT_TRUE(written.open(QIODevice::ReadOnly));
      EXPECT_EQ(written.read(e.magic.size()), e.magic);
    }
  }
}

}  // namespace
}  // namespace korvane
