#include "app/view/data_menu_builder.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>

#include "app/main_form.h"
#include "app/run_data.h"
#include "app/view/fourier_window.h"
#include "app/view/long_record_actions.h"
#include "app/view/noise_table_dialog.h"
#include "app/view/noise_window.h"
#include "app/view/recording_opener.h"
#include "records/block_export.h"

namespace korvane {

namespace {

constexpr int kStatusPollMs = 500;
const QString kCsvFilter = "CSV files (*.csv);;All files (*)";

QAction* AddAction(QMenu& menu, const char* caption, const QKeySequence& shortcut) {
  QAction* action = menu.addAction(caption);
  action->setShortcut(shortcut);
  QString name = caption;
  action->setObjectName(name.remove('&').remove("...").remove(' '));
  return action;
}

/// Does not wait for the user: a run that goes on meanwhile keeps taking its readings.
void Warn(QWidget* parent, const QString& title, const std::string& text) {
  auto* box = new QMessageBox(QMessageBox::Warning, title, QString::fromStdString(text),
                              QMessageBox::Ok, parent);
  box->setTextFormat(Qt::PlainText);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

}  // namespace

QString SizeText(unsigned long long bytes) {
  if (bytes < 1000) return QString::number(bytes) + " bytes";
  const auto size = static_cast<double>(bytes);
  if (bytes < 1000 * 1000) return QString::number(size / 1e3, 'f', 1) + " kB";
  if (bytes < 1000ULL * 1000 * 1000) return QString::number(size / 1e6, 'f', 2) + " MB";
  return QString::number(size / 1e9, 'f', 2) + " GB";
}

DataMenuBuilder::DataMenuBuilder(QMainWindow& window, RunData& data)
    : window_(window), data_(data) {}

void DataMenuBuilder::Build(bool show_noise, bool show_spectrum) {
  QMainWindow* window = &window_;
  RunData* data = &data_;
  QMenu* menu = window->menuBar()->addMenu(kMenu);
  menu->setObjectName("mnuData");
  menu->setAccessibleName(QString(kMenu).remove('&'));

  auto* noise = new NoiseWindow(data->last_block(), window);
  noise->resize(420, 640);
  data->last_block().AddOnChange([noise] {
    if (noise->isVisible()) noise->Refresh();
  });
  const auto show_noise_window = [noise, window] {
    // The first time beside the main window's charts, over its settings side.
    if (!noise->property("placed").toBool()) {
      noise->move(window->x() + window->width() - noise->width(), window->y() + 40);
      noise->setProperty("placed", true);
    }
    noise->Refresh();
    noise->show();
    noise->raise();
    noise->activateWindow();
  };

  QAction* noise_action = AddAction(*menu, kNoiseWindow, QKeySequence("Ctrl+Shift+N"));
  QObject::connect(noise_action, &QAction::triggered, noise, show_noise_window);

  auto* spectrum = new SpectrumWindow(data->last_block(), window);
  spectrum->resize(960, 600);
  data->last_block().AddOnChange([spectrum] {
    if (spectrum->isVisible()) spectrum->Refresh();
  });
  const auto show_spectrum_window = [spectrum] {
    // A long record or opened recording stays shown until the next block closes.
    if (spectrum->FollowsBlock()) spectrum->Refresh();
    spectrum->show();
    spectrum->raise();
    spectrum->activateWindow();
  };
  QAction* spectrum_action = AddAction(*menu, kSpectrumWindow, QKeySequence("Ctrl+Shift+F"));
  QObject::connect(spectrum_action, &QAction::triggered, spectrum, show_spectrum_window);
  AddLongRecordActions(*menu, window, data, spectrum);

  auto* noise_table = new NoiseTableDialog(data->noise_sweep(), window);
  noise_table->resize(900, 720);
  QAction* noise_table_action = AddAction(*menu, kNoiseTable, QKeySequence("Ctrl+Shift+T"));
  QObject::connect(noise_table_action, &QAction::triggered, noise_table, [noise_table] {
    noise_table->show();
    noise_table->raise();
    noise_table->activateWindow();
  });

  QAction* export_action = AddAction(*menu, kExportBlock, QKeySequence("Ctrl+Shift+E"));
  QObject::connect(export_action, &QAction::triggered, window, [window, data] {
    const QString path =
        QFileDialog::getSaveFileName(window, "Export Block as CSV", "block.csv", kCsvFilter);
    if (path.isEmpty()) return;
    const std::string error = WriteBlockCsv(path.toStdString(), data->last_block(), VersionText());
    if (!error.empty()) Warn(window, "Export Block as CSV", error);
  });

  menu->addSeparator();
  QAction* record_action = AddAction(*menu, kRecordRun, QKeySequence("Ctrl+Shift+R"));
  QAction* stop_action = AddAction(*menu, kStopRecording, QKeySequence("Ctrl+Shift+S"));
  stop_action->setEnabled(false);

  // The recording's rows and size, followed twice a second while it records.
  auto* status_timer = new QTimer(window);
  const auto show_status = [data, noise, stop_action, record_action, status_timer, window] {
    CsvRecorder& recorder = data->recorder();
    const QString path = QString::fromStdString(recorder.Path().string());
    const QString counts =
        QString::number(recorder.RowsWritten()) + " rows, " + SizeText(recorder.BytesWritten());
    const std::string failure = recorder.Failure();
    if (!failure.empty()) {
      recorder.Finish();
      status_timer->stop();
      noise->SetRecordingStatus("Recording stopped: " + counts + " kept in " + path + ".partial");
      Warn(window, "Record Run to CSV", failure);
    } else if (recorder.Recording()) {
      noise->SetRecordingStatus("Recording to " + path + ": " + counts);
    } else {
      status_timer->stop();
      noise->SetRecordingStatus(recorder.RowsWritten() > 0 ? "Recorded " + path + ": " + counts
                                                           : "Not recording.");
    }
    stop_action->setEnabled(recorder.Recording());
    record_action->setEnabled(!recorder.Recording());
  };
  QObject::connect(status_timer, &QTimer::timeout, window, show_status);

  QObject::connect(record_action, &QAction::triggered, window,
                   [window, data, show_status, show_noise_window, status_timer] {
                     const QString path = QFileDialog::getSaveFileName(window, "Record Run to CSV",
                                                                       "run.csv", kCsvFilter);
                     if (path.isEmpty()) return;
                     const std::string error = data->recorder().Start(path.toStdString());
                     if (!error.empty()) return Warn(window, "Record Run to CSV", error);
                     status_timer->start(kStatusPollMs);
                     show_noise_window();
                     show_status();
                   });
  QObject::connect(stop_action, &QAction::triggered, window, [data, show_status] {
    data->recorder().Finish();
    show_status();
  });

  menu->addSeparator();
  QAction* open_action = AddAction(*menu, kOpenRecording, QKeySequence("Ctrl+Shift+O"));
  auto* opener = new RecordingOpener(
      window, [window, data, show_noise_window, spectrum](
                  const QString& path, const Recording& recording, const std::string& error) {
        if (!error.empty()) return Warn(window, "Open Recording", error);
        if (!data->ShowRecording(recording, QFileInfo(path).fileName().toStdString())) {
          return Warn(window, "Open Recording",
                      "A run is taking readings: stop it, then open the recording again.");
        }
        show_noise_window();
        // A recording longer than a block is a long record for the spectrum too.
        AnalyseAsRecord(*spectrum, recording.codes, recording.settings,
                        QFileInfo(path).fileName().toStdString());
      });
  QObject::connect(open_action, &QAction::triggered, window, [window, opener] {
    const QString path =
        QFileDialog::getOpenFileName(window, "Open Recording", QString(), kCsvFilter);
    if (!path.isEmpty()) opener->Open(path);
  });
  // Actions that would disturb a run, or repeat one under way, are offered only when they can run.
  QObject::connect(menu, &QMenu::aboutToShow, window, [data, open_action, opener] {
    open_action->setEnabled(!data->RunGoing() && !opener->Busy());
  });

  opener_ = opener;
  if (show_noise) show_noise_window();
  if (show_spectrum) show_spectrum_window();
}

void DataMenuBuilder::Open(const QString& path) {
  if (opener_ != nullptr) opener_->Open(path);
}

}  // namespace korvane
