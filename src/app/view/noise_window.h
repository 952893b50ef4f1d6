#pragma once

#include <QLabel>
#include <QWidget>
#include <string>
#include <vector>

namespace korvane {

class LastBlock;

/// The "Noise" window: the figures of the last closed block (or of an opened recording) as
/// converter datasheets state them, with the settings the block was taken with, and the state
/// of the recording. It stays open beside the main window and follows every block end.
class NoiseWindow : public QWidget {
  Q_OBJECT

 public:
  NoiseWindow(const LastBlock& block, QWidget* parent);

  /// Shows the block's figures again.
  void Refresh();
  void SetRecordingStatus(const QString& status);

  static constexpr const char* kTitle = "Noise";

 private:
  struct Row {
    std::string key;
    QLabel* value = nullptr;
  };
  void Rebuild(const std::vector<std::pair<std::string, std::string>>& lines);

  const LastBlock& block_;
  QLabel* empty_note_ = nullptr;
  QWidget* figures_ = nullptr;
  QLabel* recording_ = nullptr;
  std::vector<Row> rows_;
};

/// The caption of a figure's or setting's key in the window ("sigma_uV_rms" -> "σ, µV rms").
QString FigureCaption(const std::string& key);

}  // namespace korvane
