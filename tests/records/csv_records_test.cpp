#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "acquisition/last_block.h"
#include "records/block_export.h"
#include "records/csv_reader.h"
#include "records/csv_recorder.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;

class CsvRecords : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("korvane-csv-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path Write(const std::string& name, const std::string& text) {
    std::ofstream(folder_ / name, std::ios::binary) << text;
    return folder_ / name;
  }
  static std::string Text(const fs::path& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
  }

  static BlockSettings Settings(bool bipolar) {
    BlockSettings settings;
    settings.bipolar = bipolar;
    settings.volts_per_lsb = (bipolar ? 5.0 : 2.5) / 16777215;
    settings.full_scale_volts = bipolar ? 5.0 : 2.5;
    settings.seconds_per_reading = 1.0 / 720;
    settings.block_length = 5;
    return settings;
  }

  fs::path folder_;
};

TEST_F(CsvRecords, ExportedBlockReadsBackWithTheSameStatistics) {
  for (const bool bipolar : {true, false}) {
    SCOPED_TRACE(bipolar ? "bipolar" : "unipolar");
    LastBlock block;
    const std::vector<std::int32_t> codes =
        bipolar ? std::vector<std::int32_t>{-8388608, -1, 0, 1, 8388607}
                : std::vector<std::int32_t>{0, 1, 2, 16777214, 16777215};
    block.Show(codes, Settings(bipolar), "constructed");
    const fs::path path = folder_ / "block.csv";
    ASSERT_EQ(WriteBlockCsv(path, block, "1.2.3"), "");
    EXPECT_FALSE(fs::exists(folder_ / "block.csv.partial"));
    const std::string text = Text(path);
    EXPECT_NE(text.find("# program: korvane-demo 1.2.3\n"), std::string::npos);
    EXPECT_NE(text.find("\nindex,time_s,code_hex,code,volts\n1,0.000000,"), std::string::npos);

    Recording read;
    ASSERT_EQ(ReadRecording(path, read), "");
    EXPECT_EQ(read.codes, codes);
    LastBlock reopened;
    reopened.Show(read.codes, read.settings, "file");
    EXPECT_EQ(NoiseFigureLines(reopened.Figures(), reopened.Settings()),
              NoiseFigureLines(block.Figures(), block.Settings()));
    EXPECT_EQ(SettingLines(read.settings), SettingLines(block.Settings()));
  }
}

