// The unit window and its dialog: defining units against one another, the checks of
// the dialog, and what each step leaves in the store.
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "tests/ui_maint/MaintFixture.h"
#include "ui/UntAddDw.h"
#include "ui/UntSetDw.h"

namespace vantrel::testing {
namespace {

class UnitWindowTest : public MaintFixture {
 protected:
  void SetUp() override {
    MaintFixture::SetUp();
    length = dm().AddCategory("长度", "米");
    mass = dm().AddCategory("重量", "千克");
  }

  int UnitId(const std::string& name, int category = 0) {
    const auto unit = Unit(category ? category : length, name);
    return unit ? unit->id : -1;
  }

  static QStringList Listed(const TFrmSetDw& window) {
    QStringList names;
    for (int i = 0; i < window.RzListBox1->count(); ++i)
      names << window.RzListBox1->item(i)->text();
    return names;
  }

  static void SelectUnit(TFrmSetDw& window, const QString& name) {
    const auto found = window.RzListBox1->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    window.RzListBox1->setCurrentItem(found.first());
  }

  // One dialog: type a name and a ratio against the preselected reference, confirm.
  void AddVia(TFrmSetDw& window, const QString& name, const QString& ratio) {
    OnUnitDialog([&](TFrmAddDw& d) {
      Type(d.FlatEdit1, name);
      Type(d.FlatEdit2, ratio);
      d.FlatButton1->click();
    });
    window.FlatButton1->click();
  }

