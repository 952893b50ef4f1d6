#include "app/noise_sweep.h"

#include <algorithm>
#include <span>

#include "adcconfig/adc_timing.h"
#include "common/number_text.h"

namespace korvane {

namespace {

constexpr int kGainDown = 0;
constexpr int kGainUp = 1;
constexpr int kAveraging = 1;
constexpr std::int32_t kFailedStart = 2;

/// The settings the cells share: everything but what the sweep changes and what follows from it.
std::vector<FigureLine> SharedSettings(const BlockSettings& settings) {
  std::vector<FigureLine> lines = SettingLines(settings);
  std::erase_if(lines, [](const FigureLine& line) {
    return line.first == "data_rate_Hz" || line.first == "gain" || line.first == "volts_per_lsb" ||
           line.first == "full_scale_range_V" || line.first == "seconds_per_reading" ||
           line.first == "block_length";
  });
  return lines;
}

}  // namespace

NoiseSweep::NoiseSweep(Form& form, AcquisitionRun& run, TimeBase& time)
    : form_(form), time_(time), record_(form, run) {
  record_.SetOnProgress([this] { Progress(); });
}

double NoiseSweep::ModulatorKHz() const {
  return korvane::ModulatorKHz(ClampClockMHz(ValFromText(form_.txtFreq.Text())),
                               ClockDivider(ValFromText(form_.txtAClock.Text())));
}

double NoiseSweep::EstimatedSeconds(const SweepPlan& plan) const {
  const bool averaging = form_.cboAvgFil.ListIndex() == kAveraging;
  const int chip_count = averaging
                             ? AcquisitionRun::ChipCount(ValFromText(form_.txtPartMode.Text()),
                                                         form_.optPolarity[1].Value())
                             : 1;
  return sweep_rules::EstimatedSeconds(plan, ModulatorKHz(), chip_count,
                                       form_.cboFilter.ListIndex(), ValFromText(form_.BaudRate));
}

double NoiseSweep::CellSeconds(int decimation) const {
  return EstimatedSeconds({{1}, {decimation}, plan_.readings});
}

bool NoiseSweep::Run(const SweepPlan& plan) {
  if (going_) return false;
  table_ = NoiseTable{};
  table_.readings_per_cell = plan.readings;
  table_.settling_readings = sweep_rules::SettlingReadings(form_.cboFilter.ListIndex());
  table_.planned_cells = plan.gains.size() * plan.decimations.size();
  table_.incomplete = sweep_rules::CheckPlan(plan);
  if (table_.incomplete.empty() && (form_.TestGo || form_.RunState == 1)) {
    table_.incomplete = kRunGoing;
  }
  if (!table_.incomplete.empty()) {
    table_.planned_cells = 0;
    return false;
  }
  plan_ = plan;
  const std::int32_t gain_exp = form_.PgaGainExp;
  const std::string decimation = form_.txtDecimation.Text();
  going_ = true;
  cancelled_ = false;
  silent_ = false;
  start_ms_ = time_.NowMs();
  estimated_done_ = 0;
  Progress();
  for (const int cell_decimation : plan.decimations) {
    SetDecimation(cell_decimation);
    for (const int gain : plan.gains) {
      if (!MeasureCell(gain, cell_decimation)) break;
      estimated_done_ += CellSeconds(cell_decimation);
      done_ms_ = time_.NowMs();
      Progress();
    }
    if (!table_.incomplete.empty()) break;
  }
  SetGain(1 << gain_exp);
  form_.txtDecimation.SetText(decimation);
  going_ = false;
  Progress();
  return table_.incomplete.empty();
}

void NoiseSweep::Cancel() {
  if (!going_) return;
  cancelled_ = true;
  record_.Cancel();
}

void NoiseSweep::SetGain(int gain) {
  // The steppers wrap from 128 to 1, so stepping up reaches every gain.
  for (int step = 0; step < 8 && (1 << form_.PgaGainExp) != gain; ++step) {
    form_.cmdGainChange[gain > (1 << form_.PgaGainExp) ? kGainUp : kGainDown].Click();
  }
}

void NoiseSweep::SetDecimation(int decimation) {
  form_.txtDecimation.SetText(std::to_string(decimation));
}

bool NoiseSweep::MeasureCell(int gain, int decimation) {
  if (cancelled_) {
    table_.incomplete = kCancelled;
    return false;
  }
  SetGain(gain);
  const std::int64_t settling = table_.settling_readings;
  const double modulator_hz = ModulatorKHz() * 1000;
  const double reading_ms = modulator_hz > 0 ? 1000.0 * decimation / modulator_hz : 0;
  silence_ms_ = std::max(kSilenceMs, static_cast<int>(10 * reading_ms));
  WatchForSilence(-1);
  const bool whole = record_.TakeReadings(settling + plan_.readings);
  time_.Cancel(watch_);

  const std::vector<std::int32_t>& codes = record_.Codes();
  if (table_.settings.empty() && !codes.empty())
    table_.settings = SharedSettings(record_.Settings());
  // Two readings give a spread; a cell cut shorter than that is left out.
  if (static_cast<std::int64_t>(codes.size()) >= settling + 2) {
    NoiseTableCell cell;
    cell.gain = gain;
    cell.decimation = decimation;
    cell.data_rate_hz = ValFromText(record_.Settings().data_rate_hz);
    cell.figures = ComputeNoiseFigures(std::span(codes).subspan(static_cast<std::size_t>(settling)),
                                       record_.Settings());
    cell.whole = whole;
    table_.cells.push_back(cell);
  }
  if (whole) return true;
  if (cancelled_) {
    table_.incomplete = kCancelled;
  } else if (silent_) {
    table_.incomplete = kBoardSilent;
  } else if (form_.AdcNotSet || form_.RunState == kFailedStart) {
    table_.incomplete = "the board did not answer (" + form_.Panel(1).Text() + ")";
  } else {
    table_.incomplete = "the run was stopped from the window";
  }
  return false;
}

void NoiseSweep::WatchForSilence(std::int64_t last_count) {
  watch_ = time_.Schedule(Millis(silence_ms_), [this, last_count] {
    if (record_.Going() && record_.Count() == last_count) {
      silent_ = true;
      record_.Cancel();
      return;
    }
    WatchForSilence(record_.Count());
  });
}

std::int64_t NoiseSweep::ReadingsDone() const {
  const auto per_cell = table_.settling_readings + plan_.readings;
  const auto done = static_cast<std::int64_t>(table_.cells.size());
  return done * per_cell + (record_.Going() ? std::min(record_.Count(), per_cell) : 0);
}

std::int64_t NoiseSweep::ReadingsPlanned() const {
  return static_cast<std::int64_t>(table_.planned_cells) *
         (table_.settling_readings + plan_.readings);
}

double NoiseSweep::SecondsLeft() const {
  if (!going_) return 0;
  double left = 0;
  std::size_t cell = 0;
  for (const int decimation : plan_.decimations) {
    for (std::size_t g = 0; g < plan_.gains.size(); ++g, ++cell) {
      if (cell < table_.cells.size()) continue;
      double share = 1;
      if (cell == table_.cells.size() && record_.Going() && record_.Length() > 0) {
        share -= static_cast<double>(record_.Count()) / static_cast<double>(record_.Length());
      }
      left += share * CellSeconds(decimation);
    }
  }
  // The cells so far show how far the estimate is off on this board and link.
  const double took = static_cast<double>(done_ms_ - start_ms_) / 1000;
  if (estimated_done_ > 0 && took > 0) left *= took / estimated_done_;
  return left;
}

}  // namespace korvane
