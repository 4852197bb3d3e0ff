#include "tests/ui_maint/MaintFixture.h"

#include <sqlite3.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QTest>
#include <cstdio>

#include "app/Paths.h"
#include "app/UntException.h"
#include "catalogue/Store.h"
#include "ui/UntAddDw.h"
#include "ui/UntAddFl.h"
#include "ui/UntSetDw.h"
#include "ui/UntSetFl.h"

namespace vantrel::testing {

namespace {

// Every row of a query on one of the store's files, columns joined by "|".
std::string Dump(const std::string& file, const std::string& sql) {
  sqlite3* db = nullptr;
  std::string out;
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << "cannot open " << file;
    sqlite3_close(db);
    return out;
  }
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db);
  } else {
    while (sqlite3_step(st) == SQLITE_ROW) {
      for (int i = 0; i < sqlite3_column_count(st); ++i) {
        if (i > 0) out += "|";
        if (sqlite3_column_type(st, i) == SQLITE_NULL) {
          out += "<null>";
        } else if (sqlite3_column_type(st, i) == SQLITE_FLOAT) {
          char number[40];
          std::snprintf(number, sizeof number, "%.17g", sqlite3_column_double(st, i));
          out += number;
        } else {
          out += reinterpret_cast<const char*>(sqlite3_column_text(st, i));
        }
      }
      out += "\n";
    }
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  return out;
}

std::string Quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("''") : std::string(1, c);
  return out + "'";
}

template <typename Dialog>
int Drive(Dialog& dialog, std::deque<std::function<void(Dialog&)>>& queue, int& shown) {
  ++shown;
  if (queue.empty()) {
    ADD_FAILURE() << "a dialog opened that the test did not expect";
    return QDialog::Rejected;
  }
  auto steps = std::move(queue.front());
  queue.pop_front();
  dialog.show();
  steps(dialog);
  const int result = dialog.isVisible() ? int(QDialog::Rejected) : dialog.result();
  dialog.hide();
  return result;
}

}  // namespace

void MaintFixture::SetUp() {
  ASSERT_TRUE(dir_.isValid());
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("data")));
  const std::string program = dir_.path().toStdString() + "/";
  CreateStore(program + "data/", std::string("2010-12-09"));
  dm_ = std::make_unique<TDMMain>(program + "data/");
  SetExecutableDirForTesting(program);
  ExceptionHandler().SetShowForTesting(
      [this](const QString&, const QString& text) { errors << text; });
  SetMessageBoxForTesting([this](MessageIcon icon, const QString& caption, const QString& text) {
    messages.push_back({icon, caption, text});
  });
  TFrmSetDw::SetDialogRunnerForTesting(
      [this](TFrmAddDw& dialog) { return Drive(dialog, unitSteps_, dialogsShown); });
  TFrmSetFl::SetDialogRunnerForTesting(
      [this](TFrmAddFl& dialog) { return Drive(dialog, categorySteps_, dialogsShown); });
}

void MaintFixture::TearDown() {
  EXPECT_TRUE(unitSteps_.empty() && categorySteps_.empty()) << "an expected dialog never opened";
  TFrmSetDw::SetDialogRunnerForTesting(nullptr);
  TFrmSetFl::SetDialogRunnerForTesting(nullptr);
  SetMessageBoxForTesting(nullptr);
  ExceptionHandler().SetShowForTesting(nullptr);
  SetExecutableDirForTesting(std::string());
  dm_.reset();
}

std::optional<StoredUnit> MaintFixture::Unit(int categoryId, const std::string& name) {
  const std::string row = Dump(dir_.path().toStdString() + "/data/Dw.dat",
                               "SELECT DWID, SSLBID, JBBZ, Jbdw, DYJLDWID FROM DW WHERE SSLBID = " +
                                   std::to_string(categoryId) + " AND DWMC = " + Quoted(name));
  if (row.empty()) return std::nullopt;
  StoredUnit unit;
  int base = 0;
  EXPECT_EQ(std::sscanf(row.c_str(), "%d|%d|%lf|%d|%d", &unit.id, &unit.categoryId, &unit.jbbz,
                        &base, &unit.refId),
            5)
      << row;
  unit.base = base != 0;
  return unit;
}

std::optional<std::string> MaintFixture::CategoryName(int categoryId) {
  std::string row = Dump(dir_.path().toStdString() + "/data/Lb.dat",
                         "SELECT LBMC FROM LB WHERE LBID = " + std::to_string(categoryId));
  if (row.empty()) return std::nullopt;
  row.pop_back();  // the row's line break
  return row;
}

void MaintFixture::SetReference(int unitId, int refId) {
  sqlite3* db = nullptr;
  const std::string file = dir_.path().toStdString() + "/data/Dw.dat";
  ASSERT_EQ(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  const std::string sql = "UPDATE DW SET DYJLDWID = " + std::to_string(refId) +
                          " WHERE DWID = " + std::to_string(unitId);
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
}

std::string MaintFixture::Tables() {
  const std::string data = dir_.path().toStdString() + "/data/";
  return Dump(data + "Lb.dat", "SELECT * FROM LB ORDER BY LBID") + "--\n" +
         Dump(data + "Dw.dat", "SELECT * FROM DW ORDER BY DWID");
}

void MaintFixture::OnUnitDialog(std::function<void(TFrmAddDw&)> steps) {
  unitSteps_.push_back(std::move(steps));
}

void MaintFixture::OnCategoryDialog(std::function<void(TFrmAddFl&)> steps) {
  categorySteps_.push_back(std::move(steps));
}

void Type(QWidget* widget, const QString& text) {
  for (char32_t c : text.toUcs4()) {
    const QString one = QString::fromUcs4(&c, 1);
    // Letters and digits carry their key codes; other characters only their text.
    const int key = c < 0x80 && QChar(c).isLetterOrNumber() ? QChar(c).toUpper().unicode() : 0;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, one);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, one);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
  }
}

void Paste(QWidget* widget, const QString& text) {
  QGuiApplication::clipboard()->setText(text);
  QTest::keyClick(widget, Qt::Key_V, Qt::ControlModifier);
}

void Press(QWidget* widget, int key) {
  QTest::keyClick(widget, Qt::Key(key));
}

void Pick(QComboBox* box, const QString& text) {
  const int index = box->findText(text);
  ASSERT_GE(index, 0) << text.toStdString() << " is not offered";
  box->showPopup();
  QAbstractItemView* list = box->view();
  list->setCurrentIndex(box->model()->index(index, 0));
  QTest::keyClick(list, Qt::Key_Return);
  ASSERT_EQ(box->currentIndex(), index);
}

QStringList Items(const QComboBox* box) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
  return items;
}

}  // namespace vantrel::testing
