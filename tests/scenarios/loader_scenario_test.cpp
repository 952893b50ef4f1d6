#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "board/hex_image.h"
#include "board/image_trailer.h"
#include "support/scenario_rig.h"

namespace korvane {
namespace {

using testing::ScenarioRig;

const char* const kLoaded = "Korvane  PROGRAM  WAS  LOADED";
const char* const kInterrupted = "PROGRAMMING  WAS  INTERRUPTED";
const char* const kLoadFailed = "Error during loading program to Korvane";

BoardOptions BlankBoard(double clock_mhz = 11.0592) {
  BoardOptions options;
  options.program_loaded = false;
  options.clock_mhz = clock_mhz;
  return options;
}

/// A started rig whose board program runs, ready for a click on "&Load Korvane".
void StartWithLoadedBoard(ScenarioRig& rig) {
  rig.main.Form_Load();
  ASSERT_EQ(rig.board.Mode(), BoardMode::kRunning);
  rig.dialogs.messages.clear();
}

void ClickLoad(ScenarioRig& rig) {
  rig.main.command_buttons().cmdCntr_Click(0);
}

TEST(LoaderScenario, BlankBoardAtStartUpGetsItsFirmwareAndAnswersAtTheNegotiatedSpeed) {
  ScenarioRig rig(1, BlankBoard());
  const auto image = DemoProgramBytes(600);
  const auto lines = HexImageLines(0x0000, image);
  rig.hex_folder.WriteHexLines(lines);
  bool stop_button_usable = false;
  rig.on_message = [&] {
    if (rig.form.Panel(1).Text().rfind("LOADING...", 0) == 0) {
      const auto& button = rig.form.cmdCntr[0];
      stop_button_usable = button.Visible() && button.Enabled() &&
                           button.Caption() == "Stop &Load" && rig.form.frmKorvane_Demo.Enabled() &&
                           !rig.form.cmdReset.Enabled() && !rig.form.cmdCntr[2].Enabled();
    }
  };

  rig.main.Form_Load();

  EXPECT_TRUE(rig.dialogs.messages.empty()) << rig.dialogs.Texts().front();
  const std::vector<std::string> expected_steps{
      "SERIAL PORT 1 AT BAUD  57600, and Korvane  RESET STARTED  ",
      "SERIAL PORT 1, and Korvane  RESET STARTED  ", " Korvane  is  RESET  for  PROGRAMMING.",
      " OPEN  FILE", "LOADING...   57600  BAUD,   FILE LINE:  1"};
  auto first = std::find(rig.Messages().begin(), rig.Messages().end(), expected_steps[0]);
  ASSERT_NE(first, rig.Messages().end());
  EXPECT_EQ(std::vector<std::string>(first, first + 5), expected_steps);
  EXPECT_TRUE(
      rig.Showed("LOADING...   57600  BAUD,   FILE LINE:  " + std::to_string(lines.size())));
  EXPECT_TRUE(rig.Showed(kLoaded));
  EXPECT_EQ(rig.form.Panel(1).Text(), "SERIAL PORT 1 AT  57600 BAUD, AND  Korvane  IS  RESET");
  EXPECT_TRUE(stop_button_usable) << "the load can be stopped while it runs";
  EXPECT_FALSE(rig.form.cmdCntr[0].Visible());
  EXPECT_EQ(rig.form.cmdCntr[0].Caption(), "&Load Korvane");
  EXPECT_TRUE(rig.form.frmKorvane_Demo.Enabled());
  EXPECT_TRUE(rig.form.cmdReset.Enabled());
  EXPECT_FALSE(rig.form.PrgmGo);
  EXPECT_TRUE(rig.form.NeedReset) << "the next run resets the board first";
  EXPECT_EQ(rig.form.prgProgress.Max(), static_cast<int>(lines.size())) << "the whole file";

  const std::vector<std::string> erase_and_configure{"RWFB0A",   "RWFCF8",   "RWFD2A",   "RWEF34",
                                                     "RWFE63",   "M0000",    "M8000",    "CW80104A",
                                                     "CW8011FA", "CW80124B", "CW8013FF", "E"};
  const auto commands = rig.ProgrammingCommands();
  auto erase = std::find(commands.begin(), commands.end(), "M0000");
  ASSERT_GE(erase - commands.begin(), 5);
  EXPECT_EQ(std::vector<std::string>(erase - 5, erase + 7), erase_and_configure);
  EXPECT_EQ(
      std::vector<std::string>(commands.end() - static_cast<long>(lines.size()), commands.end()),
      lines);
  for (std::size_t i = 0; i < image.size(); ++i) {
    ASSERT_EQ(rig.board.Memory().FlashByte(static_cast<int>(i)), image[i]) << i;
  }

  // The new program answers at the negotiated speed: a reset now finds it without loading.
  rig.dialogs.messages.clear();
  const auto commands_before = rig.board.ReceivedCommands().size();
  rig.form.cmdReset.Click();
  EXPECT_TRUE(rig.dialogs.messages.empty());
  EXPECT_EQ(rig.form.Panel(1).Text(), "SERIAL PORT 1 AT  57600 BAUD, AND  Korvane  IS  RESET");
  EXPECT_EQ(rig.board.UartBitRate(), 57600);
  ASSERT_GT(rig.board.ReceivedCommands().size(), commands_before);
  EXPECT_EQ(rig.board.ReceivedCommands().back().text, "H1");
  EXPECT_EQ(rig.board.ReceivedCommands().back().mode, BoardMode::kRunning);
}

TEST(LoaderScenario, ProgrammingSpeedAtASlowClockAndAFileWithLfLineEnds) {
  ScenarioRig rig(1, BlankBoard(1.8432));
  const auto lines = HexImageLines(0x0000, DemoProgramBytes(100));
  std::string text;
  for (const auto& line : lines) text += line + "\n";
  rig.hex_folder.WriteHexFile(text);
  rig.main.Form_Load();
  EXPECT_TRUE(rig.Showed("LOADING...   2400  BAUD,   FILE LINE:  1")) << rig.form.BaudRate;
  EXPECT_TRUE(rig.Showed(kLoaded));
  EXPECT_NE(rig.Sent().find(lines[1] + "\r\n" + lines[2] + "\r\n"), std::string::npos);
}

TEST(LoaderScenario, TheEndRecordEndsTheLoadAndLaterLinesAreNotSent) {
  ScenarioRig rig(1);
  StartWithLoadedBoard(rig);
  const std::string after_end = HexRecord(0x00, 0x0100, {0x11, 0x22});
  const std::vector<std::uint8_t> program{0x02, 0x00, 0x40};
  rig.hex_folder.WriteHexLines({HexRecord(0x00, 0x0000, program),
                                HexRecord(0x00, kImageTrailerAddress, ImageTrailer(0, program)),
                                HexRecord(0x01, 0x0000, {}), after_end, after_end});
  ClickLoad(rig);
  EXPECT_TRUE(rig.Showed(kLoaded));
  EXPECT_TRUE(rig.dialogs.messages.empty());
  EXPECT_EQ(rig.Sent().find(after_end), std::string::npos);
  EXPECT_EQ(rig.form.Panel(1).Text(), kLoaded);
  EXPECT_EQ(rig.port.PortSettings(), "57600,N,8,1") << "restarted at 57600";
  EXPECT_EQ(rig.Sent().back(), '\r') << "the restart ends with a lone CR";
  EXPECT_EQ(rig.board.Mode(), BoardMode::kRunning);
  EXPECT_EQ(rig.form.cmdCntr[0].Caption(), "&Load Korvane");
  for (const auto& button : rig.form.cmdCntr) EXPECT_TRUE(button.Enabled());
  EXPECT_TRUE(rig.form.cmdReset.Enabled());
  EXPECT_EQ(rig.form.Panel(3).Text(), "FSR = 5V");
}

TEST(LoaderScenario, UnwritableByteEndsTheLoad) {
  ScenarioRig rig(1);
  StartWithLoadedBoard(rig);
  rig.hex_folder.WriteHexLines({HexRecord(0x00, 0x0000, {0x02}), HexRecord(0x00, 0xF7FF, {1, 2}),
                                HexRecord(0x01, 0x0000, {})});
  ClickLoad(rig);
  EXPECT_EQ(rig.form.Panel(1).Text(), "HEX  FILE  LINE  2, CANNOT WRITE TO MEMORY BYTE");
  EXPECT_EQ(rig.dialogs.Texts(), std::vector<std::string>{kLoadFailed});
  EXPECT_EQ(rig.form.prgProgress.Max(), 8);
}

TEST(LoaderScenario, LoadsThatCannotSucceedLeaveTheBoardUntouched) {
  const std::string data = HexRecord(0x00, 0x0000, {0x02, 0x00, 0x40});
  const std::string end = HexRecord(0x01, 0x0000, {});
  std::string bad_checksum = data;
  bad_checksum.back() = bad_checksum.back() == '0' ? '1' : '0';
  std::string binary;
  for (int i = 0; i < 5000; ++i) binary.push_back(static_cast<char>((i * 131) & 0xFF));
  const struct {
    std::optional<std::string> file;
    std::string panel;
  } cases[] = {
      {std::nullopt, " OPEN  FILE"},
      {"", "HEX  FILE  IS  EMPTY"},
      {"\r\n\r\n", "HEX  FILE  LINE  1  IS  NOT  A  RECORD"},
      {data + "\r\n" + data + "\r\n", "HEX  FILE  HAS  NO  END  RECORD"},
      {data + "\r\nhello\r\n" + end, "HEX  FILE  LINE  2  IS  NOT  A  RECORD"},
      {data + "\n" + bad_checksum + "\n" + end + "\n", "HEX  FILE  LINE  2  CHECKSUM  ERROR"},
      {HexRecord(0x04, 0x0000, {0, 0}) + "\r\n" + end, "HEX  FILE  LINE  1  RECORD  TYPE  ERROR"},
      {binary, "HEX  FILE  LINE  1  IS  NOT  A  RECORD"},
  };
  ScenarioRig rig(1);
  StartWithLoadedBoard(rig);
  const auto flash_at_0 = rig.board.Memory().FlashByte(0);
  ASSERT_NE(flash_at_0, BoardMemory::kErased);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.panel);
    std::filesystem::remove(rig.hex_folder.HexFilePath());
    if (c.file) rig.hex_folder.WriteHexFile(*c.file);
    rig.dialogs.messages.clear();
    const auto sent = rig.Sent().size();
    ClickLoad(rig);
    EXPECT_EQ(rig.form.Panel(1).Text(), c.panel);
    ASSERT_EQ(rig.dialogs.messages.size(), 1u);
    EXPECT_EQ(rig.dialogs.messages[0].text, "Error to open HEX file Korvane_ADC_Demo.Hex");
    EXPECT_EQ(rig.dialogs.messages[0].icon, MessageIcon::kCritical);
    EXPECT_EQ(rig.form.prgProgress.Max(), 8);
    EXPECT_EQ(rig.Sent().size(), sent) << "nothing went to the board";
    EXPECT_EQ(rig.board.Mode(), BoardMode::kRunning);
    EXPECT_EQ(rig.board.Memory().FlashByte(0), flash_at_0);
  }

