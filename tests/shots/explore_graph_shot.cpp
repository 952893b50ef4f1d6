// Puts the window in a state worth a screenshot of the time graph being explored: the real
// window on the simulated board runs "Continuous"; after a few blocks the graph is paused,
// zoomed with the wheel and read with the crosshair, while the run goes on. Then it waits to be
// ended. Used with the screenshot tool under Xvfb:
//   shot docs/graph-explored.png 14 build/tests/korvane-explore-shot

#include <QAction>
#include <QTimer>
#include <QWheelEvent>

#include "app/view/qt_chart.h"
#include "platform/qt/qt_time_base.h"
#include "support/window_on_board.h"

namespace {

using korvane::QtChart;

void ZoomAndPoint(QtChart& graph) {
  const QPointF at(graph.xAxis->coordToPixel(120), graph.axisRect()->center().y());
  for (int turn = 0; turn < 5; ++turn) {
    QWheelEvent wheel(at, graph.mapToGlobal(at), {}, {0, 120}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&graph, &wheel);
  }
  const QPointF point(graph.xAxis->coordToPixel(131), at.y());
  QMouseEvent move(QEvent::MouseMove, point, graph.mapToGlobal(point), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(&graph, &move);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  korvane::BoardOptions options;
  options.adc_inputs.volts[0] = 1.2345678;
  korvane::testing::WindowOnBoard<korvane::QtTimeBase> rig(
      options, korvane::SimulatedSerialPort::kFirstPortOpened);
  auto& form = rig.form;
  rig.main.Form_Load();
  form.cboSampling.SetListIndex(2);   // Continuous
  form.txtDecimation.SetText("144");  // 100 readings a second
  form.txtAverNumb.SetText("500");
  auto* graph = rig.Find<QtChart>("ADCGraph");
  QTimer::singleShot(8000, &rig.window, [&rig, graph] {
    rig.Find<QAction>("mnuGraphPause")->trigger();
    ZoomAndPoint(*graph);
  });
  QTimer::singleShot(0, &rig.window, [&form] { form.cmdCntr[2].Click(); });
  return QApplication::exec();
}
