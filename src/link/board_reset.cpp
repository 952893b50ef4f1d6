#include "link/board_reset.h"

#include <string>

namespace korvane {

namespace {
constexpr int kGraphPoints = 5000;
constexpr int kTimeGraphPlottingMethod = 8;
constexpr int kHistogramPlottingMethod = 10;
}  // namespace

BoardReset::BoardReset(Form& form, BoardLink& link, BoardDiscovery& discovery, Chart& adc_graph,
                       Chart& histo)
    : form_(form), link_(link), discovery_(discovery), adc_graph_(adc_graph), histo_(histo) {}

void BoardReset::ResetBoard() {
  form_.TestGo = false;
  form_.PrgmGo = false;
  form_.AdcNotSet = true;
  form_.TimerExpired = true;
  link_.PumpEvents();
  form_.txtOfstDAC.SetText("0");
  if (!LinkSpeedKnown(form_)) return FindLinkSpeedAgain();
  discovery_.MakeClockCmds();
  form_.Panel(1).SetText("SERIAL PORT " + std::to_string(form_.PortNumber) + " AT BAUD  " +
                         form_.BaudRate + ", and Korvane  RESET STARTED  ");

  if (!RestartProgram()) {
    if (program_loaded_) return ReportSilentProgram();
    if (!LoadProgram()) {
      // The loader's own failure text stays: the board is not reset and may hold no program.
      ClearTimeGraph();
      link_.BeepFor(2);
      form_.prgProgress.SetValue(0);
      return;
    }
    if (!RestartProgram()) return ReportSilentProgram();
  }
  program_loaded_ = false;  // the program answered: a later silence is news, a load may help
  if (!SendClockRegisters()) {
    link_.Messages().MessageBox("Error during Reset.\r\nMaybe program is not loaded.",
                                MessageIcon::kCritical);
    link_.BeepFor(2);
    form_.prgProgress.SetValue(0);
    return;
  }

  ClearTimeGraph();
  form_.Panel(1).SetText(ResetDoneText(form_.PortNumber, form_.BaudRate));
  link_.BeepFor(2);
  form_.prgProgress.SetValue(0);
}

std::string BoardReset::ResetDoneText(int port_number, const std::string& baud_rate) {
  return "SERIAL PORT " + std::to_string(port_number) + " AT  " + baud_rate +
         " BAUD, AND  Korvane  IS  RESET";
}

void BoardReset::FindLinkSpeedAgain() {
  // With a board found before, discovery asks it again, measuring the clock. Without one it would
  // try all 256 ports for eleven minutes that nothing could stop; a new start searches instead.
  if (form_.PortNumber != 0) {
    double freq = 0;
    discovery_.FindBoard(form_.PortNumber, freq);
    if (LinkSpeedKnown(form_)) return;
  }
  form_.Panel(1).SetText(kNoLinkSpeed);
  link_.BeepFor(2);
  form_.prgProgress.SetValue(0);
}

bool BoardReset::RestartProgram() {
  link_.ReopenPort(form_.PortNumber, form_.BaudRate);
  form_.prgProgress.Add(1);
  link_.PumpEvents();
  PulseRunReset();
  return !link_.WaitFor("]", 500);
}

bool BoardReset::LoadProgram() {
  form_.PrgmGo = true;
  const bool loaded = load_program_ && load_program_();
  form_.PrgmGo = false;
  program_loaded_ = loaded;
  return loaded;
}

void BoardReset::ReportSilentProgram() {
  // Loading again would not help: the program is there but talks at another speed, which comes
  // from a wrong clock frequency (typed on the command line, most likely).
  form_.Panel(1).SetText("Korvane  PROGRAM  SILENT  AT  " + form_.BaudRate +
                         "  BAUD,  LINK  SPEED  OR  CLOCK  FREQUENCY  IS  LIKELY  WRONG");
  link_.Messages().MessageBox("The program of Korvane does not answer at " + form_.BaudRate +
                                  " baud.\r\nThe link speed or the clock frequency given on "
                                  "the command line is likely wrong.",
                              MessageIcon::kCritical);
  link_.BeepFor(2);
  form_.prgProgress.SetValue(0);
}

void BoardReset::PulseRunReset() {
  // The programming-reset line stays on, so the chip starts its loaded program.
  auto& port = link_.SaxComm1();
  link_.Delay(400);
  port.SetRunResetLine(false);
  link_.Delay(40);
  port.SetRunResetLine(true);
  port.Transmit("\r");
  port.SetRunResetLine(false);
  link_.Delay(40);
  port.SetRunResetLine(true);
  link_.Delay(300);
  port.Transmit("\r");
}

bool BoardReset::SendClockRegisters() {
  for (const auto* command : {&form_.ClkCmdFB, &form_.ClkCmdFC, &form_.ClkCmdFD, &form_.ClkCmdEF}) {
    if (link_.SendCmd(*command, 300)) return false;
  }
  link_.Delay(500);
  if (link_.SendCmd(form_.ClkCmdFE, 300)) return false;
  link_.Delay(500);
  if (link_.SendCmd("H1", 600)) return false;
  link_.Delay(500);
  return true;
}

void BoardReset::ClearTimeGraph() {
  adc_graph_.SetPointCount(kGraphPoints);
  for (int i = 0; i < kGraphPoints; ++i) {
    adc_graph_.SetPointY(0, i, 0.0f);
    adc_graph_.SetPointX(0, i, static_cast<float>(i));
  }
  form_.Samples.fill(0);
  adc_graph_.SetPlottingMethod(kTimeGraphPlottingMethod);
  histo_.SetPlottingMethod(kHistogramPlottingMethod);
  adc_graph_.Redraw();
}

void BoardReset::cmdReset_Click() {
  const auto set_buttons = [this](bool enabled) {
    form_.cmdReset.SetEnabled(enabled);
    for (auto& button : form_.cmdCntr) button.SetEnabled(enabled);
    form_.fraADCset.SetEnabled(enabled);
  };
  set_buttons(false);
  link_.PumpEvents();
  ResetBoard();
  form_.PrgmGo = false;
  set_buttons(true);
}

}  // namespace korvane
