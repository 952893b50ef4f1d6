// The "Noise Table" dialog after a sweep of 8 gains x 6 data rates, 1000 readings each, on the
// real window and the simulated board in virtual time (the sweep takes some 15 minutes of the
// board's time and a second here). With a folder as argument it also writes the table and the
// plot there as the dialog's exports do (noise-table.md, noise-table.csv, noise-table.png).
// Used with the screenshot tool under Xvfb:
//   shot docs/noise-table-dialog.png 6 build/tests/korvane-noise-table-shot docs

#include <QAction>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <cstdio>
#include <fstream>

#include "app/run_data.h"
#include "app/view/data_menu_builder.h"
#include "app/view/noise_table_dialog.h"
#include "platform/virtual_time.h"
#include "plot/noise_plot.h"
#include "records/csv_format.h"
#include "records/noise_table.h"
#include "support/window_on_board.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  korvane::testing::WindowOnBoard<korvane::VirtualTime> rig(
      {}, korvane::SimulatedSerialPort::kFirstPortOpened);
  korvane::DataMenuBuilder(rig.window, rig.main.run_data()).Build();
  rig.main.Form_Load();
  rig.Find<QAction>("NoiseTable")->trigger();
  auto* dialog = rig.window.findChild<korvane::NoiseTableDialog*>("dlgNoiseTable");
  dialog->move(rig.window.x() + 240, rig.window.y() + 40);
  dialog->findChild<QLineEdit*>()->setText("1728, 864, 432, 216, 108, 54");
  dialog->findChildren<QRadioButton*>().front()->setChecked(true);  // shown as data rates
  dialog->Start();
  const QRect frame = dialog->frameGeometry();
  std::fprintf(stderr, "dialog at %dx%d+%d+%d\n", frame.width(), frame.height(), frame.x(),
               frame.y());
  if (argc > 1) {
    const std::string folder = argv[1];
    const korvane::NoiseTable& table = rig.main.run_data().noise_sweep().Table();
    std::ofstream(folder + "/noise-table.md") << korvane::NoiseTableMarkdown(table);
    std::ofstream(folder + "/noise-table.csv")
        << korvane::NoiseTableCsv(table, korvane::VersionText(), korvane::UtcTimeText());
    korvane::SaveNoisePlotPng(table, QString::fromStdString(folder + "/noise-table.png"));
  }
  return QApplication::exec();
}
