#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/view/bgr_color.h"
#include "main_window_fixture.h"
#include "platform/qt/logging_categories.h"

namespace korvane {
namespace {

TEST_F(MainWindowTest, UserActionsReachTheProgramsHandlers) {
  int run_clicks = 0;
  int reset_clicks = 0;
  int exit_clicks = 0;
  form.cmdCntr[2].SetOnClick([&] { ++run_clicks; });
  form.cmdReset.SetOnClick([&] { ++reset_clicks; });
  form.mnuFileExit.SetOnClick([&] { ++exit_clicks; });
  QTest::mouseClick(Find<QPushButton>("cmdCntr_2"), Qt::LeftButton);
  QTest::mouseClick(Find<QPushButton>("cmdReset"), Qt::LeftButton);
  Find<QAction>("mnuFileExit")->trigger();
  EXPECT_EQ(run_clicks, 1);
  EXPECT_EQ(reset_clicks, 1);
  EXPECT_EQ(exit_clicks, 1);

  int buffer_clicks = 0;
  form.chkBuffer.SetOnClick([&] { ++buffer_clicks; });
  QTest::mouseClick(Find<QCheckBox>("chkBuffer"), Qt::LeftButton);
  EXPECT_EQ(form.chkBuffer.Value(), 1);
  QTest::mouseClick(Find<QCheckBox>("chkBuffer"), Qt::LeftButton);
  EXPECT_EQ(form.chkBuffer.Value(), 0);
  EXPECT_EQ(buffer_clicks, 2);

  std::vector<int> polarity_clicks;
  form.optPolarity[0].SetOnClick([&] { polarity_clicks.push_back(0); });
  form.optPolarity[1].SetOnClick([&] { polarity_clicks.push_back(1); });
  QTest::mouseClick(Find<QRadioButton>("optPolarity_1"), Qt::LeftButton);
  QTest::mouseClick(Find<QRadioButton>("optPolarity_1"), Qt::LeftButton);  // already chosen
  EXPECT_TRUE(form.optPolarity[1].Value());
  EXPECT_FALSE(form.optPolarity[0].Value());
  EXPECT_FALSE(Find<QRadioButton>("optPolarity_0")->isChecked());
  EXPECT_EQ(polarity_clicks, std::vector<int>{1});

  int sampling_clicks = 0;
  form.cboSampling.SetListIndex(0);
  form.cboSampling.SetOnClick([&] { ++sampling_clicks; });
  QTest::keyClick(Find<QComboBox>("cboSampling"), Qt::Key_Down);
  EXPECT_EQ(form.cboSampling.ListIndex(), 1);
  EXPECT_EQ(sampling_clicks, 1);

  std::vector<std::string> frequencies;
  form.txtFreq.SetOnChange([&] { frequencies.push_back(form.txtFreq.Text()); });
  auto* frequency = Find<QLineEdit>("txtFreq");
  frequency->selectAll();
  QTest::keyClicks(frequency, "11.0");
  EXPECT_EQ(frequencies, (std::vector<std::string>{"1", "11", "11.", "11.0"}));
  EXPECT_EQ(frequency->text(), "11.0");
}

/// The interface an assistive tool (screen reader, voice control) works the widget through.
QAccessibleInterface* Accessible(QWidget* widget) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
  EXPECT_NE(accessible, nullptr);
  return accessible;
}

TEST_F(MainWindowTest, EveryWayOfChangingAControlRunsItsHandlerOnce) {
  ShowAndSettle();
  int buffer_clicks = 0;
  form.chkBuffer.SetOnClick([&] { ++buffer_clicks; });
  auto* buffer = Find<QCheckBox>("chkBuffer");
  const std::vector<std::pair<const char*, std::function<void()>>> ticks{
      {"assistive toggle",
       [&] {
         Accessible(buffer)->actionInterface()->doAction(
             QAccessibleActionInterface::toggleAction());
       }},
      {"toggle()", [&] { buffer->toggle(); }},
      {"setChecked", [&] { buffer->setChecked(!buffer->isChecked()); }},
      {"space key", [&] { QTest::keyClick(buffer, Qt::Key_Space); }},
      {"mouse", [&] {
         const QPoint on_the_box(std::min(10, buffer->width() / 2), buffer->height() / 2);
         QTest::mouseClick(buffer, Qt::LeftButton, Qt::NoModifier, on_the_box);
       }}};
  for (const auto& [way, tick] : ticks) {
    const int before = buffer_clicks;
    tick();
    EXPECT_EQ(buffer_clicks, before + 1) << way;
    EXPECT_EQ(form.chkBuffer.Value(), buffer->isChecked() ? 1 : 0) << way;
  }

  int sampling_clicks = 0;
  form.cboSampling.SetOnClick([&] { ++sampling_clicks; });
  Find<QComboBox>("cboSampling")->setCurrentIndex(1);
  EXPECT_EQ(form.cboSampling.ListIndex(), 1);
  EXPECT_EQ(sampling_clicks, 1);

  std::vector<std::string> counts;
  form.txtPartMode.SetOnChange([&] { counts.push_back(form.txtPartMode.Text()); });
  auto* count = Find<QLineEdit>("txtPartMode");
  Accessible(count)->setText(QAccessible::Value, QStringLiteral("64"));
  count->setText("128");
  EXPECT_EQ(counts, (std::vector<std::string>{"64", "128"}));

  int reference_clicks = 0;
  form.optRef[2].SetOnClick([&] { ++reference_clicks; });
  Accessible(Find<QRadioButton>("optRef_2"))
      ->actionInterface()
      ->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_TRUE(form.optRef[2].Value());
  EXPECT_EQ(reference_clicks, 1);

  int run_clicks = 0;
  form.cmdCntr[2].SetOnClick([&] { ++run_clicks; });
  Accessible(Find<QPushButton>("cmdCntr_2"))
      ->actionInterface()
      ->doAction(QAccessibleActionInterface::pressAction());
  for (int i = 0; i < 100 && run_clicks == 0; ++i) QTest::qWait(10);  // an animated click
  EXPECT_EQ(run_clicks, 1);
}

TEST_F(MainWindowTest, AHandlerThatRewritesTheUsersInputIsShownAtOnce) {
  form.txtOfstDAC.SetOnChange([&] {
    if (form.txtOfstDAC.Text() == "200") form.txtOfstDAC.SetText("127");
  });
  auto* offset = Find<QLineEdit>("txtOfstDAC");
  offset->selectAll();
  QTest::keyClicks(offset, "200");
  EXPECT_EQ(form.txtOfstDAC.Text(), "127");
  EXPECT_EQ(offset->text(), "127");

  // A handler that refuses the tick: the box shows the model, not the click.
  form.chkAutoZero.SetOnClick([&] { form.chkAutoZero.SetValue(0); });
  QTest::mouseClick(Find<QCheckBox>("chkAutoZero"), Qt::LeftButton);
  EXPECT_EQ(form.chkAutoZero.Value(), 0);
  EXPECT_FALSE(Find<QCheckBox>("chkAutoZero")->isChecked());
}

TEST_F(MainWindowTest, ModelChangesReachTheWidgetsWithoutFeedingBack) {
  int handler_runs = 0;
  auto count = [&] { ++handler_runs; };
  form.txtFMod.SetOnChange(count);
  form.cboCalibr.SetOnClick(count);
  form.chkBOD.SetOnClick(count);
  form.optRef[0].SetOnClick(count);
  form.optRef[1].SetOnClick(count);
  auto* ref0 = Find<QRadioButton>("optRef_0");
  auto* ref1 = Find<QRadioButton>("optRef_1");
  QSignalSpy ref0_toggles(ref0, &QRadioButton::toggled);
  QSignalSpy ref1_toggles(ref1, &QRadioButton::toggled);
  QSignalSpy calibration_changes(Find<QComboBox>("cboCalibr"), &QComboBox::currentIndexChanged);

  form.txtFMod.SetText("115.2");
  form.cboCalibr.SetListIndex(1);
  form.chkBOD.SetValue(1);
  form.optRef[0].SetValue(true);
  EXPECT_EQ(handler_runs, 4) << "each change runs its own handler once, and only that";
  EXPECT_EQ(Find<QLineEdit>("txtFMod")->text(), "115.2");
  EXPECT_EQ(Find<QComboBox>("cboCalibr")->currentText(), "Self, Offset and Gain");
  EXPECT_TRUE(Find<QCheckBox>("chkBOD")->isChecked());
  EXPECT_TRUE(ref0->isChecked());
  EXPECT_FALSE(ref1->isChecked());
  EXPECT_EQ(ref0_toggles.count() + ref1_toggles.count() + calibration_changes.count(), 0)
      << "widgets are updated with their signals blocked";

  form.optRef[0].SetValue(false);  // the program may leave a group with nothing chosen
  EXPECT_FALSE(ref0->isChecked());

  auto* run = Find<QPushButton>("cmdCntr_2");
  form.cmdCntr[2].SetCaption("Stop &ADC");
  EXPECT_EQ(run->text(), "Stop &ADC");
  EXPECT_EQ(run->accessibleName(), "Stop ADC");
  form.cmdReset.SetEnabled(false);
  EXPECT_FALSE(Find<QPushButton>("cmdReset")->isEnabled());
  form.fraStDev.SetVisible(false);
  EXPECT_TRUE(Find<QGroupBox>("fraStDev")->isHidden());
  form.txtPartMode.SetVisible(true);
  EXPECT_FALSE(Find<QLineEdit>("txtPartMode")->isHidden());
  form.txtDisplay.SetCaption("+OVERLOAD");
  EXPECT_EQ(Find<QLabel>("txtDisplay")->text(), "+OVERLOAD");
  form.linSep[2].SetVisible(false);
  EXPECT_TRUE(Find<QWidget>("linSep_2")->isHidden());
  form.prgProgress.SetValue(5);
  EXPECT_EQ(Find<QProgressBar>("prgProgress")->value(), 5);
}

TEST_F(MainWindowTest, BackColoursFollowTheModelAndReturnToTheSystemColour) {
  auto* buffer = Find<QCheckBox>("chkBuffer");
  const QColor system_colour = buffer->palette().color(QPalette::Window);
  form.chkBuffer.SetBackColor(0xC0FFFF);  // the settings panel's light yellow
  EXPECT_TRUE(buffer->autoFillBackground());
  EXPECT_EQ(buffer->palette().color(QPalette::Window), QColor(255, 255, 192));

  form.chkBuffer.SetBackColor(Control::kSystemButtonFace);
  EXPECT_FALSE(buffer->autoFillBackground());
  EXPECT_EQ(buffer->palette().color(QPalette::Window), system_colour);

  // The reading display keeps its own colours whatever the system colour is.
  auto* display = Find<QLabel>("txtDisplay");
  form.txtDisplay.SetBackColor(Control::kSystemButtonFace);
  form.txtDisplay.SetCaption("+1.00000000");
  EXPECT_EQ(display->palette().color(QPalette::Window), QColor(Qt::black));
}

TEST_F(MainWindowTest, WindowModelDrivesTitleVisibilityAndInputButNeverBlocksClosing) {
  EXPECT_EQ(BgrFromColor(window.palette().color(QPalette::Window)),
            form.frmKorvane_Demo.BackColor());
  EXPECT_FALSE(form.frmKorvane_Demo.Visible());

  form.frmKorvane_Demo.SetVisible(true);
  EXPECT_TRUE(window.isVisible());
  form.frmKorvane_Demo.SetCaption("Other");
  EXPECT_EQ(window.windowTitle(), "Other");

  form.frmKorvane_Demo.SetEnabled(false);
  EXPECT_FALSE(window.centralWidget()->isEnabled());
  EXPECT_FALSE(window.menuBar()->isEnabled());
  EXPECT_TRUE(window.isEnabled());
  EXPECT_FALSE(Find<QPushButton>("cmdCntr_2")->isEnabled());

  int closes = 0;
  window.SetOnClose([&] { ++closes; });
  EXPECT_TRUE(window.close());
  EXPECT_EQ(closes, 1);
  EXPECT_FALSE(window.isVisible());

  form.frmKorvane_Demo.SetEnabled(true);
  EXPECT_TRUE(window.centralWidget()->isEnabled());
  EXPECT_TRUE(Find<QPushButton>("cmdCntr_2")->isEnabled());
}

std::vector<std::string>* logged_status = nullptr;

void CaptureStatus(QtMsgType, const QMessageLogContext& context, const QString& message) {
  if (logged_status != nullptr && QString(context.category) == "korvane.status") {
    logged_status->push_back(message.toStdString());
  }
}

TEST_F(MainWindowTest, LogsEveryNewMessagePanelTextAndNothingElse) {
  std::vector<std::string> logged;
  logged_status = &logged;
  QLoggingCategory::setFilterRules(QStringLiteral("korvane.status.debug=true"));
  const QtMessageHandler previous = qInstallMessageHandler(CaptureStatus);

  form.Panel(1).SetText("ERROR ADC SET");
  form.Panel(1).SetText("ERROR ADC SET");
  form.Panel(3).SetText("FSR= 2.5 V");
  form.Panel(1).SetText("");

  qInstallMessageHandler(previous);
  QLoggingCategory::setFilterRules(QString());
  logged_status = nullptr;
  EXPECT_EQ(logged, (std::vector<std::string>{"ERROR ADC SET", ""}));
  EXPECT_EQ(Find<QLabel>("Msg")->text(), "");
}

TEST(MainWindowLifetimeTest, TheFormOutlivesTheWindow) {
  Form form;
  { MainWindow window(form); }
  form.txtFreq.SetText("2");  // would reach a deleted widget if the window still listened
  form.frmKorvane_Demo.SetEnabled(false);
  form.Panel(1).SetText("still fine");
  EXPECT_EQ(form.txtFreq.Text(), "2");
}

}  // namespace
}  // namespace korvane