TEST_F(CsvRecords, BadFilesAreNamedByLineAndReadNoFurther) {
  const std::string ours = "# korvane-demo readings\n# polarity: bipolar\n";
  const std::string columns = "index,time_s,code_hex,code,volts\n";
  const std::string row1 = "1,0.000000,000001,1,0.00000030\n";
  struct Case {
    const char* name;
    std::string text;
    const char* message;
  };
  const Case cases[] = {
      {"empty", "", "line 1: the file is empty"},
      {"not ours", "index,time\n1,2\n", "line 1: this is not a file of readings from this program"},
      {"header line", ours + "#gain 2\n" + columns + row1, "line 3: a header line"},
      {"header number", ours + "# gain: two\n" + columns + row1, "line 3: a number in the header"},
      {"columns", ours + "index,time_s,code\n" + row1, "line 3: the column names are not"},
      {"no columns", ours, "line 2: the file ends before the column names"},
      {"no rows", ours + columns, "line 3: the file holds no readings"},
      {"few values", ours + columns + "1,0.0,000001,1\n", "line 4: a row needs 5"},
      {"index", ours + columns + "x,0.0,000001,1,0\n", "line 4: the index is not"},
      {"time", ours + columns + "1,a,000001,1,0\n", "line 4: the time is not"},
      {"hex", ours + columns + "1,0.0,00000G,1,0\n", "line 4: the code is not 6 hexadecimal"},
      {"sign", ours + columns + "1,0.0,FFFFFF,16777215,0\n", "line 4: the signed code does not"},
      {"value", ours + columns + "1,0.0,000001,1,1e\n", "line 4: the value is not"},
      {"order", ours + columns + row1 + "3,0.1,000001,1,0\n", "line 5: the index is 3 where 2"},
      {"cut short", ours + columns + row1 + "2,0.001,0000", "line 5: the file ends inside"},
      {"no line ends", ours + std::string(5000, '1'), "line 3: longer than 4096 characters"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Recording read;
    const std::string message = ReadRecording(Write("bad.csv", c.text), read);
    EXPECT_NE(message.find(c.message), std::string::npos) << message;
  }
  const fs::path huge = folder_ / "huge.csv";
  std::ofstream(huge).close();
  fs::resize_file(huge, kLargestRecordingBytes + 1);  // sparse: takes no disk
  Recording read;
  EXPECT_NE(ReadRecording(huge, read).find("more than a recording can"), std::string::npos);
}

/// A file that takes `budget` bytes and then reports a full disk.
struct FillingFile {
  std::FILE* real;
  std::size_t budget;
};

std::FILE* OpenFilling(const fs::path& path, std::size_t budget) {
  static cookie_io_functions_t functions{
      nullptr,
      [](void* cookie, const char* data, std::size_t size) -> ssize_t {
        auto* file = static_cast<FillingFile*>(cookie);
        const std::size_t taken = std::min(size, file->budget);
        file->budget -= taken;
        std::fwrite(data, 1, taken, file->real);
        std::fflush(file->real);
        if (taken < size) {
          errno = ENOSPC;
          return taken == 0 ? -1 : static_cast<ssize_t>(taken);
        }
        return static_cast<ssize_t>(size);
      },
      nullptr,
      [](void* cookie) {
        auto* file = static_cast<FillingFile*>(cookie);
        std::fclose(file->real);
        delete file;
        return 0;
      }};
  return fopencookie(new FillingFile{std::fopen(path.c_str(), "wb"), budget}, "w", functions);
}

TEST_F(CsvRecords, RecordingKeepsEveryRowInOrderAndNamesOnlyAWholeFile) {
  const fs::path path = folder_ / "run.csv";
  CsvRecorder recorder("1.0.0");
  EXPECT_NE(recorder.Start(folder_ / "missing" / "run.csv"), "") << "an unwritable target";
  EXPECT_FALSE(recorder.Recording());

  ASSERT_EQ(recorder.Start(path), "");
  recorder.RunStarted(Settings(true));
  constexpr int kRows = 20000;
  for (int i = 0; i < kRows; ++i) recorder.ReadingTaken((i * 7919) & 0xFFFFFF);
  EXPECT_TRUE(fs::exists(folder_ / "run.csv.partial"));
  EXPECT_FALSE(fs::exists(path)) << "not named before the end";
  recorder.RunEnded();
  EXPECT_FALSE(recorder.Recording());
  EXPECT_EQ(recorder.RowsWritten(), kRows);
  EXPECT_EQ(recorder.BytesWritten(), fs::file_size(path));
  EXPECT_FALSE(fs::exists(folder_ / "run.csv.partial"));
  Recording read;
  ASSERT_EQ(ReadRecording(path, read), "");  // the reader checks the order of the rows
  ASSERT_EQ(read.codes.size(), static_cast<std::size_t>(kRows));
  for (int i = 0; i < kRows; i += 997) {
    EXPECT_EQ(read.codes[static_cast<std::size_t>(i)], SignedFromRaw((i * 7919) & 0xFFFFFF, true));
  }

  // The disk fills after some 300 kB: whole rows stay in NAME.partial, the name is not given.
  fs::remove(path);
  CsvRecorder filling("1.0.0", [](const fs::path& file) { return OpenFilling(file, 300000); });
  ASSERT_EQ(filling.Start(path), "");
  filling.RunStarted(Settings(true));
  for (int i = 0; i < kRows; ++i) filling.ReadingTaken(i);
  filling.RunEnded();
  EXPECT_NE(filling.Failure().find("disk is full"), std::string::npos);
  EXPECT_FALSE(fs::exists(path));
  ASSERT_EQ(ReadRecording(folder_ / "run.csv.partial", read), "");
  EXPECT_EQ(static_cast<std::int64_t>(read.codes.size()), filling.RowsWritten());
  EXPECT_GT(read.codes.size(), 1000u);
  EXPECT_LT(read.codes.size(), static_cast<std::size_t>(kRows));
}

}  // namespace
}  // namespace korvane
