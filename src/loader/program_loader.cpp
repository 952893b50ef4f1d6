#include "loader/program_loader.h"

#include <cstdint>

#include "common/number_text.h"
#include "loader/loader_reply.h"

namespace korvane {

namespace {

constexpr const char* kRestartBitRate = "57600";
constexpr int kErrorProgressMax = 8;

}  // namespace

std::string ProgramLoader::FailureText(Step step) const {
  switch (step) {
    case Step::kProgReset:
      return "No Response to initial CR during Serial Programming Reset";
    case Step::kClockRegisters:
      return "Error during loading SFR registers";
    case Step::kErase:
      return "Error during erasing Korvane flash memory";
    case Step::kOpenFile:
      return "Error to open HEX file " + hex_file_.filename().string();
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

bool ProgramLoader::LoadProgram() {
  form_.NeedReset = true;
  if (!LinkSpeedKnown(form_)) {
    // The configuration bytes would go out empty, and a board programmed without them could not
    // talk to this program: the board is left as it is.
    ShowMessage("NO  LINK  SPEED  IS  KNOWN,  PROGRAM  IS  NOT  LOADED");
    link_.BeepFor(2);
    form_.prgProgress.SetMax(kErrorProgressMax);
    return false;
  }
  HexProgram program;
  if (!ReadProgram(program)) return false;

  Step step = Step::kProgReset;
  switch (Program(program.lines, step)) {
    case End::kSuccess:
      SucceedEnd();
      return true;
    case End::kInterrupted:
      InterruptedEnd();
      return false;
    case End::kError:
      ErrorEnd(step);
      return false;
  }
  return false;
}

bool ProgramLoader::ReadProgram(HexProgram& program) {
  // The whole file is read and checked before the board is touched: a load that stops at a bad
  // line leaves the board erased, and erasing a working board for a file that cannot be loaded
  // would lose its firmware for nothing.
  HexFile file(hex_file_);
  if (!file.IsOpen()) {
    ShowMessage(" OPEN  FILE");
    ErrorEnd(Step::kOpenFile);
    return false;
  }
  program = ReadHexProgram(file);
  file.Close();
  if (program.fault == HexFault::kNone) return true;
  ShowMessage(FaultText(program));
  ErrorEnd(Step::kOpenFile);
  return false;
}

std::string ProgramLoader::FaultText(const HexProgram& program) {
  const std::string line = "HEX  FILE  LINE  " + std::to_string(program.fault_line);
  switch (program.fault) {
    case HexFault::kEmptyFile:
      return "HEX  FILE  IS  EMPTY";
    case HexFault::kNoEndRecord:
      return "HEX  FILE  HAS  NO  END  RECORD";
    case HexFault::kNotARecord:
      return line + "  IS  NOT  A  RECORD";
    case HexFault::kLengthError:
      return line + "  LENGTH  ERROR";
    case HexFault::kChecksumError:
      return line + "  CHECKSUM  ERROR";
    case HexFault::kRecordTypeError:
      return line + "  RECORD  TYPE  ERROR";
    case HexFault::kNone:
      break;
  }
  return {};
}

ProgramLoader::End ProgramLoader::Program(const std::vector<std::string>& lines, Step& step) {
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
  // The file itself was read and checked whole before the board was touched.
  link_.PumpEvents();
  if (!form_.PrgmGo) return End::kInterrupted;

  step = Step::kLoadLines;
  return LoadLines(lines, speed);
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

ProgramLoader::End ProgramLoader::LoadLines(const std::vector<std::string>& lines,
                                            const std::string& speed) {
  // The bar covers the whole file, whose length is known since it was read whole.
  auto& progress = form_.prgProgress;
  progress.SetValue(0);
  progress.SetMax(static_cast<int>(lines.size()));
  link_.SaxComm1().Transmit("L");

  std::int32_t line_counter = 0;
  for (const auto& line : lines) {
    ++line_counter;
    progress.SetValue(line_counter);
    ShowMessage("LOADING...   " + speed + "  BAUD,   FILE LINE:  " + std::to_string(line_counter));
    link_.SaxComm1().Transmit(line + "\r\n");

    LoaderReply reply = LoaderReply::kNone;
    if (!AwaitReply(reply)) return End::kInterrupted;
    // Only the end record, which is the last line, may finish the transfer; a "T" for a data
    // line (or a "." for the end record) is a reply the line garbled, not the board's verdict.
    const bool end_record = line_counter == static_cast<std::int32_t>(lines.size());
    if ((reply == LoaderReply::kFinished) != end_record && reply != LoaderReply::kChecksumError &&
        reply != LoaderReply::kNotWritten) {
      ShowMessage("HEX  FILE  LINE  " + std::to_string(line_counter) + "  REPLY  ERROR");
      return End::kError;
    }
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
  return End::kError;  // the end record drew no "T"
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

void ProgramLoader::SucceedEnd() {
  ShowMessage("Korvane  PROGRAM  WAS  LOADED");
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

void ProgramLoader::InterruptedEnd() {
  ShowMessage("PROGRAMMING  WAS  INTERRUPTED");
  link_.BeepFor(1);
}

void ProgramLoader::ErrorEnd(Step step) {
  link_.Messages().MessageBox(FailureText(step), MessageIcon::kCritical);
  link_.BeepFor(2);
  form_.prgProgress.SetMax(kErrorProgressMax);
}

void ProgramLoader::ShowMessage(const std::string& text) {
  form_.Panel(1).SetText(text);
}

}  // namespace korvane
