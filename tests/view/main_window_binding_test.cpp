#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
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

/// The interface an assistive tool (screen reader, voice control) works the widget through.
QAccessibleInterface* Accessible(QWidget* widget) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
  EXPECT_NE(accessible, nullptr);
  return accessible;
}

/// Clicks where the indicator and caption of a wide box or option lie.
void ClickNearTheLeft(QWidget* button) {
  const QPoint near_left(std::min(10, button->width() / 2), button->height() / 2);
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, near_left);
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
      {"mouse", [&] { ClickNearTheLeft(buffer); }}};
  for (const auto& [way, tick] : ticks) {
    const int before = buffer_clicks;
    tick();
    EXPECT_EQ(buffer_clicks, before + 1) << way;
    EXPECT_EQ(form.chkBuffer.Value(), buffer->isChecked() ? 1 : 0) << way;
  }

  int sampling_clicks = 0;
  form.cboSampling.SetListIndex(0);
  form.cboSampling.SetOnClick([&] { ++sampling_clicks; });
  QTest::keyClick(Find<QComboBox>("cboSampling"), Qt::Key_Down);
  EXPECT_EQ(form.cboSampling.ListIndex(), 1);
  Find<QComboBox>("cboSampling")->setCurrentIndex(2);
  EXPECT_EQ(form.cboSampling.ListIndex(), 2);
  EXPECT_EQ(sampling_clicks, 2);

  std::vector<std::string> frequencies;
  form.txtFreq.SetOnChange([&] { frequencies.push_back(form.txtFreq.Text()); });
  auto* frequency = Find<QLineEdit>("txtFreq");
  frequency->selectAll();
  QTest::keyClicks(frequency, "11.0");
  Accessible(frequency)->setText(QAccessible::Value, QStringLiteral("64"));
  frequency->setText("128");
  EXPECT_EQ(frequencies, (std::vector<std::string>{"1", "11", "11.", "11.0", "64", "128"}));

  std::vector<int> polarity_clicks;
  form.optPolarity[0].SetOnClick([&] { polarity_clicks.push_back(0); });
  form.optPolarity[1].SetOnClick([&] { polarity_clicks.push_back(1); });
  ClickNearTheLeft(Find<QRadioButton>("optPolarity_1"));
  ClickNearTheLeft(Find<QRadioButton>("optPolarity_1"));  // already chosen
  Accessible(Find<QRadioButton>("optPolarity_0"))
      ->actionInterface()
      ->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_TRUE(form.optPolarity[0].Value());
  EXPECT_FALSE(form.optPolarity[1].Value());
  EXPECT_FALSE(Find<QRadioButton>("optPolarity_1")->isChecked());
  EXPECT_EQ(polarity_clicks, (std::vector<int>{1, 0}));

  int run_clicks = 0;
  int reset_clicks = 0;
  int exit_clicks = 0;
  form.cmdCntr[2].SetOnClick([&] { ++run_clicks; });
  form.cmdReset.SetOnClick([&] { ++reset_clicks; });
  form.mnuFileExit.SetOnClick([&] { ++exit_clicks; });
  QTest::mouseClick(Find<QPushButton>("cmdReset"), Qt::LeftButton);
  Find<QAction>("mnuFileExit")->trigger();
  Accessible(Find<QPushButton>("cmdCntr_2"))
      ->actionInterface()
      ->doAction(QAccessibleActionInterface::pressAction());
  for (int i = 0; i < 100 && run_clicks == 0; ++i) QTest::qWait(10);  // an animated click
  EXPECT_EQ(run_clicks, 1);
  EXPECT_EQ(reset_clicks, 1);
  EXPECT_EQ(exit_clicks, 1);
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

/// Share of the widget's painted pixels in `colour`.
double PaintedShare(QWidget* widget, const QColor& colour) {
  const QImage image = widget->grab().toImage();
  int matching = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) matching += image.pixelColor(x, y) == colour ? 1 : 0;
  }
  return static_cast<double>(matching) / (image.width() * image.height());
}

TEST_F(MainWindowTest, BackColoursArePaintedAndReturnToTheSystemColour) {
  ShowAndSettle();
  const QColor light_yellow(255, 255, 192);  // the settings panel's highlight, 0xC0FFFF
  const std::vector<std::pair<const char*, Control*>> boxes = {
      {"chkBuffer", &form.chkBuffer}, {"optPolarity_1", &form.optPolarity[1]}};
  for (const auto& [name, model] : boxes) {
    SCOPED_TRACE(name);
    auto* widget = Find<QWidget>(name);
    const QColor system_colour = widget->palette().color(QPalette::Window);
    EXPECT_EQ(PaintedShare(widget, light_yellow), 0.0);
    model->SetBackColor(0xC0FFFF);
    EXPECT_GT(PaintedShare(widget, light_yellow), 0.5);
    model->SetBackColor(Control::kSystemButtonFace);
    EXPECT_EQ(PaintedShare(widget, light_yellow), 0.0);
    EXPECT_EQ(widget->palette().color(QPalette::Window), system_colour);
  }

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
