// The category window: every category with its base unit in a grid; add, rename and
// delete categories.
#pragma once

#include <functional>
#include <optional>

#include "catalogue/UntDM.h"
#include "ui/MaintenanceWindow.h"

class QPushButton;
class QTableView;

namespace vantrel {

class TFrmAddFl;
class CategoryGridModel;

class TFrmSetFl : public TFixedDialog {
  Q_OBJECT

 public:
  TFrmSetFl(TDMMain& dm, QWidget* parent = nullptr);
  ~TFrmSetFl() override;

  void FormCreate();
  void FormClose();
  void FormKeyPress(char32_t& key);
  // Add, rename (also a double click in the grid) and delete; each is one operation of
  // the data module. Without a current row, renaming and deleting do nothing.
  void FlatButton1Click();
  void FlatButton2Click();
  void FlatButton3Click();
  void FlatButton4Click();

  // The grid's rows as shown, and the current one (nullopt without rows).
  const std::vector<CategoryGridRow>& GridRows() const;
  std::optional<int> CurrentRow() const;

  // Shows the category dialog and gives its result; exec() unless a test drives it.
  using DialogRunner = std::function<int(TFrmAddFl&)>;
  static void SetDialogRunnerForTesting(DialogRunner run);

  QTableView* DBGridEhLb = nullptr;
  QPushButton* FlatButton1 = nullptr;
  QPushButton* FlatButton2 = nullptr;
  QPushButton* FlatButton3 = nullptr;
  QPushButton* FlatButton4 = nullptr;

 protected:
  void KeyPress(QObject* target, char32_t& key) override;
  void done(int result) override;

 private:
  // Reads the grid again with its first row current.
  void openGrid();
  void selectRow(int row);
  int runDialog(TFrmAddFl& dialog);

  TDMMain& dm_;
  CategoryGridModel* model_ = nullptr;
};

}  // namespace vantrel
