#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "acquisition/acquisition_run.h"
#include "app/long_record.h"
#include "app/sweep_plan.h"
#include "form/form.h"
#include "platform/time_base.h"
#include "records/noise_table.h"

namespace korvane {

/// The noise table: every gain at every data rate of a `SweepPlan`, the other settings as the
/// panel has them. Each cell sets the gain and the decimation through the panel's own controls
/// (their handlers run as for a click), then takes its readings with a real Continuous run
/// started and stopped by the Run button (`LongRecord`), so the board sees the same exchange as
/// any run. The window's dialog and the command line both drive this one class.
class NoiseSweep {
 public:
  NoiseSweep(Form& form, AcquisitionRun& run, TimeBase& time);

  /// Measures the plan; returns once it has ended, true when every cell is whole. The cells
  /// measured stay in `Table()` when it ends early (Cancel, a board that stops answering, a run
  /// stopped from the window), with `Table().incomplete` naming why. Refused (false, nothing
  /// measured, `incomplete` naming why) for a plan `CheckPlan` refuses or while a run goes on.
  /// The panel's gain and decimation are put back afterwards; the chip keeps the last cell's.
  bool Run(const SweepPlan& plan);
  /// Ends the sweep under way as the stop click ends a run; the cells measured are kept.
  void Cancel();

  bool Going() const { return going_; }
  const NoiseTable& Table() const { return table_; }

  /// The modulator rate the panel's clock and divider give, in kHz: data rates are this over the
  /// decimation.
  double ModulatorKHz() const;
  /// Seconds the plan will take at the panel's settings and the link's speed.
  double EstimatedSeconds(const SweepPlan& plan) const;

  /// Progress while it runs: readings taken (settling ones included) of all planned, the cell
  /// under way (1-based) and the seconds left, corrected by the time the cells so far took.
  std::int64_t ReadingsDone() const;
  std::int64_t ReadingsPlanned() const;
  std::size_t CellNumber() const { return table_.cells.size() + (going_ ? 1 : 0); }
  double SecondsLeft() const;

  /// Called every few hundred readings and after each cell, on the run's thread.
  void SetOnProgress(std::function<void()> on_progress) { on_progress_ = std::move(on_progress); }

  static constexpr const char* kCancelled = "cancelled";
  static constexpr const char* kBoardSilent = "the board stopped sending readings";
  static constexpr const char* kRunGoing = "a run is taking readings: stop it first";
  /// Without a reading for this long (or 10 reading periods, if longer) the board is silent.
  static constexpr int kSilenceMs = 3000;

 private:
  /// Sets the gain with the gain steppers and the decimation in its box, as the user would.
  void SetGain(int gain);
  void SetDecimation(int decimation);
  /// One cell: false when it did not get all its readings (the table then says why).
  bool MeasureCell(int gain, int decimation);
  void WatchForSilence(std::int64_t last_count);
  double CellSeconds(int decimation) const;
  void Progress() const {
    if (on_progress_) on_progress_();
  }

  Form& form_;
  TimeBase& time_;
  LongRecord record_;
  SweepPlan plan_;
  NoiseTable table_;
  bool going_ = false;
  bool cancelled_ = false;
  bool silent_ = false;
  int silence_ms_ = kSilenceMs;
  TimeBase::CallbackId watch_ = 0;
  std::int64_t start_ms_ = 0;
  /// Estimated seconds of the cells done, against the time they took.
  double estimated_done_ = 0;
  std::int64_t done_ms_ = 0;
  std::function<void()> on_progress_;
};

}  // namespace korvane
