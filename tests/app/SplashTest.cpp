#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include "ui/UntFlash.h"

namespace vantrel {
namespace {

TEST(Splash, IsOnePixelSmallerThanItsPictureFramelessAndOnTop) {
  TFrmFlash flash;
  EXPECT_EQ(flash.Picture().size(), QSize(273, 282));
  EXPECT_FALSE(flash.Picture().hasAlphaChannel());
  EXPECT_EQ(flash.size(), QSize(272, 281));
  EXPECT_TRUE(flash.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(flash.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(flash.TimerActive());
  EXPECT_EQ(flash.FadeStep(), 0);
}

TEST(Splash, OtherPicturesHaveTheirSizes) {
  InitPictures();
  EXPECT_EQ(QImage(QStringLiteral(":/pictures/about.png")).size(), QSize(90, 137));
  EXPECT_EQ(QImage(QStringLiteral(":/pictures/greeting.png")).size(), QSize(273, 282));
}

// Share of the picture in the backing, over the pixels where picture and start differ.
double PictureWeight(const QImage& start, const QImage& now, const QImage& picture) {
  double sum = 0;
  int n = 0;
  for (int y = 0; y < now.height(); ++y) {
    for (int x = 0; x < now.width(); ++x) {
      const int from = qGreen(start.pixel(x, y)), to = qGreen(picture.pixel(x, y));
      if (std::abs(to - from) < 100) continue;
      sum += double(qGreen(now.pixel(x, y)) - from) / (to - from);
      ++n;
    }
  }
  return n ? sum / n : 0;
}

TEST(Splash, BlendsAccumulateAndTheSixtyFirstTickCloses) {
  TFrmFlash flash;
  flash.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&flash));
  // The timer is driven by hand from here on.
  const QImage start = flash.Backing();
  ASSERT_EQ(start.size(), QSize(272, 281));

  for (int tick = 1; tick <= 20; ++tick) flash.Timer1Timer();
  // alpha 1 to 20, each over the last: about 57 % (a single blend at 20 would be 8 %).
  EXPECT_NEAR(PictureWeight(start, flash.Backing(), flash.Picture()), 0.57, 0.03);
  for (int tick = 21; tick <= 40; ++tick) flash.Timer1Timer();
  EXPECT_NEAR(PictureWeight(start, flash.Backing(), flash.Picture()), 0.97, 0.02);
  for (int tick = 41; tick <= 60; ++tick) flash.Timer1Timer();

  EXPECT_EQ(flash.FadeStep(), 60);
  EXPECT_TRUE(flash.isVisible());
  EXPECT_TRUE(flash.TimerActive());
  EXPECT_GT(PictureWeight(start, flash.Backing(), flash.Picture()), 0.98);
  const QImage at60 = flash.Backing();

  flash.Timer1Timer();
  EXPECT_EQ(flash.FadeStep(), 61);
  EXPECT_FALSE(flash.isVisible());
  EXPECT_FALSE(flash.TimerActive());
  EXPECT_EQ(flash.result(), QDialog::Accepted);
  EXPECT_EQ(flash.Backing(), at60);
}

TEST(Splash, ModalDisplayEndsByItselfAfterTheFade) {
  TFrmFlash flash;
  QElapsedTimer clock;
  clock.start();
  flash.exec();
  EXPECT_EQ(flash.FadeStep(), 61);
  EXPECT_GE(clock.elapsed(), 61 * 50 - 50);
  QTest::keyClick(&flash, Qt::Key_Escape);  // no effect once closed, none before either
  EXPECT_FALSE(flash.isVisible());
}

}  // namespace
}  // namespace vantrel
