#include "app/view/control_binder.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <utility>

#include "app/view/bgr_color.h"
#include "app/view/paced_update.h"

namespace korvane {

namespace {

QString ToQString(const std::string& text) {
  return QString::fromStdString(text);
}

/// What a screen reader should say for a caption: without mnemonic markers and outer blanks.
QString AccessibleText(const std::string& caption) {
  QString text;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;  // "&&" stands for one '&'
    text.append(QLatin1Char(caption[i]));
  }
  return text.trimmed();
}

/// The reading display changes hundreds of times a second: skip the events of unchanged texts.
void SetAccessibleName(QWidget& widget, const QString& name) {
  if (widget.accessibleName() != name) widget.setAccessibleName(name);
}

void SetToolTip(QWidget& widget, const QString& tip) {
  if (widget.toolTip() != tip) widget.setToolTip(tip);
}

Qt::CheckState CheckStateOf(int value) {
  switch (value) {
    case 1:
      return Qt::Checked;
    case 2:
      return Qt::PartiallyChecked;
    default:
      return Qt::Unchecked;
  }
}

int ValueOf(Qt::CheckState state) {
  switch (state) {
    case Qt::Checked:
      return 1;
    case Qt::PartiallyChecked:
      return 2;
    default:
      return 0;
  }
}

/// Marks widgets whose palette the binder coloured, so that going back to the system colour
/// undoes only that and leaves colours the window's design gave (the reading display) alone.
constexpr const char* kColouredProperty = "korvaneBackColour";

void ApplyBackColor(std::uint32_t bgr, QWidget& widget) {
  if (bgr == Control::kSystemButtonFace) {
    if (!widget.property(kColouredProperty).toBool()) return;
    widget.setProperty(kColouredProperty, false);
    widget.setPalette(QPalette());  // resolves nothing: the widget inherits again
    widget.setAutoFillBackground(false);
    return;
  }
  const QColor color = ColorFromBgr(bgr);
  if (widget.property(kColouredProperty).toBool() &&
      widget.palette().color(QPalette::Window) == color) {
    return;
  }
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, color);
  palette.setColor(QPalette::Button, color);
  widget.setPalette(palette);
  widget.setAutoFillBackground(true);
  widget.setProperty(kColouredProperty, true);
}

}  // namespace

ControlBinder::~ControlBinder() {
  for (Control* model : observed_) model->SetObserver({});
}

void ControlBinder::Observe(Control& model, std::function<void()> sync) {
  observed_.push_back(&model);
  sync();
  model.SetObserver(std::move(sync));
}

void ControlBinder::ApplyCommon(const Control& model, QWidget& widget) const {
  widget.setHidden(!model.Visible());
  widget.setEnabled(model.Enabled());
  SetToolTip(widget, ToQString(model.ToolTip()));
  ApplyBackColor(model.BackColor(), widget);
}

void ControlBinder::ApplyCaptionToNamed(const Control& model) const {
  const auto found = named_by_.find(&model);
  if (found == named_by_.end()) return;
  for (QWidget* named : found->second) SetAccessibleName(*named, AccessibleText(model.Caption()));
}

void ControlBinder::NameAfter(const Control& describing, QWidget& named) {
  named_by_[&describing].push_back(&named);
  SetAccessibleName(named, AccessibleText(describing.Caption()));
}

QPushButton* ControlBinder::MakeButton(Button& model, QWidget* parent) {
  auto* button = new QPushButton(parent);
  button->setObjectName(ToQString(model.Name()));
  Observe(model, [this, &model, button] {
    const QSignalBlocker blocker(button);
    button->setText(ToQString(model.Caption()));
    SetAccessibleName(*button, AccessibleText(model.Caption()));
    ApplyCommon(model, *button);
  });
  QObject::connect(button, &QPushButton::clicked, button, [&model] { model.Click(); });
  return button;
}

QCheckBox* ControlBinder::MakeCheckBox(CheckBox& model, QWidget* parent) {
  auto* box = new QCheckBox(parent);
  box->setObjectName(ToQString(model.Name()));
  auto sync = [this, &model, box] {
    const QSignalBlocker blocker(box);
    box->setText(ToQString(model.Caption()));
    SetAccessibleName(*box, AccessibleText(model.Caption()));
    box->setCheckState(CheckStateOf(model.Value()));
    box->setTristate(model.Value() == 2);
    ApplyCommon(model, *box);
  };
  Observe(model, sync);
  // Every change of state, whatever made it (mouse, keyboard, toggle(), an assistive tool),
  // reaches the model; the model's own changes arrive here with the signals blocked.
  QObject::connect(box, &QCheckBox::stateChanged, box, [&model, sync](int state) {
    model.SetValue(ValueOf(static_cast<Qt::CheckState>(state)));
    sync();  // the handler may have refused or replaced the value
  });
  return box;
}

QRadioButton* ControlBinder::MakeOption(OptionButton& model, QWidget* parent) {
  auto* option = new QRadioButton(parent);
  option->setObjectName(ToQString(model.Name()));
  auto sync = [this, &model, option] {
    const QSignalBlocker blocker(option);
    option->setText(ToQString(model.Caption()));
    SetAccessibleName(*option, AccessibleText(model.Caption()));
    if (option->isChecked() != model.Value()) {
      // Qt refuses to clear the checked button of an exclusive group; the model may.
      option->setAutoExclusive(false);
      option->setChecked(model.Value());
      option->setAutoExclusive(true);
    }
    ApplyCommon(model, *option);
  };
  Observe(model, sync);
  QObject::connect(option, &QRadioButton::toggled, option, [&model, sync](bool checked) {
    if (!checked) return;  // the group's model clears the others
    model.SetValue(true);
    sync();
  });
  return option;
}

