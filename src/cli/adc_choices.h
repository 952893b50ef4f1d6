#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "form/form.h"

namespace korvane {

/// The converter settings asked for on the command line; what is not asked for keeps the
/// window's start-up value. Each is set through the control the window has for it, so that its
/// handler runs as for a user's change.
struct AdcChoices {
  std::optional<int> divider;      ///< `txtAClock`, 0..127
  std::optional<int> decimation;   ///< `txtDecimation`
  std::optional<double> rate_hz;   ///< turned into a decimation once the clock is known
  std::optional<int> filter;       ///< `cboFilter` index
  std::optional<int> calibration;  ///< `cboCalibr` index
  std::optional<int> gain_exp;     ///< gain 2^gain_exp, stepped with `cmdGainChange`
  std::optional<int> reference;    ///< `optRef` index
  std::optional<bool> unipolar;    ///< `optPolarity`
  std::optional<bool> buffer;      ///< `chkBuffer`
  std::optional<bool> burn_out;    ///< `chkBOD`
  std::optional<int> positive;     ///< channel numbers of `ChannelNames`, stepped with
  std::optional<int> negative;     ///< `cmdChanelMinusPlus`
  bool temperature = false;        ///< `optADCinput` "Temperature"
  std::optional<int> offset_dac;   ///< `txtOfstDAC`, loaded with "Load DAC"
  std::optional<int> chip_mode;    ///< `cboAvgFil` index: none, averaging, filtering
  std::optional<int> chip_count;   ///< `txtPartMode`

  bool Any() const;
};

/// The option names `ReadAdcChoice` knows, in the order --help lists them.
struct AdcOptionName {
  const char* name;
  const char* value_name;
  const char* description;
};
inline constexpr AdcOptionName kAdcOptionNames[] = {
    {"divider", "N", "analog clock divider (ACLK register), 0..127"},
    {"decimation", "N", "decimation ratio, 1..2047"},
    {"rate", "HZ", "data rate; the nearest decimation at the clock and divider"},
    {"filter", "NAME", "auto, fast, sinc2 or sinc3"},
    {"calibration", "NAME", "off, self, self-offset, self-gain, system-offset or system-gain"},
    {"gain", "G", "PGA gain: 1, 2, 4, 8, 16, 32, 64 or 128"},
    {"reference", "REF", "ext, 2.5 or 1.25"},
    {"polarity", "P", "bipolar or unipolar"},
    {"buffer", "on|off", "input buffer"},
    {"burn-out", "on|off", "burn-out current sources"},
    {"channels", "POS,NEG", "inputs, each AIN0..AIN7 or AINCOM (e.g. AIN0,AINCOM)"},
    {"temperature", "", "measure the chip's temperature diode"},
    {"offset-dac", "N", "offset DAC, -127..127, loaded after the set-up"},
    {"chip-averaging", "MODE[:N]", "none, averaging:N or filtering:N (N 1..255)"},
};

/// Reads the value of option `name` (one of `kAdcOptionNames`) into `choices`; returns why it
/// cannot be used, or "".
std::string ReadAdcChoice(std::string_view name, std::string_view value, AdcChoices& choices);

/// Why the choices contradict each other (--rate and --decimation, --temperature and --channels,
/// unipolar averaging of more than 128), or "".
std::string CheckAdcChoices(const AdcChoices& choices);

/// The decimation for `rate_hz` at the clock and divider in the form's boxes; nothing (and
/// `why` says which rates the chip can make) when no decimation comes within 1 %.
std::optional<int> DecimationForRate(const Form& form, double rate_hz, std::string& why);

/// Sets the chosen settings through their controls, running each handler as a user's change
/// does: lists, boxes, options, check boxes, and the gain and channel steppers. Returns why a
/// choice did not take (two inputs the steppers do not pair), or "".
std::string ApplyAdcChoices(Form& form, const AdcChoices& choices);

}  // namespace korvane
