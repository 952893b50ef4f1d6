#include "platform/qt/qt_process.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

#include "platform/qt/command_line_text.h"

namespace korvane {
namespace {

TEST(QtCommandLineTextTest, KeepsTheUsersWordsAndDropsTheProgramsOwnOptions) {
  EXPECT_EQ(CommandLineTextFromArguments({}), "");
  EXPECT_EQ(CommandLineTextFromArguments({"S", "3", "11.0592"}), "S 3 11.0592");
  EXPECT_EQ(CommandLineTextFromArguments({"--simulate", "S", "--blank-board", "3"}), "S 3");
  EXPECT_EQ(CommandLineTextFromArguments({"--help"}), "");
  EXPECT_EQ(CommandLineTextFromArguments({"S", "--port", "/dev/ttyUSB0", "3", "--port=COM4"}),
            "S 3");
  EXPECT_EQ(CommandLineTextFromArguments({"x", "--version"}), "x");
  // An empty argument stays an empty word: "S", "", "3" reads as S, two blanks, 3.
  EXPECT_EQ(CommandLineTextFromArguments({"S", "", "3"}), "S  3");
  // Only exact options are the program's; anything else is the user's.
  EXPECT_EQ(CommandLineTextFromArguments({"--simulated", "-simulate", "s"}),
            "--simulated -simulate s");
}

#ifdef KORVANE_DEMO_BINARY
TEST(QtProcessTest, CommandLineQuestionsAndMistakesNeedNoDisplay) {
  struct Case {
    QStringList arguments;
    bool ok;
    const char* says;
  };
  for (const Case& c : {Case{{"--help"}, true, "Usage: korvane-demo"},
                        Case{{"S", "3", "--version"}, true, "korvane-demo "},
                        Case{{"--simulated"}, false, "unknown option --simulated"},
                        Case{{"--blank-board"}, false, "--blank-board needs --simulate"}}) {
    SCOPED_TRACE(c.arguments.join(' ').toStdString());
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
      environment.remove(QString::fromLatin1(name));
    }
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(KORVANE_DEMO_BINARY), c.arguments);
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode() == 0, c.ok) << program.exitCode();
    const QString said = c.ok ? program.readAllStandardOutput() : program.readAllStandardError();
    EXPECT_TRUE(said.contains(QString::fromLatin1(c.says))) << said.toStdString();
    if (!c.ok) {
      EXPECT_TRUE(said.contains(QStringLiteral("Usage:"))) << said.toStdString();
    }
  }
}
#endif

/// A fresh folder for the instance lock and the files of a test.
class QtProcessLockTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder.isValid()); }
  std::string PathOf(const char* name) const { return folder.filePath(name).toStdString(); }

  QTemporaryDir folder;
  const std::string lock_path = PathOf("instance.lock");
};

TEST_F(QtProcessLockTest, SecondInstanceSeesTheLockHoweverOldItIs) {
  auto first = std::make_unique<QtProcess>(lock_path);
  EXPECT_FALSE(first->AnotherInstanceRunning());
  EXPECT_FALSE(first->AnotherInstanceRunning()) << "the holder itself is not another instance";
  for (const bool two_days_old : {false, true}) {
    if (two_days_old) {  // the first instance has been running for two days: its lock counts
      QFile lock_file(QString::fromStdString(lock_path));
      ASSERT_TRUE(lock_file.open(QIODevice::Append));
      ASSERT_TRUE(lock_file.setFileTime(QDateTime::currentDateTime().addDays(-2),
                                        QFileDevice::FileModificationTime));
    }
    EXPECT_TRUE(QtProcess(lock_path).AnotherInstanceRunning()) << two_days_old;
  }
  first.reset();
  EXPECT_FALSE(QFile::exists(QString::fromStdString(lock_path)));
  QtProcess after_first_ended(lock_path);
  EXPECT_FALSE(after_first_ended.AnotherInstanceRunning());
}

using QtProcessLockDeathTest = QtProcessLockTest;

TEST_F(QtProcessLockDeathTest, EndNowFlushesOpenFilesAndReleasesTheLock) {
  const std::string data_path = PathOf("data.txt");
  EXPECT_EXIT(
      {
        QtProcess process(lock_path);
        process.AnotherInstanceRunning();
        std::FILE* data = std::fopen(data_path.c_str(), "w");
        std::fputs("still in the buffer", data);
        process.EndNow();
      },
      testing::ExitedWithCode(0), "");
  QFile data(QString::fromStdString(data_path));
  ASSERT_TRUE(data.open(QIODevice::ReadOnly));
  EXPECT_EQ(data.readAll(), "still in the buffer");
  EXPECT_FALSE(QFile::exists(QString::fromStdString(lock_path)));
}

}  // namespace
}  // namespace korvane
