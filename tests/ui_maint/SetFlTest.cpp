// The category window and its dialog: adding, renaming and deleting categories, the
// dialog's checks, and names that must reach the store exactly as typed.
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "tests/ui_maint/MaintFixture.h"
#include "ui/UntAddDw.h"
#include "ui/UntAddFl.h"
#include "ui/UntSetDw.h"
#include "ui/UntSetFl.h"

namespace vantrel::testing {
namespace {

class CategoryWindowTest : public MaintFixture {
 protected:
  static QStringList Grid(const TFrmSetFl& window) {
    QStringList rows;
    for (const CategoryGridRow& row : window.GridRows())
      rows << QString::fromStdString(row.categoryName + "/" + row.baseUnitName);
    return rows;
  }

  static void SelectRow(TFrmSetFl& window, int row) {
    window.DBGridEhLb->setCurrentIndex(window.DBGridEhLb->model()->index(row, 1));
    window.DBGridEhLb->selectRow(row);
  }

  // One category dialog: both names typed, confirmed with Enter.
  void Confirm(const QString& name, const QString& baseUnit) {
    OnCategoryDialog([=](TFrmAddFl& d) {
      d.FlatEdit1->clear();
      d.FlatEdit2->clear();
      Type(d.FlatEdit1, name);
      Type(d.FlatEdit2, baseUnit);
      Press(d.FlatEdit2, Qt::Key_Return);
    });
  }
};

TEST_F(CategoryWindowTest, AddsACategoryWithItsBaseUnitAndReadsTheGridAgain) {
  const int length = dm().AddCategory("长度", "米");
  TFrmSetFl window(dm());
  EXPECT_EQ(Grid(window), QStringList{"长度/米"});

  OnCategoryDialog([](TFrmAddFl& d) {
    EXPECT_FALSE(d.IsModify);
    EXPECT_EQ(d.FlatEdit1->text(), "");
    EXPECT_EQ(d.FlatEdit2->text(), "");
    EXPECT_EQ(d.focusWidget(), d.FlatEdit1);
    Type(d.FlatEdit1, "重量");
    Type(d.FlatEdit2, "千克");
    Press(d.FlatEdit1, Qt::Key_Enter);
  });
  SelectRow(window, 0);
  window.FlatButton1->click();

  EXPECT_EQ(Grid(window), (QStringList{"长度/米", "重量/千克"}));
  EXPECT_EQ(window.CurrentRow(), 0);
  const int mass = window.GridRows()[1].categoryId;
  EXPECT_NE(mass, length);
  EXPECT_EQ(CategoryName(mass), "重量");
  const auto base = Unit(mass, "千克");
  ASSERT_TRUE(base);
  EXPECT_TRUE(base->base);
  EXPECT_EQ(base->jbbz, 1.0);
  EXPECT_EQ(base->refId, base->id);
  EXPECT_EQ(base->id, window.GridRows()[1].baseUnitId);
  const auto pair = dm().UnitPair(mass);
  ASSERT_TRUE(pair);
  EXPECT_EQ(pair->from, "");
  EXPECT_EQ(pair->to, "");
}

TEST_F(CategoryWindowTest, ConfirmChecksRunInOrderAndWriteNothing) {
  dm().AddCategory("长度", "米");
  struct Case {
    QString name;
    QString baseUnit;
    QString message;
    const char* focus;
  };
  const QString tooLong = kLongestName + QStringLiteral("长");
  const Case cases[] = {
      {"", "米", "请输入类别名称!", "FlatEdit1"},
      {"  ", "", "请输入类别名称!", "FlatEdit1"},
      {"重量", " \t", "请输入基本计量单位名称!", "FlatEdit2"},
      {tooLong, "千克", "类别名称太长,最多50个字节(25个汉字)!", "FlatEdit1"},
      {"重量", tooLong, "基本计量单位名称太长,最多50个字节(25个汉字)!", "FlatEdit2"},
      {"重量😀", "千克", "类别名称中含有无法保存的字符,请换用其他字符!", "FlatEdit1"},
      {"重量", "한국", "基本计量单位名称中含有无法保存的字符,请换用其他字符!", "FlatEdit2"},
      {"长度", "千克", "此类别已存在!", "FlatEdit1"},
  };
  TFrmSetFl window(dm());
  const std::string before = Tables();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.toStdString() + " / " + c.baseUnit.toStdString());
    messages.clear();
    OnCategoryDialog([&](TFrmAddFl& d) {
      Type(d.FlatEdit1, c.name);
      Type(d.FlatEdit2, c.baseUnit);
      d.FlatButton1->click();
      EXPECT_TRUE(d.isVisible());
      ASSERT_EQ(messages.size(), 1u);
      EXPECT_EQ(messages[0].text, c.message);
      EXPECT_EQ(messages[0].caption, "错误");
      EXPECT_EQ(messages[0].icon,
                c.message == "此类别已存在!" ? MessageIcon::Warning : MessageIcon::Information);
      ASSERT_TRUE(d.focusWidget());
      EXPECT_EQ(d.focusWidget()->objectName(), c.focus);
      Press(d.FlatEdit1, Qt::Key_Escape);
      EXPECT_FALSE(d.isVisible());
    });
    window.FlatButton1->click();
  }
  EXPECT_EQ(Tables(), before);
}