QComboBox* ControlBinder::MakeComboBox(ComboBox& model, QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(ToQString(model.Name()));
  for (const std::string& item : model.Items()) combo->addItem(ToQString(item));
  auto sync = [this, &model, combo] {
    const QSignalBlocker blocker(combo);
    combo->setCurrentIndex(model.ListIndex());
    ApplyCommon(model, *combo);
  };
  Observe(model, sync);
  // Not `activated`: that is the user's choice only, and a selection made by code or by an
  // assistive tool must run the handler as well.
  QObject::connect(combo, &QComboBox::currentIndexChanged, combo, [&model, sync](int index) {
    model.SetListIndex(index);
    sync();
  });
  return combo;
}

QLineEdit* ControlBinder::MakeTextBox(TextBox& model, QWidget* parent) {
  return MakeLineEdit(model, false, parent);
}

QLineEdit* ControlBinder::MakeOutputBox(TextBox& model, QWidget* parent) {
  return MakeLineEdit(model, true, parent);
}

QLineEdit* ControlBinder::MakeLineEdit(TextBox& model, bool read_only, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(ToQString(model.Name()));
  edit->setReadOnly(read_only);
  auto sync = [this, &model, edit] {
    const QSignalBlocker blocker(edit);
    const QString text = ToQString(model.Text());
    if (edit->text() != text) edit->setText(text);  // leaves the cursor alone while typing
    ApplyCommon(model, *edit);
  };
  Observe(model, sync);
  // Not `textEdited`: an assistive tool writes the text with setText, which only `textChanged`
  // reports.
  QObject::connect(edit, &QLineEdit::textChanged, edit, [&model, sync](const QString& text) {
    model.SetText(text.toStdString());
    sync();
  });
  return edit;
}

QLabel* ControlBinder::MakeLabel(Label& model, QWidget* parent) {
  auto* label = new QLabel(parent);
  BindLabel(model, *label);
  return label;
}

void ControlBinder::BindLabel(Label& model, QLabel& label) {
  label.setObjectName(ToQString(model.Name()));
  label.setTextFormat(Qt::PlainText);
  Observe(model, [this, &model, &label] {
    label.setText(ToQString(model.Caption()));
    SetAccessibleName(label, AccessibleText(model.Caption()));
    ApplyCommon(model, label);
    ApplyCaptionToNamed(model);
  });
}

void ControlBinder::BindPacedLabel(Label& model, QLabel& label) {
  BindLabel(model, label);
  auto* paced = new PacedUpdate(model.Observer(), &label);
  model.SetObserver([paced] { paced->Request(); });
}

QGroupBox* ControlBinder::MakeFrame(Frame& model, QWidget* parent) {
  auto* frame = new QGroupBox(parent);
  frame->setObjectName(ToQString(model.Name()));
  Observe(model, [this, &model, frame] {
    frame->setTitle(ToQString(model.Caption()));
    SetAccessibleName(*frame, AccessibleText(model.Caption()));
    ApplyCommon(model, *frame);
    ApplyCaptionToNamed(model);
  });
  return frame;
}

QFrame* ControlBinder::MakeLine(Line& model, Qt::Orientation orientation, QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(orientation == Qt::Horizontal ? QFrame::HLine : QFrame::VLine);
  line->setFrameShadow(QFrame::Sunken);
  BindLine(model, *line);
  return line;
}

void ControlBinder::BindLine(Line& model, QWidget& line) {
  line.setObjectName(ToQString(model.Name()));
  Observe(model, [&model, &line] {
    line.setHidden(!model.Visible());
    line.setEnabled(model.Enabled());
  });
}

void ControlBinder::BindMenu(Control& model, QMenu& menu) {
  menu.setObjectName(ToQString(model.Name()));
  Observe(model, [&model, &menu] {
    menu.setTitle(ToQString(model.Caption()));
    SetAccessibleName(menu, AccessibleText(model.Caption()));
    menu.menuAction()->setVisible(model.Visible());
    menu.setEnabled(model.Enabled());
  });
}

void ControlBinder::BindMenuItem(Button& model, QAction& action) {
  action.setObjectName(ToQString(model.Name()));
  Observe(model, [&model, &action] {
    const QSignalBlocker blocker(&action);
    action.setText(ToQString(model.Caption()));
    action.setVisible(model.Visible());
    action.setEnabled(model.Enabled());
    action.setToolTip(ToQString(model.ToolTip()));
  });
  QObject::connect(&action, &QAction::triggered, &action, [&model] { model.Click(); });
}

void ControlBinder::BindStatusPanel(StatusPanel& model, QLabel& panel,
                                    std::function<void(const std::string&)> on_text_change) {
  panel.setObjectName(ToQString(model.Key()));
  panel.setTextFormat(Qt::PlainText);
  Observe(model, [this, &model, &panel, on_text_change = std::move(on_text_change),
                  shown = model.Text()]() mutable {
    panel.setText(ToQString(model.Text()));
    SetAccessibleName(panel, AccessibleText(model.Text()));
    ApplyCommon(model, panel);
    // A fixed-width panel may cut a long message; the tip shows all of it.
    if (model.ToolTip().empty()) SetToolTip(panel, ToQString(model.Text()));
    if (model.Text() == shown) return;
    shown = model.Text();
    if (on_text_change) on_text_change(shown);
  });
}

void ControlBinder::BindProgressBar(ProgressBar& model, QProgressBar& bar) {
  bar.setObjectName(ToQString(model.Name()));
  bar.setTextVisible(false);
  Observe(model, [this, &model, &bar] {
    const QSignalBlocker blocker(&bar);
    bar.setRange(model.Min(), model.Max());
    bar.setValue(model.Value());
    ApplyCommon(model, bar);
  });
}

}  // namespace korvane
