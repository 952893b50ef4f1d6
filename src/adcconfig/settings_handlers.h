#pragma once

#include "adcconfig/offset_dac.h"
#include "adcconfig/sampling_selectors.h"
#include "adcconfig/settings_panel.h"
#include "form/form.h"

namespace korvane {

/// Binds every control of the settings panel, the sampling selectors and the offset DAC to its
/// handler. The window and every test bench that runs a part of the program use this one
/// binding, so that a bench sees each handler a change of value runs in the window.
void WireSettingsHandlers(Form& form, SettingsPanel& panel, SamplingSelectors& sampling,
                          OffsetDac& dac);

}  // namespace korvane
