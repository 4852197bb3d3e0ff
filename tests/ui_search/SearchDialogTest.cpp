// The unit search and the category search: typed, clicked and closed for real.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "app/Paths.h"
#include "app/UntException.h"
#include "catalogue/Store.h"
#include "catalogue/UntDM.h"
#include "ui/UntDwJs.h"
#include "ui/UntFlJs.h"

namespace vantrel {
namespace {

// Twenty-five Chinese characters: the longest name the catalogue takes.
const QString kLongName = QStringLiteral("一二三四五六七八九十百千万亿甲乙丙丁戊己庚辛壬癸子");

// Three categories; unit names with a blank, a quote and the longest length. Units
// come back in the order they were added, base units first within their category.
class SearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("data")));
    const std::string program = dir_.path().toStdString() + "/";
    CreateStore(program + "data/", std::string("2010-12-09"));
    SetExecutableDirForTesting(program);
    ExceptionHandler().SetShowForTesting(
        [this](const QString&, const QString& text) { boxes << text; });
    dm_ = std::make_unique<TDMMain>(program + "data/");

    Add("长度", "米", {"千米", "厘米", "毫米", "英里", "海 里", "O'Neil尺"});
    Add("质量", "千克", {"克", "毫克", kLongName.toStdString()});
    Add("面积", "平方米", {"平方千米"});
    Add("O'类", "O'基", {});
  }

  void TearDown() override {
    dm_.reset();
    ExceptionHandler().SetShowForTesting(nullptr);
    SetExecutableDirForTesting(std::string());
  }

  void Add(const std::string& category, const std::string& base,
           const std::vector<std::string>& units) {
    const int id = dm_->AddCategory(category, base);
    for (const std::string& unit : units) dm_->AddUnit(unit, id, 2, *dm_->BaseUnitId(id));
  }

  // Runs an SQL statement on Lb.dat behind the data module's back.
  void TamperWithCategories(const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(
        sqlite3_open((dir_.path() + QStringLiteral("/data/Lb.dat")).toUtf8().constData(), &db),
        SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
  }

  TDMMain& dm() { return *dm_; }

  QStringList boxes;

 private:
  QTemporaryDir dir_;
  std::unique_ptr<TDMMain> dm_;
};

const QStringList kAllUnits{QStringLiteral("米"),
                            QStringLiteral("千米"),
                            QStringLiteral("厘米"),
                            QStringLiteral("毫米"),
                            QStringLiteral("英里"),
                            QStringLiteral("海 里"),
                            QStringLiteral("O'Neil尺"),
                            QStringLiteral("千克"),
                            QStringLiteral("克"),
                            QStringLiteral("毫克"),
                            kLongName,
                            QStringLiteral("平方米"),
                            QStringLiteral("平方千米"),
                            QStringLiteral("O'基")};
const QStringList kAllCategories{QStringLiteral("长度"), QStringLiteral("质量"),
                                 QStringLiteral("面积"), QStringLiteral("O'类")};

template <class T>
T* Control(QWidget& dialog, const char* name) {
  T* control = dialog.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(control, nullptr) << name;
  return control;
}

QLineEdit* Edit(QWidget& d) {
  return Control<QLineEdit>(d, "FlatEditNr");
}
QAbstractItemView* List(QWidget& d) {
  return Control<QAbstractItemView>(d, "RzListBoxJg");
}
QRadioButton* AnyPart(QWidget& d) {
  return Control<QRadioButton>(d, "FlatRadioButtonRhBf");
}
QRadioButton* Beginning(QWidget& d) {
  return Control<QRadioButton>(d, "FlatRadioButtonKtBf");
}

QStringList Lines(QWidget& dialog) {
  QStringList lines;
  const QAbstractItemModel* model = List(dialog)->model();
  for (int row = 0; row < model->rowCount(); ++row) lines << model->index(row, 0).data().toString();
  return lines;
}

QString Count(QWidget& dialog) {
  return Control<QLabel>(dialog, "LabelJrs")->text();
}

QString CountText(qsizetype n) {
  return QStringLiteral("一共搜索到%1条记录").arg(n);
}

// The lines shown, and the count label agreeing with them.
void ExpectLines(QWidget& dialog, const QStringList& expected) {
  EXPECT_EQ(Lines(dialog), expected);
  EXPECT_EQ(Count(dialog), CountText(expected.size()));
}

