#pragma once

#include <QLoggingCategory>
#include <string>

namespace korvane {

/// Diagnostic output of the program, off unless enabled, e.g. QT_LOGGING_RULES="korvane.*=true".
/// "korvane.status": status texts; "korvane.serial": serial traffic and port events.
Q_DECLARE_LOGGING_CATEGORY(StatusLogCategory)
Q_DECLARE_LOGGING_CATEGORY(SerialLogCategory)

/// Logs a status text on "korvane.status".
void LogStatus(const std::string& text);

}  // namespace korvane
