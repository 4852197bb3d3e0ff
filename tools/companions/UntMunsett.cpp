#include "tools/companions/UntMunsett.h"

#include <QClipboard>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/UntException.h"
#include "tools/companions/ChineseAmount.h"
#include "ui/Look.h"

namespace vantrel {

TFrmMunsett::TFrmMunsett(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("FrmMunsett"));
  setWindowTitle(QStringLiteral("金额大写转换"));
  ApplyLook(this);

  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(12, 12, 12, 8);
  layout->setHorizontalSpacing(8);
  layout->setVerticalSpacing(8);

  auto* labelJe = new QLabel(QStringLiteral("小写金额(&A):"), this);
  FlatEditJe = new QLineEdit(this);
  FlatEditJe->setObjectName(QStringLiteral("FlatEditJe"));
  FlatEditJe->setToolTip(QStringLiteral("输入金额，如 1234.56，最多到分"));
  labelJe->setBuddy(FlatEditJe);

  auto* labelDx = new QLabel(QStringLiteral("大写金额:"), this);
  FlatEditDx = new QLineEdit(this);
  FlatEditDx->setObjectName(QStringLiteral("FlatEditDx"));
  FlatEditDx->setReadOnly(true);
  // Room for the longest amount: 负 and 玖仟玖佰玖拾玖亿…玖角玖分.
  FlatEditDx->setMinimumWidth(FlatEditDx->fontMetrics().horizontalAdvance(QString(31, u'玖')));

  FlatButtonCopy = new QPushButton(QStringLiteral("复制(&C)"), this);
  FlatButtonCopy->setObjectName(QStringLiteral("FlatButtonCopy"));
  FlatButtonCopy->setToolTip(QStringLiteral("把大写金额复制到剪贴板"));
  FlatButtonCopy->setEnabled(false);

  LabelNote = new QLabel(this);
  LabelNote->setObjectName(QStringLiteral("LabelNote"));

  layout->addWidget(labelJe, 0, 0);
  layout->addWidget(FlatEditJe, 0, 1);
  layout->addWidget(labelDx, 1, 0);
  layout->addWidget(FlatEditDx, 1, 1);
  layout->addWidget(FlatButtonCopy, 1, 2);
  layout->addWidget(LabelNote, 2, 0, 1, 3);
  setFixedSize(sizeHint());

  connect(FlatEditJe, &QLineEdit::textChanged, this,
          [this] { Guarded(this, [this] { FlatEditJeChange(); }); });
  connect(FlatButtonCopy, &QPushButton::clicked, this,
          [this] { Guarded(this, [this] { FlatButtonCopyClick(); }); });
}

void TFrmMunsett::FlatEditJeChange() {
  const AmountText result = AmountInCapitals(FlatEditJe->text().toStdString());
  // A refused amount leaves the result empty, so a stale or wrong text is never copied.
  FlatEditDx->setText(QString::fromStdString(result.text));
  FlatButtonCopy->setEnabled(!result.text.empty());
  LabelNote->setStyleSheet(result.status == AmountStatus::Ok || result.status == AmountStatus::Empty
                               ? QString()
                               : QStringLiteral("color: rgb(192,0,0);"));
  LabelNote->setText(QString::fromStdString(AmountMessage(result.status)));
}

void TFrmMunsett::FlatButtonCopyClick() {
  if (FlatEditDx->text().isEmpty()) return;
  QGuiApplication::clipboard()->setText(FlatEditDx->text());
  LabelNote->setStyleSheet(QString());
  LabelNote->setText(QStringLiteral("已复制到剪贴板"));
}

}  // namespace vantrel
