#include "acquisition/block_settings.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "acquisition/acquisition_run.h"
#include "acquisition/reading_math.h"
#include "common/number_text.h"

namespace korvane {

namespace {

const char* OnOff(bool on) {
  return on ? "on" : "off";
}

std::string SelectedCaption(const auto& options) {
  for (const auto& option : options) {
    if (option.Value()) return option.Caption();
  }
  return "";
}

}  // namespace

BlockSettings BlockSettingsFromForm(const Form& form) {
  BlockSettings settings;
  settings.clock_mhz = form.txtFreq.Text();
  settings.data_rate_hz = form.txtFdata.Text();
  settings.filter = form.cboFilter.SelectedText();
  settings.gain = 1 << std::clamp(form.PgaGainExp, 0, 7);
  settings.reference = SelectedCaption(form.optRef);
  settings.bipolar = form.optPolarity[0].Value();
  settings.buffer = form.chkBuffer.Value() == 1;
  const auto name = [&form](int channel) {
    return form.ChannelNames.at(static_cast<std::size_t>(std::clamp(channel, 0, 15)));
  };
  settings.temperature = form.optADCinput[1].Value();
  settings.positive_input = settings.temperature ? "DIODE" : name(form.PosChannel);
  settings.negative_input = name(form.NegChannel);
  const int chip_mode = form.cboAvgFil.ListIndex();
  const int chip_count = static_cast<int>(ValFromText(form.txtPartMode.Text()));
  settings.chip_averaging = form.cboAvgFil.SelectedText();
  if (chip_mode > 0) settings.chip_averaging += " N=" + std::to_string(chip_count);
  settings.volts_per_lsb = form.VoltsPerCode / std::ldexp(1.0, form.PgaGainExp);
  settings.full_scale_volts = form.FullScaleRange;
  settings.seconds_per_reading = AcquisitionRun::MillisPerReading(ValFromText(form.txtTdata.Text()),
                                                                  chip_mode == 1, chip_count) /
                                 1000;
  settings.block_length = form.AverNumb;
  return settings;
}

std::vector<FigureLine> SettingLines(const BlockSettings& s) {
  return {{"clock_MHz", s.clock_mhz},
          {"data_rate_Hz", s.data_rate_hz},
          {"filter", s.filter},
          {"gain", std::to_string(s.gain)},
          {"reference", s.reference},
          {"polarity", s.bipolar ? "bipolar" : "unipolar"},
          {"buffer", OnOff(s.buffer)},
          {"channels", s.positive_input + " - " + s.negative_input},
          {"chip_averaging", s.chip_averaging},
          {"input", s.temperature ? "temperature" : "analog"},
          {"volts_per_lsb", GeneralText(s.volts_per_lsb)},
          {"full_scale_range_V", GeneralText(s.full_scale_volts)},
          {"seconds_per_reading", GeneralText(s.seconds_per_reading)},
          {"block_length", std::to_string(s.block_length)}};
}

bool SettingsFromLines(const std::vector<FigureLine>& lines, BlockSettings& s) {
  bool numbers_read = true;
  const auto number = [&numbers_read](const std::string& text, double& out) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(value)) {
      numbers_read = false;
      return;
    }
    out = value;
  };
  for (const auto& [key, value] : lines) {
    double read = 0;
    if (key == "clock_MHz") s.clock_mhz = value;
    if (key == "data_rate_Hz") s.data_rate_hz = value;
    if (key == "filter") s.filter = value;
    if (key == "reference") s.reference = value;
    if (key == "polarity") s.bipolar = value != "unipolar";
    if (key == "buffer") s.buffer = value == "on";
    if (key == "chip_averaging") s.chip_averaging = value;
    if (key == "input") s.temperature = value == "temperature";
    if (key == "channels") {
      const auto dash = value.find(" - ");
      s.positive_input = value.substr(0, dash);
      s.negative_input = dash == std::string::npos ? "" : value.substr(dash + 3);
    }
    if (key == "gain" || key == "block_length") {
      number(value, read);
      const int whole = static_cast<int>(std::clamp(read, 0.0, 1e9));
      (key == "gain" ? s.gain : s.block_length) = whole;
    }
    if (key == "volts_per_lsb") number(value, s.volts_per_lsb);
    if (key == "full_scale_range_V") number(value, s.full_scale_volts);
    if (key == "seconds_per_reading") number(value, s.seconds_per_reading);
  }
  return numbers_read;
}

int SignedFromRaw(int raw, bool bipolar) {
  return bipolar ? SignedCode(raw) : raw;
}

double DisplayValue(int code, const BlockSettings& settings) {
  const double volts = RoundHalfEven(code * settings.volts_per_lsb, 8);
  return settings.temperature ? DiodeCelsius(volts) : volts;
}

}  // namespace korvane
