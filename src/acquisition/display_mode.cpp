#include "acquisition/display_mode.h"

#include <initializer_list>

namespace korvane {

namespace {

constexpr const char* kVoltsTitle = "V O L T A G E ,  V";
constexpr const char* kTemperatureTitle = "T E M P E R T U R E ,  C";
constexpr const char* kDecimalTitle = "L S B / 1000  ";
constexpr const char* kHexTitle = "uV ";

void ShowMode(Form& form, Chart& adc_graph, const char* units, const char* title,
              std::initializer_list<int> separators) {
  HideSeparators(form);
  form.lblRazmernst.SetCaption(units);
  adc_graph.SetYAxisTitle(title);
  for (const int line : separators) form.linSep[static_cast<std::size_t>(line)].SetVisible(true);
}

}  // namespace

void HideSeparators(Form& form) {
  for (auto& line : form.linSep) line.SetVisible(false);
}

void SetDisplayMode(Form& form, Chart& adc_graph) {
  // Each later rule that applies overrides the earlier ones.
  ShowMode(form, adc_graph, "V", kVoltsTitle, {0, 3});
  if (form.optADCinput[1].Value()) ShowMode(form, adc_graph, "C", kTemperatureTitle, {});
  if (form.optDataShow[1].Value()) ShowMode(form, adc_graph, "LSB", kDecimalTitle, {1, 4});
  if (form.optDataShow[2].Value()) ShowMode(form, adc_graph, "LSB", kHexTitle, {0, 2, 4});
}

const char* TimeGraphTitle(DisplayMode mode, bool temperature) {
  if (mode == DisplayMode::kDecimal) return kDecimalTitle;
  if (mode == DisplayMode::kHex) return kHexTitle;
  return temperature ? kTemperatureTitle : kVoltsTitle;
}

void optDataShow_Click(Form& form) {
  form.TestGo = false;
  for (auto& button : form.optDataShow) button.SetBackColor(Control::kSystemButtonFace);
}

}  // namespace korvane
