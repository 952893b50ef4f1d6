#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFutureWatcher>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QWidget>
#include <memory>

#include "app/view/fourier_job.h"

class QCustomPlot;
class QFormLayout;

namespace korvane {

class LastBlock;

/// The "Spectrum" window: the magnitude spectrum (or noise density) of the last closed block or
/// of a long record, with its band noise, tone and sine-fit figures. The analysis runs off the
/// GUI thread; at most one runs and one waits, and a result that a newer record has overtaken
/// is dropped, so readings keep flowing whatever the record's length.
class SpectrumWindow : public QWidget {
  Q_OBJECT

 public:
  SpectrumWindow(const LastBlock& block, QWidget* parent);

  /// Analyses the last block again (it has changed); the window follows the blocks from now on.
  void Refresh();
  /// Analyses a record that is not the last block, such as a long record.
  void Analyse(SpectrumInput input);
  /// Shows the last block rather than a record (nothing shown yet, or `Refresh` came last).
  bool FollowsBlock() const { return follows_block_; }

  /// An analysis is running or waiting.
  bool Busy() const { return running_ != nullptr || pending_ != nullptr; }
  /// Results drawn so far (each one the newest record's when it was drawn).
  int ResultsShown() const { return results_shown_; }
  const SpectrumResult& Shown() const { return shown_; }

  static constexpr const char* kTitle = "Spectrum";

 private:
  SpectrumRequest Request() const;
  void Submit(std::shared_ptr<const SpectrumInput> input);
  void StartPending();
  void Finished();
  void Draw();
  void ShowFigures();
  void ExportCsv();
  void SavePlot();

  const LastBlock& block_;
  QComboBox* show_ = nullptr;
  QComboBox* window_ = nullptr;
  QComboBox* segment_ = nullptr;
  QSpinBox* overlap_ = nullptr;
  QCheckBox* log_axis_ = nullptr;
  QDoubleSpinBox* band_low_ = nullptr;
  QDoubleSpinBox* band_high_ = nullptr;
  QCustomPlot* plot_ = nullptr;
  QLabel* message_ = nullptr;
  QWidget* figures_ = nullptr;
  QFormLayout* figure_form_ = nullptr;

  QFutureWatcher<SpectrumResult> watcher_;
  /// The newest record, analysed next once the running analysis ends.
  std::shared_ptr<const SpectrumInput> pending_;
  /// The record of the running analysis, and of the result shown.
  std::shared_ptr<const SpectrumInput> running_;
  std::shared_ptr<const SpectrumInput> current_;
  std::uint64_t submitted_ = 0;
  std::uint64_t running_number_ = 0;
  SpectrumRequest running_request_;
  SpectrumRequest shown_request_;
  SpectrumResult shown_;
  int results_shown_ = 0;
  bool follows_block_ = true;
};

}  // namespace korvane
