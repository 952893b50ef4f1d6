#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "app/view/bgr_color.h"
#include "app/view/qt_chart.h"
#include "main_window_fixture.h"

namespace korvane {
namespace {

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

/// What a screen reader should say for a caption: no mnemonic markers, no outer blanks.
QString Spoken(const std::string& caption) {
  return Q(caption).remove(QLatin1Char('&')).trimmed();
}

/// What the widget shows as its text: a frame's or menu's title, a button's, label's or box's text.
QString ShownText(QWidget* widget) {
  if (auto* frame = qobject_cast<QGroupBox*>(widget)) return frame->title();
  if (auto* menu = qobject_cast<QMenu*>(widget)) return menu->title();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* box = qobject_cast<QLineEdit*>(widget)) return box->text();
  return {};
}

/// The widget's accessible action `action`, as an assistive tool (screen reader, voice control)
/// would call it.
void DoAccessible(QWidget* widget, const QString& action) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
  ASSERT_NE(accessible, nullptr);
  accessible->actionInterface()->doAction(action);
}

int StateOf(const CheckBox& box) {
  return box.Value();
}
int StateOf(const ComboBox& list) {
  return list.ListIndex();
}

/// Clicks where the indicator and caption of a wide box or option lie.
void ClickNearTheLeft(QWidget* button) {
  const QPoint near_left(std::min(10, button->width() / 2), button->height() / 2);
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, near_left);
}

/// At start and after the program changes its models (which runs each model's own handler once
/// and feeds no widget signal back), every widget shows its model.
TEST_F(MainWindowTest, EveryControlHasOneWidgetShowingItsModelNamedAfterItsCaption) {
  EXPECT_EQ(window.objectName(), "frmKorvane_Demo");
  EXPECT_EQ(window.windowTitle(), Q(form.frmKorvane_Demo.Caption()));
  EXPECT_TRUE(window.menuBar()->actions().contains(Find<QMenu>("mnuFile")->menuAction()));
  EXPECT_EQ(Find<QMenu>("mnuGraph")->title(), "&Graph");
  int handler_runs = 0;
  auto count = [&] { ++handler_runs; };
  form.txtFMod.SetOnChange(count);
  form.cboCalibr.SetOnClick(count);
  form.chkBOD.SetOnClick(count);
  form.optRef[0].SetOnClick(count);
  form.optRef[1].SetOnClick(count);
  QSignalSpy ref0_toggles(Find<QRadioButton>("optRef_0"), &QRadioButton::toggled);
  QSignalSpy ref1_toggles(Find<QRadioButton>("optRef_1"), &QRadioButton::toggled);
  QSignalSpy calibration_changes(Find<QComboBox>("cboCalibr"), &QComboBox::currentIndexChanged);
  const std::vector<std::function<void()>> changes = {
      [] {},
      [&] {
        form.txtFMod.SetText("115.2");
        form.cboCalibr.SetListIndex(1);
        form.chkBOD.SetValue(1);
        form.optRef[0].SetValue(true);
        form.cmdCntr[2].SetCaption("Stop &ADC");
        form.cmdReset.SetEnabled(false);
        form.fraStDev.SetVisible(false);
        form.txtPartMode.SetVisible(true);
        form.txtDisplay.SetCaption("+OVERLOAD");
        form.linSep[2].SetVisible(false);
        form.prgProgress.SetValue(5);
        EXPECT_EQ(handler_runs, 4) << "each change runs its own handler once, and only that";
        EXPECT_EQ(ref0_toggles.count() + ref1_toggles.count() + calibration_changes.count(), 0)
            << "widgets are updated with their signals blocked";
      },
      [&] { form.optRef[0].SetValue(false); }};  // a group may be left with nothing chosen
  for (const auto& change : changes) {
    change();
    form.ForEachControl([&](auto& model) {
      using Model = std::decay_t<decltype(model)>;
      const std::string& name = model.Name();
      if (name == "frmKorvane_Demo") return;
      SCOPED_TRACE(name);
      if (name == "mnuFileExit") {
        EXPECT_EQ(Find<QAction>(name)->text(), Q(model.Caption()));
        return;
      }
      QWidget* widget = Find<QWidget>(name);
      ASSERT_NE(widget, nullptr);
      if (name != "mnuFile") {
        EXPECT_EQ(widget->isHidden(), !model.Visible());
      }
      EXPECT_EQ(widget->isEnabled(), model.Enabled());
      if (!model.ToolTip().empty()) {
        EXPECT_EQ(widget->toolTip(), Q(model.ToolTip()));
      }
      if constexpr (std::is_same_v<Model, TextBox>) {
        EXPECT_EQ(ShownText(widget), Q(model.Text()));
      } else if constexpr (std::is_same_v<Model, ComboBox>) {
        auto* combo = qobject_cast<QComboBox*>(widget);
        ASSERT_NE(combo, nullptr);
        QStringList model_items;
        for (const std::string& item : model.Items()) model_items << Q(item);
        QStringList shown_items;
        for (int index = 0; index < combo->count(); ++index) shown_items << combo->itemText(index);
        EXPECT_EQ(shown_items, model_items);
        EXPECT_EQ(combo->currentIndex(), model.ListIndex());
      } else if constexpr (std::is_same_v<Model, ProgressBar>) {
        auto* bar = qobject_cast<QProgressBar*>(widget);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->minimum(), model.Min());
        EXPECT_EQ(bar->maximum(), model.Max());
        EXPECT_EQ(bar->value(), model.Value());
      } else {
        const std::string& caption = model.Caption();
        EXPECT_EQ(ShownText(widget), Q(caption));
        if (!caption.empty()) {
          EXPECT_EQ(widget->accessibleName(), Spoken(caption));
        }
        if constexpr (std::is_same_v<Model, CheckBox>) {
          EXPECT_EQ(qobject_cast<QCheckBox*>(widget)->isChecked(), model.Value() == 1);
        } else if constexpr (std::is_same_v<Model, OptionButton>) {
          EXPECT_EQ(qobject_cast<QRadioButton*>(widget)->isChecked(), model.Value());
        }
      }
    });
  }
  EXPECT_EQ(&window.AdcGraph(), static_cast<Chart*>(Find<QtChart>("ADCGraph")));
  EXPECT_EQ(&window.Histo(), static_cast<Chart*>(Find<QtChart>("Histo")));
}

