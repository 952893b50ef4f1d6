#include "form/control.h"

namespace korvane {

void Control::SetCaption(const std::string& caption) {
  if (StoreCaption(caption)) NotifyObserver();
}

bool Control::StoreCaption(const std::string& caption) {
  if (caption == caption_) return false;
  caption_ = caption;
  return true;
}

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  NotifyObserver();
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  NotifyObserver();
}

void Control::SetBackColor(std::uint32_t color) {
  if (color == back_color_) return;
  back_color_ = color;
  NotifyObserver();
}

}  // namespace korvane
