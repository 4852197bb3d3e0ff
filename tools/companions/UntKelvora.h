// The temperature window: Celsius, Fahrenheit and Kelvin, each converted into the
// other two as the user types.
#pragma once

#include <QWidget>

#include "tools/companions/Temperature.h"

class QLabel;
class QLineEdit;

namespace vantrel {

class TFrmKelvora : public QWidget {
  Q_OBJECT

 public:
  explicit TFrmKelvora(QWidget* parent = nullptr);

  void FlatEditCChange();
  void FlatEditFChange();
  void FlatEditKChange();

 private:
  void Recompute(TemperatureScale from);
  QLineEdit* Field(TemperatureScale scale) const;

  QLineEdit* FlatEditC = nullptr;
  QLineEdit* FlatEditF = nullptr;
  QLineEdit* FlatEditK = nullptr;
  QLabel* LabelNote = nullptr;
};

}  // namespace vantrel
