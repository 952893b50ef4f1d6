#include "link/board_discovery.h"

#include <string>

#include "common/number_text.h"
#include "link/clock_math.h"

namespace korvane {

namespace {
constexpr const char* kProbeRate = "1200";
}  // namespace

bool LinkSpeedKnown(const Form& form) {
  return !form.BaudRate.empty() && !form.ReloadLo.empty() && !form.ReloadHi.empty();
}

BoardDiscovery::BoardDiscovery(Form& form, BoardLink& link) : form_(form), link_(link) {}

void BoardDiscovery::FindBoard(std::int16_t& PortNumber, double& Freq) {
  const int port = SearchPorts(PortNumber);
  if (port == 0) return;
  PortNumber = static_cast<std::int16_t>(port);
  form_.Panel(1).SetText("Korvane  DEMO  BOARD  IS  FOUND  AT  PORT  " + std::to_string(port) +
                         "  ");
  link_.PumpEvents();

  if (Freq <= 0 && !MeasureClock(Freq)) return;
  ShowFrequency(Freq);

  const auto speed = ChooseLinkSpeed(Freq);
  if (!speed) {
    form_.Panel(1).SetText("CANNOT  FIND  BAUD  RATE  FOR  THIS  CLOCK  FREQUENCY");
    link_.Messages().MessageBox(
        "Cannot find fitting comunication baud rate\r\nfor existing device clock "
        "frequency.\r\nTry to change Korvane clock frequency.",
        MessageIcon::kCritical);
    return;
  }
  form_.BaudRate = std::to_string(speed->bit_rate);
  form_.ReloadHi = Hex2(speed->reload / 256);
  form_.ReloadLo = Hex2(speed->reload % 256);

  if (!ProgramBoard()) return FailProgramming();

  form_.Panel(1).SetText(form_.Panel(1).Text() + ",  COMMUNICATION  AT  " + form_.BaudRate +
                         " BAUD");
  form_.Panel(4).SetText("COM" + std::to_string(PortNumber) + ": " + form_.BaudRate + " Baud");
  link_.BeepFor(2);
  form_.prgProgress.SetValue(0);
  if (reset_board_) reset_board_();
}

int BoardDiscovery::SearchPorts(std::int16_t& PortNumber) {
  bool only_given = PortNumber != 0;
  for (;;) {
    const int first = only_given ? PortNumber : 1;
    const int last = only_given ? PortNumber : kLastPort;
    for (int n = first; n <= last; ++n) {
      form_.Panel(1).SetText("TRYING  SERIAL  PORT  " + std::to_string(n) + "  ");
      link_.PumpEvents();
      link_.ReopenPort(n, kProbeRate);
      if (!ProgReset()) return n;
      link_.BeepFor(2);
      form_.prgProgress.SetValue(0);
      if (only_given) break;
    }
    if (!only_given) return 0;
    PortNumber = 0;
    only_given = false;
  }
}

bool BoardDiscovery::ProgReset() {
  auto& port = link_.SaxComm1();
  link_.Delay(40);
  port.SetProgResetLine(false);
  form_.prgProgress.Add(1);
  link_.PumpEvents();
  link_.Delay(40);
  port.SetProgResetLine(true);
  form_.prgProgress.Add(1);
  link_.PumpEvents();
  link_.Delay(400);
  port.Transmit("\r");
  if (!link_.WaitFor(">", 500)) return false;

  for (int attempt = 2; attempt <= 3; ++attempt) {
    port.SetProgResetLine(false);
    link_.Delay(40);
    port.SetProgResetLine(true);
    link_.Delay(300);
    port.Transmit("\r");
    if (!link_.WaitFor(">", 500)) return false;
  }
  return true;
}

bool BoardDiscovery::MeasureClock(double& Freq) {
  std::int32_t ca = 0;
  std::int32_t cb = 0;
  if (link_.Sread("RRCA", ca, 200)) {
    link_.Messages().MessageBox("Part doesn't respond RRCA", MessageIcon::kNone);
    FailProgramming();
    return false;
  }
  if (link_.Sread("RRCB", cb, 200)) {
    link_.Messages().MessageBox("Part doesn't respond RRCB", MessageIcon::kNone);
    FailProgramming();
    return false;
  }
  Freq = ClockFromCounts(ca, cb);
  return true;
}

void BoardDiscovery::ShowFrequency(double Freq) {
  form_.txtFreq.SetText(GeneralText(Freq));
  form_.txtAClock.SetText(GeneralText(AnalogClockDivider(Freq)));
  link_.PumpEvents();
}

void BoardDiscovery::MakeClockCmds() {
  double mhz = RoundHalfEven(ValFromText(form_.txtFreq.Text()));
  if (mhz > 24) {
    mhz = 24;
    form_.txtFreq.SetText("24");
  } else if (mhz < 1) {
    mhz = 1;
    form_.txtFreq.SetText("1");
  }
  const auto commands = ClockCommandsFor(static_cast<int>(mhz));
  form_.ClkCmdFB = commands.fb;
  form_.ClkCmdFC = commands.fc;
  form_.ClkCmdFD = commands.fd;
  form_.ClkCmdEF = commands.ef;
  form_.ClkCmdFE = commands.fe;
}

bool BoardDiscovery::ProgramBoard() {
  MakeClockCmds();
  for (const auto* command :
       {&form_.ClkCmdFB, &form_.ClkCmdFC, &form_.ClkCmdFD, &form_.ClkCmdEF, &form_.ClkCmdFE}) {
    if (link_.SendProgCmd(*command, 100)) return false;
  }
  if (link_.SendProgCmd("CP8000", 400)) return false;
  const std::string configuration[] = {"CW80104A", "CW8011" + form_.ReloadLo, "CW80124B",
                                       "CW8013" + form_.ReloadHi};
  for (const auto& command : configuration) {
    if (link_.SendProgCmd(command, 200)) return false;
  }
  return true;
}

void BoardDiscovery::FailProgramming() {
  form_.Panel(1).SetText("CANNOT  PROGRAM  Korvane  COMMUNICATION  SPEED");
  link_.PumpEvents();
}

}  // namespace korvane
