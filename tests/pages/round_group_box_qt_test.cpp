#include "pages/round_group_box_widget.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>

#include "testkit/qt_app.h"

namespace {

// Whether a pixel of row y between x0 and x1 has the colour.
bool RowHolds(const QImage& image, int y, int x0, int x1, QColor colour) {
  for (int x = x0; x < x1; ++x) {
    if (image.pixel(x, y) == colour.rgb()) return true;
  }
  return false;
}

TEST(RoundGroupBox, FrameAndCaptionFollowTheEnabledState) {
  RoundGroupBox box("検索条件");
  box.resize(200, 80);
  const QPalette& palette = box.palette();
  QImage enabled = box.grab().toImage();
  // The shadow line of the frame's left edge, halfway down.
  EXPECT_TRUE(RowHolds(enabled, 40, 0, 3, palette.color(QPalette::Dark)));
  EXPECT_TRUE(RowHolds(enabled, 8, 10, 80, palette.color(QPalette::Active, QPalette::WindowText)));
  box.setEnabled(false);
  QImage disabled = box.grab().toImage();
  EXPECT_FALSE(RowHolds(disabled, 8, 10, 80, palette.color(QPalette::Active, QPalette::WindowText)))
      << "a disabled caption is engraved, not drawn in the text colour";
  EXPECT_TRUE(RowHolds(disabled, 8, 10, 80, palette.color(QPalette::Dark)));
}

TEST(RoundGroupBox, EmptyCaptionGivesTheFrameOnly) {
  RoundGroupBox box("");
  box.resize(120, 60);
  QImage image = box.grab().toImage();
  // The top line lies at half the height of an empty caption, unbroken by any caption.
  const int top = QFontMetrics(box.font()).boundingRect("  ").height() / 2;
  EXPECT_TRUE(RowHolds(image, 30, 0, 3, box.palette().color(QPalette::Dark)));
  for (int x = 20; x < 100; ++x) EXPECT_EQ(image.pixel(x, top), box.palette().color(QPalette::Dark).rgb()) << x;
}

// The rightmost column with dark ink above the frame's top line (the caption's upper half).
int RightmostInk(QGroupBox& box) {
  const QImage image = box.grab().toImage();
  const int frameTop = QFontMetrics(box.font()).boundingRect(" " + box.title() + " ").height() / 2;
  int rightmost = -1;
  for (int y = 0; y < frameTop - 1; ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(image.pixel(x, y)) < 128) rightmost = std::max(rightmost, x);
    }
  }
  return rightmost;
}

TEST(RoundGroupBox, AmpersandMarksTheShortcutInsteadOfShowing) {
  RoundGroupBox marked("履歴の数(&H)");
  RoundGroupBox plain("履歴の数(H)");
  for (RoundGroupBox* box : {&marked, &plain}) box->resize(200, 60);
  EXPECT_GT(RightmostInk(plain), 40);
  EXPECT_EQ(RightmostInk(marked), RightmostInk(plain)) << "the \"&\" takes no room of its own";
}

}  // namespace
