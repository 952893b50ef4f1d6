#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>

#include "records/csv_reader.h"

class QProgressDialog;
class QWidget;

namespace korvane {

/// Opens a file of readings off the window's thread, with a progress bar that can stop it, and
/// hands the whole recording (or the message naming the line at fault) back on the window's
/// thread. Nothing else is touched while the file is read.
class RecordingOpener : public QObject {
  Q_OBJECT

 public:
  /// `on_read` runs on the window's thread with the recording or the error ("" when read).
  using OnRead = std::function<void(const QString& path, const Recording&, const std::string&)>;

  RecordingOpener(QWidget* window, OnRead on_read);
  ~RecordingOpener() override;

  /// Starts reading `path`; false while another file is being read.
  bool Open(const QString& path);
  bool Busy() const { return watcher_.isRunning(); }

 private:
  struct Job {
    Recording recording;
    std::string error;
    std::atomic<int> permille{0};
    std::atomic<bool> stop{false};
  };
  void Finished();

  QWidget* window_;
  OnRead on_read_;
  QString path_;
  std::shared_ptr<Job> job_;
  QFutureWatcher<void> watcher_;
  QProgressDialog* progress_ = nullptr;
};

}  // namespace korvane
