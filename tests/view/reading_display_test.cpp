#include "app/view/reading_display.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QLabel>

namespace korvane {
namespace {

/// Right edge of the text area of the display's label, in the display's coordinates.
double TextRightEdge(QLabel& text) {
  const QRect area = text.contentsRect();
  return text.x() + area.x() + area.width();
}

bool HasGreenIn(const QImage& image, int column) {
  for (int row = 0; row < image.height(); ++row) {
    if (qGreen(image.pixel(column, row)) > 128) return true;
  }
  return false;
}

TEST(ReadingDisplayTest, TheWidestReadingsFitInFixedPitchCells) {
  ReadingDisplay display;
  QLabel& text = display.Text();
  const QFontMetricsF metrics(text.font());
  for (const char character : {'i', 'W', '.', '+', 'F'}) {
    EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char(character)),
              metrics.horizontalAdvance(QLatin1Char('0')))
        << "not fixed-pitch at '" << character << "'";
  }
  for (const char* widest : {"+0.00000000", "-0.00000000", "+OVERLOAD", "FFFFFFFB", "-8388608"}) {
    EXPECT_GE(text.contentsRect().width(), metrics.horizontalAdvance(widest)) << widest;
  }
}

TEST(ReadingDisplayTest, SeparatorsSitOnCharacterCellBoundariesOfTheRenderedText) {
  ReadingDisplay display;
  display.resize(display.sizeHint());
  QLabel& text = display.Text();
  text.setText("+0.00000000");
  const double cell = QFontMetricsF(text.font()).horizontalAdvance(QLatin1Char('0'));
  ASSERT_GT(cell, 10.0);

  const QImage rendered = text.grab().toImage();
  for (int index = 0; index < ReadingDisplay::kSeparatorCount; ++index) {
    SCOPED_TRACE(index);
    QWidget& separator = display.Separator(index);
    const double centre = separator.x() + separator.width() / 2.0;
    const double boundary = TextRightEdge(text) - (index + 2) * cell;
    EXPECT_NEAR(centre, boundary, 1.0);
    EXPECT_EQ(separator.y(), text.y());
    EXPECT_EQ(separator.height(), text.height());

    // Between two digits of the drawn text there is no ink; half a cell away there is.
    const int column = static_cast<int>(centre) - text.x();
    EXPECT_FALSE(HasGreenIn(rendered, column)) << "the line crosses a digit";
    EXPECT_TRUE(HasGreenIn(rendered, static_cast<int>(centre + cell / 2) - text.x()));
  }
}

}  // namespace
}  // namespace korvane
