#include "platform/qt/serial_log.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QString>
#include <utility>
#include <vector>

#include "platform/qt/logging_categories.h"

namespace korvane {
namespace {

std::vector<std::pair<QString, QString>>* captured = nullptr;

void Capture(QtMsgType, const QMessageLogContext& context, const QString& message) {
  if (captured != nullptr) captured->emplace_back(QString::fromLatin1(context.category), message);
}

/// Collects the log messages while it lives.
class LogCapture {
 public:
  LogCapture() : previous_(qInstallMessageHandler(Capture)) { captured = &messages; }
  ~LogCapture() {
    captured = nullptr;
    qInstallMessageHandler(previous_);
    QLoggingCategory::setFilterRules(QString());
  }
  std::vector<std::pair<QString, QString>> messages;

 private:
  QtMessageHandler previous_;
};

TEST(QtSerialLogTest, TrafficAndStatusGoToTheirCategoriesOnlyWhenEnabled) {
  LogCapture log;
  SerialLog serial_log;
  if (!qEnvironmentVariableIsSet("QT_LOGGING_RULES")) {
    serial_log.OnTraffic(TrafficDirection::kToBoard, "RRCA");
    LogStatus("ERROR ADC SET");
    EXPECT_TRUE(log.messages.empty()) << "debug output must be off by default";
  }

  QLoggingCategory::setFilterRules("korvane.*=true");
  serial_log.OnTraffic(TrafficDirection::kToBoard, "RRCA\r");
  serial_log.OnTraffic(TrafficDirection::kFromBoard, "3F>");
  serial_log.OnPortLost(3);
  LogStatus(" WELCOME ");
  using Message = std::pair<QString, QString>;
  EXPECT_EQ(log.messages, (std::vector<Message>{{"korvane.serial", "TX: RRCA<0D>"},
                                                {"korvane.serial", "RX: 3F>"},
                                                {"korvane.serial", "COM3 PORT LOST"},
                                                {"korvane.status", " WELCOME "}}));

  // A paced command is one line, written when the line goes quiet; a line feed ends a line.
  log.messages.clear();
  for (const char c : std::string("RWFB0A")) {
    serial_log.OnTraffic(TrafficDirection::kToBoard, std::string_view(&c, 1));
  }
  EXPECT_TRUE(log.messages.empty());
  for (const char c : std::string("123456\r\nAB")) {
    serial_log.OnTraffic(TrafficDirection::kFromBoard, std::string_view(&c, 1));
  }
  QElapsedTimer quiet;
  quiet.start();
  while (log.messages.size() < 3 && quiet.elapsed() < 5000) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
  EXPECT_EQ(log.messages, (std::vector<Message>{{"korvane.serial", "TX: RWFB0A"},
                                                {"korvane.serial", "RX: 123456<0D><0A>"},
                                                {"korvane.serial", "RX: AB"}}));
}

}  // namespace
}  // namespace korvane
