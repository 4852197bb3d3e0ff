// A fresh catalogue in a folder of its own for every test, the error handler's boxes
// and the dialogs' message boxes captured, and the add/modify dialogs driven by the
// test instead of a nested event loop.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/UntDM.h"
#include "ui/MaintenanceWindow.h"

class QComboBox;
class QWidget;

namespace vantrel {
class TFrmAddDw;
class TFrmAddFl;
}  // namespace vantrel

namespace vantrel::testing {

struct Message {
  MessageIcon icon;
  QString caption;
  QString text;
};

// A DW row as stored.
struct StoredUnit {
  int id = 0;
  int categoryId = 0;
  double jbbz = 0;
  bool base = false;
  int refId = 0;
};

class MaintFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  TDMMain& dm() { return *dm_; }

  // The unit with that name in the category; nullopt when there is none.
  std::optional<StoredUnit> Unit(int categoryId, const std::string& name);
  std::optional<std::string> CategoryName(int categoryId);
  // Points a unit at another reference behind the data module's back, as damaged or
  // older catalogues may hold.
  void SetReference(int unitId, int refId);
  // Both tables, every column, doubles to 17 digits: for "nothing was written".
  std::string Tables();

  // The steps each next dialog runs while shown; what they leave decides its result
  // (a dialog still open counts as cancelled). A dialog beyond the queue fails the test.
  void OnUnitDialog(std::function<void(TFrmAddDw&)> steps);
  void OnCategoryDialog(std::function<void(TFrmAddFl&)> steps);
  int dialogsShown = 0;

  // The boxes shown so far: the dialogs' messages and the error handler's texts.
  std::vector<Message> messages;
  QStringList errors;

 private:
  QTemporaryDir dir_;
  std::unique_ptr<TDMMain> dm_;
  std::deque<std::function<void(TFrmAddDw&)>> unitSteps_;
  std::deque<std::function<void(TFrmAddFl&)>> categorySteps_;
};

// Types text as key presses, so filters see every character (Chinese ones included).
void Type(QWidget* widget, const QString& text);
// Pastes text through the clipboard and Ctrl+V; no character filter sees it.
void Paste(QWidget* widget, const QString& text);
// Presses Enter, Escape, Backspace ...
void Press(QWidget* widget, int key);
// Chooses the item as the user does: opens the list and takes the item with Enter.
void Pick(QComboBox* box, const QString& text);
// The items of a chooser, in order.
QStringList Items(const QComboBox* box);

// 25 Chinese characters take 50 GBK bytes, the most a name may take.
inline const QString kLongestName = QString(25, QChar(0x957F));  // 长 × 25

}  // namespace vantrel::testing
