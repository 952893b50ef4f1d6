#include "app/view/recording_opener.h"

#include <QProgressDialog>
#include <QTimer>
#include <QWidget>
#include <QtConcurrent/QtConcurrentRun>

namespace korvane {

namespace {

constexpr int kProgressSteps = 1000;
constexpr int kProgressPollMs = 50;

}  // namespace

RecordingOpener::RecordingOpener(QWidget* window, OnRead on_read)
    : QObject(window), window_(window), on_read_(std::move(on_read)) {
  connect(&watcher_, &QFutureWatcher<void>::finished, this, &RecordingOpener::Finished);
}

RecordingOpener::~RecordingOpener() {
  if (job_) job_->stop = true;
  watcher_.waitForFinished();
}

bool RecordingOpener::Open(const QString& path) {
  if (Busy()) return false;
  path_ = path;
  job_ = std::make_shared<Job>();
  progress_ =
      new QProgressDialog("Opening " + path + " ...", "&Cancel", 0, kProgressSteps, window_);
  progress_->setWindowTitle("Open Recording");
  progress_->setAccessibleName("Opening " + path);
  progress_->setMinimumDuration(200);
  progress_->setAutoReset(false);
  auto* poll = new QTimer(progress_);
  connect(poll, &QTimer::timeout, progress_,
          [this, job = job_] { progress_->setValue(job->permille.load()); });
  connect(progress_, &QProgressDialog::canceled, this, [job = job_] { job->stop = true; });
  poll->start(kProgressPollMs);
  const std::filesystem::path file = path.toStdString();
  watcher_.setFuture(QtConcurrent::run([job = job_, file] {
    job->error = ReadRecording(file, job->recording, [&job](double share) {
      job->permille = static_cast<int>(share * kProgressSteps);
      return !job->stop.load();
    });
  }));
  return true;
}

void RecordingOpener::Finished() {
  progress_->deleteLater();
  progress_ = nullptr;
  const std::shared_ptr<Job> job = std::move(job_);
  if (on_read_) on_read_(path_, job->recording, job->error);
}

}  // namespace korvane