// Types text key by key, as a keyboard or an input method delivers it.
void Type(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &release);
  }
}

void ClickLine(QWidget& dialog, int row) {
  QAbstractItemView* list = List(dialog);
  const QRect line = list->visualRect(list->model()->index(row, 0));
  ASSERT_TRUE(list->viewport()->rect().contains(line.center())) << "line " << row;
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, line.center());
}

// Shows the dialog modally, lets drive close it, and reports how it ended.
struct Ending {
  int result = -1;
  int closes = 0;  // finished() signals: exactly one per close
};
Ending RunModal(TSearchDialog& dialog, const std::function<void(TSearchDialog&)>& drive) {
  Ending ending;
  QObject::connect(&dialog, &QDialog::finished, [&ending] { ++ending.closes; });
  QTimer::singleShot(0, &dialog, [&] { drive(dialog); });
  // A drive that fails to close the dialog must not hang the suite.
  QTimer::singleShot(5000, &dialog, [&] {
    if (dialog.isVisible()) dialog.QDialog::done(-1);
  });
  ending.result = dialog.exec();
  QApplication::processEvents();
  return ending;
}

TEST_F(SearchTest, BothDialogsOpenWithTheirCaptionsAndHintsAndListEverything) {
  TFrmDwJs units(dm());
  TFrmFlJs categories(dm());
  struct Case {
    TSearchDialog* dialog;
    QString caption, editHint, listHint;
    QStringList everything;
  } cases[] = {
      {&units, QStringLiteral("单位检索"), QStringLiteral("在此输入要检索的全部或部分单位名称"),
       QStringLiteral("请选择要使用的换算单位"), kAllUnits},
      {&categories, QStringLiteral("类别检索"),
       QStringLiteral("在此输入要检索的全部或部分类别名称"),
       QStringLiteral("请选择要使用的单位类别"), kAllCategories},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption.toStdString());
    QWidget& d = *c.dialog;
    // The version row belongs to no category and never shows.
    ExpectLines(d, c.everything);
    EXPECT_TRUE(List(d)->selectionModel()->selectedIndexes().isEmpty());
    EXPECT_EQ(d.windowTitle(), c.caption);
    EXPECT_EQ(d.size(), QSize(273, 257));
    EXPECT_EQ(d.minimumSize(), d.maximumSize());
    EXPECT_TRUE(d.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(d.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                                    Qt::WindowContextHelpButtonHint));
    EXPECT_EQ(Edit(d)->toolTip(), c.editHint);
    EXPECT_EQ(List(d)->toolTip(), c.listHint);
    EXPECT_TRUE(Edit(d)->text().isEmpty());
    EXPECT_TRUE(AnyPart(d)->isChecked());
    EXPECT_FALSE(Beginning(d)->isChecked());
    EXPECT_EQ(Control<QLabel>(d, "Label1")->buddy(), Edit(d));
    EXPECT_EQ(Control<QPushButton>(d, "FlatButton1")->text(), QStringLiteral("确认(&O)"));
    EXPECT_EQ(Control<QPushButton>(d, "FlatButton2")->text(), QStringLiteral("取消(&C)"));
    for (const char* name : {"FlatGroupBox1", "FlatGroupBox2"}) Control<QWidget>(d, name);
  }
  EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(SearchTest, OpensCentredOnItsParentWithTheFocusInTheEditBox) {
  QWidget main;
  main.setGeometry(200, 150, 640, 480);
  main.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
  TFrmDwJs dialog(dm(), &main);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  const QPoint offset = dialog.geometry().center() - main.geometry().center();
  EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
  EXPECT_EQ(dialog.focusWidget(), Edit(dialog));
}

