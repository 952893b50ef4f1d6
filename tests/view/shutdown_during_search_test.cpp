#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/main_form.h"
#include "app/view/main_window.h"
#include "form/form.h"
#include "platform/qt/qt_time_base.h"
#include "support/fakes.h"
#include "support/scripted_port.h"

namespace korvane {
namespace {

/// Ends the program as the real one does, after telling the test what was saved.
class ReportingProcess final : public Process {
 public:
  explicit ReportingProcess(testing::MemorySettings& settings) : settings_(settings) {}
  bool AnotherInstanceRunning() override { return false; }
  std::string CommandLineText() override { return ""; }
  [[noreturn]] void EndNow() override {
    std::fprintf(stderr, "saved %s\n",
                 settings_.values["Korvane-DAQ-EVM/Settings/ComPort"].c_str());
    std::fflush(stderr);
    std::_Exit(0);
  }

 private:
  testing::MemorySettings& settings_;
};

/// The real window and event loop; a silent port keeps the search going until the window closes.
[[noreturn]] void CloseTheWindowWhileSearching() {
  QtTimeBase time;
  Form form;
  MainWindow window(form);
  testing::ScriptedPort port(time);
  testing::MemorySettings settings;
  testing::RecordingDialogs dialogs;
  ReportingProcess process(settings);
  MainForm main_form(form, PlatformServices{time, port, window.AdcGraph(), window.Histo(), settings,
                                            dialogs, process});
  window.SetOnClose([&main_form] { main_form.Form_Unload(); });
  QTimer::singleShot(0, &window, [&main_form] { main_form.Form_Load(); });
  QTimer::singleShot(1500, &window, [&window, &form] {
    if (form.Panel(1).Text() != "TRYING  SERIAL  PORT  1  " || form.frmKorvane_Demo.Enabled()) {
      std::fputs("not searching\n", stderr);
      std::_Exit(2);
    }
    window.close();
  });
  QTimer::singleShot(10000, [] { std::_Exit(3); });
  QApplication::exec();
  std::_Exit(4);
}

TEST(MainWindowShutdownDeathTest, ClosingTheWindowDuringTheSearchSavesThePortAndEnds) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(CloseTheWindowWhileSearching(), ::testing::ExitedWithCode(0), "saved COM1");
}

}  // namespace
}  // namespace korvane