/// Every way a user reaches a control, mouse, keyboard or assistive tool, runs its handler once
/// and leaves the model agreeing with the widget.
TEST_F(MainWindowTest, UserActionsReachTheirHandlersOnce) {
  ShowAndSettle();
  form.cboSampling.SetListIndex(0);
  std::string log;
  form.ForEachControl([&](auto& model) {
    using Model = std::decay_t<decltype(model)>;
    if constexpr (std::is_same_v<Model, TextBox>) {
      model.SetOnChange([&log, &model] { log += model.Name() + "=" + model.Text() + " "; });
    } else if constexpr (std::is_same_v<Model, CheckBox> || std::is_same_v<Model, ComboBox>) {
      model.SetOnClick(
          [&log, &model] { log += model.Name() + "=" + std::to_string(StateOf(model)) + " "; });
    } else if constexpr (std::is_same_v<Model, OptionButton>) {
      model.SetOnClick([&log, &model] { log += model.Name() + " "; });
    } else if constexpr (std::is_same_v<Model, Button>) {
      model.SetOnClick([&log, &model] { log += model.Name() + "! "; });
    }
  });
  auto* buffer = Find<QCheckBox>("chkBuffer");
  auto* frequency = Find<QLineEdit>("txtFreq");
  auto* sampling = Find<QComboBox>("cboSampling");
  const struct {
    const char* what;
    std::function<void()> act;
    const char* handled;
  } actions[] = {
      {"assistive toggle",
       [&] { DoAccessible(buffer, QAccessibleActionInterface::toggleAction()); }, "chkBuffer=1 "},
      {"toggle()", [&] { buffer->toggle(); }, "chkBuffer=0 "},
      {"setChecked", [&] { buffer->setChecked(true); }, "chkBuffer=1 "},
      {"space key", [&] { QTest::keyClick(buffer, Qt::Key_Space); }, "chkBuffer=0 "},
      {"mouse on a box", [&] { ClickNearTheLeft(buffer); }, "chkBuffer=1 "},
      {"down key in a list", [&] { QTest::keyClick(sampling, Qt::Key_Down); }, "cboSampling=1 "},
      {"list index", [&] { sampling->setCurrentIndex(2); }, "cboSampling=2 "},
      {"typing",
       [&] {
         frequency->selectAll();
         QTest::keyClicks(frequency, "11.0");
       },
       "txtFreq=1 txtFreq=11 txtFreq=11. txtFreq=11.0 "},
      {"assistive text",
       [&] { QAccessible::queryAccessibleInterface(frequency)->setText(QAccessible::Value, "64"); },
       "txtFreq=64 "},
      {"setText", [&] { frequency->setText("128"); }, "txtFreq=128 "},
      {"mouse on an option", [&] { ClickNearTheLeft(Find<QWidget>("optPolarity_1")); },
       "optPolarity_1 "},
      {"chosen option again", [&] { ClickNearTheLeft(Find<QWidget>("optPolarity_1")); }, ""},
      {"assistive option",
       [&] {
         DoAccessible(Find<QWidget>("optPolarity_0"), QAccessibleActionInterface::toggleAction());
       },
       "optPolarity_0 "},
      {"mouse on a button",
       [&] { QTest::mouseClick(Find<QPushButton>("cmdReset"), Qt::LeftButton); }, "cmdReset! "},
      {"menu item", [&] { Find<QAction>("mnuFileExit")->trigger(); }, "mnuFileExit! "},
      {"assistive press",
       [&] {
         DoAccessible(Find<QWidget>("cmdCntr_2"), QAccessibleActionInterface::pressAction());
         for (int i = 0; i < 100 && log.empty(); ++i) QTest::qWait(10);  // an animated click
       },
       "cmdCntr_2! "}};
  for (const auto& action : actions) {
    SCOPED_TRACE(action.what);
    log.clear();
    action.act();
    EXPECT_EQ(log, action.handled);
  }
  EXPECT_EQ(form.chkBuffer.Value(), 1);
  EXPECT_EQ(form.cboSampling.ListIndex(), 2);
  EXPECT_EQ(form.txtFreq.Text(), "128");
  EXPECT_TRUE(form.optPolarity[0].Value());
  EXPECT_FALSE(form.optPolarity[1].Value());
  EXPECT_FALSE(Find<QRadioButton>("optPolarity_1")->isChecked());
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
  form.txtDisplay.SetBackColor(Control::kSystemButtonFace);
  form.txtDisplay.SetCaption("+1.00000000");
  EXPECT_EQ(Find<QLabel>("txtDisplay")->palette().color(QPalette::Window), QColor(Qt::black));
}

