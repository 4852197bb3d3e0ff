#include "ui/UntAddDw.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cfenv>
#include <cmath>
#include <functional>

#include "app/UntException.h"
#include "catalogue/UntDM.h"
#include "conversion/CheckedMath.h"
#include "conversion/Errors.h"

namespace vantrel {

namespace {

QString Text(const std::string& utf8) {
  return QString::fromStdString(utf8);
}

// A number text read and rounded to a double.
double ReadDouble(std::string_view text) {
  return RoundToDouble(ReadNumber(text));
}

// a × b or a / b in extended precision, rounded once to a double.
double Product(Extended a, Extended b) {
  return RoundToDouble(Checked(a, b, std::multiplies<Extended>()));
}

double Quotient(Extended a, Extended b) {
  return RoundToDouble(Checked(a, b, std::divides<Extended>()));
}

// n × a / b in extended precision, the quotient rounded once to a double.
double ProductQuotient(Extended n, Extended a, Extended b) {
  return Quotient(Checked(n, a, std::multiplies<Extended>()), b);
}

const std::string& At(const std::vector<std::string>& list, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= list.size())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return list[static_cast<std::size_t>(index)];
}

}  // namespace

TFrmAddDw::TFrmAddDw(TDMMain& dm, QWidget* parent)
    : TFixedDialog(parent, QStringLiteral("FrmAddDw"), QStringLiteral("设置换算单位"),
                   QSize(238, 117)),
      dm_(dm) {
  Label1 = new QLabel(QStringLiteral("单位名称(&N):"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(6, 4, 226, 14);
  FlatEdit1 = new QLineEdit(this);
  FlatEdit1->setObjectName(QStringLiteral("FlatEdit1"));
  FlatEdit1->setGeometry(6, 19, 226, 20);
  SetHint(FlatEdit1, QStringLiteral("在此输入换算单位的名称,如:千米"));
  Label1->setBuddy(FlatEdit1);

  GroupBox1 = new QGroupBox(QStringLiteral("每份本单位等于(&U):"), this);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  GroupBox1->setGeometry(6, 43, 226, 44);
  FlatEdit2 = new QLineEdit(GroupBox1);
  FlatEdit2->setObjectName(QStringLiteral("FlatEdit2"));
  FlatEdit2->setGeometry(8, 17, 74, 20);
  // Typed characters come through key presses only, where the filter sees them.
  FlatEdit2->setAttribute(Qt::WA_InputMethodEnabled, false);
  SetHint(FlatEdit2, QStringLiteral("在此输入相应的比例,如:1000"));
  FlatComboBox1 = new QComboBox(GroupBox1);
  FlatComboBox1->setObjectName(QStringLiteral("FlatComboBox1"));
  FlatComboBox1->setEditable(false);
  FlatComboBox1->setGeometry(86, 17, 132, 20);
  SetHint(FlatComboBox1, QStringLiteral("选择对应的单位,如:米"));

  FlatButton1 = MakeButton(this, "FlatButton1", "确认(&O)", "", 96, 91);
  FlatButton2 = MakeButton(this, "FlatButton2", "取消(&C)", "", 166, 91);

  setTabOrder(FlatButton1, FlatButton2);
  setTabOrder(FlatButton2, FlatEdit2);
  setTabOrder(FlatEdit2, FlatComboBox1);
  setTabOrder(FlatComboBox1, FlatEdit1);
  FlatEdit1->setFocus();

  auto run = [this](void (TFrmAddDw::*handler)()) {
    return [this, handler] { Guarded(this, [this, handler] { (this->*handler)(); }); };
  };
  connect(FlatButton1, &QPushButton::clicked, this, run(&TFrmAddDw::FlatButton1Click));
  connect(FlatButton2, &QPushButton::clicked, this, run(&TFrmAddDw::FlatButton2Click));
  // Only the user's choice: positions set by code never reach the handler.
  connect(FlatComboBox1, qOverload<int>(&QComboBox::activated), this,
          run(&TFrmAddDw::FlatComboBox1Change));
  InstallKeyPreview();
  Guarded(this, [this] { FormCreate(); });
}

void TFrmAddDw::FormCreate() {
  JbbzList.clear();
  IsModify = false;
  EditUnitId = -1;
}

void TFrmAddDw::KeyPress(QObject* target, char32_t& key) {
  FormKeyPress(key);
  if (key != 0 && target == FlatEdit2) FlatEdit2KeyPress(key);
}

void TFrmAddDw::FormKeyPress(char32_t& key) {
  if (key == 27) {
    key = 0;
    FlatButton2->click();
  } else if (key == 13) {
    key = 0;
    FlatButton1->click();
  }
}

void TFrmAddDw::FlatEdit2KeyPress(char32_t& key) {
  if (!IsAcceptedInputChar(key)) key = 0;
}

void TFrmAddDw::FlatComboBox1Change() {
  const int chosen = FlatComboBox1->currentIndex();
  if (chosen == RefIndex) return;  // the same unit again: nothing to restate
  try {
    const double a = ReadDouble(At(JbbzList, RefIndex));
    const double b = ReadDouble(At(JbbzList, chosen));
    const double n = ReadDouble(FlatEdit2->text().toStdString());
    const double ratio = ProductQuotient(n, a, b);
    FlatEdit2->setText(Text(FormatNumber(ratio)));
  } catch (...) {
    // The field keeps its text, now read against the reference the chooser shows, so
    // what is saved is what the dialog shows.
    RefIndex = chosen;
    throw;
  }
  RefIndex = chosen;
}

void TFrmAddDw::FlatButton1Click() {
  if (IsBlank(FlatEdit1->text())) {
    refuse(FlatEdit1, MessageIcon::Information, QStringLiteral("请输入单位名称!"));
    return;
  }
  // Names are stored exactly as typed, so one that cannot be stored whole is refused.
  if (auto problem = NameProblem(FlatEdit1->text(), QStringLiteral("单位名称"))) {
    refuse(FlatEdit1, MessageIcon::Information, *problem);
    return;
  }
  const std::string ratioText = FlatEdit2->text().toStdString();
  if (IsBlank(FlatEdit2->text())) {
    refuse(FlatEdit2, MessageIcon::Information, QStringLiteral("请输入比值!"));
    return;
  }
  Extended n = 0;
  if (!TryReadNumber(ratioText, n)) {
    refuse(FlatEdit2, MessageIcon::Information, QStringLiteral("请输入的比值含有非法字符!"));
    return;
  }
  // A unit of size zero or below could never be converted to, nor stated against.
  if (!(n > 0)) {
    refuse(FlatEdit2, MessageIcon::Information, QStringLiteral("比值必须大于零!"));
    return;
  }
  if (FlatComboBox1->currentIndex() < 0) {
    refuse(FlatComboBox1, MessageIcon::Information, QStringLiteral("请选择对应的单位!"));
    return;
  }
  bool representable = true;
  try {
    const double jbbz = RatioToJbbz(ReadDouble(ratioText));
    representable = std::isfinite(jbbz) && jbbz > 0;
  } catch (const EOverflow&) {
    representable = false;
  }
  if (!representable) {
    refuse(FlatEdit2, MessageIcon::Information,
           QStringLiteral("比值超出范围,无法换算成基本单位,请重新输入!"));
    return;
  }
  const std::optional<int> except = IsModify ? std::optional<int>(EditUnitId) : std::nullopt;
  if (dm_.UnitNameTaken(FlatEdit1->text().toStdString(), CategoryId, except)) {
    refuse(FlatEdit1, MessageIcon::Warning, QStringLiteral("此单位名称已存在!"));
    return;
  }
  accept();
}

void TFrmAddDw::FlatButton2Click() {
  reject();
}

void TFrmAddDw::LoadRefUnits(int categoryId) {
  JbbzList.clear();
  FlatComboBox1->clear();
  const std::optional<int> except =
      EditUnitId != -1 ? std::optional<int>(EditUnitId) : std::nullopt;
  for (const UnitItem& unit : dm_.ReferenceCandidates(categoryId, except)) {
    FlatComboBox1->addItem(Text(unit.name), unit.id);
    JbbzList.push_back(unit.ratioText);
  }
  FlatComboBox1->setCurrentIndex(FlatComboBox1->count() > 0 ? 0 : -1);
}

double TFrmAddDw::RatioToJbbz(double n) const {
  const Extended jbbz = ReadNumber(At(JbbzList, FlatComboBox1->currentIndex()));
  return Product(jbbz, n);
}

double TFrmAddDw::JbbzToRatio(double j) const {
  const Extended jbbz = ReadNumber(At(JbbzList, FlatComboBox1->currentIndex()));
  return Quotient(j, jbbz);
}

int TFrmAddDw::IndexOfUnit(int unitId) const {
  return FlatComboBox1->findData(unitId);
}

int TFrmAddDw::ChosenUnitId() const {
  const int index = FlatComboBox1->currentIndex();
  return index < 0 ? -1 : FlatComboBox1->itemData(index).toInt();
}

}  // namespace vantrel