  int length = 0;
  int mass = 0;
};

TEST_F(UnitWindowTest, DefinesUnitsAgainstEachOtherAndKeepsTheirSizes) {
  TFrmSetDw window(dm());
  EXPECT_EQ(window.FlatComboBoxLb->currentText(), "长度");
  EXPECT_TRUE(Listed(window).isEmpty()) << "the base unit is never listed";

  // 千米 against the preselected base unit.
  OnUnitDialog([](TFrmAddDw& d) {
    EXPECT_EQ(d.FlatComboBox1->currentText(), "米");
    EXPECT_EQ(d.FlatEdit2->text(), "");
    Type(d.FlatEdit1, "千米");
    Type(d.FlatEdit2, "1000");
    d.FlatButton1->click();
  });
  window.FlatButton1->click();
  auto km = Unit(length, "千米");
  ASSERT_TRUE(km);
  EXPECT_EQ(km->jbbz, 1000.0);
  EXPECT_EQ(km->refId, UnitId("米"));
  EXPECT_FALSE(km->base);
  EXPECT_EQ(Listed(window), QStringList{"千米"});

  // 英里 against 千米, chosen while the ratio field is still empty: the invalid number
  // is reported, the chooser keeps 千米 and the ratio typed afterwards counts against it.
  OnUnitDialog([&](TFrmAddDw& d) {
    Type(d.FlatEdit1, "英里");
    Pick(d.FlatComboBox1, "千米");
    EXPECT_EQ(errors, QStringList{"你输入的不是一个合法的实数！"});
    EXPECT_EQ(d.FlatEdit2->text(), "");
    Type(d.FlatEdit2, "1.609344");
    d.FlatButton1->click();
  });
  window.FlatButton1->click();
  auto mile = Unit(length, "英里");
  ASSERT_TRUE(mile);
  EXPECT_EQ(FormatNumber(mile->jbbz), "1609.344");
  EXPECT_EQ(mile->refId, km->id);
  const double mileJbbz = mile->jbbz;

  // The dialog of 英里 states it against 千米; choosing 米 restates the same size.
  SelectUnit(window, "英里");
  const std::string before = Tables();
  OnUnitDialog([](TFrmAddDw& d) {
    EXPECT_TRUE(d.IsModify);
    EXPECT_EQ(Items(d.FlatComboBox1), (QStringList{"米", "千米"})) << "never the unit itself";
    EXPECT_EQ(d.FlatEdit1->text(), "英里");
    EXPECT_EQ(d.FlatComboBox1->currentText(), "千米");
    EXPECT_EQ(d.FlatEdit2->text(), "1.609344");
    Pick(d.FlatComboBox1, "米");
    EXPECT_EQ(d.FlatEdit2->text(), "1609.344");
    d.FlatButton2->click();
  });
  window.FlatButton2->click();
  EXPECT_EQ(Tables(), before) << "a cancelled dialog writes nothing";

  // A new unit typed as 1000 米, then restated against 千米, is 1 千米.
  OnUnitDialog([&](TFrmAddDw& d) {
    Type(d.FlatEdit2, "1000");
    Pick(d.FlatComboBox1, "千米");
    EXPECT_EQ(d.FlatEdit2->text(), "1");
    Pick(d.FlatComboBox1, "米");
    EXPECT_EQ(d.FlatEdit2->text(), "1000");
    // After a failed restatement the field counts against the unit the chooser shows.
    d.FlatEdit2->clear();
    Pick(d.FlatComboBox1, "千米");
    EXPECT_EQ(errors.size(), 2);
    Type(d.FlatEdit2, "2");
    Pick(d.FlatComboBox1, "米");
    EXPECT_EQ(d.FlatEdit2->text(), "2000");
    Press(d.FlatEdit2, Qt::Key_Escape);
    EXPECT_FALSE(d.isVisible());
  });
  window.FlatButton1->click();
  EXPECT_EQ(Tables(), before);

  // Changing 千米 leaves 英里's stored size as it was.
  SelectUnit(window, "千米");
  OnUnitDialog([](TFrmAddDw& d) {
    EXPECT_EQ(d.FlatEdit2->text(), "1000");
    d.FlatEdit2->clear();
    Type(d.FlatEdit2, "1500");
    Press(d.FlatEdit2, Qt::Key_Return);
  });
  window.FlatButton2->click();
  EXPECT_EQ(Unit(length, "千米")->jbbz, 1500.0);
  EXPECT_EQ(Unit(length, "英里")->jbbz, mileJbbz);
  EXPECT_EQ(Unit(length, "英里")->refId, km->id);

  // Deleting 千米 points 英里 at the base unit; its dialog then shows 1609.344 米.
  SelectUnit(window, "千米");
  window.FlatButton3->click();
  EXPECT_FALSE(Unit(length, "千米"));
  EXPECT_EQ(Unit(length, "英里")->refId, UnitId("米"));
  EXPECT_EQ(Unit(length, "英里")->jbbz, mileJbbz);
  EXPECT_EQ(Listed(window), QStringList{"英里"});
  OnUnitDialog([](TFrmAddDw& d) {
    EXPECT_EQ(d.FlatComboBox1->currentText(), "米");
    EXPECT_EQ(d.FlatEdit2->text(), "1609.344");
  });
  window.FlatButton2->click();
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(errors.size(), 2);
}

TEST_F(UnitWindowTest, ConfirmChecksRunInOrderAndWriteNothing) {
  dm().AddUnit("千米", length, 1000, *dm().BaseUnitId(length));
  struct Case {
    QString name;
    QString ratio;  // typed, then pasted text after "|"
    QString message;
    const char* focus;
  };
  const QString tooLong = kLongestName + QStringLiteral("长");
  const Case cases[] = {
      {"", "1000", "请输入单位名称!", "FlatEdit1"},
      {" \t ", "", "请输入单位名称!", "FlatEdit1"},
      {"😀", "", "单位名称中含有无法保存的字符,请换用其他字符!", "FlatEdit1"},
      {tooLong, "1000", "单位名称太长,最多50个字节(25个汉字)!", "FlatEdit1"},
      {"英里", "", "请输入比值!", "FlatEdit2"},
      {"英里", "   ", "请输入比值!", "FlatEdit2"},
      {"米", "1.2.3", "请输入的比值含有非法字符!", "FlatEdit2"},
      {"英里", "1-2", "请输入的比值含有非法字符!", "FlatEdit2"},
      {"英里", "|1,5", "请输入的比值含有非法字符!", "FlatEdit2"},
      {"英里", "|\t7", "请输入的比值含有非法字符!", "FlatEdit2"},
      {"米", "0", "比值必须大于零!", "FlatEdit2"},
      {"英里", "-1", "比值必须大于零!", "FlatEdit2"},
      {"英里", "-0", "比值必须大于零!", "FlatEdit2"},
      {"英里", "1e-400", "比值超出范围,无法换算成基本单位,请重新输入!", "FlatEdit2"},
      {"英里", "1e400", "比值超出范围,无法换算成基本单位,请重新输入!", "FlatEdit2"},
      {"米", "1", "此单位名称已存在!", "FlatEdit1"},
      {"千米", "1", "此单位名称已存在!", "FlatEdit1"},
  };
  TFrmSetDw window(dm());
  const std::string before = Tables();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.toStdString() + " / " + c.ratio.toStdString());
    messages.clear();
    OnUnitDialog([&](TFrmAddDw& d) {
      Type(d.FlatEdit1, c.name);
      const QStringList ratio = c.ratio.split(u'|');
      Type(d.FlatEdit2, ratio[0]);
      if (ratio.size() > 1) Paste(d.FlatEdit2, ratio[1]);
      d.FlatButton1->click();
      EXPECT_TRUE(d.isVisible()) << "the dialog stays open";
      ASSERT_EQ(messages.size(), 1u);
      EXPECT_EQ(messages[0].text, c.message);
      EXPECT_EQ(messages[0].caption, "错误");
      EXPECT_EQ(messages[0].icon,
                c.message == "此单位名称已存在!" ? MessageIcon::Warning : MessageIcon::Information);
      ASSERT_TRUE(d.focusWidget());
      EXPECT_EQ(d.focusWidget()->objectName(), c.focus);
    });
    window.FlatButton1->click();
  }
  EXPECT_EQ(Tables(), before);
  EXPECT_TRUE(errors.isEmpty());
}

