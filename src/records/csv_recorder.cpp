#include "records/csv_recorder.h"

#include <chrono>

#include "records/csv_format.h"

namespace korvane {

namespace {

/// The writer wakes when this many rows wait, or after `kWriterPause`, whichever comes first.
constexpr std::size_t kWakeRows = 512;
constexpr auto kWriterPause = std::chrono::milliseconds(250);
constexpr std::size_t kPieceBytes = 64 * 1024;

}  // namespace

CsvRecorder::CsvRecorder(std::string program_version, FileOpener open)
    : program_version_(std::move(program_version)), open_(std::move(open)) {
  if (!open_) {
    open_ = [](const std::filesystem::path& path) { return std::fopen(path.c_str(), "wb"); };
  }
}

CsvRecorder::~CsvRecorder() {
  Finish();
}

std::string CsvRecorder::Start(const std::filesystem::path& path) {
  Finish();
  path_ = path;
  partial_ = path;
  partial_ += ".partial";
  file_ = open_(partial_);
  if (file_ == nullptr) return "Cannot create " + partial_.string() + ".";
  rows_queued_ = 0;
  header_queued_ = false;
  finishing_ = false;
  failure_.clear();
  failed_ = false;
  rows_written_ = 0;
  bytes_written_ = 0;
  writer_ = std::thread(&CsvRecorder::WriterLoop, this);
  if (run_going_) QueueHeader(run_settings_);
  return "";
}

void CsvRecorder::Finish() {
  if (!writer_.joinable()) return;
  {
    const std::lock_guard lock(mutex_);
    finishing_ = true;
  }
  wake_.notify_one();
  writer_.join();
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  if (failed_) return;  // the whole rows stay in NAME.partial
  std::error_code error;
  if (rows_written_ == 0) {
    std::filesystem::remove(partial_, error);
    return;
  }
  std::filesystem::rename(partial_, path_, error);
  if (error) {
    const std::lock_guard lock(mutex_);
    failure_ = "Cannot rename " + partial_.string() + ": " + error.message() + ".";
  }
}

std::string CsvRecorder::Failure() const {
  const std::lock_guard lock(mutex_);
  return failure_;
}

void CsvRecorder::RunStarted(const BlockSettings& settings) {
  run_going_ = true;
  run_settings_ = settings;
  run_readings_ = 0;
  if (Recording() && !header_queued_) QueueHeader(settings);
}

void CsvRecorder::ReadingTaken(std::int32_t raw_code) {
  ++run_readings_;
  if (!header_queued_ || failed_.load(std::memory_order_relaxed)) return;
  bool wake = false;
  {
    const std::lock_guard lock(mutex_);
    queue_.emplace_back(run_readings_, raw_code);
    wake = queue_.size() >= kWakeRows;
  }
  ++rows_queued_;
  if (wake) wake_.notify_one();
}

void CsvRecorder::RunEnded() {
  run_going_ = false;
  Finish();
}

void CsvRecorder::QueueHeader(const BlockSettings& settings) {
  {
    const std::lock_guard lock(mutex_);
    header_waiting_ = true;
    header_settings_ = settings;
  }
  header_queued_ = true;
  wake_.notify_one();
}

void CsvRecorder::WriterLoop() {
  std::vector<Row> rows;
  BlockSettings settings;
  std::string text;
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait_for(lock, kWriterPause,
                   [this] { return finishing_ || header_waiting_ || queue_.size() >= kWakeRows; });
    const bool last = finishing_;
    const bool header = header_waiting_;
    header_waiting_ = false;
    if (header) settings = header_settings_;
    rows.swap(queue_);
    lock.unlock();

    text.clear();
    if (header) {
      std::vector<FigureLine> lines{{"kind", "run"},
                                    {"program", "korvane-demo " + program_version_},
                                    {"time", UtcTimeText()}};
      for (auto& line : SettingLines(settings)) lines.push_back(std::move(line));
      text = CsvHeader(lines) + CsvColumnRow(settings.temperature) + "\n";
    }
    // Written in pieces of whole rows, so that a disk that fills keeps all but the last piece.
    std::int64_t rows_in_text = 0;
    for (const auto& [index, code] : rows) {
      AppendCsvRow(text, index, code, settings);
      ++rows_in_text;
      if (text.size() >= kPieceBytes) {
        if (!failed_ && Append(text)) rows_written_ += rows_in_text;
        text.clear();
        rows_in_text = 0;
      }
    }
    if (!failed_ && !text.empty() && Append(text)) rows_written_ += rows_in_text;
    rows.clear();
    lock.lock();
    if (last && queue_.empty()) return;
  }
}

bool CsvRecorder::Append(const std::string& text) {
  const bool written =
      std::fwrite(text.data(), 1, text.size(), file_) == text.size() && std::fflush(file_) == 0;
  if (written) {
    bytes_written_ += text.size();
    return true;
  }
  // Cut back whatever part of this batch reached the disk, so that every row left is whole.
  std::fclose(file_);
  file_ = nullptr;
  std::error_code ignored;
  std::filesystem::resize_file(partial_, bytes_written_, ignored);
  const std::lock_guard lock(mutex_);
  failure_ = "The disk is full or cannot be written: recording stopped after " +
             std::to_string(rows_written_.load()) + " rows, which stay in " + partial_.string() +
             ".";
  failed_ = true;
  return false;
}

}  // namespace korvane
