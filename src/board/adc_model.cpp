#include "board/adc_model.h"

namespace korvane {

std::int32_t AdcModel::Convert(const ConverterSetup& setup, double data_rate_hz) {
  const double noise = NoiseRmsVolts(setup, data_rate_hz) * noise_.Next();
  return ConversionCode(setup, inputs_, calibration_, noise);
}

}  // namespace korvane
