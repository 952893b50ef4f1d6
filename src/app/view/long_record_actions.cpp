#include "app/view/long_record_actions.h"

#include <QAction>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <cmath>

#include "app/long_record.h"
#include "app/main_form.h"
#include "app/run_data.h"
#include "app/view/fourier_window.h"
#include "records/block_export.h"

namespace korvane {

namespace {

void Warn(QWidget* parent, const QString& title, const QString& text) {
  auto* box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
  box->setTextFormat(Qt::PlainText);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

QString TimeLeftText(double seconds) {
  if (seconds <= 0) return QString();
  const auto whole = static_cast<long long>(std::ceil(seconds));
  if (whole < 120) return QStringLiteral(", about %1 s left").arg(whole);
  return QStringLiteral(", about %1 min %2 s left").arg(whole / 60).arg(whole % 60);
}

QAction* AddAction(QMenu& menu, const char* caption, const char* shortcut) {
  QAction* action = menu.addAction(caption);
  action->setShortcut(QKeySequence(shortcut));
  QString name = caption;
  action->setObjectName(name.remove('&').remove("...").remove(' '));
  return action;
}

}  // namespace

void AnalyseAsRecord(SpectrumWindow& spectrum, const std::vector<std::int32_t>& codes,
                     const BlockSettings& settings, const std::string& source) {
  std::size_t length = 1;
  while (length * 2 <= codes.size() &&
         length * 2 <= static_cast<std::size_t>(LongRecord::kMaximumLength))
    length *= 2;
  if (length < static_cast<std::size_t>(LongRecord::kMinimumLength)) return;
  std::vector<std::int32_t> tail(codes.end() - static_cast<std::ptrdiff_t>(length), codes.end());
  spectrum.Analyse(
      {std::move(tail), settings, source + ", last " + std::to_string(length) + " readings"});
}

void AddLongRecordActions(QMenu& menu, QWidget* window, RunData* data, SpectrumWindow* spectrum) {
  QAction* record_action = AddAction(menu, kRecordReadings, "Ctrl+Shift+L");
  QAction* save_action = AddAction(menu, kSaveRecord, "Ctrl+Shift+D");
  save_action->setEnabled(false);

  QObject::connect(
      record_action, &QAction::triggered, window, [window, data, spectrum, save_action] {
        LongRecord& record = data->long_record();
        if (data->RunGoing() || record.Going()) {
          return Warn(window, "Record N Readings", "A run is taking readings: stop it first.");
        }
        QStringList lengths;
        for (std::int64_t n = 1024; n <= LongRecord::kMaximumLength; n *= 2) {
          lengths << QString::number(n);
        }
        bool chosen = false;
        const QString text =
            QInputDialog::getItem(window, "Record N Readings", "&Readings:", lengths,
                                  static_cast<int>(lengths.indexOf("65536")), false, &chosen);
        if (!chosen) return;
        const std::int64_t length = text.toLongLong();

        QProgressDialog progress("Recording...", "Cancel", 0, static_cast<int>(length), window);
        progress.setWindowTitle("Record N Readings");
        progress.setAccessibleName("Record N Readings");
        progress.setMinimumDuration(0);
        progress.setWindowModality(Qt::WindowModal);
        QObject::connect(&progress, &QProgressDialog::canceled, window,
                         [&record] { record.Cancel(); });
        record.SetOnProgress([&progress, &record] {
          progress.setValue(static_cast<int>(record.Count()));
          progress.setLabelText(QStringLiteral("Reading %1 of %2%3")
                                    .arg(record.Count())
                                    .arg(record.Length())
                                    .arg(TimeLeftText(record.SecondsLeft())));
        });
        progress.show();
        const bool whole = record.Take(length);
        record.SetOnProgress(nullptr);
        progress.close();
        save_action->setEnabled(record.Count() > 0);
        const std::string source = "record of " + std::to_string(record.Count()) + " readings";
        if (!whole) {
          if (record.Count() == 0) return;
          Warn(window, "Record N Readings",
               QStringLiteral("The record ended after %1 of %2 readings; the spectrum shows them.")
                   .arg(record.Count())
                   .arg(length));
        }
        spectrum->Analyse({record.Codes(), record.Settings(), source});
        spectrum->show();
        spectrum->raise();
      });

  QObject::connect(save_action, &QAction::triggered, window, [window, data] {
    const LongRecord& record = data->long_record();
    const QString path = QFileDialog::getSaveFileName(window, "Save Record as CSV", "record.csv",
                                                      "CSV files (*.csv);;All files (*)");
    if (path.isEmpty()) return;
    const std::string error =
        WriteRecordCsv(path.toStdString(), record.Codes(), record.Settings(), VersionText());
    if (!error.empty()) Warn(window, "Save Record as CSV", QString::fromStdString(error));
  });
}

}  // namespace korvane
