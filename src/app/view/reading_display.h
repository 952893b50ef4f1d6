#pragma once

#include <QWidget>
#include <array>

class QLabel;

namespace korvane {

/// The voltmeter-like reading: right-aligned fixed-pitch text, green on black, with five thin
/// white separator lines over it. Separator k sits on the boundary left of the last k + 2
/// character cells, wherever the font puts them at the screen's resolution.
class ReadingDisplay : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kSeparatorCount = 5;
  /// Widest reading the display must hold ("+0.00000000" is 11), with room for one more.
  static constexpr int kWidthInCharacters = 12;

  explicit ReadingDisplay(QWidget* parent = nullptr);

  QLabel& Text() { return *text_; }
  QWidget& Separator(int index) { return *separators_.at(static_cast<std::size_t>(index)); }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  /// x of the boundary `cells_from_right` character cells left of the text's right edge, in this
  /// widget's coordinates.
  double CellBoundaryX(int cells_from_right) const;
  void PlaceSeparators();

  QLabel* text_;
  std::array<QWidget*, kSeparatorCount> separators_{};
};

}  // namespace korvane
