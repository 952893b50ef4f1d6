#include <gtest/gtest.h>

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
const char* const kIsReset = "SERIAL PORT 1 AT  57600 BAUD, AND  Korvane  IS  RESET";

void ClickLoad(ScenarioRig& rig) {
  rig.main.command_buttons().cmdCntr_Click(0);
}

TEST(LoaderScenario, BlankBoardAtStartUpGetsItsFirmwareAndAnswersAtTheNegotiatedSpeed) {
  ScenarioRig rig(1, {.program_loaded = false});
  const auto image = DemoProgramBytes(600);
  const auto lines = HexImageLines(0x0000, image);
  rig.hex_folder.WriteHexLines(lines);
  std::string while_loading;
  rig.on_message = [&] {
    if (rig.form.Panel(1).Text().rfind("LOADING...", 0) == 0 && while_loading.empty()) {
      while_loading = rig.Buttons() + (rig.form.cmdCntr[0].Visible() ? " shown" : "") +
                      (rig.form.frmKorvane_Demo.Enabled() ? " window" : "");
    }
  };

  rig.main.Form_Load();

  EXPECT_EQ(rig.dialogs.Texts(), std::vector<std::string>{});
  EXPECT_EQ(while_loading, "+--- Stop &Load|Run &ADC shown window");
  const std::string load = "LOADING...   57600  BAUD,   FILE LINE:  ";
  EXPECT_NE(rig.MessagesFrom(0).find("SERIAL PORT 1 AT BAUD  57600, and Korvane  RESET STARTED   | "
                                     "SERIAL PORT 1, and Korvane  RESET STARTED   |  Korvane  is  "
                                     "RESET  for  PROGRAMMING. |  OPEN  FILE | " +
                                     load + "1 | "),
            std::string::npos)
      << rig.MessagesFrom(0);
  EXPECT_TRUE(rig.Showed(load + std::to_string(lines.size())));
  EXPECT_TRUE(rig.Showed(kLoaded));
  EXPECT_EQ(rig.form.Panel(1).Text(), kIsReset);
  EXPECT_EQ(rig.Buttons(), ScenarioRig::kIdle);
  EXPECT_FALSE(rig.form.cmdCntr[0].Visible());
  EXPECT_TRUE(rig.form.frmKorvane_Demo.Enabled());
  EXPECT_FALSE(rig.form.PrgmGo);
  EXPECT_TRUE(rig.form.NeedReset) << "the next run resets the board first";
  EXPECT_EQ(rig.form.prgProgress.Max(), static_cast<int>(lines.size())) << "the whole file";
  std::string all_lines;
  for (const auto& line : lines) all_lines += " " + line;
  EXPECT_TRUE(rig.Commands(BoardMode::kProgramming)
                  .ends_with("RWFB0A RWFCF8 RWFD2A RWEF34 RWFE63 M0000 M8000 CW80104A CW8011FA "
                             "CW80124B CW8013FF E L" +
                             all_lines));
  std::vector<std::uint8_t> flash;
  for (std::size_t i = 0; i < image.size(); ++i) {
    flash.push_back(rig.board.Memory().FlashByte(static_cast<int>(i)));
  }
  EXPECT_EQ(flash, image);

  // The new program answers at the negotiated speed: a reset now finds it without loading.
  rig.board.ClearReceivedCommands();
  rig.form.cmdReset.Click();
  EXPECT_EQ(rig.dialogs.Texts(), std::vector<std::string>{});
  EXPECT_EQ(rig.form.Panel(1).Text(), kIsReset);
  EXPECT_EQ(rig.board.UartBitRate(), 57600);
  EXPECT_EQ(rig.Commands(BoardMode::kRunning).substr(rig.Commands(BoardMode::kRunning).size() - 3),
            " H1");
}

