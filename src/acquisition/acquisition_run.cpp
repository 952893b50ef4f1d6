#include "acquisition/acquisition_run.h"

#include <algorithm>
#include <cmath>

#include "acquisition/block_samples.h"
#include "common/number_text.h"

namespace korvane {

namespace {

constexpr std::int32_t kFirstUsedIndex = -4;  // the first four readings of a run are dropped
constexpr int kLargestChipCount = 255;
constexpr int kLargestUnipolarAveraging = 128;
constexpr int kHistogramPoints = 22;
constexpr double kProgressBlockSeconds = 2;
constexpr double kBeepBlockSeconds = 5;
constexpr std::uint32_t kRed = 255;
/// Readings already on their way come first; at 1200 bit/s each takes about 70 ms.
constexpr int kStreamEndTimeoutMs = 500;

}  // namespace

AcquisitionRun::AcquisitionRun(Form& form, BoardLink& link, Chart& adc_graph, Chart& histo,
                               ReadingPresenter& presenter, NoiseStatistics& noise,
                               Histogram& histogram)
    : form_(form),
      link_(link),
      adc_graph_(adc_graph),
      histo_(histo),
      presenter_(presenter),
      noise_(noise),
      histogram_(histogram) {}

std::int32_t AcquisitionRun::BlockLength(double typed) {
  return static_cast<std::int32_t>(RoundClamped(typed, 2, 5000));
}

std::int32_t AcquisitionRun::ChipCount(double typed, bool averaging_unipolar) {
  const int largest = averaging_unipolar ? kLargestUnipolarAveraging : kLargestChipCount;
  return static_cast<std::int32_t>(RoundClamped(typed, 1, largest));
}

double AcquisitionRun::MillisPerReading(double data_period_ms, bool chip_averaging,
                                        int chip_count) {
  if (!(data_period_ms > 0) || !std::isfinite(data_period_ms)) return 0;
  return chip_averaging ? data_period_ms * chip_count : data_period_ms;
}

void AcquisitionRun::RunADC() {
  form_.RunState = kRunning;
  readings_taken_ = 0;
  readings_used_ = 0;
  if (!Start()) {
    form_.RunState = kFailedStart;
    return End();
  }
  const BlockSettings settings = BlockSettingsFromForm(form_);
  for (ReadingListener* listener : listeners_) listener->RunStarted(settings);
  std::int32_t index = kFirstUsedIndex;
  std::string text;
  while (form_.TestGo) {
    ++index;
    if (!NextReading(text)) break;
    ++readings_taken_;
    link_.DisarmTimer();
    const std::int32_t code = ConversionCode(text);
    if (index > 0) {
      presenter_.ShowReading(code, index);
      ++readings_used_;
      for (ReadingListener* listener : listeners_) listener->ReadingTaken(code);
    }
    if (Sampling() == kOnce && index > 0) break;
    if (Sampling() == kSample && index >= form_.AverNumb && index >= 5) {
      presenter_.ShowReading(static_cast<std::int32_t>(std::floor(form_.MeanCode)),
                             ReadingPresenter::AVERAGE_INDEX);
      adc_graph_.Redraw();
      form_.Panel(1).SetText("");
      form_.prgProgress.SetValue(0);
    } else if (Sampling() == kSample && index > 0) {
      ShowBlockProgress(index);
    }
    if (Sampling() == kContinuous && index >= 5) adc_graph_.Redraw();
    if (Sampling() != kOnce && index >= form_.AverNumb) {
      CloseBlock();
      index = 0;
    }
  }
  for (ReadingListener* listener : listeners_) listener->RunEnded();
  End();
}

bool AcquisitionRun::Start() {
  form_.Panel(1).SetText("GETTING  ADC  CODE ");
  link_.PumpEvents();
  form_.MeanCode = 0;
  ReadAverNumb();

  const int chip_mode = form_.cboAvgFil.ListIndex();
  const bool averaging = chip_mode == 1;
  const bool unipolar = form_.optPolarity[1].Value();
  if (averaging) form_.lblPartMode.SetCaption("Average N=1...255");
  if (unipolar && averaging) form_.lblPartMode.SetCaption("Average N=1...128");
  const std::int32_t chip_count =
      ChipCount(ValFromText(form_.txtPartMode.Text()), unipolar && averaging);
  form_.txtPartMode.ShowNormalised(std::to_string(chip_count));
  if (link_.SendCmd("N00" + Hex2(chip_count), 100)) return false;

  form_.ReadingPeriodMs =
      MillisPerReading(ValFromText(form_.txtTdata.Text()), averaging, chip_count);
  progress_max_before_ = form_.prgProgress.Max();
  if (Sampling() != kOnce) PrepareGraphs();
  form_.txtDeviation.SetEnabled(false);
  form_.txtEfBits.SetEnabled(false);
  form_.txtDisplay.SetEnabled(false);
  link_.PumpEvents();
  link_.DisarmTimer();

  lines_.Clear();
  link_.SaxComm1().TakeInput();  // what came before the stream is no reading
  static constexpr const char* kStreamCommands[] = {"U3", "U4", "U5"};
  link_.SaxComm1().Transmit(kStreamCommands[std::clamp(chip_mode, 0, 2)]);
  return true;
}

void AcquisitionRun::PrepareGraphs() {
  adc_graph_.SetSeriesColor(0, kRed);
  adc_graph_.SetPointCount(GraphPoints());
  for (int p = 0; p <= form_.AverNumb; ++p) {
    adc_graph_.SetPointY(0, p, 0.0f);
    adc_graph_.SetPointX(0, p, static_cast<float>(p));
  }
  adc_graph_.Redraw();
  histo_.SetPointCount(kHistogramPoints);
  for (int p = 0; p < kHistogramPoints; ++p) {
    histo_.SetPointY(0, p, 0.0f);
    histo_.SetPointX(0, p, static_cast<float>(p));
  }
  histo_.Redraw();
  link_.Wait(200);
}

void AcquisitionRun::ReadAverNumb() {
  form_.AverNumb = BlockLength(ValFromText(form_.txtAverNumb.Text()));
  form_.txtAverNumb.SetText(std::to_string(form_.AverNumb));
}

bool AcquisitionRun::NextReading(std::string& text) {
  // No time limit: without data the run waits until it is stopped.
  for (;;) {
    link_.PumpEvents();
    if (!form_.TestGo) return false;
    lines_.Append(link_.SaxComm1().TakeInput());
    if (auto reading = lines_.Next()) {
      text = std::move(*reading);
      return true;
    }
    link_.WaitForEvents();
  }
}

void AcquisitionRun::CloseBlock() {
  if (!listeners_.empty()) {
    const BlockSettings settings = BlockSettingsFromForm(form_);
    for (ReadingListener* listener : listeners_)
      listener->BlockClosed(BlockSamples(form_), settings);
  }
  double sigma = 0;
  noise_.CalcNoise(sigma);
  if (sigma > 0 && form_.AverNumb > 30) histogram_.Gistogram(sigma);
  if (BlockSeconds() > kBeepBlockSeconds) link_.BeepFor(1);
  form_.MeanCode = 0;
  ReadAverNumb();
  adc_graph_.SetPointCount(GraphPoints());
  for (int p = 0; p <= form_.AverNumb; ++p) adc_graph_.SetPointX(0, p, static_cast<float>(p));
}

void AcquisitionRun::ShowBlockProgress(std::int32_t index) {
  // A long block shows how much of it has been collected.
  if (BlockSeconds() <= kProgressBlockSeconds) return;
  auto& progress = form_.prgProgress;
  if (progress.Max() != form_.AverNumb) progress.SetMax(form_.AverNumb);
  progress.SetValue(index);
}

int AcquisitionRun::GraphPoints() const {
  return form_.AverNumb + 1;
}

double AcquisitionRun::BlockSeconds() const {
  return form_.AverNumb * form_.ReadingPeriodMs / 1000;
}

void AcquisitionRun::End() {
  if (form_.RunState != kFailedStart) {
    link_.SaxComm1().Transmit("\r");
    form_.TestGo = false;
    // The board answers the end of its stream with "]". Taken here, it cannot be mistaken for
    // the answer to the next command.
    link_.WaitFor("]", kStreamEndTimeoutMs);
    link_.BeepFor(1);
    form_.prgProgress.SetValue(0);
    if (progress_max_before_ > 0) form_.prgProgress.SetMax(progress_max_before_);
  }
  form_.Panel(1).SetText(form_.RunState == kFailedStart ? kInterrupted : kFinished);
  form_.RunState = 0;
}

}  // namespace korvane
