#pragma once

namespace korvane {

/// The converter's full-scale range in volts for the status bar: 0 with the external reference
/// (its value is unknown), else twice the reference for bipolar input, divided by the PGA gain
/// 2^`gain_exp`. `reference_2v5` and `reference_1v25` are the two internal reference options.
double FullScaleRangeVolts(bool reference_2v5, bool reference_1v25, bool bipolar, int gain_exp);

}  // namespace korvane
