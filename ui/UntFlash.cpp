#include "ui/UntFlash.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "app/UntException.h"
#include "ui/Look.h"

// Outside any namespace, as the resource initialiser requires.
static void InitPictureResources() {
  Q_INIT_RESOURCE(splash);
}

namespace vantrel {

namespace {

constexpr int kTickMs = 50;
constexpr int kVisibleSteps = 60;

}  // namespace

void InitPictures() {
  InitPictureResources();
}

TFrmFlash::TFrmFlash(QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Dialog) {
  InitPictures();
  setObjectName(QStringLiteral("FrmFlash"));
  // Nothing but the blends ever draws on the window: no background of its own.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  picture_ = vantrel::Picture(QStringLiteral(":/pictures/splash.png"))
                 .toImage()
                 .convertToFormat(QImage::Format_RGB32);
  Timer1 = new QTimer(this);
  Timer1->setInterval(kTickMs);
  connect(Timer1, &QTimer::timeout, this, [this] { Guarded(this, [this] { Timer1Timer(); }); });
  Guarded(this, [this] { FormCreate(); });
}

void TFrmFlash::FormCreate() {
  W = picture_.width();
  H = picture_.height();
  FadeStep_ = 0;
  // One pixel less than the picture each way.
  setFixedSize(W - 1, H - 1);
  Timer1->start();
}

bool TFrmFlash::TimerActive() const {
  return Timer1->isActive();
}

void TFrmFlash::Timer1Timer() {
  ++FadeStep_;
  if (FadeStep_ > kVisibleSteps) {
    Timer1->stop();
    hide();
    done(QDialog::Accepted);
    return;
  }
  blend(FadeStep_ & 0xFF);
  update();
}

void TFrmFlash::showEvent(QShowEvent* event) {
  // Centred on the screen, and the fade starts from what lies there now, before the
  // window covers it.
  if (const QScreen* s = screen()) move(s->geometry().center() - rect().center());
  captureBackground();
  QDialog::showEvent(event);
}

void TFrmFlash::captureBackground() {
  if (captured_) return;
  captured_ = true;
  QPixmap under;
  if (QScreen* s = screen()) under = s->grabWindow(0, x(), y(), width(), height());
  if (!under.isNull() && under.size() == size()) {
    backing_ = under.toImage().convertToFormat(QImage::Format_RGB32);
    return;
  }
  // Where the platform cannot grab the screen, the fade starts from the window colour.
  backing_ = QImage(size(), QImage::Format_RGB32);
  backing_.fill(palette().color(QPalette::Window));
}

void TFrmFlash::blend(int alpha) {
  if (backing_.isNull()) captureBackground();
  // Each channel: picture * a / 255 + window * (255 - a) / 255, rounded, over the
  // result of every blend before; the picture's last row and column fall outside.
  const int rows = std::min(backing_.height(), picture_.height());
  const int cols = std::min(backing_.width(), picture_.width());
  const int inv = 255 - alpha;
  const auto mix = [&](int p, int w) { return (p * alpha + w * inv + 127) / 255; };
  for (int yy = 0; yy < rows; ++yy) {
    const auto* src = reinterpret_cast<const QRgb*>(picture_.constScanLine(yy));
    auto* dst = reinterpret_cast<QRgb*>(backing_.scanLine(yy));
    for (int xx = 0; xx < cols; ++xx) {
      dst[xx] = qRgb(mix(qRed(src[xx]), qRed(dst[xx])), mix(qGreen(src[xx]), qGreen(dst[xx])),
                     mix(qBlue(src[xx]), qBlue(dst[xx])));
    }
  }
}

void TFrmFlash::paintEvent(QPaintEvent* /*event*/) {
  if (backing_.isNull()) return;
  QPainter painter(this);
  painter.drawImage(0, 0, backing_);
}

}  // namespace vantrel
