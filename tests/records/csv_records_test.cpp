#include <gtest/gtest.h>

#include <cmath>
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
#include "records/noise_table.h"

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

// Rows are data rates rising, columns gains rising, whatever order the cells came in; a cell not
// measured reads "–" and one cut short carries "*"; the CSV keeps the measuring order.
TEST(NoiseTableText, CsvAndMarkdownAsDatasheetsLayThemOut) {
  const auto cell = [](int gain, int decimation, double sigma_uv, double pp_uv, bool whole) {
    NoiseTableCell c{gain, decimation, 28800.0 / decimation, {}, whole};
    c.figures.count = whole ? 1000 : 400;
    c.figures.sigma_uv = sigma_uv;
    c.figures.sigma_lsb = sigma_uv / 0.298;
    c.figures.peak_to_peak_uv = pp_uv;
    c.figures.peak_to_peak_lsb = static_cast<std::int32_t>(pp_uv / 0.298);
    c.figures.effective_bits = 24 - std::log2(c.figures.sigma_lsb);
    c.figures.noise_free_bits = 24 - std::log2(c.figures.peak_to_peak_lsb);
    return c;
  };
  NoiseTable table{{cell(4, 480, 0.43125, 2.9, true), cell(1, 1920, 0.853, 5.61, true),
                    cell(1, 480, 1.7049, 11.26, true), cell(4, 1920, 0.2, 1.3, false)},
                   1000,
                   4,
                   6,
                   {{"filter", "Sinc3"}, {"buffer", "off"}},
                   "cancelled"};
  EXPECT_EQ(NoiseTableMarkdown(table),
            "Noise in µV rms (µV peak-to-peak), 1000 readings per cell\n\n"
            "| Data rate, Hz | Gain 1 | Gain 4 |\n"
            "|---:|---:|---:|\n"
            "| 15 | 0.853 (5.61) | 0.200 (1.30)* |\n"
            "| 60 | 1.70 (11.3) | 0.431 (2.90) |\n"
            "\nEffective resolution in bits (noise-free resolution in bits)\n\n"
            "| Data rate, Hz | Gain 1 | Gain 4 |\n"
            "|---:|---:|---:|\n"
            "| 15 | 22.5 (19.8) | 24.6 (22.0)* |\n"
            "| 60 | 21.5 (18.8) | 23.5 (20.8) |\n"
            "\nSettings: filter Sinc3; buffer off\n"
            "\n**Incomplete:** cancelled (4 of 6 cells; * marks a cell with fewer readings than "
            "asked for).\n");
  const std::string csv = NoiseTableCsv(table, "1.0.0", "2026-12-07T01:00:00Z");
  EXPECT_EQ(csv.substr(0, csv.find("gain,")),
            "# korvane-demo noise table\n# program: korvane-demo 1.0.0\n"
            "# time: 2026-12-07T01:00:00Z\n# readings_per_cell: 1000\n"
            "# settling_readings_discarded: 4\n# cells: 4 of 6\n# filter: Sinc3\n"
            "# buffer: off\n# incomplete: cancelled\n");
  EXPECT_NE(csv.find("\n1,1920,15.000,1000,0.00,2.862,0.853,18,5.610,22.48,19.83,yes\n"
                     "1,480,60.000,"),
            std::string::npos);
  EXPECT_TRUE(csv.ends_with("\n4,1920,15.000,400,0.00,0.671,0.200,4,1.300,24.58,22.00,no\n"));
}

}  // namespace
}  // namespace korvane