TEST(LoaderScenario, TheEndRecordEndsTheLoadAndLaterLinesAreNotSent) {
  ScenarioRig rig(1);
  rig.Start();
  const std::string after_end = HexRecord(0x00, 0x0100, {0x11, 0x22});
  const std::vector<std::uint8_t> program{0x02, 0x00, 0x40};
  rig.hex_folder.WriteHexLines({HexRecord(0x00, 0x0000, program),
                                HexRecord(0x00, kImageTrailerAddress, ImageTrailer(0, program)),
                                HexRecord(0x01, 0x0000, {}), after_end, after_end});
  ClickLoad(rig);
  EXPECT_EQ(rig.dialogs.Texts(), std::vector<std::string>{});
  EXPECT_EQ(rig.Sent().find(after_end), std::string::npos);
  EXPECT_EQ(rig.form.Panel(1).Text(), kLoaded);
  EXPECT_EQ(rig.port.PortSettings(), "57600,N,8,1") << "restarted at 57600";
  EXPECT_EQ(rig.Sent().back(), '\r') << "the restart ends with a lone CR";
  EXPECT_EQ(rig.board.Mode(), BoardMode::kRunning);
  EXPECT_EQ(rig.Buttons(), ScenarioRig::kIdle);
  EXPECT_EQ(rig.form.Panel(3).Text(), "FSR = 5V");
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
      // A good file, but no link speed was ever negotiated: no configuration byte can be written.
      {data + "\r\n" + end, "NO  LINK  SPEED  IS  KNOWN,  PROGRAM  IS  NOT  LOADED"},
  };
  ScenarioRig rig(1);
  rig.Start();
  const auto flash_at_0 = rig.board.Memory().FlashByte(0);
  ASSERT_NE(flash_at_0, BoardMemory::kErased);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.panel);
    std::filesystem::remove(rig.hex_folder.HexFilePath());
    if (c.file) rig.hex_folder.WriteHexFile(*c.file);
    if (c.panel.rfind("NO  LINK", 0) == 0) rig.form.ReloadLo.clear();
    rig.dialogs.messages.clear();
    const auto sent = rig.Sent().size();
    ClickLoad(rig);
    EXPECT_EQ(rig.form.Panel(1).Text(), c.panel);
    if (!rig.form.ReloadLo.empty()) {
      EXPECT_EQ(rig.dialogs.Texts(),
                std::vector<std::string>{"Error to open HEX file Korvane_ADC_Demo.Hex"});
      EXPECT_EQ(rig.dialogs.messages[0].icon, MessageIcon::kCritical);
      EXPECT_EQ(rig.form.prgProgress.Max(), 8);
    }
    EXPECT_EQ(rig.Sent().size(), sent) << "nothing went to the board";
    EXPECT_EQ(rig.board.Mode(), BoardMode::kRunning);
    EXPECT_EQ(rig.board.Memory().FlashByte(0), flash_at_0);
  }
}

TEST(LoaderScenario, EachStepThatFailsEndsWithItsMessages) {
  const char* const kErase = "Error during erasing Korvane flash memory";
  const struct {
    std::optional<int> answers;
    std::vector<std::string> boxes;
    std::optional<int> erase_ms = std::nullopt;
    std::vector<std::string> file = {};
  } cases[] = {
      {0, {"No Response to initial CR during Serial Programming Reset"}},
      {3,
       {" Error performing serial port command <RWFD2A>.", "Error during loading SFR registers"}},
      {6, {" Error performing serial port command <M0000>.", "Enable to Erase Flash", kErase}},
      {7,
       {" Error performing serial port command <M8000>.",
        "Enable to Erase Hardware Configuration Memory", kErase}},
      {12, {" Error performing serial port command <E>.", kErase}},
      {std::nullopt,  // an erase slower than its time-out
       {" Error performing serial port command <M0000>.", "Enable to Erase Flash", kErase},
       600},
      {std::nullopt,
       {"Error during loading program to Korvane"},
       std::nullopt,
       {HexRecord(0x00, 0x0000, {0x02}), HexRecord(0x00, 0xF7FF, {1, 2}),
        HexRecord(0x01, 0x0000, {})}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.boxes.front());
    ScenarioRig rig(1);
    rig.Start();
    rig.hex_folder.WriteHexLines(c.file.empty() ? HexImageLines(0x0000, DemoProgramBytes(100))
                                                : c.file);
    rig.board.SetFaults({.prog_mode_answer_limit = c.answers, .erase_ms = c.erase_ms});
    ClickLoad(rig);
    EXPECT_EQ(rig.dialogs.Texts(), c.boxes);
    EXPECT_EQ(rig.form.prgProgress.Max(), 8);
    EXPECT_EQ(rig.Showed("Korvane  PROG_RESET  FAILED"), c.answers == 0);
    EXPECT_EQ(rig.form.cmdCntr[0].Caption(), "&Load Korvane");
    if (!c.file.empty()) {
      EXPECT_EQ(rig.form.Panel(1).Text(), "HEX  FILE  LINE  2, CANNOT WRITE TO MEMORY BYTE");
    }
  }
}

}  // namespace
}  // namespace korvane