TEST_F(SearchTest, AnyPartNarrowsAndTheBeginningModeNarrowsFurtherWithoutATextChange) {
  TFrmDwJs dialog(dm());
  dialog.show();
  Type(Edit(dialog), QStringLiteral("米"));
  ExpectLines(dialog,
              {QStringLiteral("米"), QStringLiteral("千米"), QStringLiteral("厘米"),
               QStringLiteral("毫米"), QStringLiteral("平方米"), QStringLiteral("平方千米")});

  QTest::mouseClick(Beginning(dialog), Qt::LeftButton);
  ASSERT_TRUE(Beginning(dialog)->isChecked());
  EXPECT_FALSE(AnyPart(dialog)->isChecked());
  ExpectLines(dialog, {QStringLiteral("米")});

  // Clicking the mode that is already on changes nothing, a line picked stays picked.
  ClickLine(dialog, 0);
  QTest::mouseClick(Beginning(dialog), Qt::LeftButton);
  EXPECT_EQ(List(dialog)->selectionModel()->selectedIndexes().size(), 1);

  QTest::mouseClick(AnyPart(dialog), Qt::LeftButton);
  EXPECT_EQ(Lines(dialog).size(), 6);
}

TEST_F(SearchTest, BlankTextKeepsTheLastResultAndSelection) {
  TFrmFlJs dialog(dm());
  dialog.show();
  Type(Edit(dialog), QStringLiteral("量"));
  ExpectLines(dialog, {QStringLiteral("质量")});
  ClickLine(dialog, 0);

  // Deleting the text, then blanks and a tab: no search, nothing changes.
  QTest::keyClick(Edit(dialog), Qt::Key_Backspace);
  ASSERT_TRUE(Edit(dialog)->text().isEmpty());
  Type(Edit(dialog), QStringLiteral("  \t"));
  ExpectLines(dialog, {QStringLiteral("质量")});
  EXPECT_EQ(List(dialog)->selectionModel()->selectedIndexes().size(), 1);
  // Neither does switching the mode with a blank text.
  QTest::mouseClick(Beginning(dialog), Qt::LeftButton);
  ExpectLines(dialog, {QStringLiteral("质量")});
}