  // A good file, but no link speed was ever negotiated: no configuration byte can be written.
  rig.hex_folder.WriteHexLines({data, end});
  rig.form.ReloadLo.clear();
  const auto sent = rig.Sent().size();
  ClickLoad(rig);
  EXPECT_EQ(rig.form.Panel(1).Text(), "NO  LINK  SPEED  IS  KNOWN,  PROGRAM  IS  NOT  LOADED");
  EXPECT_EQ(rig.Sent().size(), sent);
  EXPECT_EQ(rig.board.Memory().FlashByte(0), flash_at_0);
}

TEST(LoaderScenario, StopLoadDuringTheReplyWait) {
  ScenarioRig rig(1);
  StartWithLoadedBoard(rig);
  rig.hex_folder.WriteHexLines(HexImageLines(0x0000, DemoProgramBytes(200)));
  // Prompts: the reset CR, five clock registers, two erases, four bytes, "E" and CR; then three
  // lines are answered and the board falls silent.
  BoardFaults faults;
  faults.prog_mode_answer_limit = 1 + 5 + 2 + 4 + 2 + 3;
  rig.board.SetFaults(faults);
  rig.on_message = [&] {
    if (rig.form.Panel(1).Text() == "LOADING...   57600  BAUD,   FILE LINE:  4") {
      rig.time.Schedule(Millis{30000}, [&] { rig.form.cmdCntr[0].Click(); });
    }
  };
  const int beeps = rig.dialogs.beeps;

  ClickLoad(rig);

  EXPECT_EQ(rig.form.Panel(1).Text(), kInterrupted);
  EXPECT_TRUE(rig.dialogs.messages.empty()) << "no box";
  EXPECT_GT(rig.dialogs.beeps, beeps);
  EXPECT_FALSE(rig.form.PrgmGo);
  EXPECT_EQ(rig.form.cmdCntr[0].Caption(), "&Load Korvane");
  for (const auto& button : rig.form.cmdCntr) EXPECT_TRUE(button.Enabled());
  EXPECT_TRUE(rig.form.cmdReset.Enabled());
  EXPECT_FALSE(rig.time.HasScheduled()) << "nothing left waiting";
}

