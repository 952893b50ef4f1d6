#include "board/filter_response.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace korvane {

int FilterResponse::Order(AdcFilter filter) {
  switch (filter) {
    case AdcFilter::kFast:
      return 1;
    case AdcFilter::kSinc2:
      return 2;
    case AdcFilter::kAuto:
    case AdcFilter::kSinc3:
      break;
  }
  return 3;
}

FilterResponse::FilterResponse(const ConverterSetup& setup, double data_rate_hz)
    : order_(Order(setup.filter)),
      decimation_(std::max(setup.decimation, 1)),
      modulator_hz_(data_rate_hz * decimation_) {}

double FilterResponse::Gain(double frequency_hz) const {
  const double x = std::numbers::pi * frequency_hz / modulator_hz_;
  const double denominator = decimation_ * std::sin(x);
  double running_sum;
  if (std::abs(denominator) < 1e-12) {
    // At a multiple m of fmod the ratio tends to cos(m D pi) / cos(m pi).
    const double m = std::round(frequency_hz / modulator_hz_);
    running_sum = std::fmod(std::abs(m) * (decimation_ - 1), 2.0) == 0.0 ? 1.0 : -1.0;
  } else {
    running_sum = std::sin(x * decimation_) / denominator;
  }
  double gain = 1.0;
  for (int i = 0; i < order_; ++i) gain *= running_sum;
  return gain;
}

double FilterResponse::DelaySeconds() const {
  return order_ * (decimation_ - 1) / 2.0 / modulator_hz_;
}

}  // namespace korvane
