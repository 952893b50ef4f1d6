#pragma once

#include <filesystem>
#include <string>

#include "form/form.h"
#include "link/board_discovery.h"
#include "link/board_link.h"
#include "loader/hex_program.h"
#include "loader/loader_reply.h"

namespace korvane {

/// Puts the board's firmware into the chip through its serial boot firmware: reset into
/// programming mode, clock registers, erase of flash and configuration memory, the four
/// configuration bytes, then the HEX file line by line, one line in flight at a time. Runs while
/// `PrgmGo` is set; "Stop &Load" clears it. Reports through panel 1, message boxes and beeps.
class ProgramLoader {
 public:
  static constexpr const char* kHexFileName = "Korvane_ADC_Demo.Hex";

  ProgramLoader(Form& form, BoardLink& link, BoardDiscovery& discovery);

  /// Where the HEX file is looked for; empty (the default) is the current working directory.
  void SetHexFolder(const std::filesystem::path& folder) { hex_file_ = folder / kHexFileName; }
  /// The HEX file itself, under any name (korvane-cli's `load FILE`).
  void SetHexFile(std::filesystem::path file) { hex_file_ = std::move(file); }

  /// True when the new program was loaded ("T" came); false after any failure or a stop.
  bool LoadProgram();

  /// The bit rate of programming mode for the clock in `txtFreq` (MHz): 2400 at exactly
  /// 1.8432, 1200 for any other clock below 5, else the link speed `BaudRate`.
  static std::string ProgrammingSpeed(double clock_mhz, const std::string& BaudRate);

 private:
  /// The phase in force, which selects the message of the error end.
  enum class Step { kProgReset = 1, kClockRegisters, kErase, kOpenFile, kLoadLines };
  enum class End { kSuccess, kInterrupted, kError };

  /// Reads and checks the whole file; false (after its messages) when it cannot be loaded.
  bool ReadProgram(HexProgram& program);
  End Program(const std::vector<std::string>& lines, Step& step);
  void ResetIntoProgramming(const std::string& speed);
  bool SendClockRegisters();
  bool EraseAndConfigure();
  End LoadLines(const std::vector<std::string>& lines, const std::string& speed);
  /// Takes received text until a take holds a reply letter; false when `PrgmGo` is cleared.
  bool AwaitReply(LoaderReply& reply);

  void SucceedEnd();
  void InterruptedEnd();
  void ErrorEnd(Step step);
  void ShowMessage(const std::string& text);
  std::string FailureText(Step step) const;
  static std::string FaultText(const HexProgram& program);

  Form& form_;
  BoardLink& link_;
  BoardDiscovery& discovery_;
  std::filesystem::path hex_file_ = kHexFileName;
};

}  // namespace korvane
