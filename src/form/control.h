#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

namespace korvane {

/// What every control of the window has: a name, visibility, enabled state, a tool tip, and one
/// observer (the view) told about every change so it can update its widget.
class Control {
 public:
  explicit Control(std::string name, std::string caption = {})
      : name_(std::move(name)), caption_(std::move(caption)) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return name_; }

  /// The caption of buttons, labels, frames and boxes; the text of text boxes.
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  const std::string& ToolTip() const { return tool_tip_; }
  void SetToolTip(std::string tip) { tool_tip_ = std::move(tip); }

  /// Colour as 0xBBGGRR; kSystemButtonFace until set.
  static constexpr std::uint32_t kSystemButtonFace = 0x8000000F;
  std::uint32_t BackColor() const { return back_color_; }
  void SetBackColor(std::uint32_t color);

  void SetObserver(std::function<void()> observer) { observer_ = std::move(observer); }
  const std::function<void()>& Observer() const { return observer_; }

 protected:
  void NotifyObserver() {
    if (observer_) observer_();
  }
  /// Sets the caption without telling anyone; for the change-handler controls.
  bool StoreCaption(const std::string& caption);

 private:
  std::string name_;
  std::string caption_;
  std::string tool_tip_;
  bool visible_ = true;
  bool enabled_ = true;
  std::uint32_t back_color_ = kSystemButtonFace;
  std::function<void()> observer_;
};

/// A handler slot: runs when the control's value changes, from code or from the view.
using Handler = std::function<void()>;

}  // namespace korvane
