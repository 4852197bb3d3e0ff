// The greeting window: the emblem with the release years of the three versions,
// closed by a click anywhere on it.
#pragma once

#include "ui/MaintenanceWindow.h"

class QLabel;

namespace vantrel {

class TFrmFont : public TFixedDialog {
  Q_OBJECT

 public:
  explicit TFrmFont(QWidget* parent);

  void Image1Click();

  QLabel* Image1 = nullptr;

 protected:
  // No key preview: Escape closes it as any dialog.
  void KeyPress(QObject* /*target*/, char32_t& /*key*/) override {}
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool pressed_ = false;  // a left press began on the picture
};

}  // namespace vantrel
