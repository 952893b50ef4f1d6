#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "acquisition/histogram.h"
#include "acquisition/noise_statistics.h"
#include "acquisition/reading_lines.h"
#include "acquisition/reading_listener.h"
#include "acquisition/reading_presenter.h"
#include "form/form.h"
#include "link/board_link.h"
#include "platform/chart.h"

namespace korvane {

/// The acquisition run behind "Run &ADC": tells the board how many conversions the chip averages
/// or filters, starts its stream and takes the results one by one until `TestGo` is cleared (or,
/// in the mode "Once", after the first shown reading). In "Sample" and "Continuous" the readings
/// form blocks of `AverNumb`, each closed by the noise statistics and the histogram. Waits on the
/// event loop; a silent board keeps it waiting until it is stopped.
class AcquisitionRun {
 public:
  AcquisitionRun(Form& form, BoardLink& link, Chart& adc_graph, Chart& histo,
                 ReadingPresenter& presenter, NoiseStatistics& noise, Histogram& histogram);

  void RunADC();

  /// `listener` sees every later run's readings and block ends; it must outlive the run.
  void AddListener(ReadingListener& listener) { listeners_.push_back(&listener); }

  /// Readings the last run took from the stream, the four dropped ones included.
  std::int64_t ReadingsTaken() const { return readings_taken_; }
  /// Readings the last run stored, counted and plotted.
  std::int64_t ReadingsUsed() const { return readings_used_; }

  /// `AverNumb` from `txtAverNumb`: rounded, limited to 2..5000.
  static std::int32_t BlockLength(double typed);
  /// N from `txtPartMode`: rounded, limited to 1..255, or 1..128 when the chip averages unipolar
  /// codes.
  static std::int32_t ChipCount(double typed, bool averaging_unipolar);
  /// How long one result takes in ms: the data period shown in `txtTdata`, times N when the chip
  /// averages N conversions into one result; 0 when the period is unknown.
  static double MillisPerReading(double data_period_ms, bool chip_averaging, int chip_count);

  static constexpr const char* kFinished = "ADC  CONVERSION  IS  FINISHED ";
  static constexpr const char* kInterrupted = "ADC CONVERSION  WAS  INTERRUPTED ";

 private:
  enum Sampling { kOnce = 0, kSample = 1, kContinuous = 2 };
  /// Run-state values: running, idle, and a start that failed.
  static constexpr std::int32_t kRunning = 1;
  static constexpr std::int32_t kFailedStart = 2;

  bool Start();
  void PrepareGraphs();
  void ReadAverNumb();
  /// Waits for the next complete reading's text; false when `TestGo` was cleared meanwhile.
  bool NextReading(std::string& text);
  void CloseBlock();
  void ShowBlockProgress(std::int32_t index);
  void End();
  int Sampling() const { return form_.cboSampling.ListIndex(); }
  /// Points 0..`AverNumb` of the time graph: point 0 stays 0 and the readings sit at 1..N, so
  /// the last reading of a block is plotted too.
  int GraphPoints() const;
  /// Seconds one block of `AverNumb` readings takes; 0 when unknown.
  double BlockSeconds() const;

  Form& form_;
  BoardLink& link_;
  Chart& adc_graph_;
  Chart& histo_;
  ReadingPresenter& presenter_;
  NoiseStatistics& noise_;
  Histogram& histogram_;
  ReadingLines lines_;
  std::int64_t readings_taken_ = 0;
  std::int64_t readings_used_ = 0;
  int progress_max_before_ = 0;
  std::vector<ReadingListener*> listeners_;
};

}  // namespace korvane
