#include "platform/qt/serial_log.h"

#include <QString>

#include "platform/capture_file.h"
#include "platform/qt/logging_categories.h"

namespace korvane {

void SerialLog::OnTraffic(TrafficDirection direction, std::string_view bytes) {
  qCDebug(SerialLogCategory).noquote() << (direction == TrafficDirection::kToBoard ? "TX:" : "RX:")
                                       << QString::fromStdString(PrintableTraffic(bytes));
}

void SerialLog::OnPortLost(int port_number) {
  qCDebug(SerialLogCategory).noquote() << "COM" + QString::number(port_number) << "PORT LOST";
}

}  // namespace korvane
