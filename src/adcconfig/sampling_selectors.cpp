#include "adcconfig/sampling_selectors.h"

#include "adcconfig/panel_rules.h"

namespace korvane {

namespace {

constexpr int kNone = 0;
constexpr int kOnce = 0;
constexpr int kSample = 1;

}  // namespace

void SamplingSelectors::cboAvgFil_Click() {
  form_.TestGo = false;
  const int mode = form_.cboAvgFil.ListIndex();
  const bool counted = mode > kNone;
  form_.txtPartMode.SetVisible(counted);
  form_.lblPartMode.SetVisible(counted);
  if (counted) form_.lblPartMode.SetCaption(PartModeLabel(mode, form_.optPolarity[1].Value()));
}

void SamplingSelectors::cboSampling_Click() {
  form_.TestGo = false;
  const int mode = form_.cboSampling.ListIndex();
  form_.lblAver.SetVisible(mode == kSample);
  const bool statistics = mode > kOnce;
  form_.fraStDev.SetVisible(statistics);
  if (!statistics) form_.cboAvgFil.SetListIndex(kNone);
}

}  // namespace korvane
