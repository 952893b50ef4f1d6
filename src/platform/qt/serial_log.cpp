#include "platform/qt/serial_log.h"

#include <QString>

#include "platform/capture_file.h"
#include "platform/qt/logging_categories.h"

namespace korvane {

SerialLog::SerialLog() {
  flush_timer_.setSingleShot(true);
  flush_timer_.setInterval(kQuietMs);
  QObject::connect(&flush_timer_, &QTimer::timeout, [this] { Flush(); });
}

SerialLog::~SerialLog() {
  Flush();
}

void SerialLog::OnTraffic(TrafficDirection direction, std::string_view bytes) {
  if (!SerialLogCategory().isDebugEnabled()) return;
  if (direction != direction_) Flush();
  direction_ = direction;
  pending_.append(bytes);
  if (bytes.find('\n') != std::string_view::npos || pending_.size() >= kLongestLine) {
    Flush();
  } else {
    flush_timer_.start();  // restarts: the line is written once it goes quiet
  }
}

void SerialLog::Flush() {
  flush_timer_.stop();
  if (pending_.empty()) return;
  qCDebug(SerialLogCategory).noquote() << (direction_ == TrafficDirection::kToBoard ? "TX:" : "RX:")
                                       << QString::fromStdString(PrintableTraffic(pending_));
  pending_.clear();
}

void SerialLog::OnPortLost(int port_number) {
  Flush();
  qCDebug(SerialLogCategory).noquote() << "COM" + QString::number(port_number) << "PORT LOST";
}

}  // namespace korvane
