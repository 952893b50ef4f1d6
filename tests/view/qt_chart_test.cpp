#include "app/view/qt_chart.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "app/view/repaint_pace.h"

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

TEST(QtChartTest, RedrawRequestsCoalesceIntoOneReplotAndScaleYUntilARangeIsFixed) {
  QtChart chart(QtChart::Style::kLine, "title", "y");
  LetFramesPass();
  QSignalSpy replots(&chart, &QCustomPlot::afterReplot);
  chart.Redraw();  // nothing changed since the chart was made
  LetFramesPass();
  EXPECT_EQ(replots.count(), 0);

  chart.SetPointCount(100);
  for (int point = 0; point < 100; ++point) {
    chart.SetPointX(0, point, static_cast<float>(point));
    chart.SetPointY(0, point, static_cast<float>(point % 7 - 3));
    chart.Redraw();
  }
  EXPECT_EQ(replots.count(), 0) << "a redraw is a request, served from the event loop";
  ASSERT_TRUE(replots.wait(5000));
  LetFramesPass();
  EXPECT_EQ(replots.count(), 1);
  EXPECT_EQ(chart.graph(0)->dataCount(), 100);
  EXPECT_DOUBLE_EQ(chart.graph(0)->data()->at(99)->value, 99 % 7 - 3);
  EXPECT_TRUE(chart.AutoScalesY());
  EXPECT_LE(chart.yAxis->range().lower, -3.0);
  EXPECT_GE(chart.yAxis->range().upper, 3.0);

  chart.Redraw();  // the data is already on the plot
  LetFramesPass();
  EXPECT_EQ(replots.count(), 1);

  chart.SetYRange(0.0, 10.0);
  chart.SetPointY(0, 1, 500.0f);
  chart.Redraw();
  ASSERT_TRUE(replots.wait(5000));
  EXPECT_FALSE(chart.AutoScalesY());
  EXPECT_EQ(chart.yAxis->range(), QCPRange(0.0, 10.0));
}

TEST(QtChartTest, TakesColoursTitlesAndStyleInTheProgramsTerms) {
  QtChart graph(QtChart::Style::kLine, "A D C   R E A D I N G S .", "V O L T A G E ,  uV");
  EXPECT_EQ(graph.YAxisTitle(), "V O L T A G E ,  uV");
  auto* title = qobject_cast<QCPTextElement*>(graph.plotLayout()->element(0, 0));
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->text(), "A D C   R E A D I N G S .");
  graph.SetYAxisTitle("L S B / 1000  ");
  EXPECT_EQ(graph.yAxis->label(), "L S B / 1000  ");

  graph.SetSeriesColor(0, 255);
  EXPECT_EQ(graph.graph(0)->pen().color(), QColor(255, 0, 0));
  graph.SetSeriesColor(0, 32768);
  EXPECT_EQ(graph.graph(0)->pen().color(), QColor(0, 128, 0));
  graph.SetSeriesColor(1, 255);  // no such series: nothing changes
  EXPECT_EQ(graph.graph(0)->pen().color(), QColor(0, 128, 0));

  graph.resize(200, 100);
  graph.SetBackgroundColor(0xC0FFFF);
  graph.replot();
  EXPECT_EQ(graph.grab().toImage().pixelColor(1, 1), QColor(255, 255, 192));

  QtChart histogram(QtChart::Style::kBars, "", "");
  LetFramesPass();
  EXPECT_EQ(histogram.graphCount(), 0);
  ASSERT_EQ(histogram.plottableCount(), 1);
  auto* bars = qobject_cast<QCPBars*>(histogram.plottable(0));
  ASSERT_NE(bars, nullptr);
  histogram.SetSeriesColor(0, 32768);
  EXPECT_EQ(bars->brush().color(), QColor(0, 128, 0));
  histogram.SetPointCount(3);
  for (int point = 0; point < 3; ++point) {
    histogram.SetPointX(0, point, static_cast<float>(point) - 1.0f);
    histogram.SetPointY(0, point, 4.0f);
  }
  histogram.Redraw();
  ASSERT_TRUE(ReplotFollows(histogram));
  EXPECT_EQ(bars->dataCount(), 3);
  EXPECT_GT(bars->width(), 0.0);
  EXPECT_LT(bars->width(), 1.0) << "neighbouring bars one unit apart must not overlap";
}

}  // namespace
}  // namespace korvane
