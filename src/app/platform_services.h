#pragma once

#include "platform/chart.h"
#include "platform/dialogs.h"
#include "platform/process.h"
#include "platform/serial_port.h"
#include "platform/settings_store.h"
#include "platform/time_base.h"

namespace korvane {

/// The outside world as the main window's logic sees it.
struct PlatformServices {
  TimeBase& time;
  SerialPort& port;
  Chart& adc_graph;
  Chart& histo;
  SettingsStore& settings;
  Dialogs& dialogs;
  Process& process;
};

}  // namespace korvane