TEST_F(CategoryWindowTest, RenamesTheCurrentRowInPlace) {
  dm().AddCategory("长度", "米");
  const int mass = dm().AddCategory("重量", "千克");
  dm().AddCategory("时间", "秒");
  TFrmSetFl window(dm());
  window.show();
  SelectRow(window, 1);

  OnCategoryDialog([](TFrmAddFl& d) {
    EXPECT_TRUE(d.IsModify);
    EXPECT_EQ(d.FlatEdit1->text(), "重量");
    EXPECT_EQ(d.FlatEdit2->text(), "千克");
  });
  window.FlatButton2->click();  // cancelled: nothing changes
  EXPECT_EQ(Grid(window), (QStringList{"长度/米", "重量/千克", "时间/秒"}));

  Confirm("质量", "公斤");
  window.FlatButton2->click();
  EXPECT_EQ(CategoryName(mass), "质量");
  EXPECT_TRUE(Unit(mass, "公斤") && Unit(mass, "公斤")->base);
  EXPECT_EQ(Grid(window), (QStringList{"长度/米", "质量/公斤", "时间/秒"}));
  EXPECT_EQ(window.CurrentRow(), 1);

  // Renaming does not test for duplicates: another category's name is taken as it is.
  Confirm("长度", "公斤");
  const QModelIndex cell = window.DBGridEhLb->model()->index(1, 1);
  const QPoint at = window.DBGridEhLb->visualRect(cell).center();
  QTest::mouseClick(window.DBGridEhLb->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(window.DBGridEhLb->viewport(), Qt::LeftButton, {}, at);
  EXPECT_EQ(CategoryName(mass), "长度");
  EXPECT_EQ(Grid(window), (QStringList{"长度/米", "长度/公斤", "时间/秒"}));
  EXPECT_EQ(window.CurrentRow(), 1);
  EXPECT_TRUE(messages.empty());
}

TEST_F(CategoryWindowTest, DeletesOnlyACategoryHoldingNothingButItsBaseUnit) {
  const int length = dm().AddCategory("长度", "米");
  const int mass = dm().AddCategory("重量", "千克");
  dm().AddUnit("克", mass, 0.001, *dm().BaseUnitId(mass));
  TFrmSetFl window(dm());

  SelectRow(window, 1);
  const std::string before = Tables();
  window.FlatButton3->click();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text,
            "此类别下已经有多个单位,请先删除它所属\n的各个单位后,再对它进行删除操作!");
  EXPECT_EQ(messages[0].icon, MessageIcon::Warning);
  EXPECT_EQ(Tables(), before);
  EXPECT_EQ(Grid(window), (QStringList{"长度/米", "重量/千克"}));

  SelectRow(window, 0);
  window.FlatButton3->click();
  EXPECT_FALSE(CategoryName(length));
  EXPECT_FALSE(Unit(length, "米"));
  EXPECT_EQ(Grid(window), QStringList{"重量/千克"});
  EXPECT_EQ(window.CurrentRow(), 0);
  EXPECT_TRUE(CategoryName(mass));
}

TEST_F(CategoryWindowTest, WithNothingListedRenameAndDeleteDoNothing) {
  TFrmSetFl window(dm());
  EXPECT_TRUE(window.GridRows().empty());
  EXPECT_FALSE(window.CurrentRow());
  const std::string before = Tables();
  window.FlatButton2->click();
  window.FlatButton3->click();
  EXPECT_EQ(dialogsShown, 0);
  EXPECT_EQ(Tables(), before);
  EXPECT_TRUE(errors.isEmpty());
  EXPECT_TRUE(messages.empty());

  // The first category added becomes the current row.
  Confirm("长度", "米");
  window.FlatButton1->click();
  EXPECT_EQ(Grid(window), QStringList{"长度/米"});
  EXPECT_EQ(window.CurrentRow(), 0);
}

