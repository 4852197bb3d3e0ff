// The greeting window: its size, the picture shown unscaled from the top left, and
// closing on a click anywhere on it.
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QTest>

#include "ui/UntFont.h"

namespace vantrel {
namespace {

TEST(FontTest, ShowsThePictureUnscaledInANarrowerWindow) {
  TFrmFont greeting(nullptr);
  greeting.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&greeting));

  EXPECT_EQ(greeting.windowTitle(), QStringLiteral("壬午年庆"));
  EXPECT_EQ(greeting.size(), QSize(271, 282));
  EXPECT_EQ(greeting.minimumSize(), greeting.maximumSize());
  EXPECT_EQ(greeting.Image1->geometry(), QRect(0, 0, 271, 282));

  const QImage picture = QImage(QStringLiteral(":/pictures/greeting.png"));
  ASSERT_EQ(picture.size(), QSize(273, 282));
  const QImage shown = greeting.Image1->grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(shown.size(), QSize(271, 282));
  // Pixel for pixel from the top left; the picture's last two columns are cut off.
  EXPECT_EQ(shown, picture.convertToFormat(QImage::Format_RGB32).copy(0, 0, 271, 282));
}

class FontClickTest : public ::testing::TestWithParam<QPoint> {};

TEST_P(FontClickTest, ClickAnywhereOnThePictureCloses) {
  TFrmFont greeting(nullptr);
  greeting.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&greeting));

  QTest::mouseClick(greeting.Image1, Qt::LeftButton, {}, GetParam());

  EXPECT_FALSE(greeting.isVisible());
}

INSTANTIATE_TEST_SUITE_P(Corners, FontClickTest,
                         ::testing::Values(QPoint(0, 0), QPoint(135, 141), QPoint(270, 0),
                                           QPoint(0, 281), QPoint(270, 281)));

TEST(FontTest, RightClickLeavesItOpen) {
  TFrmFont greeting(nullptr);
  greeting.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&greeting));

  QTest::mouseClick(greeting.Image1, Qt::RightButton, {}, QPoint(100, 100));

  EXPECT_TRUE(greeting.isVisible());
}

}  // namespace
}  // namespace vantrel