TEST_F(UnitWindowTest, AcceptsEveryPositiveNumberAndStoresItsSize) {
  struct Case {
    QString typed;
    QString pasted;
    const char* jbbz;  // as the converter reads it back
  };
  const Case cases[] = {
      {"1E-3", "", "0.001"}, {"0.5", "", "0.5"},   {"", "+5", "5"},
      {"", " 7 ", "7"},      {"2.5e2", "", "250"}, {"1e308", "", "1E308"},
  };
  TFrmSetDw window(dm());
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed.toStdString() + c.pasted.toStdString());
    const QString name = QStringLiteral("单位%1").arg(++n);
    OnUnitDialog([&](TFrmAddDw& d) {
      Type(d.FlatEdit1, name);
      Type(d.FlatEdit2, c.typed);
      if (!c.pasted.isEmpty()) Paste(d.FlatEdit2, c.pasted);
      d.FlatButton1->click();
    });
    window.FlatButton1->click();
    const auto unit = Unit(length, name.toStdString());
    ASSERT_TRUE(unit);
    EXPECT_EQ(FormatNumber(unit->jbbz), c.jbbz);
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(UnitWindowTest, RefusesARatioWhoseBaseRatioOverflows) {
  dm().AddUnit("光年", length, 1e16, *dm().BaseUnitId(length));
  TFrmSetDw window(dm());
  OnUnitDialog([&](TFrmAddDw& d) {
    Type(d.FlatEdit1, "大");
    Pick(d.FlatComboBox1, "光年");  // the empty ratio is reported; the choice stays
    Type(d.FlatEdit2, "1e300");
    d.FlatButton1->click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "比值超出范围,无法换算成基本单位,请重新输入!");
    d.FlatEdit2->clear();
    Type(d.FlatEdit2, "1e290");
    d.FlatButton1->click();
  });
  window.FlatButton1->click();
  EXPECT_EQ(FormatNumber(Unit(length, "大")->jbbz), "1E306");
  EXPECT_EQ(Unit(length, "大")->refId, UnitId("光年"));
}

