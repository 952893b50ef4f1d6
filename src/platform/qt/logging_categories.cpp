#include "platform/qt/logging_categories.h"

namespace korvane {

Q_LOGGING_CATEGORY(StatusLogCategory, "korvane.status", QtWarningMsg)
Q_LOGGING_CATEGORY(SerialLogCategory, "korvane.serial", QtWarningMsg)

void LogStatus(const std::string& text) {
  qCDebug(StatusLogCategory).noquote() << QString::fromStdString(text);
}

}  // namespace korvane
