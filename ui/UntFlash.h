// The splash window: the program's emblem fading in over whatever lies under the
// window, shown modally on the first start of each calendar day, closing by itself.
#pragma once

#include <QDialog>
#include <QImage>

class QTimer;

namespace vantrel {

// Makes the pictures (":/pictures/splash.png", "about.png", "greeting.png") available;
// they live in a static library, so every window that shows one calls this first.
void InitPictures();

class TFrmFlash : public QDialog {
  Q_OBJECT

 public:
  explicit TFrmFlash(QWidget* parent = nullptr);

  void FormCreate();
  // One fade step: blends the picture once more, or closes the window after the last.
  void Timer1Timer();

  int FadeStep() const { return FadeStep_; }
  bool TimerActive() const;
  // What the window shows: the backing picture with every blend so far.
  const QImage& Backing() const { return backing_; }
  const QImage& Picture() const { return picture_; }

 protected:
  void showEvent(QShowEvent* event) override;
  // The splash ends only by its own timer, not by Escape.
  void reject() override {}
  void paintEvent(QPaintEvent* event) override;

 private:
  void captureBackground();
  void blend(int alpha);

  QImage picture_;  // the emblem, 273 x 282, never drawn directly
  QImage backing_;  // the window's content
  int W = 0;
  int H = 0;
  int FadeStep_ = 0;
  bool captured_ = false;
  QTimer* Timer1 = nullptr;
};

}  // namespace vantrel
