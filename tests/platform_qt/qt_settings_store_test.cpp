#include "platform/qt/qt_settings_store.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace korvane {
namespace {

/// Points the user's settings at a fresh folder for each test and back afterwards.
class QtSettingsStoreTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_.path());
    const QSettings probe(QSettings::NativeFormat, QSettings::UserScope, "Halvern", "Probe");
    if (!probe.fileName().startsWith(folder_.path())) {
      GTEST_SKIP() << "the native settings store of this platform is not a file";
    }
  }
  void TearDown() override {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
  }
  QString FileOf(const QString& application) const {
    return folder_.filePath("Halvern/" + application + ".conf");
  }

  QTemporaryDir folder_;
  QtSettingsStore store_;
};

TEST_F(QtSettingsStoreTest, WrittenTextsReadBackAndLandOnDiskAtOnce) {
  EXPECT_EQ(store_.Read("Korvane-DAQ-EVM", "Settings", "ComPort", "0"), "0");

  store_.Write("Korvane-DAQ-EVM", "Settings", "ComPort", "COM12");
  QFile file(FileOf("Korvane-DAQ-EVM"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "Write must reach the disk before it returns";
  const QByteArray on_disk = file.readAll();
  EXPECT_TRUE(on_disk.contains("[Settings]")) << on_disk.constData();
  EXPECT_TRUE(on_disk.contains("ComPort=COM12")) << on_disk.constData();

  EXPECT_EQ(store_.Read("Korvane-DAQ-EVM", "Settings", "ComPort", "0"), "COM12");
  store_.Write("Korvane-DAQ-EVM", "Settings", "ComPort", "COM3");
  EXPECT_EQ(store_.Read("Korvane-DAQ-EVM", "Settings", "ComPort", "0"), "COM3");

  // Sections, keys and applications are kept apart.
  EXPECT_EQ(store_.Read("Korvane-DAQ-EVM", "Ports", "ComPort", "none"), "none");
  EXPECT_EQ(store_.Read("Korvane-DAQ-EVM", "Settings", "Other", "none"), "none");
  EXPECT_EQ(store_.Read("Another-Program", "Settings", "ComPort", "none"), "none");

  store_.Write("Korvane-DAQ-EVM", "Ports", "Line", "57600,N,8,1");
  EXPECT_EQ(store_.Read("Korvane-DAQ-EVM", "Ports", "Line", ""), "57600,N,8,1");

  // A line typed by hand with unquoted commas reads back as it was typed.
  file.close();
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("[Ports]\nCOM3=/dev/ttyUSB0\nLine=9600,E,7,2\n");
  file.close();
  EXPECT_EQ(store_.Read("Korvane-DAQ-EVM", "Ports", "COM3", ""), "/dev/ttyUSB0");
  EXPECT_EQ(store_.Read("Korvane-DAQ-EVM", "Ports", "Line", ""), "9600,E,7,2");
}

}  // namespace
}  // namespace korvane
