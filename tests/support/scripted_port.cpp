#include "support/scripted_port.h"

namespace korvane::testing {

void ScriptedPort::ArriveAfter(int after_ms, std::string text) {
  time_.Schedule(Millis{after_ms}, [this, text = std::move(text)] { DeliverReceived(text); });
}

}  // namespace korvane::testing