TEST_F(CategoryWindowTest, RowsAreStripedAndOnlyTheFocusedRowIsHighlighted) {
  dm().AddCategory("长度", "米");
  dm().AddCategory("重量", "千克");
  dm().AddCategory("时间", "秒");
  TFrmSetFl window(dm());
  window.show();
  QTableView* grid = window.DBGridEhLb;
  auto colourAt = [&](int row) {
    const QImage image = grid->viewport()->grab().toImage();
    const QRect cell = grid->visualRect(grid->model()->index(row, 3));
    return QColor(image.pixel(cell.right() - 3, cell.center().y()));
  };
  window.FlatButton1->setFocus();
  ASSERT_FALSE(grid->hasFocus());
  EXPECT_EQ(colourAt(0), QColor(235, 234, 224)) << "selected, but the grid lacks the focus";
  EXPECT_EQ(colourAt(1), QColor(227, 226, 213));
  EXPECT_EQ(colourAt(2), QColor(235, 234, 224));

  QApplication::setActiveWindow(&window);
  grid->setFocus();
  if (!grid->hasFocus()) GTEST_SKIP() << "this platform gives no focus offscreen";
  EXPECT_NE(colourAt(0), QColor(235, 234, 224));
  EXPECT_EQ(colourAt(1), QColor(227, 226, 213));
}

// The dialog as the program shows it: modal, in a nested event loop.
TEST_F(CategoryWindowTest, TheDialogRunsModallyInTheProgram) {
  TFrmSetFl::SetDialogRunnerForTesting(nullptr);
  TFrmSetFl window(dm());
  window.show();
  bool driven = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<TFrmAddFl*>(QApplication::activeModalWidget());
    ASSERT_TRUE(dialog);
    Type(dialog->FlatEdit1, "长度");
    Type(dialog->FlatEdit2, "米");
    Press(dialog->FlatEdit1, Qt::Key_Return);
    driven = true;
  });
  window.FlatButton1->click();
  EXPECT_TRUE(driven);
  EXPECT_EQ(Grid(window), QStringList{"长度/米"});
}

TEST_F(CategoryWindowTest, EscapeClosesTheWindowFromAnyControl) {
  TFrmSetFl window(dm());
  window.show();
  Press(window.DBGridEhLb, Qt::Key_Escape);
  EXPECT_FALSE(window.isVisible());
  window.show();
  Press(window.FlatButton1, Qt::Key_Escape);
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(dialogsShown, 0);
}

// Quotes, wildcards and names of the greatest length go in and come out as typed,
// through both windows.
TEST_F(CategoryWindowTest, NamesAreStoredExactlyAsTyped) {
  const QString names[] = {"it's", "50%", "a_b", "\"双\"", " 空格 ", kLongestName};
  TFrmSetFl categories(dm());
  for (const QString& name : names) {
    Confirm(name, name);
    categories.FlatButton1->click();
  }
  ASSERT_EQ(categories.GridRows().size(), std::size(names));
  const int target = categories.GridRows()[0].categoryId;
  for (std::size_t i = 0; i < std::size(names); ++i) {
    const CategoryGridRow& row = categories.GridRows()[i];
    EXPECT_EQ(CategoryName(row.categoryId), names[i].toStdString());
    EXPECT_TRUE(Unit(row.categoryId, names[i].toStdString()));
    EXPECT_EQ(Grid(categories)[static_cast<int>(i)], names[i] + "/" + names[i]);
  }

  // The same names as units of the first category, whose base unit is "it's".
  TFrmSetDw units(dm());
  EXPECT_EQ(units.FlatComboBoxLb->currentText(), "it's");
  for (std::size_t i = 1; i < std::size(names); ++i) {
    OnUnitDialog([&](TFrmAddDw& d) {
      Type(d.FlatEdit1, names[i]);
      Type(d.FlatEdit2, "2");
      d.FlatButton1->click();
    });
    units.FlatButton1->click();
    const auto unit = Unit(target, names[i].toStdString());
    ASSERT_TRUE(unit) << names[i].toStdString();
    EXPECT_EQ(unit->jbbz, 2.0);
  }
  EXPECT_EQ(units.RzListBox1->count(), static_cast<int>(std::size(names)) - 1);
  EXPECT_TRUE(messages.empty());

  // One character more is refused in every name field; nothing is cut.
  const QString tooLong = kLongestName + QStringLiteral("长");
  const std::string before = Tables();
  OnCategoryDialog([&](TFrmAddFl& d) {
    Type(d.FlatEdit1, tooLong);
    Type(d.FlatEdit2, "米");
    d.FlatButton1->click();
    EXPECT_EQ(d.FlatEdit1->text(), tooLong);
  });
  categories.FlatButton1->click();
  OnUnitDialog([&](TFrmAddDw& d) {
    Type(d.FlatEdit1, tooLong);
    Type(d.FlatEdit2, "2");
    d.FlatButton1->click();
    EXPECT_EQ(d.FlatEdit1->text(), tooLong);
  });
  units.FlatButton1->click();
  EXPECT_EQ(messages.size(), 2u);
  EXPECT_EQ(Tables(), before);
}

}  // namespace
}  // namespace vantrel::testing
