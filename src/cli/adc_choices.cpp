#include "cli/adc_choices.h"

#include <cctype>
#include <charconv>
#include <cmath>

#include "adcconfig/adc_timing.h"
#include "common/number_text.h"

namespace korvane {

namespace {

constexpr int kGainSteps = 8;
constexpr int kChannelSteps = 16;
constexpr int kCommonChannel = 8;
constexpr int kLargestDivider = 127;
constexpr int kLargestDac = 127;
constexpr int kLargestChipCount = 255;
constexpr int kLargestUnipolarAveraging = 128;
/// A data rate asked for is met when a decimation comes this close to it.
constexpr double kRateTolerance = 0.01;

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

std::optional<long> WholeNumber(std::string_view text) {
  long value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end || text.empty()) return std::nullopt;
  return value;
}

std::optional<double> Number(std::string_view text) {
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end || text.empty() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

/// The index of `value` among `names`, case-insensitive.
template <std::size_t N>
std::optional<int> IndexOf(std::string_view value, const char* const (&names)[N]) {
  const std::string lower = Lower(value);
  for (std::size_t i = 0; i < N; ++i) {
    if (lower == names[i]) return static_cast<int>(i);
  }
  return std::nullopt;
}

std::optional<bool> OnOff(std::string_view value) {
  const std::string lower = Lower(value);
  if (lower == "on") return true;
  if (lower == "off") return false;
  return std::nullopt;
}

std::optional<int> Channel(std::string_view name) {
  const std::string lower = Lower(name);
  if (lower == "aincom") return kCommonChannel;
  if (lower.size() == 4 && lower.starts_with("ain") && lower[3] >= '0' && lower[3] <= '7') {
    return lower[3] - '0';
  }
  return std::nullopt;
}

std::string Bad(std::string_view name, std::string_view value, const std::string& allowed) {
  return "--" + std::string(name) + " " + std::string(value) + ": " + allowed;
}

/// Clicks `step` until `reached` holds, at most `limit` times (the steppers wrap round).
template <typename Reached>
void StepUntil(Button& step, int limit, Reached reached) {
  for (int i = 0; i < limit && !reached(); ++i) step.Click();
}

}  // namespace

bool AdcChoices::Any() const {
  return divider || decimation || rate_hz || filter || calibration || gain_exp || reference ||
         unipolar || buffer || burn_out || positive || temperature || offset_dac || chip_mode;
}

std::string ReadAdcChoice(std::string_view name, std::string_view value, AdcChoices& choices) {
  static constexpr const char* kFilters[] = {"auto", "fast", "sinc2", "sinc3"};
  static constexpr const char* kCalibrations[] = {"off",       "self",          "self-offset",
                                                  "self-gain", "system-offset", "system-gain"};
  static constexpr const char* kReferences[] = {"ext", "2.5", "1.25"};
  static constexpr const char* kPolarities[] = {"bipolar", "unipolar"};
  static constexpr const char* kChipModes[] = {"none", "averaging", "filtering"};

  if (name == "divider") {
    const auto n = WholeNumber(value);
    if (!n || *n < 0 || *n > kLargestDivider) return Bad(name, value, "the divider is 0..127");
    choices.divider = static_cast<int>(*n);
  } else if (name == "decimation") {
    const auto n = WholeNumber(value);
    if (!n || !CheckedDecimation(static_cast<double>(*n))) {
      return Bad(name, value, "the chip's decimation ratios are 1..2047");
    }
    choices.decimation = static_cast<int>(*n);
  } else if (name == "rate") {
    const auto hz = Number(value);
    if (!hz || *hz <= 0) return Bad(name, value, "a data rate is a number of Hz above 0");
    choices.rate_hz = *hz;
  } else if (name == "filter") {
    choices.filter = IndexOf(value, kFilters);
    if (!choices.filter) return Bad(name, value, "the filters are auto, fast, sinc2, sinc3");
  } else if (name == "calibration") {
    choices.calibration = IndexOf(value, kCalibrations);
    if (!choices.calibration) {
      return Bad(name, value,
                 "calibration is off, self, self-offset, self-gain, system-offset or "
                 "system-gain");
    }
  } else if (name == "gain") {
    const auto gain = WholeNumber(value);
    choices.gain_exp.reset();
    for (int exp = 0; gain && exp < kGainSteps; ++exp) {
      if (*gain == (1L << exp)) choices.gain_exp = exp;
    }
    if (!choices.gain_exp) return Bad(name, value, "the chip's gains are 1, 2, 4 ... 128");
  } else if (name == "reference") {
    choices.reference = IndexOf(Lower(value).starts_with("ext") ? "ext" : value, kReferences);
    if (!choices.reference) return Bad(name, value, "the references are ext, 2.5 and 1.25");
  } else if (name == "polarity") {
    const auto index = IndexOf(value, kPolarities);
    if (!index) return Bad(name, value, "polarity is bipolar or unipolar");
    choices.unipolar = *index == 1;
  } else if (name == "buffer" || name == "burn-out") {
    const auto on = OnOff(value);
    if (!on) return Bad(name, value, "on or off");
    (name == "buffer" ? choices.buffer : choices.burn_out) = *on;
  } else if (name == "channels") {
    const std::size_t comma = value.find(',');
    const auto positive = Channel(value.substr(0, comma));
    const auto negative =
        comma == std::string_view::npos ? std::nullopt : Channel(value.substr(comma + 1));
    if (!positive || !negative) {
      return Bad(name, value, "two inputs POS,NEG, each AIN0..AIN7 or AINCOM");
    }
    choices.positive = positive;
    choices.negative = negative;
  } else if (name == "temperature") {
    choices.temperature = true;
  } else if (name == "offset-dac") {
    const auto n = WholeNumber(value);
    if (!n || *n < -kLargestDac || *n > kLargestDac) {
      return Bad(name, value, "the offset DAC is -127..127");
    }
    choices.offset_dac = static_cast<int>(*n);
  } else if (name == "chip-averaging") {
    const std::size_t colon = value.find(':');
    choices.chip_mode = IndexOf(value.substr(0, colon), kChipModes);
    const bool has_count = colon != std::string_view::npos;
    const long count = has_count ? WholeNumber(value.substr(colon + 1)).value_or(0) : 0;
    const bool counted = choices.chip_mode && *choices.chip_mode != 0;
    if (!choices.chip_mode || counted != has_count ||
        (counted && (count < 1 || count > kLargestChipCount))) {
      return Bad(name, value, "none, averaging:N or filtering:N with N 1..255");
    }
    if (counted) choices.chip_count = static_cast<int>(count);
  } else {
    return "unknown setting --" + std::string(name);
  }
  return "";
}

std::string CheckAdcChoices(const AdcChoices& choices) {
  if (choices.rate_hz && choices.decimation) {
    return "--rate and --decimation contradict each other: give one";
  }
  if (choices.temperature && choices.positive) {
    return "--temperature and --channels contradict each other: give one";
  }
  if (choices.unipolar.value_or(false) && choices.chip_mode == 1 &&
      choices.chip_count.value_or(0) > kLargestUnipolarAveraging) {
    return "--chip-averaging averaging:" + std::to_string(*choices.chip_count) +
           " contradicts --polarity unipolar: the chip averages at most 128 unipolar readings";
  }
  return "";
}

std::optional<int> DecimationForRate(const Form& form, double rate_hz, std::string& why) {
  const double clock = ClampClockMHz(ValFromText(form.txtFreq.Text()));
  const int divider = ClockDivider(ValFromText(form.txtAClock.Text()));
  const double modulator_khz = ModulatorKHz(clock, divider);
  const double ratio = std::round(modulator_khz * 1000.0 / rate_hz);
  const auto decimation = CheckedDecimation(ratio);
  if (decimation) {
    const double made = modulator_khz * 1000.0 / *decimation;
    if (std::abs(made - rate_hz) <= kRateTolerance * rate_hz) return decimation;
  }
  why = "--rate " + GeneralText(rate_hz) + ": at " + GeneralText(clock) + " MHz, divider " +
        std::to_string(divider) + " the chip makes " +
        GeneralText(DataRateHz(modulator_khz, 2047)) + " .. " +
        GeneralText(DataRateHz(modulator_khz, 1)) + " Hz in steps of the decimation";
  return std::nullopt;
}

std::string ApplyAdcChoices(Form& form, const AdcChoices& choices) {
  if (choices.divider) form.txtAClock.SetText(std::to_string(*choices.divider));
  if (choices.decimation) form.txtDecimation.SetText(std::to_string(*choices.decimation));
  if (choices.filter) form.cboFilter.SetListIndex(*choices.filter);
  if (choices.calibration) form.cboCalibr.SetListIndex(*choices.calibration);
  if (choices.reference) form.optRef[static_cast<std::size_t>(*choices.reference)].SetValue(true);
  if (choices.unipolar) form.optPolarity[*choices.unipolar ? 1 : 0].SetValue(true);
  if (choices.buffer) form.chkBuffer.SetValue(*choices.buffer ? 1 : 0);
  if (choices.burn_out) form.chkBOD.SetValue(*choices.burn_out ? 1 : 0);
  if (choices.gain_exp) {
    StepUntil(form.cmdGainChange[1], kGainSteps,
              [&] { return form.PgaGainExp == *choices.gain_exp; });
  }
  if (choices.temperature) form.optADCinput[1].SetValue(true);
  if (choices.positive) {
    form.optADCinput[0].SetValue(true);
    StepUntil(form.cmdChanelMinusPlus[1], kChannelSteps,
              [&] { return form.PosChannel == *choices.positive; });
    StepUntil(form.cmdChanelMinusPlus[3], kChannelSteps,
              [&] { return form.NegChannel == *choices.negative; });
    if (form.PosChannel != *choices.positive || form.NegChannel != *choices.negative) {
      return "--channels " + form.ChannelNames[static_cast<std::size_t>(*choices.positive)] + "," +
             form.ChannelNames[static_cast<std::size_t>(*choices.negative)] +
             ": the chip cannot pair these inputs";
    }
  }
  if (choices.chip_mode) form.cboAvgFil.SetListIndex(*choices.chip_mode);
  if (choices.chip_count) form.txtPartMode.SetText(std::to_string(*choices.chip_count));
  return "";
}

}  // namespace korvane
