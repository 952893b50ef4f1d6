#pragma once

#include <QMainWindow>
#include <QString>

namespace korvane {

class Form;
class RunData;

/// The "&Data" menu of the main window: the Noise window, the export of the current block as
/// CSV, recording a run to CSV, and opening a recording. Everything it builds lives in the menu
/// and in windows of its own; nothing of the main window moves.
class DataMenuBuilder {
 public:
  DataMenuBuilder(QMainWindow& window, RunData& data);

  /// Adds the menu to the window's menu bar; `show_noise` opens the Noise window at once and
  /// `open_path` (when not empty) opens that recording.
  void Build(bool show_noise = false, const QString& open_path = {});

  static constexpr const char* kMenu = "&Data";
  static constexpr const char* kNoiseWindow = "&Noise Window";
  static constexpr const char* kExportBlock = "&Export Block as CSV...";
  static constexpr const char* kRecordRun = "&Record Run to CSV...";
  static constexpr const char* kStopRecording = "&Stop Recording";
  static constexpr const char* kOpenRecording = "&Open Recording...";

 private:
  QMainWindow& window_;
  RunData& data_;
};

/// "12.3 kB", "4.56 MB": a file size for the recording status.
QString SizeText(unsigned long long bytes);

}  // namespace korvane
