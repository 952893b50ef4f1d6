#include "adcconfig/offset_dac.h"

#include <string>

#include "adcconfig/panel_rules.h"
#include "common/number_text.h"

namespace korvane {

namespace {

/// `RunState` while an acquisition run goes on.
constexpr std::int32_t kRunGoesOn = 1;

}  // namespace

void OffsetDac::cmdODAC_Click() {
  if (link_.ExchangeUnderWay()) {
    // Only a run may be under way here (the button is disabled while anything else talks to the
    // board). The click stops it, and the DAC is loaded once the board has ended its stream and
    // answered: a command sent into the stream would be lost.
    if (form_.RunState != kRunGoesOn) return;
    form_.TestGo = false;
    if (load_queued_) return;
    load_queued_ = true;
    link_.AfterExchange([this] {
      load_queued_ = false;
      LoadDac();
    });
    return;
  }
  form_.TestGo = false;
  LoadDac();
}

void OffsetDac::LoadDac() {
  const BoardLink::Exchange exchange(link_);
  const int value = OffsetDacValue(ValFromText(form_.txtOfstDAC.Text()));
  form_.txtOfstDAC.ShowNormalised(std::to_string(value));
  const bool failed = link_.SendCmd("RWE6" + Hex2(OffsetDacCode(value)), kTimeoutMs);
  form_.Panel(1).SetText(failed ? kNotLoaded : kLoaded);
  link_.BeepFor(1);
}

}  // namespace korvane
