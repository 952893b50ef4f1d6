#include "loader/hex_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "loader/hex_program.h"
#include "loader/loader_reply.h"
#include "loader/program_loader.h"
#include "support/hex_folder.h"

namespace korvane {
namespace {

using testing::HexFolder;

std::vector<std::string> AllLines(HexFile& file) {
  std::vector<std::string> lines;
  while (auto line = file.NextLine()) lines.push_back(*line);
  return lines;
}

TEST(HexFile, MissingUnreadableEmptyAndOverlongFiles) {
  HexFolder folder;
  EXPECT_FALSE(HexFile(folder.HexFilePath()).IsOpen()) << "missing";
  std::filesystem::create_directory(folder.HexFilePath());
  EXPECT_FALSE(HexFile(folder.HexFilePath()).IsOpen()) << "a folder of that name";
  std::filesystem::remove(folder.HexFilePath());

  folder.WriteHexFile("");
  HexFile empty(folder.HexFilePath());
  EXPECT_TRUE(empty.IsOpen()) << "an empty file opens and simply has no lines";
  EXPECT_FALSE(empty.NextLine());

  const std::string huge(3 * HexFile::kLongestLine + 5, '7');
  folder.WriteHexFile(huge + "\r\n:00000001FF\r\n");
  HexFile overlong(folder.HexFilePath());
  const auto lines = AllLines(overlong);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], std::string(HexFile::kLongestLine, '7')) << "cut, the rest skipped";
  EXPECT_EQ(lines[1], ":00000001FF");
}

TEST(HexProgram, EveryLineIsCheckedAsARecord) {
  const struct {
    const char* line;
    HexFault fault;
    bool end_record;
  } cases[] = {
      {":03000000020040BB", HexFault::kNone, false},
      {":030000000200a457", HexFault::kNone, false},
      {":00000001FF", HexFault::kNone, true},
      {"", HexFault::kNotARecord, false},
      {"03000000020040BB", HexFault::kNotARecord, false},
      {":03000000020040B", HexFault::kNotARecord, false},
      {":03000000020G40BB", HexFault::kNotARecord, false},
      {":00000001FF ", HexFault::kNotARecord, false},
      {":000001FF", HexFault::kNotARecord, false},
      {":04000000020040BA", HexFault::kLengthError, false},
      {":03000000020040BC", HexFault::kChecksumError, false},
      {":020000040000FA", HexFault::kRecordTypeError, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const HexRecordCheck check = CheckHexRecord(c.line);
    EXPECT_EQ(check.fault, c.fault);
    EXPECT_EQ(check.end_record, c.end_record);
  }

  HexFolder folder;
  const struct {
    const char* file;
    HexFault fault;
    std::int32_t fault_line;
    std::size_t lines;
  } files[] = {
      {"", HexFault::kEmptyFile, 0, 0},
      {":03000000020040BB\n", HexFault::kNoEndRecord, 0, 1},
      {":03000000020040BB\n\n:00000001FF\n", HexFault::kNotARecord, 2, 2},
      {":03000000020040BB\n:00000001FF\nanything\n", HexFault::kNone, 0, 2},
  };
  for (const auto& f : files) {
    SCOPED_TRACE(f.file);
    folder.WriteHexFile(f.file);
    HexFile file(folder.HexFilePath());
    const HexProgram program = ReadHexProgram(file);
    EXPECT_EQ(program.fault, f.fault);
    EXPECT_EQ(program.fault_line, f.fault_line);
    EXPECT_EQ(program.lines.size(), f.lines) << "read up to the fault or the end record";
  }
}

TEST(LoaderReply, StrongestLetterOfATakeCounts) {
  EXPECT_EQ(ReplyInTake(""), LoaderReply::kNone);
  EXPECT_EQ(ReplyInTake("?>\r\n"), LoaderReply::kNone);
  EXPECT_EQ(ReplyInTake("."), LoaderReply::kAccepted);
  EXPECT_EQ(ReplyInTake("X"), LoaderReply::kNotWritten);
  EXPECT_EQ(ReplyInTake(".E"), LoaderReply::kChecksumError);
  EXPECT_EQ(ReplyInTake("E."), LoaderReply::kChecksumError);
  EXPECT_EQ(ReplyInTake("X.E"), LoaderReply::kChecksumError);
  EXPECT_EQ(ReplyInTake(".X"), LoaderReply::kNotWritten);
  EXPECT_EQ(ReplyInTake(".T"), LoaderReply::kFinished);
  EXPECT_EQ(ReplyInTake("EXT."), LoaderReply::kFinished);
  EXPECT_EQ(ReplyInTake("t.e"), LoaderReply::kAccepted) << "only capitals are replies";
}

TEST(ProgramLoader, ProgrammingSpeedFollowsTheClock) {
  EXPECT_EQ(ProgramLoader::ProgrammingSpeed(1.8432, "57600"), "2400");
  EXPECT_EQ(ProgramLoader::ProgrammingSpeed(1.8432, "4800"), "2400");
  EXPECT_EQ(ProgramLoader::ProgrammingSpeed(3.6864, "57600"), "1200");
  EXPECT_EQ(ProgramLoader::ProgrammingSpeed(1.84, "57600"), "1200");
  EXPECT_EQ(ProgramLoader::ProgrammingSpeed(4.999, "9600"), "1200");
  EXPECT_EQ(ProgramLoader::ProgrammingSpeed(5, "9600"), "9600");
  EXPECT_EQ(ProgramLoader::ProgrammingSpeed(11.0592, "57600"), "57600");
}

}  // namespace
}  // namespace korvane