TEST_F(UnitWindowTest, NamesAreUniqueWithinTheirCategoryOnly) {
  dm().AddUnit("千米", length, 1000, *dm().BaseUnitId(length));
  dm().AddUnit("英里", length, 1609.344, *dm().BaseUnitId(length));
  struct Case {
    int category;        // of the window's chooser
    const char* modify;  // the unit whose dialog opens; nullptr adds one
    QString name;
    bool accepted;
  };
  const Case cases[] = {
      {length, nullptr, "米", false},  // the base unit counts
      {length, nullptr, "千米", false},
      {mass, nullptr, "千米", true},   // another category's name is free
      {length, "千米", "千米", true},  // keeping one's own name
      {length, "千米", "英里", false},
      {length, "千米", "米", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.toStdString());
    messages.clear();
    TFrmSetDw window(dm());
    if (c.category == mass) Pick(window.FlatComboBoxLb, "重量");
    if (c.modify) SelectUnit(window, QString::fromUtf8(c.modify));
    const std::string before = Tables();
    OnUnitDialog([&](TFrmAddDw& d) {
      d.FlatEdit1->clear();
      Type(d.FlatEdit1, c.name);
      if (!c.modify) Type(d.FlatEdit2, "3");
      d.FlatButton1->click();
    });
    (c.modify ? window.FlatButton2 : window.FlatButton1)->click();
    if (c.accepted) {
      EXPECT_TRUE(messages.empty());
      EXPECT_TRUE(Unit(c.category, c.name.toStdString()));
    } else {
      ASSERT_EQ(messages.size(), 1u);
      EXPECT_EQ(messages[0].text, "此单位名称已存在!");
      EXPECT_EQ(Tables(), before);
    }
  }
}

TEST_F(UnitWindowTest, RatioFieldTakesOnlyNumberCharacters) {
  struct Case {
    QString typed;
    QString shown;
  };
  const Case cases[] = {
      {"12a3", "123"},        {"+5", "5"},     {"1 000", "1000"}, {"1,5", "15"},
      {"-1.5E-3", "-1.5E-3"}, {"2e8x", "2e8"}, {"五6", "6"},
  };
  TFrmSetDw window(dm());
  for (const Case& c : cases) {
    OnUnitDialog([&](TFrmAddDw& d) {
      Type(d.FlatEdit2, c.typed);
      EXPECT_EQ(d.FlatEdit2->text(), c.shown) << c.typed.toStdString();
      Press(d.FlatEdit2, Qt::Key_Backspace);
      EXPECT_EQ(d.FlatEdit2->text(), c.shown.chopped(1)) << "Backspace still works";
    });
    window.FlatButton1->click();
  }
}

TEST_F(UnitWindowTest, ZeroSizedReferenceFromOlderDataIsReportedNotUsed) {
  // Catalogues written before zero ratios were refused may still hold one.
  const int zero = dm().AddUnit("零", length, 0, *dm().BaseUnitId(length));
  dm().AddUnit("靠零", length, 5, zero);
  TFrmSetDw window(dm());

  // Its dependant's dialog cannot state a ratio against it: the division is reported.
  SelectUnit(window, "靠零");
  window.FlatButton2->click();
  EXPECT_EQ(dialogsShown, 0);
  EXPECT_EQ(errors, QStringList{"Floating point division by zero."});

  // Restating against it is reported too, and confirming would make a unit of size zero.
  const std::string before = Tables();
  OnUnitDialog([&](TFrmAddDw& d) {
    Type(d.FlatEdit1, "新");
    Type(d.FlatEdit2, "5");
    Pick(d.FlatComboBox1, "零");
    EXPECT_EQ(errors.size(), 2);
    EXPECT_EQ(d.FlatEdit2->text(), "5");
    d.FlatButton1->click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "比值超出范围,无法换算成基本单位,请重新输入!");
  });
  window.FlatButton1->click();
  EXPECT_EQ(Tables(), before);
}

