#include "loader/program_loader.h"

#include <cstdint>

#include "common/number_text.h"
#include "loader/loader_reply.h"

namespace korvane {

namespace {

constexpr const char* kRestartBitRate = "57600";
constexpr int kErrorProgressMax = 8;

}  // namespace

std::string ProgramLoader::FailureText(Step step) {
  switch (step) {
    case Step::kProgReset:
      return "No Response to initial CR during Serial Programming Reset";
    case Step::kClockRegisters:
      return "Error during loading SFR registers";
    case Step::kErase:
      return "Error during erasing Korvane flash memory";
    case Step::kOpenFile:
      return std::string("Error to open HEX file ") + kHexFileName;
    case Step::kLoadLines:
      break;
  }
  return "Error during loading program to Korvane";
}

ProgramLoader::ProgramLoader(Form& form, BoardLink& link, BoardDiscovery& discovery)
    : form_(form), link_(link), discovery_(discovery) {}

std::string ProgramLoader::ProgrammingSpeed(double clock_mhz, const std::string& BaudRate) {
  std::string speed = BaudRate;
  if (clock_mhz < 5) speed = "1200";
  if (clock_mhz == 1.8432) speed = "2400";
  return speed;
}

void ProgramLoader::LoadProgram() {
  form_.NeedReset = true;
  // The file is opened before the board is touched: erasing a working board for a file that
  // cannot be read would lose its firmware for nothing.
  HexFile file(hex_folder_ / kHexFileName);
  if (!file.IsOpen()) {
    ShowMessage(" OPEN  FILE");
    return ErrorEnd(file, Step::kOpenFile);
  }

  Step step = Step::kProgReset;
  switch (Program(file, step)) {
    case End::kSuccess:
      return SucceedEnd(file);
    case End::kInterrupted:
      return InterruptedEnd(file);
    case End::kError:
      return ErrorEnd(file, step);
  }
}

ProgramLoader::End ProgramLoader::Program(HexFile& file, Step& step) {
  ShowMessage("SERIAL PORT " + std::to_string(form_.PortNumber) + ", and Korvane  RESET STARTED  ");
  discovery_.MakeClockCmds();
  const std::string speed = ProgrammingSpeed(ValFromText(form_.txtFreq.Text()), form_.BaudRate);
  ResetIntoProgramming(speed);

  step = Step::kProgReset;
  if (discovery_.ProgReset()) {
    ShowMessage("Korvane  PROG_RESET  FAILED");
    return End::kError;
  }
  step = Step::kClockRegisters;
  if (!SendClockRegisters()) return End::kError;
  ShowMessage(" Korvane  is  RESET  for  PROGRAMMING.");
  link_.PumpEvents();
  step = Step::kErase;
  if (!EraseAndConfigure()) return End::kError;

  link_.PumpEvents();
  if (!form_.PrgmGo) return End::kInterrupted;
  step = Step::kOpenFile;
  ShowMessage(" OPEN  FILE");
  link_.PumpEvents();
  // The file itself was opened, and proven readable, before the board was touched.
  link_.PumpEvents();
  if (!form_.PrgmGo) return End::kInterrupted;

  step = Step::kLoadLines;
  return LoadLines(file, speed);
}

void ProgramLoader::ResetIntoProgramming(const std::string& speed) {
  auto& port = link_.SaxComm1();
  link_.ReopenPort(form_.PortNumber, speed);  // both reset lines on
  link_.Delay(40);
  port.SetProgResetLine(false);
  link_.Delay(40);
  port.SetProgResetLine(true);
  link_.Delay(400);
  form_.prgProgress.Add(1);
  link_.PumpEvents();
}

bool ProgramLoader::SendClockRegisters() {
  for (const auto* command :
       {&form_.ClkCmdFB, &form_.ClkCmdFC, &form_.ClkCmdFD, &form_.ClkCmdEF, &form_.ClkCmdFE}) {
    if (link_.SendProgCmd(*command, 100)) return false;
  }
  return true;
}

bool ProgramLoader::EraseAndConfigure() {
  auto& dialogs = link_.Messages();
  if (link_.SendProgCmd("M0000", 400)) {
    dialogs.MessageBox("Enable to Erase Flash", MessageIcon::kCritical);
    return false;
  }
  if (link_.SendProgCmd("M8000", 400)) {
    dialogs.MessageBox("Enable to Erase Hardware Configuration Memory", MessageIcon::kCritical);
    return false;
  }
  const std::string configuration[] = {"CW80104A", "CW8011" + form_.ReloadLo, "CW80124B",
                                       "CW8013" + form_.ReloadHi};
  for (const auto& command : configuration) {
    if (link_.SendProgCmd(command, 200)) return false;
  }
  return !link_.SendProgCmd("E", 400) && !link_.SendProgCmd("\r", 400);
}

ProgramLoader::End ProgramLoader::LoadLines(HexFile& file, const std::string& speed) {
  auto& progress = form_.prgProgress;
  progress.SetValue(0);
  progress.SetMax(kLineProgressMax);
  link_.SaxComm1().Transmit("L");

  for (std::int32_t line_counter = 1;; ++line_counter) {
    auto line = file.NextLine();
    if (!line) return End::kError;
    progress.SetValue(line_counter);
    ShowMessage("LOADING...   " + speed + "  BAUD,   FILE LINE:  " + std::to_string(line_counter));
    link_.SaxComm1().Transmit(*line + "\r\n");

    LoaderReply reply = LoaderReply::kNone;
    if (!AwaitReply(reply)) return End::kInterrupted;
    switch (reply) {
      case LoaderReply::kFinished:
        return End::kSuccess;
      case LoaderReply::kChecksumError:
        ShowMessage("HEX  FILE  LINE  " + std::to_string(line_counter) + "  CHECKSUM  ERROR");
        return End::kError;
      case LoaderReply::kNotWritten:
        ShowMessage("HEX  FILE  LINE  " + std::to_string(line_counter) +
                    ", CANNOT WRITE TO MEMORY BYTE");
        return End::kError;
      case LoaderReply::kAccepted:
      case LoaderReply::kNone:
        break;
    }
  }
}

bool ProgramLoader::AwaitReply(LoaderReply& reply) {
  // No time limit: a silent board keeps the loader here until "Stop &Load".
  for (;;) {
    link_.PumpEvents();
    if (!form_.PrgmGo) return false;
    reply = ReplyInTake(link_.SaxComm1().TakeInput());
    if (reply != LoaderReply::kNone) return true;
    link_.WaitForEvents();
  }
}

void ProgramLoader::SucceedEnd(HexFile& file) {
  ShowMessage("Korvane  PROGRAM  WAS  LOADED");
  file.Close();
  link_.BeepFor(1);

  // Restart the chip on its new program.
  auto& port = link_.SaxComm1();
  link_.ReopenPort(form_.PortNumber, kRestartBitRate);  // both reset lines on
  link_.Delay(400);
  port.SetRunResetLine(false);
  link_.Delay(40);
  port.SetRunResetLine(true);
  link_.Delay(40);
  port.Transmit("\r");
}

void ProgramLoader::InterruptedEnd(HexFile& file) {
  ShowMessage("PROGRAMMING  WAS  INTERRUPTED");
  file.Close();
  link_.BeepFor(1);
}

void ProgramLoader::ErrorEnd(HexFile& file, Step step) {
  file.Close();
  link_.Messages().MessageBox(FailureText(step), MessageIcon::kCritical);
  link_.BeepFor(2);
  form_.prgProgress.SetMax(kErrorProgressMax);
}

void ProgramLoader::ShowMessage(const std::string& text) {
  form_.Panel(1).SetText(text);
}

}  // namespace korvane
