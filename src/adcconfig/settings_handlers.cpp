#include "adcconfig/settings_handlers.h"

#include <cstddef>

namespace korvane {

namespace {

/// A control array's click handler gets the index of the control that fired.
template <typename Controls, typename Handler>
void OnEachClick(Controls& controls, Handler handler) {
  for (std::size_t i = 0; i < controls.size(); ++i) {
    controls[i].SetOnClick([handler, i] { handler(static_cast<int>(i)); });
  }
}

}  // namespace

void WireSettingsHandlers(Form& form, SettingsPanel& panel, SamplingSelectors& sampling,
                          OffsetDac& dac) {
  form.cboFilter.SetOnClick([&panel] { panel.cboFilter_Click(); });
  form.cboCalibr.SetOnClick([&panel] { panel.cboCalibr_Click(); });
  form.txtFreq.SetOnChange([&panel] { panel.txtFreq_Change(); });
  form.txtAClock.SetOnChange([&panel] { panel.txtAClock_Change(); });
  form.txtDecimation.SetOnChange([&panel] { panel.txtDecimation_Change(); });
  OnEachClick(form.cmdGainChange, [&panel](int i) { panel.cmdGainChange_Click(i); });
  OnEachClick(form.cmdChanelMinusPlus, [&panel](int i) { panel.cmdChanelMinusPlus_Click(i); });
  OnEachClick(form.optPolarity, [&panel](int i) { panel.optPolarity_Click(i); });
  OnEachClick(form.optADCinput, [&panel](int i) { panel.optADCinput_Click(i); });
  OnEachClick(form.optRef, [&panel](int i) { panel.optRef_Click(i); });
  form.chkBuffer.SetOnClick([&panel] { panel.chkBuffer_Click(); });
  form.chkBOD.SetOnClick([&panel] { panel.chkBOD_Click(); });
  form.chkAutoZero.SetOnClick([&panel] { panel.chkAutoZero_Click(); });

  form.cboAvgFil.SetOnClick([&sampling] { sampling.cboAvgFil_Click(); });
  form.cboSampling.SetOnClick([&sampling] { sampling.cboSampling_Click(); });
  form.txtPartMode.SetOnChange([&sampling] { sampling.txtPartMode_Change(); });

  form.cmdODAC.SetOnClick([&dac] { dac.cmdODAC_Click(); });
  form.txtOfstDAC.SetOnChange([&dac] { dac.txtOfstDAC_Change(); });
}

}  // namespace korvane