TEST(LoaderScenario, StopLoadDuringTheBootExchangesActsAtTheNextCheck) {
  ScenarioRig rig(1);
  StartWithLoadedBoard(rig);
  rig.hex_folder.WriteHexLines(HexImageLines(0x0000, DemoProgramBytes(200)));
  rig.on_message = [&] {
    if (rig.form.Panel(1).Text() == " Korvane  is  RESET  for  PROGRAMMING.") {
      rig.form.cmdCntr[0].Click();
    }
  };
  ClickLoad(rig);
  EXPECT_EQ(rig.form.Panel(1).Text(), kInterrupted);
  const auto commands = rig.ProgrammingCommands();
  EXPECT_EQ(commands.back(), "E") << "the erase and configuration still ran";
  EXPECT_EQ(rig.Sent().find("L:"), std::string::npos) << "no line was sent";
}

TEST(LoaderScenario, EachBootStepThatFailsEndsWithItsMessages) {
  struct Case {
    std::optional<int> answers;
    std::vector<std::string> boxes;
    std::optional<int> erase_ms = std::nullopt;
  };
  const std::vector<Case> cases = {
      {0, {"No Response to initial CR during Serial Programming Reset"}},
      {3,
       {" Error performing serial port command <RWFD2A>.", "Error during loading SFR registers"}},
      {6,
       {" Error performing serial port command <M0000>.", "Enable to Erase Flash",
        "Error during erasing Korvane flash memory"}},
      {7,
       {" Error performing serial port command <M8000>.",
        "Enable to Erase Hardware Configuration Memory",
        "Error during erasing Korvane flash memory"}},
      {12,
       {" Error performing serial port command <E>.", "Error during erasing Korvane flash memory"}},
      {std::nullopt,
       {" Error performing serial port command <M0000>.", "Enable to Erase Flash",
        "Error during erasing Korvane flash memory"},
       600},  // an erase slower than its time-out
  };
  for (const auto& c : cases) {
    ScenarioRig rig(1);
    StartWithLoadedBoard(rig);
    rig.hex_folder.WriteHexLines(HexImageLines(0x0000, DemoProgramBytes(100)));
    BoardFaults faults;
    faults.prog_mode_answer_limit = c.answers;
    faults.erase_ms = c.erase_ms;
    rig.board.SetFaults(faults);
    ClickLoad(rig);
    EXPECT_EQ(rig.dialogs.Texts(), c.boxes) << c.boxes.back();
    EXPECT_EQ(rig.form.prgProgress.Max(), 8);
    EXPECT_EQ(rig.Showed("Korvane  PROG_RESET  FAILED"), c.answers == 0);
    EXPECT_EQ(rig.form.cmdCntr[0].Caption(), "&Load Korvane");
  }
}

}  // namespace
}  // namespace korvane
