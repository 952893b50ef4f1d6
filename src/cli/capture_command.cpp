#include "cli/capture_command.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "acquisition/noise_figures.h"
#include "app/long_record.h"
#include "app/main_form.h"
#include "cli/board_session.h"
#include "cli/console_progress.h"
#include "cli/output.h"
#include "cli/setup_command.h"
#include "records/block_export.h"

namespace korvane {

namespace {

/// A run whose readings stop for this long, or ten reading periods if longer, has lost its board.
constexpr double kStallSeconds = 5.0;
constexpr int kStallPeriods = 10;
constexpr Millis kWatchPeriod{250};

void AddCaptureOptions(QCommandLineParser& parser) {
  parser.addOptions({
      {{"n", "readings"}, "How many readings (1..16777216).", "N"},
      {{"o", "output"},
       "The CSV file (default: stdout); written as FILE.partial, then named.",
       "FILE"},
  });
  AddAdcOptions(parser);
}

std::string ReadCapture(const QCommandLineParser& parser, CliRequest& request) {
  if (!parser.isSet("readings")) return "capture needs -n N, the number of readings";
  bool number = false;
  request.readings = parser.value("readings").toLongLong(&number);
  if (!number || request.readings < 1 || request.readings > LongRecord::kMostReadings) {
    return "-n " + parser.value("readings").toStdString() + ": the readings are 1..16777216";
  }
  request.output_path = parser.value("output").toStdString();
  if (parser.isSet("output") && request.output_path.empty()) return "-o needs a file name";
  return ReadAdcOptions(parser, request.adc);
}

/// Stops the record through its stop click when readings stop coming while it runs.
class StallWatch {
 public:
  StallWatch(TimeBase& time, LongRecord& record) : time_(time), record_(record) { Arm(); }
  ~StallWatch() { time_.Cancel(id_); }
  StallWatch(const StallWatch&) = delete;
  StallWatch& operator=(const StallWatch&) = delete;
  bool Stalled() const { return stalled_; }

 private:
  void Arm() {
    id_ = time_.Schedule(kWatchPeriod, [this] { Check(); });
  }
  void Check() {
    const auto now = time_.Now();
    if (record_.Count() != last_count_ || !record_.Going()) {
      last_count_ = record_.Count();
      last_change_ = now;
    }
    const double period = record_.Settings().seconds_per_reading;
    const double limit = std::max(kStallSeconds, kStallPeriods * period);
    if (record_.Going() && std::chrono::duration<double>(now - last_change_).count() > limit) {
      stalled_ = true;
      record_.Cancel();
      return;
    }
    Arm();
  }

  TimeBase& time_;
  LongRecord& record_;
  TimeBase::CallbackId id_ = 0;
  std::int64_t last_count_ = -1;
  Micros last_change_{0};
  bool stalled_ = false;
};

/// The CSV (when there are readings) and, at the end, the figures: on stdout beside a file, else
/// on stderr so that stdout stays CSV.
ExitCode WriteCapture(const LongRecord& record, const CliRequest& request) {
  const BlockSettings& settings = record.Settings();
  std::vector<FigureLine> figures;
  if (record.Count() > 0) {
    figures = NoiseFigureLines(ComputeNoiseFigures(record.Codes(), settings), settings);
    std::erase_if(figures, [](const FigureLine& line) { return line.first == "readings"; });
    const std::string text =
        RecordCsvText(record.RawCodes(), settings, "korvane-cli " + VersionText(), figures);
    if (request.output_path.empty()) {
      if (!WriteAll(stdout, text)) {
        std::fprintf(stderr, "korvane-cli: cannot write the readings to stdout: %s\n",
                     std::strerror(errno));
        return ExitCode::kFileError;
      }
    } else if (const std::string error = WriteWholeFile(request.output_path, text);
               !error.empty()) {
      std::fprintf(stderr, "korvane-cli: %s\n", error.c_str());
      return ExitCode::kFileError;
    }
  }
  std::vector<FigureLine> summary{{"readings", std::to_string(record.Count())},
                                  {"requested", std::to_string(request.readings)}};
  if (!request.output_path.empty() && record.Count() > 0) {
    summary.emplace_back("file", request.output_path);
  }
  summary.insert(summary.end(), figures.begin(), figures.end());
  WriteAll(request.output_path.empty() ? stderr : stdout, FieldsText(summary, request.shared.json));
  return ExitCode::kOk;
}

ExitCode RunCapture(BoardSession& session, const CliRequest& request) {
  if (!CanWrite(request.output_path)) return ExitCode::kFileError;
  ExitCode code = session.Connect();
  if (code == ExitCode::kOk) code = SetUpConverter(session, request.adc, false);
  if (code != ExitCode::kOk || session.Interrupted()) return session.Finish(code);

  LongRecord& record = session.main_form().run_data().long_record();
  ConsoleProgress bar = ConsoleProgress::ForStderr("capture");
  record.SetOnProgress([&] { bar.Update(record.Count(), request.readings, record.SecondsLeft()); });
  const int messages_before = session.dialogs().Count();
  bool stalled = false;
  {
    const StallWatch watch(session.time(), record);
    record.TakeReadings(request.readings);
    stalled = watch.Stalled();
  }
  record.SetOnProgress({});
  bar.Finish();

  if (record.Count() == 0 && !session.Interrupted()) {
    session.ReportFailure(stalled ? "the board sent no readings"
                                  : ConsoleDialogs::OneLine(session.form().Panel(1).Text()),
                          messages_before);
    return session.Finish(ExitCode::kBoardError);
  }
  // Readings taken before an interruption or a silent board are kept.
  code = WriteCapture(record, request);
  if (stalled && code == ExitCode::kOk) {
    std::fprintf(stderr, "korvane-cli: the board stopped sending readings after %lld of %lld\n",
                 static_cast<long long>(record.Count()), static_cast<long long>(request.readings));
    code = ExitCode::kBoardError;
  }
  return session.Finish(code);
}

}  // namespace

const Subcommand kCaptureCommand{
    "capture",
    "capture -n N [-o FILE] [setup options]",
    "Take N readings; CSV in the recording format on stdout or in FILE, noise figures at the end.",
    0,
    AddCaptureOptions,
    ReadCapture,
    RunCapture};

}  // namespace korvane
