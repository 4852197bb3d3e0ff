// What the unit search and the category search share: the layout, the keys, the
// pattern rule and the close-time hand-over. A twin supplies its captions, the query
// behind a pattern and what it hands back for the chosen line.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <string>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QRadioButton;
class QStringListModel;

namespace vantrel {

class TDMMain;

class TSearchDialog : public QDialog {
  Q_OBJECT

 public:
  // exec() and result() give one of these; the close box counts as Cancel.
  static constexpr int kModalOk = 1;
  static constexpr int kModalCancel = 2;

  // Empty until the dialog closes; set on every close, whatever the result.
  QString SelectedLbmc() const { return SelectedLbmc_; }

  // Handlers, each doing the whole of its event's work.
  void FormCreate();
  void FlatEditNrChange();
  void RzListBoxJgDblClick();
  // key is the typed character's code: 13 presses OK, 27 presses Cancel.
  void FormKeyPress(char32_t key);
  void FormClose();
  void RunSearch(const QString& text);

  void done(int result) override;
  void reject() override;

 protected:
  struct Texts {
    QString caption;
    QString editHint;
    QString listHint;
  };
  TSearchDialog(TDMMain& dm, const Texts& texts, QWidget* parent);

  // The result lines for a LIKE pattern; a twin keeps whatever it needs beside them.
  virtual QStringList Search(const std::string& pattern) = 0;
  // Drops what the twin keeps beside the lines, before every search.
  virtual void ClearKept() {}
  // Fills the handed-back texts from result line row (its text is line), or empties
  // them when row is -1.
  virtual void HandOver(int row, const QString& line) = 0;

  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

  TDMMain& dm_;
  QString SelectedLbmc_;

 private:
  void createControls(const Texts& texts);
  void wireHandlers();

  QLabel* Label1 = nullptr;
  QLineEdit* FlatEditNr = nullptr;
  QGroupBox* FlatGroupBox1 = nullptr;
  QRadioButton* FlatRadioButtonRhBf = nullptr;
  QRadioButton* FlatRadioButtonKtBf = nullptr;
  QGroupBox* FlatGroupBox2 = nullptr;
  QListView* RzListBoxJg = nullptr;
  QStringListModel* lines_ = nullptr;
  QLabel* LabelJrs = nullptr;
  QPushButton* FlatButton1 = nullptr;
  QPushButton* FlatButton2 = nullptr;
  // The key press being delivered, so that its trip up the parents acts only once.
  const QEvent* keySeen_ = nullptr;
};

}  // namespace vantrel
