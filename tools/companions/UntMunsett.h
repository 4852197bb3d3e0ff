// The amount window: an amount of money typed in digits, shown in Chinese capital
// numerals ready to copy.
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vantrel {

class TFrmMunsett : public QWidget {
  Q_OBJECT

 public:
  explicit TFrmMunsett(QWidget* parent = nullptr);

  void FlatEditJeChange();
  void FlatButtonCopyClick();

 private:
  QLineEdit* FlatEditJe = nullptr;
  QLineEdit* FlatEditDx = nullptr;
  QPushButton* FlatButtonCopy = nullptr;
  QLabel* LabelNote = nullptr;
};

}  // namespace vantrel
