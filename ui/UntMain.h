// The main window: pick a category and two of its units, type a number, read the
// converted value. Remembers the last category (syscfg.ini) and, per category, the
// last pair of units (the category's row in the catalogue).
#pragma once

#include <QMainWindow>
#include <QString>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QSplitter;
class QToolBar;

namespace vantrel {

class TDMMain;

// True when the program's first argument asks for the desktop launcher: "/add" in
// any ASCII letter case, the command line's double quotes removed.
bool IsAddArgument(QString firstArgument);

class TFrmMain : public QMainWindow {
  Q_OBJECT

 public:
  explicit TFrmMain(TDMMain& dm, QWidget* parent = nullptr);
  ~TFrmMain() override;

  // The category whose units the lists show; empty when the catalogue has none.
  std::optional<int> CurLbId() const { return CurLbId_; }

  // Handlers, each doing the whole of its event's work.
  void FormCreate();
  void FormClose();
  void FlatComboBoxLbChange();
  void FlatEdit1Change();
  // The typed-character filter: sets key to 0 when the character is refused.
  void FlatEdit1KeyPress(char32_t& key);
  void NxhsExecute();
  void SrqkExecute();
  void JgqkExecute();
  void DwjsExecute();
  void LbjsExecute();
  void Close1Execute();
  void DwExecute();
  void LbExecute();
  void JsqExecute();
  void WDExecute();
  void JedxExecute();
  void HelpContents1Execute();
  void AboutExecute();
  void CreateShortcut();

  // The window's own steps.
  void LoadCategories();
  void RestoreLastCategory();
  void LoadUnits(std::optional<int> lbId);
  void RestoreUnitPair(std::optional<int> lbId);
  void SaveUnitPair(std::optional<int> lbId);
  void Recompute();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void createControls();
  void createActions();
  void createMenus();
  void createToolBar();
  void wireHandlers();
  void updateEditActions();
  void placeSplitterBar();
  QLineEdit* focusedField() const;
  std::optional<int> selectedCategoryId() const;
  void selectCategoryNamed(const QString& name);
  void editCut();
  void editCopy();
  void editPaste();
  void editSelectAll();

  TDMMain& dm_;
  std::optional<int> CurLbId_;
  // Base ratio texts of the listed units, at the same positions as the lists.
  std::vector<std::string> JbbzTexts;
  bool sizedToFrame_ = false;

  QToolBar* ToolBar1 = nullptr;
  QComboBox* FlatComboBoxLb = nullptr;
  QWidget* PanelTop = nullptr;
  QLineEdit* FlatEdit1 = nullptr;
  QLabel* Image1 = nullptr;
  QLineEdit* FlatEdit2 = nullptr;
  QSplitter* RzSplitter1 = nullptr;
  QListWidget* RzListBoxDw1 = nullptr;
  QListWidget* RzListBoxDw2 = nullptr;

  QAction* Nxhs = nullptr;
  QAction* Srqk = nullptr;
  QAction* Jgqk = nullptr;
  QAction* Dwjs = nullptr;
  QAction* Lbjs = nullptr;
  QAction* Close1 = nullptr;
  QAction* EditCut1 = nullptr;
  QAction* EditCopy1 = nullptr;
  QAction* EditPaste1 = nullptr;
  QAction* EditSelectAll1 = nullptr;
  QAction* Dw = nullptr;
  QAction* Lb = nullptr;
  QAction* Jsq = nullptr;
  QAction* WD = nullptr;
  QAction* Jedx = nullptr;
  QAction* HelpContents1 = nullptr;
  QAction* About = nullptr;
  QAction* Configtools = nullptr;
  // The hidden tail of the tools menu.
  QAction* N1 = nullptr;
  QAction* C1 = nullptr;
  QAction* N2 = nullptr;
};

}  // namespace vantrel
