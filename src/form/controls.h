#pragma once

#include <string>
#include <utility>
#include <vector>

#include "form/control.h"

namespace korvane {

/// Group boxes, lines, menus and labels: a caption, nothing to handle.
using Frame = Control;
using Line = Control;
using Label = Control;

/// A push button or menu item; `Click` runs its handler as a user's click does.
class Button : public Control {
 public:
  using Control::Control;
  void SetOnClick(Handler handler) { on_click_ = std::move(handler); }
  void Click() {
    if (on_click_) on_click_();
  }

 private:
  Handler on_click_;
};

/// A text box; changing its text runs the change handler.
class TextBox : public Control {
 public:
  using Control::Control;
  const std::string& Text() const { return Caption(); }
  void SetText(const std::string& text);
  /// The program tidies a value it has just read (clamped, rounded): the box shows the tidy
  /// form, but no change handler runs, because nobody changed the setting.
  void ShowNormalised(const std::string& text);
  void SetOnChange(Handler handler) { on_change_ = std::move(handler); }

 private:
  Handler on_change_;
};

/// A check box: 0 unticked, 1 ticked, 2 greyed; a change of value runs the click handler.
class CheckBox : public Control {
 public:
  using Control::Control;
  int Value() const { return value_; }
  void SetValue(int value);
  void SetOnClick(Handler handler) { on_click_ = std::move(handler); }

 private:
  int value_ = 0;
  Handler on_click_;
};

/// A drop-down list; a change of the selected index runs the click handler. -1 = none.
class ComboBox : public Control {
 public:
  ComboBox(std::string name, std::vector<std::string> items)
      : Control(std::move(name)), items_(std::move(items)) {}
  const std::vector<std::string>& Items() const { return items_; }
  int ListIndex() const { return list_index_; }
  /// Out-of-range indices are ignored.
  void SetListIndex(int index);
  std::string SelectedText() const;
  void SetOnClick(Handler handler) { on_click_ = std::move(handler); }

 private:
  std::vector<std::string> items_;
  int list_index_ = -1;
  Handler on_click_;
};

class OptionGroup;

/// One option button of a group; selecting it clears the others of its group.
class OptionButton : public Control {
 public:
  using Control::Control;
  bool Value() const { return value_; }
  /// Selecting a button that was not selected runs its click handler; nothing else does.
  void SetValue(bool value);
  void SetOnClick(Handler handler) { on_click_ = std::move(handler); }

 private:
  friend class OptionGroup;
  void Store(bool value);
  OptionGroup* group_ = nullptr;
  bool value_ = false;
  Handler on_click_;
};

/// The option buttons that exclude each other (a control array inside one frame).
class OptionGroup {
 public:
  void Add(OptionButton& button) {
    button.group_ = this;
    members_.push_back(&button);
  }
  void SelectOnly(OptionButton& chosen);

 private:
  std::vector<OptionButton*> members_;
};

/// One panel of the status bar.
class StatusPanel : public Control {
 public:
  StatusPanel(std::string key, int width) : Control(std::move(key)), width_(width) {}
  const std::string& Key() const { return Name(); }
  const std::string& Text() const { return Caption(); }
  void SetText(const std::string& text) { SetCaption(text); }
  int Width() const { return width_; }

 private:
  int width_;
};

/// The progress bar laid over the status bar's second panel.
class ProgressBar : public Control {
 public:
  using Control::Control;
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Value() const { return value_; }
  void SetMin(int min);
  void SetMax(int max);
  /// Values outside min..max are kept within them.
  void SetValue(int value);
  void Add(int step) { SetValue(value_ + step); }

 private:
  int min_ = 0;
  int max_ = 100;
  int value_ = 0;
};

}  // namespace korvane
