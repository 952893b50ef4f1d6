#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace korvane {

/// A progress bar with the time left on one line of stderr, redrawn at most ten times a second,
/// and only when stderr is a terminal: a script's log gets no bar.
class ConsoleProgress {
 public:
  /// `shown` false draws nothing (stderr is not a terminal); see `ForStderr`.
  ConsoleProgress(std::string label, bool shown) : label_(std::move(label)), shown_(shown) {}
  /// Shown when stderr is a terminal.
  static ConsoleProgress ForStderr(std::string label);
  static bool StderrIsTerminal();
  ~ConsoleProgress() { Finish(); }
  ConsoleProgress(const ConsoleProgress&) = delete;
  ConsoleProgress& operator=(const ConsoleProgress&) = delete;
  ConsoleProgress(ConsoleProgress&&) = delete;
  ConsoleProgress& operator=(ConsoleProgress&&) = delete;

  /// `done` of `total`, `seconds_left` (negative: estimated from the pace since the first call).
  void Update(std::int64_t done, std::int64_t total, double seconds_left);
  /// Ends the bar's line, once.
  void Finish();

  /// The bar's line: "label [#####.....]  50%  1000/2000  0:07 left".
  static std::string Line(const std::string& label, std::int64_t done, std::int64_t total,
                          double seconds_left);

 private:
  std::string label_;
  bool shown_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point last_{};
  std::chrono::steady_clock::time_point start_{};
  bool started_ = false;
};

}  // namespace korvane
