#include "adcconfig/offset_dac.h"

#include <string>

#include "adcconfig/panel_rules.h"
#include "common/number_text.h"

namespace korvane {

void OffsetDac::cmdODAC_Click() {
  form_.TestGo = false;
  const int value = OffsetDacValue(ValFromText(form_.txtOfstDAC.Text()));
  form_.txtOfstDAC.SetText(std::to_string(value));
  const bool failed = link_.SendCmd("RWE6" + Hex2(OffsetDacCode(value)), kTimeoutMs);
  form_.Panel(1).SetText(failed ? kNotLoaded : kLoaded);
  link_.BeepFor(1);
}

}  // namespace korvane
