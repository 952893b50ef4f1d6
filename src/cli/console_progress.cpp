#include "cli/console_progress.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>

namespace korvane {

namespace {
constexpr int kBarWidth = 30;
constexpr auto kRedrawPeriod = std::chrono::milliseconds(100);
}  // namespace

bool ConsoleProgress::StderrIsTerminal() {
  return ::isatty(STDERR_FILENO) == 1;
}

ConsoleProgress ConsoleProgress::ForStderr(std::string label) {
  return ConsoleProgress(std::move(label), StderrIsTerminal());
}

std::string ConsoleProgress::Line(const std::string& label, std::int64_t done, std::int64_t total,
                                  double seconds_left) {
  const double fraction =
      total > 0 ? std::clamp(static_cast<double>(done) / static_cast<double>(total), 0.0, 1.0)
                : 0.0;
  const int filled = static_cast<int>(fraction * kBarWidth);
  std::string line = label + " [" + std::string(static_cast<std::size_t>(filled), '#') +
                     std::string(static_cast<std::size_t>(kBarWidth - filled), '.') + "] ";
  char figures[96];
  std::snprintf(figures, sizeof figures, "%3d%%  %lld/%lld", static_cast<int>(fraction * 100),
                static_cast<long long>(done), static_cast<long long>(total));
  line += figures;
  if (seconds_left >= 0) {
    const auto whole = static_cast<long long>(std::ceil(seconds_left));
    std::snprintf(figures, sizeof figures, "  %lld:%02lld left", whole / 60, whole % 60);
    line += figures;
  }
  return line;
}

void ConsoleProgress::Update(std::int64_t done, std::int64_t total, double seconds_left) {
  if (!shown_) return;
  const auto now = std::chrono::steady_clock::now();
  if (!started_) {
    started_ = true;
    start_ = now;
  }
  const std::chrono::duration<double> elapsed = now - start_;
  if (seconds_left < 0 && done > 0 && elapsed > kRedrawPeriod) {
    seconds_left = elapsed.count() / static_cast<double>(done) * static_cast<double>(total - done);
  }
  if (drawn_ && done < total && now - last_ < kRedrawPeriod) return;
  last_ = now;
  drawn_ = true;
  // "\33[K" clears what a longer line left behind.
  std::fprintf(stderr, "\r%s\33[K", Line(label_, done, total, seconds_left).c_str());
  std::fflush(stderr);
}

void ConsoleProgress::Finish() {
  if (!drawn_) return;
  drawn_ = false;
  std::fputc('\n', stderr);
}

}  // namespace korvane
