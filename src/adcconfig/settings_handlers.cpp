#include "adcconfig/settings_handlers.h"

#include <cstddef>

namespace korvane {

void WireSettingsHandlers(Form& form, SettingsPanel& panel, SamplingSelectors& sampling,
                          OffsetDac& dac) {
  form.cboFilter.SetOnClick([&panel] { panel.cboFilter_Click(); });
  form.cboCalibr.SetOnClick([&panel] { panel.cboCalibr_Click(); });
  form.txtFreq.SetOnChange([&panel] { panel.txtFreq_Change(); });
  form.txtAClock.SetOnChange([&panel] { panel.txtAClock_Change(); });
  form.txtDecimation.SetOnChange([&panel] { panel.txtDecimation_Change(); });
  for (int i = 0; i < static_cast<int>(form.cmdGainChange.size()); ++i) {
    form.cmdGainChange[static_cast<std::size_t>(i)].SetOnClick(
        [&panel, i] { panel.cmdGainChange_Click(i); });
  }
  for (int i = 0; i < static_cast<int>(form.cmdChanelMinusPlus.size()); ++i) {
    form.cmdChanelMinusPlus[static_cast<std::size_t>(i)].SetOnClick(
        [&panel, i] { panel.cmdChanelMinusPlus_Click(i); });
  }
  for (int i = 0; i < static_cast<int>(form.optPolarity.size()); ++i) {
    form.optPolarity[static_cast<std::size_t>(i)].SetOnClick(
        [&panel, i] { panel.optPolarity_Click(i); });
  }
  for (int i = 0; i < static_cast<int>(form.optADCinput.size()); ++i) {
    form.optADCinput[static_cast<std::size_t>(i)].SetOnClick(
        [&panel, i] { panel.optADCinput_Click(i); });
  }
  for (int i = 0; i < static_cast<int>(form.optRef.size()); ++i) {
    form.optRef[static_cast<std::size_t>(i)].SetOnClick([&panel, i] { panel.optRef_Click(i); });
  }
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
