#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "acquisition/reading_listener.h"

namespace korvane {

/// Records every reading of a run to a CSV file. The run only queues the code; a writer thread of
/// its own formats and writes the rows in order, so the run never waits on the disk. The file is
/// written as NAME.partial and gets its name only when the recording ends cleanly; when the disk
/// fills or fails, the rows already written stay whole in NAME.partial and `Failure` says so.
class CsvRecorder final : public ReadingListener {
 public:
  /// Opens the file the rows go to; the default is the file itself. Tests give another.
  using FileOpener = std::function<std::FILE*(const std::filesystem::path&)>;

  explicit CsvRecorder(std::string program_version, FileOpener open = {});
  ~CsvRecorder() override;
  CsvRecorder(const CsvRecorder&) = delete;
  CsvRecorder& operator=(const CsvRecorder&) = delete;

  /// Records into `path` from the next reading on, to the end of the run (or of the run that
  /// starts next). Returns "" when NAME.partial was created, else why not.
  std::string Start(const std::filesystem::path& path);
  /// Ends the recording: waits for every queued row to be written, then names the file. A
  /// recording without any row leaves no file. Does nothing when not recording.
  void Finish();

  bool Recording() const { return writer_.joinable(); }
  std::int64_t RowsQueued() const { return rows_queued_; }
  std::int64_t RowsWritten() const { return rows_written_.load(); }
  std::uintmax_t BytesWritten() const { return bytes_written_.load(); }
  /// Why the recording stopped by itself, "" while it goes well.
  std::string Failure() const;
  const std::filesystem::path& Path() const { return path_; }

  void RunStarted(const BlockSettings& settings) override;
  void ReadingTaken(std::int32_t raw_code) override;
  void BlockClosed(std::span<const std::int32_t> /*codes*/,
                   const BlockSettings& /*settings*/) override {}
  void RunEnded() override;

 private:
  using Row = std::pair<std::int64_t, std::int32_t>;

  void QueueHeader(const BlockSettings& settings);
  void WriterLoop();
  /// Writes `text` at the end of the file; false (and the file cut back to its whole rows) when
  /// the disk refuses it.
  bool Append(const std::string& text);

  std::string program_version_;
  FileOpener open_;
  std::filesystem::path path_;
  std::filesystem::path partial_;
  std::FILE* file_ = nullptr;
  std::thread writer_;

  // Reading side (the run's thread).
  bool run_going_ = false;
  bool header_queued_ = false;
  BlockSettings run_settings_;
  std::int64_t run_readings_ = 0;
  std::int64_t rows_queued_ = 0;

  // Shared with the writer.
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<Row> queue_;
  bool header_waiting_ = false;
  BlockSettings header_settings_;
  bool finishing_ = false;
  std::string failure_;
  std::atomic<bool> failed_{false};
  std::atomic<std::int64_t> rows_written_{0};
  std::atomic<std::uintmax_t> bytes_written_{0};
};

}  // namespace korvane
