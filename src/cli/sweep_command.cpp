#include "cli/sweep_command.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "app/main_form.h"
#include "app/noise_sweep.h"
#include "cli/board_session.h"
#include "cli/console_progress.h"
#include "cli/output.h"
#include "cli/setup_command.h"
#include "plot/noise_plot.h"
#include "records/block_export.h"
#include "records/csv_format.h"

namespace korvane {

namespace {

void AddSweepOptions(QCommandLineParser& parser) {
  parser.addOptions({
      {"gains", "The gains, e.g. 1,2,...,128 (\"...\": every power of two between).", "LIST"},
      {"rates", "The data rates in Hz, each the modulator rate over a whole decimation.", "LIST"},
      {"decimations", "The decimation ratios (1..2047), instead of --rates.", "LIST"},
      {{"n", "readings"}, "Readings per cell (10..1048576).", "N"},
      {{"o", "output"}, "The table as CSV (default: stdout).", "FILE"},
      {"markdown", "The table as Markdown, laid out as datasheets do.", "FILE"},
      {"plot", "Noise against data rate, one line per gain, log-log, as PNG.", "FILE"},
  });
  AddAdcOptions(parser);
}

std::string ReadSweep(const QCommandLineParser& parser, CliRequest& request) {
  for (const char* own : {"gain", "rate", "decimation"}) {
    if (parser.isSet(own)) {
      return std::string("--") + own + " is what the sweep changes: give --gains and --rates or " +
             "--decimations";
    }
  }
  if (!parser.isSet("gains")) return "sweep needs --gains, e.g. --gains 1,2,...,128";
  if (parser.isSet("rates") == parser.isSet("decimations")) {
    return "sweep needs either --rates or --decimations";
  }
  if (!parser.isSet("readings")) return "sweep needs -n N, the readings per cell";
  std::string why =
      sweep_rules::ParseGains(parser.value("gains").toStdString(), request.sweep_gains);
  if (why.empty() && parser.isSet("rates")) {
    why = sweep_rules::ParseRates(parser.value("rates").toStdString(), request.sweep_rates);
  } else if (why.empty()) {
    why = sweep_rules::ParseDecimations(parser.value("decimations").toStdString(),
                                        request.sweep_decimations);
  }
  if (!why.empty()) return why;
  bool number = false;
  request.readings = parser.value("readings").toLongLong(&number);
  if (!number) return "-n " + parser.value("readings").toStdString() + " is not a number";
  // Checked in full once the rates are decimations; the lists and N can be judged now.
  SweepPlan plan{request.sweep_gains, request.sweep_decimations, request.readings};
  if (plan.decimations.empty()) plan.decimations = {1};
  if (why = sweep_rules::CheckPlan(plan); !why.empty()) return why;
  request.output_path = parser.value("output").toStdString();
  request.markdown_path = parser.value("markdown").toStdString();
  request.plot_path = parser.value("plot").toStdString();
  for (const char* file : {"output", "markdown", "plot"}) {
    if (parser.isSet(file) && parser.value(file).isEmpty()) {
      return std::string("--") + file + " needs a file name";
    }
  }
  return ReadAdcOptions(parser, request.adc);
}

/// The table in every form asked for; kFileError after the first that could not be written.
ExitCode WriteTable(const NoiseTable& table, const CliRequest& request) {
  const std::string csv = NoiseTableCsv(table, VersionText(), UtcTimeText());
  std::string error;
  if (request.output_path.empty()) {
    if (!WriteAll(stdout, csv))
      error = std::string("cannot write to stdout: ") + std::strerror(errno);
  } else {
    error = WriteWholeFile(request.output_path, csv);
  }
  if (error.empty() && !request.markdown_path.empty()) {
    error = WriteWholeFile(request.markdown_path, NoiseTableMarkdown(table));
  }
  if (error.empty() && !request.plot_path.empty()) {
    error = SaveNoisePlotPng(table, QString::fromStdString(request.plot_path)).toStdString();
  }
  if (error.empty()) return ExitCode::kOk;
  std::fprintf(stderr, "korvane-cli: %s\n", error.c_str());
  return ExitCode::kFileError;
}

ExitCode RunSweep(BoardSession& session, const CliRequest& request) {
  for (const std::string& path : {request.output_path, request.markdown_path, request.plot_path}) {
    if (!CanWrite(path)) return ExitCode::kFileError;
  }
  ExitCode code = session.Connect();
  if (code == ExitCode::kOk) code = SetUpConverter(session, request.adc, false);
  if (code != ExitCode::kOk || session.Interrupted()) return session.Finish(code);

  NoiseSweep& sweep = session.main_form().run_data().noise_sweep();
  SweepPlan plan{request.sweep_gains, request.sweep_decimations, request.readings};
  if (!request.sweep_rates.empty()) {
    // Only now is the clock known, measured or given.
    const std::string why = sweep_rules::DecimationsForRates(
        request.sweep_rates, sweep.ModulatorKHz(), plan.decimations);
    if (!why.empty()) {
      std::fprintf(stderr, "korvane-cli: %s\n", why.c_str());
      return session.Finish(ExitCode::kBadArguments);
    }
  }
  if (const std::string why = sweep_rules::CheckPlan(plan); !why.empty()) {
    std::fprintf(stderr, "korvane-cli: %s\n", why.c_str());
    return session.Finish(ExitCode::kBadArguments);
  }
  std::fprintf(stderr, "korvane-cli: sweep of %zu cells, %lld readings each: %s\n",
               plan.gains.size() * plan.decimations.size(), static_cast<long long>(plan.readings),
               sweep_rules::DurationText(sweep.EstimatedSeconds(plan)).c_str());

  ConsoleProgress bar = ConsoleProgress::ForStderr("sweep");
  sweep.SetOnProgress(
      [&] { bar.Update(sweep.ReadingsDone(), sweep.ReadingsPlanned(), sweep.SecondsLeft()); });
  const int messages_before = session.dialogs().Count();
  const bool whole = sweep.Run(plan);
  sweep.SetOnProgress({});
  bar.Finish();

  const NoiseTable& table = sweep.Table();
  // The cells measured before an interruption or a silent board are kept, marked incomplete.
  code = table.cells.empty() ? ExitCode::kOk : WriteTable(table, request);
  std::vector<FigureLine> summary{{"cells", std::to_string(table.cells.size())},
                                  {"planned", std::to_string(table.planned_cells)},
                                  {"readings_per_cell", std::to_string(table.readings_per_cell)}};
  if (!request.output_path.empty()) summary.emplace_back("file", request.output_path);
  if (!request.markdown_path.empty()) summary.emplace_back("markdown", request.markdown_path);
  if (!request.plot_path.empty()) summary.emplace_back("plot", request.plot_path);
  if (!whole) summary.emplace_back("incomplete", table.incomplete);
  WriteAll(request.output_path.empty() ? stderr : stdout, FieldsText(summary, request.shared.json));
  if (!whole && !session.Interrupted() && code == ExitCode::kOk) {
    session.ReportFailure("the sweep ended after " + std::to_string(table.cells.size()) + " of " +
                              std::to_string(table.planned_cells) + " cells: " + table.incomplete,
                          messages_before);
    code = ExitCode::kBoardError;
  }
  return session.Finish(code);
}

}  // namespace

bool SweepWantsPlot(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view word = argv[i];
    if (word == "--plot" || word.starts_with("--plot=")) return true;
  }
  return false;
}

const Subcommand kSweepCommand{
    "sweep",
    "sweep --gains LIST (--rates LIST | --decimations LIST) -n N [-o FILE.csv] [--markdown FILE] "
    "[--plot FILE.png] [setup options]",
    "The noise table: every gain at every data rate, N readings a cell after the filter settles.",
    0,
    AddSweepOptions,
    ReadSweep,
    RunSweep};

}  // namespace korvane
