#include "tools/companions/UntKelvora.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "app/UntException.h"
#include "ui/Look.h"

namespace vantrel {

TFrmKelvora::TFrmKelvora(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("FrmKelvora"));
  setWindowTitle(QStringLiteral("温度换算"));
  ApplyLook(this);

  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(12, 12, 12, 8);
  layout->setHorizontalSpacing(8);
  layout->setVerticalSpacing(8);
  const auto addRow = [&](int row, const QString& caption, const QString& name,
                          const QString& hint) {
    auto* label = new QLabel(caption, this);
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setToolTip(hint);
    edit->setMinimumWidth(180);
    label->setBuddy(edit);
    layout->addWidget(label, row, 0);
    layout->addWidget(edit, row, 1);
    return edit;
  };
  FlatEditC = addRow(0, QStringLiteral("摄氏度 ℃(&C):"), QStringLiteral("FlatEditC"),
                     QStringLiteral("输入摄氏温度"));
  FlatEditF = addRow(1, QStringLiteral("华氏度 ℉(&F):"), QStringLiteral("FlatEditF"),
                     QStringLiteral("输入华氏温度"));
  FlatEditK = addRow(2, QStringLiteral("开尔文 K(&K):"), QStringLiteral("FlatEditK"),
                     QStringLiteral("输入开尔文温度"));
  LabelNote = new QLabel(this);
  LabelNote->setObjectName(QStringLiteral("LabelNote"));
  LabelNote->setStyleSheet(QStringLiteral("color: rgb(192,0,0);"));
  layout->addWidget(LabelNote, 3, 0, 1, 2);
  setFixedSize(sizeHint());

  // Only the user's own edits convert, so filling the other two fields never echoes.
  connect(FlatEditC, &QLineEdit::textEdited, this,
          [this] { Guarded(this, [this] { FlatEditCChange(); }); });
  connect(FlatEditF, &QLineEdit::textEdited, this,
          [this] { Guarded(this, [this] { FlatEditFChange(); }); });
  connect(FlatEditK, &QLineEdit::textEdited, this,
          [this] { Guarded(this, [this] { FlatEditKChange(); }); });
}

void TFrmKelvora::FlatEditCChange() {
  Recompute(TemperatureScale::Celsius);
}
void TFrmKelvora::FlatEditFChange() {
  Recompute(TemperatureScale::Fahrenheit);
}
void TFrmKelvora::FlatEditKChange() {
  Recompute(TemperatureScale::Kelvin);
}

QLineEdit* TFrmKelvora::Field(TemperatureScale scale) const {
  switch (scale) {
    case TemperatureScale::Celsius:
      return FlatEditC;
    case TemperatureScale::Fahrenheit:
      return FlatEditF;
    case TemperatureScale::Kelvin:
      break;
  }
  return FlatEditK;
}

void TFrmKelvora::Recompute(TemperatureScale from) {
  const TemperatureTexts result = ConvertTemperature(from, Field(from)->text().toStdString());
  for (TemperatureScale scale :
       {TemperatureScale::Celsius, TemperatureScale::Fahrenheit, TemperatureScale::Kelvin}) {
    if (scale != from) Field(scale)->setText(QString::fromStdString(result[scale]));
  }
  LabelNote->setText(QString::fromStdString(result.note));
}

}  // namespace vantrel
