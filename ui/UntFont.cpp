#include "ui/UntFont.h"

#include <QLabel>
#include <QMouseEvent>

#include "app/UntException.h"
#include "ui/UntFlash.h"

namespace vantrel {

TFrmFont::TFrmFont(QWidget* parent)
    : TFixedDialog(parent, QStringLiteral("FrmFont"), QStringLiteral("壬午年庆"), QSize(271, 282)) {
  InitPictures();
  // The picture is two pixels wider than the window: shown unscaled from the top left,
  // its last two columns fall outside.
  Image1 = new QLabel(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setGeometry(0, 0, 271, 282);
  Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Image1->setScaledContents(false);
  Image1->setPixmap(Picture(QStringLiteral(":/pictures/greeting.png")));
  Image1->installEventFilter(this);
}

bool TFrmFont::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Image1) {
    if (event->type() == QEvent::MouseButtonPress) {
      pressed_ = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
      return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      const bool click = pressed_ && mouse->button() == Qt::LeftButton &&
                         Image1->rect().contains(mouse->position().toPoint());
      if (mouse->button() == Qt::LeftButton) pressed_ = false;
      if (click) Guarded(this, [this] { Image1Click(); });
      return true;
    }
  }
  return TFixedDialog::eventFilter(watched, event);
}

void TFrmFont::Image1Click() {
  close();
}

}  // namespace vantrel
