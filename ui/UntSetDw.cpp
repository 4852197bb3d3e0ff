#include "ui/UntSetDw.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include "app/UntException.h"
#include "catalogue/UntDM.h"
#include "conversion/NumberText.h"
#include "ui/UntAddDw.h"

namespace vantrel {

namespace {

TFrmSetDw::DialogRunner& Runner() {
  static TFrmSetDw::DialogRunner run;
  return run;
}

QString Text(const std::string& utf8) {
  return QString::fromStdString(utf8);
}

// The chooser position a unit is stated against: that of unitId where it is offered,
// else the base unit's, else the first.
int ReferencePosition(TDMMain& dm, const TFrmAddDw& dialog, int categoryId,
                      std::optional<int> unitId) {
  int position = unitId ? dialog.IndexOfUnit(*unitId) : -1;
  if (position < 0) {
    if (const std::optional<int> baseId = dm.BaseUnitId(categoryId))
      position = dialog.IndexOfUnit(*baseId);
  }
  if (position < 0 && dialog.FlatComboBox1->count() > 0) position = 0;
  return position;
}

// The base ratio of the unit as the accepted dialog states it.
double StatedJbbz(const TFrmAddDw& dialog) {
  return dialog.RatioToJbbz(
      static_cast<double>(ReadNumber(dialog.FlatEdit2->text().toStdString())));
}

}  // namespace

TFrmSetDw::TFrmSetDw(TDMMain& dm, QWidget* parent)
    : TFixedDialog(parent, QStringLiteral("FrmSetDw"), QStringLiteral("设置换算单位"),
                   QSize(306, 187)),
      dm_(dm) {
  GroupBox1 = new QGroupBox(QStringLiteral("选择单位类别(&L):"), this);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  GroupBox1->setGeometry(4, 2, 226, 48);
  FlatComboBoxLb = new QComboBox(GroupBox1);
  FlatComboBoxLb->setObjectName(QStringLiteral("FlatComboBoxLb"));
  FlatComboBoxLb->setEditable(false);
  FlatComboBoxLb->setGeometry(8, 20, 210, 20);
  SetHint(FlatComboBoxLb, QStringLiteral("选择换算单位的类别"));

  RzListBox1 = new QListWidget(this);
  RzListBox1->setObjectName(QStringLiteral("RzListBox1"));
  RzListBox1->setGeometry(4, 56, 226, 126);
  RzListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
  RzListBox1->setUniformItemSizes(true);
  SetHint(RzListBox1, QStringLiteral("双击可修改当前的换算单位"));

  FlatButton1 = MakeButton(this, "FlatButton1", "增加(&A)", "增加新的换算单位", 236, 8);
  FlatButton2 = MakeButton(this, "FlatButton2", "修改(&E)", "修改当前的换算单位", 236, 34);
  FlatButton3 = MakeButton(this, "FlatButton3", "删除(&D)", "删除当前的换算单位", 236, 60);
  FlatButton4 = MakeButton(this, "FlatButton4", "关闭(&C)", "关闭当前窗体", 236, 160);

  setTabOrder(FlatButton1, FlatButton2);
  setTabOrder(FlatButton2, FlatButton3);
  setTabOrder(FlatButton3, FlatButton4);
  setTabOrder(FlatButton4, FlatComboBoxLb);
  setTabOrder(FlatComboBoxLb, RzListBox1);
  FlatComboBoxLb->setFocus();

  // Every event reaches its handler here, through the error handler.
  auto run = [this](void (TFrmSetDw::*handler)()) {
    return [this, handler] { Guarded(this, [this, handler] { (this->*handler)(); }); };
  };
  connect(FlatButton1, &QPushButton::clicked, this, run(&TFrmSetDw::FlatButton1Click));
  connect(FlatButton2, &QPushButton::clicked, this, run(&TFrmSetDw::FlatButton2Click));
  connect(FlatButton3, &QPushButton::clicked, this, run(&TFrmSetDw::FlatButton3Click));
  connect(FlatButton4, &QPushButton::clicked, this, run(&TFrmSetDw::FlatButton4Click));
  connect(RzListBox1, &QListWidget::itemDoubleClicked, this, run(&TFrmSetDw::FlatButton2Click));
  // Only the user's choice: positions set by code never reach the handler.
  connect(FlatComboBoxLb, qOverload<int>(&QComboBox::activated), this,
          run(&TFrmSetDw::FlatComboBoxLbChange));
  InstallKeyPreview();
  Guarded(this, [this] { FormCreate(); });
}

TFrmSetDw::~TFrmSetDw() = default;

void TFrmSetDw::SetDialogRunnerForTesting(DialogRunner run) {
  Runner() = std::move(run);
}

int TFrmSetDw::runDialog(TFrmAddDw& dialog) {
  return Runner() ? Runner()(dialog) : dialog.exec();
}

std::optional<int> TFrmSetDw::chosenCategoryId() const {
  const int index = FlatComboBoxLb->currentIndex();
  if (index < 0) return std::nullopt;
  return FlatComboBoxLb->itemData(index).toInt();
}

void TFrmSetDw::done(int result) {
  Guarded(this, [this] { FormClose(); });
  TFixedDialog::done(result);
}

// ---- handlers ----

void TFrmSetDw::FormCreate() {
  RefIdList.clear();
  JbbzList.clear();
  LoadCategories();
  // Without any category there is nothing to list; the window opens empty.
  if (const std::optional<int> category = chosenCategoryId()) LoadUnits(*category);
}

void TFrmSetDw::FormClose() {
  RefIdList.clear();
  JbbzList.clear();
}

void TFrmSetDw::KeyPress(QObject* /*target*/, char32_t& key) {
  FormKeyPress(key);
}

void TFrmSetDw::FormKeyPress(char32_t& key) {
  if (key != 27) return;
  key = 0;
  FlatButton4->click();
}

void TFrmSetDw::FlatComboBoxLbChange() {
  if (const std::optional<int> category = chosenCategoryId()) LoadUnits(*category);
}

void TFrmSetDw::FlatButton1Click() {
  const std::optional<int> category = chosenCategoryId();
  if (!category) return;  // no category to add to
  const int c = *category;
  TFrmAddDw dialog(dm_, this);
  dialog.CategoryId = c;
  dialog.LoadRefUnits(c);
  // A new unit is first stated against the base unit.
  const int base = ReferencePosition(dm_, dialog, c, std::nullopt);
  dialog.FlatComboBox1->setCurrentIndex(base);
  dialog.RefIndex = base;
  dialog.FlatEdit1->clear();
  dialog.FlatEdit2->clear();
  if (runDialog(dialog) != QDialog::Accepted) return;

  dm_.AddUnit(dialog.FlatEdit1->text().toStdString(), c, StatedJbbz(dialog), dialog.ChosenUnitId());
  LoadUnits(c);
}

void TFrmSetDw::FlatButton2Click() {
  const std::optional<int> category = chosenCategoryId();
  const int row = RzListBox1->currentRow();
  if (!category || row < 0 || static_cast<std::size_t>(row) >= JbbzList.size()) return;
  const int c = *category;
  const std::size_t at = static_cast<std::size_t>(row);
  TFrmAddDw dialog(dm_, this);
  dialog.IsModify = true;
  dialog.CategoryId = c;
  dialog.EditUnitId = RzListBox1->item(row)->data(Qt::UserRole).toInt();
  dialog.LoadRefUnits(c);

  // A reference that is no longer offered (gone, or never recorded) reads as the base
  // unit, which is what deleting a reference makes of it.
  bool known = false;
  const int refId = QString::fromStdString(RefIdList[at]).toInt(&known);
  dialog.FlatComboBox1->setCurrentIndex(
      ReferencePosition(dm_, dialog, c, known ? std::optional<int>(refId) : std::nullopt));

  dialog.FlatEdit1->setText(RzListBox1->item(row)->text());
  dialog.FlatEdit2->setText(
      Text(FormatNumber(dialog.JbbzToRatio(static_cast<double>(ReadNumber(JbbzList[at]))))));
  dialog.RefIndex = dialog.FlatComboBox1->currentIndex();
  if (runDialog(dialog) != QDialog::Accepted) return;

  dm_.ModifyUnit(dialog.EditUnitId, dialog.FlatEdit1->text().toStdString(), c, StatedJbbz(dialog),
                 dialog.ChosenUnitId());
  LoadUnits(c);
}

void TFrmSetDw::FlatButton3Click() {
  const std::optional<int> category = chosenCategoryId();
  const int row = RzListBox1->currentRow();
  if (!category || row < 0) return;  // nothing chosen, nothing to delete
  dm_.DeleteUnit(*category, RzListBox1->item(row)->data(Qt::UserRole).toInt());
  LoadUnits(*category);
}

void TFrmSetDw::FlatButton4Click() {
  close();
}

void TFrmSetDw::LoadCategories() {
  const QSignalBlocker block(FlatComboBoxLb);
  FlatComboBoxLb->clear();
  for (const CategoryItem& category : dm_.Categories())
    FlatComboBoxLb->addItem(Text(category.name), category.id);
  FlatComboBoxLb->setCurrentIndex(FlatComboBoxLb->count() > 0 ? 0 : -1);
}

void TFrmSetDw::LoadUnits(int categoryId) {
  const QSignalBlocker block(RzListBox1);
  RefIdList.clear();
  JbbzList.clear();
  RzListBox1->clear();
  const std::vector<UnitDefinition> units = dm_.NonBaseUnits(categoryId);
  RefIdList.reserve(units.size());
  JbbzList.reserve(units.size());
  for (const UnitDefinition& unit : units) {
    auto* item = new QListWidgetItem(Text(unit.name), RzListBox1);
    item->setData(Qt::UserRole, unit.id);
    RefIdList.push_back(unit.refIdText);
    JbbzList.push_back(unit.ratioText);
  }
  RzListBox1->setCurrentRow(RzListBox1->count() > 0 ? 0 : -1);
}

}  // namespace vantrel
