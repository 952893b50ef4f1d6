#include "form/controls.h"

#include <algorithm>

namespace korvane {

void TextBox::SetText(const std::string& text) {
  if (!StoreCaption(text)) return;
  NotifyObserver();
  if (on_change_) on_change_();
}

void TextBox::ShowNormalised(const std::string& text) {
  SetCaption(text);
}

void CheckBox::SetValue(int value) {
  if (value == value_) return;
  value_ = value;
  NotifyObserver();
  if (on_click_) on_click_();
}

void ComboBox::SetListIndex(int index) {
  if (index == list_index_ || index < -1 || index >= static_cast<int>(items_.size())) return;
  list_index_ = index;
  NotifyObserver();
  if (on_click_) on_click_();
}

std::string ComboBox::SelectedText() const {
  return list_index_ >= 0 ? items_[static_cast<std::size_t>(list_index_)] : std::string{};
}

void OptionButton::Store(bool value) {
  if (value == value_) return;
  value_ = value;
  NotifyObserver();
}

void OptionButton::SetValue(bool value) {
  if (value == value_) return;
  if (!value) {
    Store(false);
    return;
  }
  if (group_ != nullptr) {
    group_->SelectOnly(*this);
  } else {
    Store(true);
  }
  if (on_click_) on_click_();
}

void OptionGroup::SelectOnly(OptionButton& chosen) {
  for (auto* member : members_) member->Store(member == &chosen);
}

void ProgressBar::SetMin(int min) {
  if (min == min_) return;
  min_ = min;
  value_ = std::max(value_, min_);
  NotifyObserver();
}

void ProgressBar::SetMax(int max) {
  if (max == max_) return;
  max_ = max;
  value_ = std::min(value_, max_);
  NotifyObserver();
}

void ProgressBar::SetValue(int value) {
  value = std::clamp(value, min_, std::max(min_, max_));
  if (value == value_) return;
  value_ = value;
  NotifyObserver();
}

}  // namespace korvane