TEST_F(SearchTest, TextIsSearchedAsTypedWithItsWildcardsBlanksAndQuotes) {
  struct Case {
    const char* label;
    bool beginning;
    QString text;
    QStringList units;
  } cases[] = {
      {"leading blank kept", false, QStringLiteral(" 里"), {QStringLiteral("海 里")}},
      {"trailing blank kept", false, QStringLiteral("海 "), {QStringLiteral("海 里")}},
      {"percent, any part", false, QStringLiteral("%"), kAllUnits},
      {"percent, beginning", true, QStringLiteral("%"), kAllUnits},
      {"underscore, beginning", true, QStringLiteral("_"), kAllUnits},
      {"underscore needs a character",
       false,
       QStringLiteral("_米"),
       {QStringLiteral("千米"), QStringLiteral("厘米"), QStringLiteral("毫米"),
        QStringLiteral("平方米"), QStringLiteral("平方千米")}},
      {"wildcard inside",
       true,
       QStringLiteral("平%米"),
       {QStringLiteral("平方米"), QStringLiteral("平方千米")}},
      {"quote", false, QStringLiteral("'"), {QStringLiteral("O'Neil尺"), QStringLiteral("O'基")}},
      {"quote then text", true, QStringLiteral("O'N"), {QStringLiteral("O'Neil尺")}},
      {"statement text is just text", false, QStringLiteral("' or '1'='1"), {}},
      {"longest name whole", true, kLongName, {kLongName}},
      {"longest name's tail", false, kLongName.right(3), {kLongName}},
      {"nothing found", false, QStringLiteral("光年"), {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TFrmDwJs dialog(dm());
    dialog.show();
    if (c.beginning) QTest::mouseClick(Beginning(dialog), Qt::LeftButton);
    Type(Edit(dialog), c.text);
    ExpectLines(dialog, c.units);
  }
  EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(SearchTest, CategorySearchTakesWildcardsAndQuotesToo) {
  struct Case {
    bool beginning;
    QString text;
    QStringList categories;
  } cases[] = {
      {true, QStringLiteral("%"), kAllCategories},
      {true, QStringLiteral("_"), kAllCategories},
      {false, QStringLiteral("'"), {QStringLiteral("O'类")}},
      {true, QStringLiteral("质"), {QStringLiteral("质量")}},
      {true, QStringLiteral("量"), {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    TFrmFlJs dialog(dm());
    dialog.show();
    if (c.beginning) QTest::mouseClick(Beginning(dialog), Qt::LeftButton);
    Type(Edit(dialog), c.text);
    ExpectLines(dialog, c.categories);
  }
}

// How a dialog is closed, and what it hands back.
struct CloseCase {
  const char* label;
  std::function<void(TSearchDialog&)> close;
  int result;
};
const CloseCase kCloses[] = {
    {"OK",
     [](TSearchDialog& d) {
       QTest::mouseClick(Control<QPushButton>(d, "FlatButton1"), Qt::LeftButton);
     },
     TSearchDialog::kModalOk},
    {"Enter in the edit box", [](TSearchDialog& d) { QTest::keyClick(Edit(d), Qt::Key_Return); },
     TSearchDialog::kModalOk},
    {"Enter in the list", [](TSearchDialog& d) { QTest::keyClick(List(d), Qt::Key_Enter); },
     TSearchDialog::kModalOk},
    {"Cancel",
     [](TSearchDialog& d) {
       QTest::mouseClick(Control<QPushButton>(d, "FlatButton2"), Qt::LeftButton);
     },
     TSearchDialog::kModalCancel},
    {"Escape", [](TSearchDialog& d) { QTest::keyClick(Edit(d), Qt::Key_Escape); },
     TSearchDialog::kModalCancel},
    {"close box", [](TSearchDialog& d) { d.close(); }, TSearchDialog::kModalCancel},
};

TEST_F(SearchTest, EveryCloseHandsBackTheSelectedLineOrElseTheFirst) {
  for (const CloseCase& c : kCloses) {
    for (const int picked : {-1, 8}) {
      SCOPED_TRACE(std::string(c.label) + (picked < 0 ? ", nothing picked" : ", line picked"));
      TFrmDwJs dialog(dm());
      const Ending ending = RunModal(dialog, [&](TSearchDialog& d) {
        if (picked >= 0) ClickLine(d, picked);
        c.close(d);
      });
      EXPECT_EQ(ending.result, c.result);
      EXPECT_EQ(dialog.result(), c.result);
      EXPECT_EQ(ending.closes, 1);
      if (picked < 0) {
        EXPECT_EQ(dialog.SelectedDwmc(), QStringLiteral("米"));
        EXPECT_EQ(dialog.SelectedLbmc(), QStringLiteral("长度"));
      } else {
        EXPECT_EQ(dialog.SelectedDwmc(), QStringLiteral("克"));
        EXPECT_EQ(dialog.SelectedLbmc(), QStringLiteral("质量"));
      }
    }
  }
}

TEST_F(SearchTest, CategorySearchHandsBackTheLineOnEveryClose) {
  for (const CloseCase& c : kCloses) {
    SCOPED_TRACE(c.label);
    TFrmFlJs dialog(dm());
    const Ending ending = RunModal(dialog, [&](TSearchDialog& d) {
      Type(Edit(d), QStringLiteral("面"));
      c.close(d);
    });
    EXPECT_EQ(ending.result, c.result);
    EXPECT_EQ(ending.closes, 1);
    EXPECT_EQ(dialog.SelectedLbmc(), QStringLiteral("面积"));
  }
}

TEST_F(SearchTest, AnEmptyListHandsBackEmptyTexts) {
  for (const CloseCase& c : kCloses) {
    SCOPED_TRACE(c.label);
    TFrmDwJs units(dm());
    RunModal(units, [&](TSearchDialog& d) {
      Type(Edit(d), QStringLiteral("光年"));
      c.close(d);
    });
    EXPECT_TRUE(units.SelectedDwmc().isEmpty());
    EXPECT_TRUE(units.SelectedLbmc().isEmpty());

    TFrmFlJs categories(dm());
    RunModal(categories, [&](TSearchDialog& d) {
      Type(Edit(d), QStringLiteral("光年"));
      c.close(d);
    });
    EXPECT_TRUE(categories.SelectedLbmc().isEmpty());
  }
}

// A real double click, through the window: press, release, press, release.
void DoubleClickLine(QWidget& dialog, int row) {
  QAbstractItemView* list = List(dialog);
  const QPoint centre = list->visualRect(list->model()->index(row, 0)).center();
  QTest::mouseDClick(dialog.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                     list->viewport()->mapTo(&dialog, centre));
}

TEST_F(SearchTest, DoubleClickAcceptsTheClickedLine) {
  TFrmDwJs units(dm());
  const Ending ending = RunModal(units, [](TSearchDialog& d) {
    Type(Edit(d), QStringLiteral("千"));  // 千米, 千克, 平方千米
    DoubleClickLine(d, 1);
  });
  EXPECT_EQ(ending.result, TSearchDialog::kModalOk);
  EXPECT_EQ(ending.closes, 1);
  EXPECT_EQ(units.SelectedDwmc(), QStringLiteral("千克"));
  EXPECT_EQ(units.SelectedLbmc(), QStringLiteral("质量"));

  TFrmFlJs categories(dm());
  RunModal(categories, [](TSearchDialog& d) { DoubleClickLine(d, 2); });
  EXPECT_EQ(categories.result(), TSearchDialog::kModalOk);
  EXPECT_EQ(categories.SelectedLbmc(), QStringLiteral("面积"));
}

TEST_F(SearchTest, AcceleratorsMoveTheFocusButNeverSwitchTheMode) {
  TFrmDwJs dialog(dm());
  dialog.show();
  dialog.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  Type(Edit(dialog), QStringLiteral("米"));
  struct Case {
    Qt::Key key;
    const char* focused;
  } cases[] = {
      {Qt::Key_E, "FlatRadioButtonKtBf"},
      {Qt::Key_J, "RzListBoxJg"},
      {Qt::Key_A, "FlatRadioButtonRhBf"},
      {Qt::Key_M, "FlatEditNr"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.focused);
    QTest::keyClick(QApplication::focusWidget(), c.key, Qt::AltModifier);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QString::fromLatin1(c.focused));
    EXPECT_TRUE(AnyPart(dialog)->isChecked());
    EXPECT_EQ(Lines(dialog).size(), 6);
  }
}

TEST_F(SearchTest, AFailingSearchIsReportedAndTheDialogStaysUsable) {
  TFrmDwJs dialog(dm());
  dialog.show();
  Type(Edit(dialog), QStringLiteral("米"));
  ExpectLines(dialog,
              {QStringLiteral("米"), QStringLiteral("千米"), QStringLiteral("厘米"),
               QStringLiteral("毫米"), QStringLiteral("平方米"), QStringLiteral("平方千米")});

  TamperWithCategories("ALTER TABLE LB RENAME TO LB_away");
  Type(Edit(dialog), QStringLiteral("千"));
  EXPECT_EQ(boxes.size(), 1);
  // The list is emptied, the count still tells the last good search.
  EXPECT_TRUE(Lines(dialog).isEmpty());
  EXPECT_EQ(Count(dialog), CountText(6));

  TamperWithCategories("ALTER TABLE LB_away RENAME TO LB");
  QTest::keyClick(Edit(dialog), Qt::Key_Backspace);  // "米" again
  ExpectLines(dialog,
              {QStringLiteral("米"), QStringLiteral("千米"), QStringLiteral("厘米"),
               QStringLiteral("毫米"), QStringLiteral("平方米"), QStringLiteral("平方千米")});

  // Closing after a failure hands back empty texts rather than a stale category.
  TamperWithCategories("ALTER TABLE LB RENAME TO LB_away");
  dialog.hide();
  const Ending ending = RunModal(dialog, [](TSearchDialog& d) {
    Type(Edit(d), QStringLiteral("千"));
    QTest::keyClick(Edit(d), Qt::Key_Return);
  });
  EXPECT_EQ(ending.result, TSearchDialog::kModalOk);
  EXPECT_TRUE(dialog.SelectedDwmc().isEmpty());
  EXPECT_TRUE(dialog.SelectedLbmc().isEmpty());
  EXPECT_EQ(boxes.size(), 2);
}

TEST_F(SearchTest, AFailingOpeningSearchLeavesAnEmptyUsableDialog) {
  TamperWithCategories("ALTER TABLE LB RENAME TO LB_away");
  TFrmFlJs dialog(dm());
  EXPECT_EQ(boxes.size(), 1);
  EXPECT_TRUE(Lines(dialog).isEmpty());
  TamperWithCategories("ALTER TABLE LB_away RENAME TO LB");
  dialog.show();
  Type(Edit(dialog), QStringLiteral("%"));
  ExpectLines(dialog, kAllCategories);
}

}  // namespace
}  // namespace vantrel
