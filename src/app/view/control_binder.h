#pragma once

#include <Qt>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "form/controls.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QWidget;

namespace korvane {

/// Creates the widget of each control model and binds the two both ways: a user action sets the
/// model (which runs the program's handler), a model change updates the widget with its signals
/// blocked. Every widget is named after its control and gets an accessible name from its caption
/// or from the caption of the label or frame that describes it. The binder releases the models'
/// observers when it dies, so the form may outlive the window.
class ControlBinder {
 public:
  ControlBinder() = default;
  ~ControlBinder();
  ControlBinder(const ControlBinder&) = delete;
  ControlBinder& operator=(const ControlBinder&) = delete;

  QPushButton* MakeButton(Button& model, QWidget* parent);
  QCheckBox* MakeCheckBox(CheckBox& model, QWidget* parent);
  QRadioButton* MakeOption(OptionButton& model, QWidget* parent);
  QComboBox* MakeComboBox(ComboBox& model, QWidget* parent);
  QLineEdit* MakeTextBox(TextBox& model, QWidget* parent);
  /// A box the user cannot type into; only the program changes its text.
  QLineEdit* MakeOutputBox(TextBox& model, QWidget* parent);
  QLabel* MakeLabel(Label& model, QWidget* parent);
  QGroupBox* MakeFrame(Frame& model, QWidget* parent);
  QFrame* MakeLine(Line& model, Qt::Orientation orientation, QWidget* parent);

  void BindLabel(Label& model, QLabel& label);
  /// As BindLabel, but the label follows the model at most once per display frame.
  void BindPacedLabel(Label& model, QLabel& label);
  /// Visibility and enabled state of a line drawn by its owner.
  void BindLine(Line& model, QWidget& line);
  void BindMenu(Control& model, QMenu& menu);
  void BindMenuItem(Button& model, QAction& action);
  /// `on_text_change` hears every new text of the panel (not the one it starts with).
  void BindStatusPanel(StatusPanel& model, QLabel& panel,
                       std::function<void(const std::string&)> on_text_change = {});
  void BindProgressBar(ProgressBar& model, QProgressBar& bar);

  /// `named` takes the caption of `describing` (a label or frame) as its accessible name and
  /// keeps it when that caption changes.
  void NameAfter(const Control& describing, QWidget& named);

 private:
  /// Makes `sync` the model's observer and runs it once so the widget starts from the model.
  void Observe(Control& model, std::function<void()> sync);
  /// Visibility, enabled state, tool tip and back colour: what every widget takes from its model.
  void ApplyCommon(const Control& model, QWidget& widget) const;
  /// Keeps the accessible names of the widgets that `model` describes.
  void ApplyCaptionToNamed(const Control& model) const;
  QLineEdit* MakeLineEdit(TextBox& model, bool read_only, QWidget* parent);

  std::vector<Control*> observed_;
  std::unordered_map<const Control*, std::vector<QWidget*>> named_by_;
};

}  // namespace korvane