TEST_F(UnitWindowTest, AReferenceThatIsGoneReadsAsTheBaseUnit) {
  const int km = dm().AddUnit("千米", length, 1000, *dm().BaseUnitId(length));
  const int mile = dm().AddUnit("英里", length, 1609.344, km);
  SetReference(mile, 9999);
  TFrmSetDw window(dm());
  SelectUnit(window, "英里");
  OnUnitDialog([](TFrmAddDw& d) {
    EXPECT_EQ(d.FlatComboBox1->currentText(), "米");
    EXPECT_EQ(d.FlatEdit2->text(), "1609.344");
    d.FlatButton1->click();
  });
  window.FlatButton2->click();
  EXPECT_EQ(Unit(length, "英里")->refId, UnitId("米"));
  EXPECT_EQ(FormatNumber(Unit(length, "英里")->jbbz), "1609.344");
  EXPECT_TRUE(errors.isEmpty());
}

TEST_F(UnitWindowTest, WithoutCategoryOrUnitTheButtonsDoNothing) {
  const int empty = dm().AddCategory("空", "个");
  ASSERT_TRUE(dm().DeleteCategory(length));
  ASSERT_TRUE(dm().DeleteCategory(mass));
  {
    TFrmSetDw window(dm());
    EXPECT_EQ(Items(window.FlatComboBoxLb), QStringList{"空"});
    const std::string before = Tables();
    window.FlatButton2->click();
    window.FlatButton3->click();
    EXPECT_EQ(Tables(), before);
  }
  ASSERT_TRUE(dm().DeleteCategory(empty));
  TFrmSetDw window(dm());
  EXPECT_EQ(window.FlatComboBoxLb->count(), 0);
  EXPECT_EQ(window.RzListBox1->count(), 0);
  const std::string before = Tables();
  for (QPushButton* button : {window.FlatButton1, window.FlatButton2, window.FlatButton3})
    button->click();
  EXPECT_EQ(Tables(), before);
  EXPECT_EQ(dialogsShown, 0);
  EXPECT_TRUE(errors.isEmpty());
  EXPECT_TRUE(messages.empty());
}

TEST_F(UnitWindowTest, ChoosingACategoryListsItsUnitsAndEscapeCloses) {
  dm().AddUnit("克", mass, 0.001, *dm().BaseUnitId(mass));
  dm().AddUnit("吨", mass, 1000, *dm().BaseUnitId(mass));
  TFrmSetDw window(dm());
  window.show();
  EXPECT_EQ(window.focusWidget(), window.FlatComboBoxLb);
  Pick(window.FlatComboBoxLb, "重量");
  EXPECT_EQ(Listed(window), (QStringList{"克", "吨"}));
  EXPECT_EQ(window.RzListBox1->currentRow(), 0);
  EXPECT_EQ(window.JbbzList, (std::vector<std::string>{"0.001", "1000"}));
  const std::string baseId = std::to_string(*dm().BaseUnitId(mass));
  EXPECT_EQ(window.RefIdList, (std::vector<std::string>{baseId, baseId}));

  // A double click opens the dialog of the clicked unit.
  OnUnitDialog([](TFrmAddDw& d) { EXPECT_EQ(d.FlatEdit1->text(), "吨"); });
  QListWidgetItem* ton = window.RzListBox1->item(1);
  const QPoint at = window.RzListBox1->visualItemRect(ton).center();
  QTest::mouseClick(window.RzListBox1->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(window.RzListBox1->viewport(), Qt::LeftButton, {}, at);

  Press(window.RzListBox1, Qt::Key_Escape);
  EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace vantrel::testing