TEST_F(MainWindowTest, WindowModelDrivesTitleVisibilityAndInputButNeverBlocksClosing) {
  EXPECT_EQ(BgrFromColor(window.palette().color(QPalette::Window)),
            form.frmKorvane_Demo.BackColor());
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
  EXPECT_TRUE(Find<QPushButton>("cmdCntr_2")->isEnabled());
}

TEST(MainWindowLifetimeTest, TheFormOutlivesTheWindow) {
  Form form;
  { MainWindow window(form); }
  form.txtFreq.SetText("2");  // would reach a deleted widget if the window still listened
  form.frmKorvane_Demo.SetEnabled(false);
  form.Panel(1).SetText("still fine");
  EXPECT_EQ(form.txtFreq.Text(), "2");
}

TEST_F(MainWindowTest, FitsA1280By800ScreenWithRoomForTheTitleBarAndChartsThatGrow) {
  const QSize smallest = window.minimumSizeHint();
  EXPECT_LE(smallest.width(), 1280);
  EXPECT_LE(smallest.height(), 720);
  ShowAndSettle();
  auto* graph = Find<QtChart>("ADCGraph");
  auto* settings = Find<QGroupBox>("fraADCset");
  const QSize graph_before = graph->size();
  const int settings_width = settings->width();
  window.resize(1400, 900);
  QApplication::processEvents();
  EXPECT_GT(graph->width(), graph_before.width());
  EXPECT_GT(graph->height(), graph_before.height());
  EXPECT_EQ(settings->width(), settings_width) << "the settings side keeps its natural width";
  EXPECT_LT(Find<QGroupBox>("fraMeasADC")->x(), settings->x()) << "measurements on the left";
}

}  // namespace
}  // namespace korvane
