#include "ui/UntAddFl.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/UntException.h"
#include "catalogue/UntDM.h"

namespace vantrel {

TFrmAddFl::TFrmAddFl(TDMMain& dm, QWidget* parent)
    : TFixedDialog(parent, QStringLiteral("FrmAddFl"), QStringLiteral("设置类别"), QSize(188, 113)),
      dm_(dm) {
  Label1 = new QLabel(QStringLiteral("类别名称(&N):"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(8, 4, 172, 14);
  FlatEdit1 = new QLineEdit(this);
  FlatEdit1->setObjectName(QStringLiteral("FlatEdit1"));
  FlatEdit1->setGeometry(8, 19, 172, 20);
  SetHint(FlatEdit1, QStringLiteral("在此输入类别的名称,如:长度"));
  Label1->setBuddy(FlatEdit1);

  Label2 = new QLabel(QStringLiteral("该类别的基本计量单位(&U):"), this);
  Label2->setObjectName(QStringLiteral("Label2"));
  Label2->setGeometry(8, 43, 172, 14);
  FlatEdit2 = new QLineEdit(this);
  FlatEdit2->setObjectName(QStringLiteral("FlatEdit2"));
  FlatEdit2->setGeometry(8, 58, 172, 20);
  SetHint(FlatEdit2, QStringLiteral("在此输入该类别的基本计量单位,如:米"));
  Label2->setBuddy(FlatEdit2);

  FlatButton1 = MakeButton(this, "FlatButton1", "确认(&O)", "", 44, 86);
  FlatButton2 = MakeButton(this, "FlatButton2", "取消(&C)", "", 114, 86);

  setTabOrder(FlatEdit1, FlatEdit2);
  setTabOrder(FlatEdit2, FlatButton1);
  setTabOrder(FlatButton1, FlatButton2);
  FlatEdit1->setFocus();

  connect(FlatButton1, &QPushButton::clicked, this,
          [this] { Guarded(this, [this] { FlatButton1Click(); }); });
  connect(FlatButton2, &QPushButton::clicked, this,
          [this] { Guarded(this, [this] { FlatButton2Click(); }); });
  InstallKeyPreview();
  Guarded(this, [this] { FormCreate(); });
}

void TFrmAddFl::FormCreate() {
  IsModify = false;
}

void TFrmAddFl::KeyPress(QObject* /*target*/, char32_t& key) {
  FormKeyPress(key);
}

void TFrmAddFl::FormKeyPress(char32_t& key) {
  if (key == 27) {
    key = 0;
    FlatButton2->click();
  } else if (key == 13) {
    key = 0;
    FlatButton1->click();
  }
}

void TFrmAddFl::FlatButton1Click() {
  if (IsBlank(FlatEdit1->text())) {
    refuse(FlatEdit1, MessageIcon::Information, QStringLiteral("请输入类别名称!"));
    return;
  }
  if (IsBlank(FlatEdit2->text())) {
    refuse(FlatEdit2, MessageIcon::Information, QStringLiteral("请输入基本计量单位名称!"));
    return;
  }
  // Names are stored exactly as typed, so one that cannot be stored whole is refused.
  if (auto problem = NameProblem(FlatEdit1->text(), QStringLiteral("类别名称"))) {
    refuse(FlatEdit1, MessageIcon::Information, *problem);
    return;
  }
  if (auto problem = NameProblem(FlatEdit2->text(), QStringLiteral("基本计量单位名称"))) {
    refuse(FlatEdit2, MessageIcon::Information, *problem);
    return;
  }
  if (!IsModify && dm_.CategoryExists(FlatEdit1->text().toStdString())) {
    refuse(FlatEdit1, MessageIcon::Warning, QStringLiteral("此类别已存在!"));
    return;
  }
  accept();
}

void TFrmAddFl::FlatButton2Click() {
  reject();
}

}  // namespace vantrel
