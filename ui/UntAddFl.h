// The category dialog: a category name and its base unit's name, for adding a
// category or renaming the current one.
#pragma once

#include "ui/MaintenanceWindow.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vantrel {

class TDMMain;

class TFrmAddFl : public TFixedDialog {
  Q_OBJECT

 public:
  TFrmAddFl(TDMMain& dm, QWidget* parent);

  // False while adding; the category window sets it before a renaming.
  bool IsModify = false;

  void FormCreate();
  void FormKeyPress(char32_t& key);
  // Confirms when every check passes; otherwise shows why and stays open.
  void FlatButton1Click();
  void FlatButton2Click();

  QLabel* Label1 = nullptr;
  QLineEdit* FlatEdit1 = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* FlatEdit2 = nullptr;
  QPushButton* FlatButton1 = nullptr;
  QPushButton* FlatButton2 = nullptr;

 protected:
  void KeyPress(QObject* target, char32_t& key) override;

 private:
  TDMMain& dm_;
};

}  // namespace vantrel
