#include "fourier/analysis_error.h"

#include <algorithm>
#include <cmath>

namespace korvane {

std::string_view SpectrumErrorText(SpectrumError error) {
  switch (error) {
    case SpectrumError::kNone:
      return "";
    case SpectrumError::kBadSettings:
      return "settings out of range";
    case SpectrumError::kTooShort:
      return "record too short for the segment";
    case SpectrumError::kMissingReadings:
      return "record has missing readings";
    case SpectrumError::kNoTone:
      return "no tone found";
    case SpectrumError::kFitFailed:
      return "sine fit did not converge";
  }
  return "unknown error";
}

double PowerRatioDb(double numerator, double denominator) {
  const double limit = std::pow(10.0, kDbLimit / 10.0);
  if (!(numerator > denominator / limit)) return -kDbLimit;
  if (!(denominator > numerator / limit)) return kDbLimit;
  return std::clamp(10.0 * std::log10(numerator / denominator), -kDbLimit, kDbLimit);
}

}  // namespace korvane
