#include "acquisition/reading_presenter.h"

#include <algorithm>

#include "acquisition/reading_math.h"

namespace korvane {

namespace {

constexpr int kSamplingSample = 1;

}  // namespace

ReadingPresenter::ReadingPresenter(Form& form, Chart& adc_graph)
    : form_(form), adc_graph_(adc_graph) {}

void ReadingPresenter::ShowReading(std::int32_t code, std::int32_t index) {
  if (form_.optDataShow[0].Value()) ShowVolts(code, index);
  if (form_.optDataShow[1].Value()) ShowDecimal(code, index);
  if (form_.optDataShow[2].Value()) ShowHex(code, index);
}

void ReadingPresenter::ShowVolts(std::int32_t& code, std::int32_t& index) {
  ConvertSigned(code, index);
  const bool temperature = TemperatureInput();
  const double volts = CodeVolts(code, form_.VoltsPerCode, form_.PgaGainExp);
  if (DisplayWanted(index)) {
    if (temperature) {
      Display(MeterText(DiodeCelsius(volts), 3));
    } else {
      Display(MeterText(volts, 8));
    }
    CheckOverload(code);
    if (index == AVERAGE_INDEX) CheckBlockClipped(code);
  }
  if (StoreInBlock(code, index)) {
    Plot(index, PlotValue(DisplayMode::kVolts, temperature, code, volts));
  }
}

void ReadingPresenter::ShowDecimal(std::int32_t& code, std::int32_t& index) {
  ConvertSigned(code, index);
  // The reading that seeds the tracking value is a reading like any other: dropping it would
  // leave an earlier block's value in `Samples` and cut the block mean short.
  form_.DecTrack = form_.DecTrack == 0 ? code : TrackedDecimal(form_.DecTrack, code);
  if (DisplayWanted(index)) Display(DecimalText(code));
  if (StoreInBlock(code, index)) Plot(index, PlotValue(DisplayMode::kDecimal, false, code, 0.0));
}

void ReadingPresenter::ShowHex(std::int32_t& code, std::int32_t& index) {
  const std::int32_t received = code;
  ConvertSigned(code, index);
  const bool temperature = TemperatureInput();
  const double volts = CodeVolts(code, form_.VoltsPerCode, form_.PgaGainExp);
  if (DisplayWanted(index)) Display(HexText(received));
  if (StoreInBlock(code, index)) {
    Plot(index, PlotValue(DisplayMode::kHex, temperature, code, volts));
  }
}

void ReadingPresenter::CheckOverload(const std::int32_t& code) {
  switch (OverloadOf(code, form_.optPolarity[0].Value())) {
    case Overload::kPositive:
      Display("+OVERLOAD");
      break;
    case Overload::kNegative:
      Display("-OVERLOAD");
      break;
    case Overload::kNone:
      break;
  }
}

void ReadingPresenter::CheckBlockClipped(std::int32_t average) {
  if (OverloadOf(average, form_.optPolarity[0].Value()) != Overload::kNone) return;
  if (block_clipped_ == Overload::kPositive) Display("+OVERLOAD");
  if (block_clipped_ == Overload::kNegative) Display("-OVERLOAD");
}

void ReadingPresenter::ConvertSigned(std::int32_t& code, std::int32_t index) const {
  if (form_.optPolarity[0].Value() && index != AVERAGE_INDEX) code = SignedCode(code);
}

bool ReadingPresenter::TemperatureInput() const {
  return form_.optADCinput[1].Value();
}

bool ReadingPresenter::DisplayWanted(std::int32_t index) const {
  return index == AVERAGE_INDEX || form_.cboSampling.ListIndex() != kSamplingSample;
}

void ReadingPresenter::Display(const std::string& text) {
  form_.txtDisplay.SetEnabled(true);
  form_.txtDisplay.SetCaption(text);
}

bool ReadingPresenter::StoreInBlock(std::int32_t& code, std::int32_t& index) {
  if (index == AVERAGE_INDEX) return false;
  if (index <= 0) {
    index = 0;
    code = 0;
  }
  if (index >= static_cast<std::int32_t>(form_.Samples.size())) return false;
  if (index <= 1) block_clipped_ = Overload::kNone;  // a new block
  if (block_clipped_ == Overload::kNone && index > 0) {
    block_clipped_ = OverloadOf(code, form_.optPolarity[0].Value());
  }
  form_.Samples[static_cast<std::size_t>(index)] = code;
  form_.MeanCode += code / static_cast<double>(std::max(form_.AverNumb, 1));
  return true;
}

void ReadingPresenter::Plot(std::int32_t index, double value) {
  if (index < adc_graph_.PointCount()) adc_graph_.SetPointY(0, index, static_cast<float>(value));
}

}  // namespace korvane
