#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace korvane {

/// Turns SIGINT and SIGTERM (Ctrl+C in a terminal, a session ending) into a call of `on_signal`
/// on the event loop, so that the program closes as through its window and keeps its settings.
/// Does nothing where the system has no such signals.
class TerminationSignals final : public QObject {
 public:
  explicit TerminationSignals(std::function<void()> on_signal);
  ~TerminationSignals() override;
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

 private:
  std::function<void()> on_signal_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace korvane
