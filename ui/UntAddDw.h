// The unit dialog: a unit's name and its size, stated as "one of this unit equals N of
// the chosen unit". Adds a unit or changes one.
#pragma once

#include <string>
#include <vector>

#include "conversion/NumberText.h"
#include "ui/MaintenanceWindow.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vantrel {

class TDMMain;

class TFrmAddDw : public TFixedDialog {
  Q_OBJECT

 public:
  TFrmAddDw(TDMMain& dm, QWidget* parent);

  bool IsModify = false;
  int CategoryId = 0;
  // The unit being changed; -1 while adding.
  int EditUnitId = -1;
  // Base ratio texts of the reference chooser's units, at the same positions.
  std::vector<std::string> JbbzList;
  // The chooser position the ratio field is currently expressed against.
  int RefIndex = -1;

  void FormCreate();
  void FormKeyPress(char32_t& key);
  // The ratio field's typed-character filter: sets key to 0 when refused.
  void FlatEdit2KeyPress(char32_t& key);
  // Restates the ratio against the newly chosen reference; the unit's size stays.
  void FlatComboBox1Change();
  void FlatButton1Click();
  void FlatButton2Click();
  void LoadRefUnits(int categoryId);
  // The base ratio of n units of the chosen reference, and back.
  double RatioToJbbz(double n) const;
  double JbbzToRatio(double j) const;

  // The chooser position of a unit; -1 when it is not offered.
  int IndexOfUnit(int unitId) const;
  // The unit chosen as reference; -1 without a choice.
  int ChosenUnitId() const;

  QLabel* Label1 = nullptr;
  QLineEdit* FlatEdit1 = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  QLineEdit* FlatEdit2 = nullptr;
  QComboBox* FlatComboBox1 = nullptr;
  QPushButton* FlatButton1 = nullptr;
  QPushButton* FlatButton2 = nullptr;

 protected:
  void KeyPress(QObject* target, char32_t& key) override;

 private:
  TDMMain& dm_;
};

}  // namespace vantrel
