#pragma once

#include <QMainWindow>
#include <QString>

namespace korvane {

class Form;
class RecordingOpener;
class RunData;

/// The "&Data" menu of the main window: the Noise and Spectrum windows, the noise table, the export
/// of the current block as CSV, recording a run to CSV, and opening a recording. Everything it
/// builds lives in the menu and in windows of its own; nothing of the main window moves.
class DataMenuBuilder {
 public:
  DataMenuBuilder(QMainWindow& window, RunData& data);

  /// Adds the menu to the window's menu bar; `show_noise` and `show_spectrum` open the Noise and
  /// Spectrum windows at once.
  void Build(bool show_noise = false, bool show_spectrum = false);
  /// Opens the recording at `path` as "&Open Recording..." does (after `Build`).
  void Open(const QString& path);

  static constexpr const char* kMenu = "&Data";
  static constexpr const char* kNoiseWindow = "&Noise Window";
  static constexpr const char* kSpectrumWindow = "S&pectrum Window";
  static constexpr const char* kNoiseTable = "Noise &Table...";
  static constexpr const char* kExportBlock = "&Export Block as CSV...";
  static constexpr const char* kRecordRun = "&Record Run to CSV...";
  static constexpr const char* kStopRecording = "&Stop Recording";
  static constexpr const char* kOpenRecording = "&Open Recording...";

 private:
  QMainWindow& window_;
  RunData& data_;
  RecordingOpener* opener_ = nullptr;
};

/// "12.3 kB", "4.56 MB": a file size for the recording status.
QString SizeText(unsigned long long bytes);

}  // namespace korvane
