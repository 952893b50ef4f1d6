#include "platform/qt/qt_process.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <vector>

#include "platform/qt/command_line_text.h"

namespace korvane {

QtProcess::QtProcess()
    : QtProcess(QDir::temp().filePath(QStringLiteral("korvane-adc-demo.lock")).toStdString()) {}

QtProcess::QtProcess(const std::string& lock_file_path)
    : lock_(QString::fromStdString(lock_file_path)) {
  // The default stale time (30 s) would let a second instance take over the lock of a first
  // one that has been running longer; staleness is judged by the holder's process alone.
  lock_.setStaleLockTime(0);
}

bool QtProcess::AnotherInstanceRunning() {
  if (lock_.isLocked()) return false;
  // tryLock removes a lock whose process is gone before it gives up.
  return !lock_.tryLock(0);
}

std::string QtProcess::CommandLineText() {
  const QStringList arguments = QCoreApplication::arguments();
  std::vector<std::string> after_name;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    after_name.push_back(arguments[i].toStdString());
  }
  return CommandLineTextFromArguments(after_name);
}

void QtProcess::EndNow() {
  if (lock_.isLocked()) lock_.unlock();
  std::cout.flush();
  std::cerr.flush();
  std::fflush(nullptr);
  std::_Exit(0);
}

}  // namespace korvane
