// The unit window: choose a category, see its units other than the base unit, add,
// change and delete them.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/MaintenanceWindow.h"

class QComboBox;
class QGroupBox;
class QListWidget;
class QPushButton;

namespace vantrel {

class TDMMain;
class TFrmAddDw;

class TFrmSetDw : public TFixedDialog {
  Q_OBJECT

 public:
  TFrmSetDw(TDMMain& dm, QWidget* parent = nullptr);
  ~TFrmSetDw() override;

  void FormCreate();
  void FormClose();
  void FormKeyPress(char32_t& key);
  void FlatComboBoxLbChange();
  // Add, change (also a double click in the list) and delete. Without a category, or
  // without a current unit for changing and deleting, they do nothing.
  void FlatButton1Click();
  void FlatButton2Click();
  void FlatButton3Click();
  void FlatButton4Click();
  void LoadCategories();
  void LoadUnits(int categoryId);

  // For each listed unit, at the same position: its reference's id and its base ratio,
  // as text.
  std::vector<std::string> RefIdList;
  std::vector<std::string> JbbzList;

  // Shows the unit dialog and gives its result; exec() unless a test drives it.
  using DialogRunner = std::function<int(TFrmAddDw&)>;
  static void SetDialogRunnerForTesting(DialogRunner run);

  QGroupBox* GroupBox1 = nullptr;
  QComboBox* FlatComboBoxLb = nullptr;
  QListWidget* RzListBox1 = nullptr;
  QPushButton* FlatButton1 = nullptr;
  QPushButton* FlatButton2 = nullptr;
  QPushButton* FlatButton3 = nullptr;
  QPushButton* FlatButton4 = nullptr;

 protected:
  void KeyPress(QObject* target, char32_t& key) override;
  void done(int result) override;

 private:
  std::optional<int> chosenCategoryId() const;
  int runDialog(TFrmAddDw& dialog);

  TDMMain& dm_;
};

}  // namespace vantrel
