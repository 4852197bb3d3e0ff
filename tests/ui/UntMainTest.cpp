#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <functional>
#include <memory>

#include "app/Settings.h"
#include "conversion/ConvertText.h"
#include "tests/ui/UiFixture.h"
#include "ui/Tools.h"
#include "ui/UntMain.h"

namespace vantrel::testing {
namespace {

const QString kInvalid = QString::fromUtf8(kInvalidInputText);

QString Q(const char* utf8) {
  return QString::fromUtf8(utf8);
}

class MainWindowTest : public UiFixture {
 protected:
  void SetUp() override {
    UiFixture::SetUp();
    QGuiApplication::clipboard()->clear();
  }
  void TearDown() override {
    window_.reset();
    UiFixture::TearDown();
  }

  // A catalogue of two categories: length (m, km, cm) and mass (kg, g).
  void AddLengthAndMass() {
    length_ = AddCategory("长度", "米");
    AddUnit(length_, "千米", 1000);
    AddUnit(length_, "厘米", 0.01);
    mass_ = AddCategory("质量", "千克");
    AddUnit(mass_, "克", 0.001);
  }

  TFrmMain& Open() {
    window_ = std::make_unique<TFrmMain>(dm());
    window_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    window_->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    return *window_;
  }

  void CloseAndReopen() {
    window_->close();
    window_.reset();
    Open();
  }

  template <typename T>
  T* Child(const char* name) {
    T* child = window_->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  QLineEdit* Input() { return Child<QLineEdit>("FlatEdit1"); }
  QLineEdit* Result() { return Child<QLineEdit>("FlatEdit2"); }
  QComboBox* Categories() { return Child<QComboBox>("FlatComboBoxLb"); }
  QListWidget* From() { return Child<QListWidget>("RzListBoxDw1"); }
  QListWidget* To() { return Child<QListWidget>("RzListBoxDw2"); }
  QAction* Action(const char* name) { return Child<QAction>(name); }

  static QString Selected(QListWidget* list) {
    const auto items = list->selectedItems();
    return items.isEmpty() ? QString() : items.first()->text();
  }
  static int SelectedRow(QListWidget* list) {
    const auto items = list->selectedItems();
    return items.isEmpty() ? -1 : list->row(items.first());
  }

  // The user clicks a unit.
  void Click(QListWidget* list, const QString& unit) {
    const auto found = list->findItems(unit, Qt::MatchExactly);
    ASSERT_FALSE(found.isEmpty()) << unit.toStdString();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(found.first()).center());
  }

  // The user steps through the drop-down list with the arrow keys until it shows name.
  void Choose(const QString& name) {
    QComboBox* box = Categories();
    const int target = box->findText(name);
    ASSERT_GE(target, 0) << name.toStdString();
    box->setFocus();
    while (box->currentIndex() != target)
      QTest::keyClick(box, box->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
  }

  void Type(const QString& text) { QTest::keyClicks(Input(), text); }

  // Runs act on the search dialog that action opens, as the user would drive it.
  void Search(const char* action, const std::function<void(QWidget*)>& act) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
      QWidget* dialog = QApplication::activeModalWidget();
      ASSERT_NE(dialog, nullptr);
      ran = true;
      act(dialog);
    });
    Action(action)->trigger();
    EXPECT_TRUE(ran);
  }
  // Beginning mode, the text typed, then Enter (OK with the first line).
  static void FindAtBeginning(QWidget* dialog, const QString& text) {
    QTest::mouseClick(dialog->findChild<QRadioButton*>("FlatRadioButtonKtBf"), Qt::LeftButton);
    QLineEdit* edit = dialog->findChild<QLineEdit*>("FlatEditNr");
    edit->insert(text);  // Chinese text arrives through the input method, not as key codes
    QTest::keyClick(edit, Qt::Key_Return);
  }

  UnitPairNames StoredPair(int categoryId) { return dm().UnitPair(categoryId).value(); }
  QString StoredLbName() {
    return SettingsFile().ReadString(QStringLiteral("Last"), QStringLiteral("LbName"),
                                     QStringLiteral("<missing>"));
  }

  int length_ = 0;
  int mass_ = 0;
  std::unique_ptr<TFrmMain> window_;
};

TEST_F(MainWindowTest, ShowsTheDesignedWindow) {
  AddLengthAndMass();
  TFrmMain& w = Open();
  EXPECT_EQ(w.windowTitle(), Q("VantrelV1.2"));
  EXPECT_EQ(w.frameGeometry().size(), QSize(390, 316));
  EXPECT_EQ(Input()->geometry(), QRect(1, 2, 178, 18));
  EXPECT_EQ(Result()->geometry(), QRect(201, 2, 180, 18));
  EXPECT_EQ(Child<QLabel>("Image1")->geometry(), QRect(182, 3, 16, 16));
  EXPECT_TRUE(Result()->isReadOnly());
  EXPECT_EQ(Categories()->width(), 116);
  const QSplitter* splitter = Child<QSplitter>("RzSplitter1");
  EXPECT_EQ(splitter->handleWidth(), 7);
  EXPECT_EQ(splitter->sizes().value(0), qRound(splitter->width() * 0.49));
  EXPECT_EQ(QApplication::focusWidget(), Input());

  // Colours: the window's background, and the result field while it has the focus.
  auto colourAt = [](QWidget* widget, QPoint at) {
    return widget->grab().toImage().pixelColor(at);
  };
  EXPECT_EQ(
      colourAt(window_.get(), Child<QWidget>("PanelTop")->mapTo(window_.get(), QPoint(180, 1))),
      QColor(235, 234, 224));
  const QPoint blank(Result()->width() - 4, Result()->height() / 2);
  EXPECT_EQ(colourAt(Result(), blank), QColor(Qt::white));
  Result()->setFocus();
  EXPECT_EQ(colourAt(Result(), blank), QColor(215, 215, 200));

  // The toolbar, left to right: the category box, then the buttons and separators.
  QStringList toolbar;
  for (QAction* a : Child<QToolBar>("ToolBar1")->actions())
    toolbar << (a->isSeparator()            ? QStringLiteral("-")
                : a->objectName().isEmpty() ? QStringLiteral("box")
                                            : a->objectName());
  EXPECT_EQ(toolbar.join(' '),
            "box Nxhs Dwjs Lbjs - EditCut1 EditCopy1 EditPaste1 - Dw Lb - Jsq HelpContents1");

  // The menus as the user sees them: N1, C1 and N2 of the tools menu are hidden.
  QStringList menus;
  for (QAction* top : w.menuBar()->actions()) {
    QStringList entries;
    for (QAction* a : top->menu()->actions())
      if (a->isVisible()) entries << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    menus << top->text() + ": " + entries.join(' ');
  }
  EXPECT_EQ(menus, QStringList({Q("换算(&H): Nxhs Srqk Jgqk - Dwjs Lbjs - Close1"),
                                Q("编辑(&E): EditCut1 EditCopy1 EditPaste1 - EditSelectAll1"),
                                Q("设置(&S): Dw Lb"), Q("工具(&T): Jsq WD Jedx"),
                                Q("帮助(&H): HelpContents1 - About")}));

  EXPECT_EQ(Action("Nxhs")->shortcut(), QKeySequence(Qt::Key_F5));
  EXPECT_EQ(Action("Nxhs")->toolTip(), Q("将当前的单位进行左右交换并计算"));
  EXPECT_FALSE(Action("Nxhs")->icon().isNull());
  EXPECT_FALSE(Child<QLabel>("Image1")->pixmap().isNull());
}

TEST_F(MainWindowTest, NewCategoryShowsItsBaseUnitInBothLists) {
  AddLengthAndMass();
  Open();
  EXPECT_EQ(Categories()->currentText(), Q("长度"));
  EXPECT_EQ(From()->count(), 3);
  EXPECT_EQ(Selected(From()), Q("米"));
  EXPECT_EQ(Selected(To()), Q("米"));
  EXPECT_EQ(Input()->text(), QString());
  EXPECT_EQ(Result()->text(), QString());
}

TEST_F(MainWindowTest, TypingShowsTheConvertedValueAtOnce) {
  AddLengthAndMass();
  Open();
  Click(From(), Q("千米"));
  Type("2");
  EXPECT_EQ(Result()->text(), "2000");
  Type(".5");
  EXPECT_EQ(Result()->text(), "2500");
  Click(To(), Q("厘米"));
  EXPECT_EQ(Result()->text(), "250000");
  QTest::keyClick(To(), Qt::Key_Up);  // the keyboard selects too
  EXPECT_EQ(Selected(To()), Q("千米"));
  EXPECT_EQ(Result()->text(), "2.5");
  EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(MainWindowTest, AClickNeverLeavesAListWithoutSelection) {
  AddLengthAndMass();
  Open();
  Type("1");
  const QRect first = From()->visualItemRect(From()->item(0));
  QTest::mouseClick(From()->viewport(), Qt::LeftButton, Qt::ControlModifier, first.center());
  QTest::mouseClick(From()->viewport(), Qt::LeftButton, {},
                    QPoint(first.center().x(), From()->viewport()->height() - 2));
  EXPECT_EQ(Selected(From()), Q("米"));
  EXPECT_EQ(Result()->text(), "1");
  EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(MainWindowTest, LoneMinusIsIllegalUntilADigitFollows) {
  AddLengthAndMass();
  Open();
  Click(From(), Q("千米"));
  Type("-");
  EXPECT_EQ(Result()->text(), kInvalid);
  Type("5");
  EXPECT_EQ(Result()->text(), "-5000");
}

TEST_F(MainWindowTest, TypedCharacterFilter) {
  AddLengthAndMass();
  Open();
  struct Case {
    const char* typed;
    const char* kept;
  } cases[] = {
      {"+", ""},       {",", ""},   {" ", ""}, {"1+2,3 4", "1234"}, {"1.5e-3", "1.5e-3"},
      {"2E3x", "2E3"}, {"abc", ""},
  };
  for (const Case& c : cases) {
    Input()->clear();
    Type(Q(c.typed));
    EXPECT_EQ(Input()->text(), Q(c.kept)) << c.typed;
  }
  Input()->clear();
  Type("123");
  QTest::keyClick(Input(), Qt::Key_Backspace);
  QTest::keyClick(Input(), Qt::Key_Home);
  QTest::keyClick(Input(), Qt::Key_Delete);
  QTest::keyClick(Input(), Qt::Key_Return);
  EXPECT_EQ(Input()->text(), "2");
  EXPECT_EQ(Result()->text(), "2");
  // An Alt combination that is no accelerator types nothing, not even an allowed "e".
  for (Qt::Key key : {Qt::Key_Q, Qt::Key_E, Qt::Key_5})
    QTest::keyClick(Input(), key, Qt::AltModifier);
  EXPECT_EQ(Input()->text(), "2");
}

TEST_F(MainWindowTest, PastedTextBypassesTheFilter) {
  AddLengthAndMass();
  Open();
  Click(From(), Q("千米"));
  struct Case {
    const char* pasted;
    const char* result;
  } cases[] = {{"1,5", "含有非法字符!"}, {"abc", "含有非法字符!"}, {"+5", "5000"}, {" 7 ", "7000"}};
  for (const Case& c : cases) {
    Input()->clear();
    Input()->setFocus();
    QGuiApplication::clipboard()->setText(Q(c.pasted));
    QTest::keyClick(Input(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Input()->text(), Q(c.pasted));
    EXPECT_EQ(Result()->text(), Q(c.result)) << c.pasted;
  }
  // The menu command pastes as well.
  Input()->clear();
  QGuiApplication::clipboard()->setText("1e");
  Action("EditPaste1")->trigger();
  EXPECT_EQ(Input()->text(), "1e");
  EXPECT_EQ(Result()->text(), "1000");
}

TEST_F(MainWindowTest, SwappingTwiceRestoresPairAndResultAndStoresNothing) {
  AddLengthAndMass();
  Open();
  Click(From(), Q("千米"));
  Click(To(), Q("厘米"));
  Type("3");
  EXPECT_EQ(Result()->text(), "300000");
  QTest::keyClick(window_.get(), Qt::Key_F5);
  EXPECT_EQ(Selected(From()), Q("厘米"));
  EXPECT_EQ(Selected(To()), Q("千米"));
  EXPECT_EQ(Result()->text(), "3E-5");
  Action("Nxhs")->trigger();
  EXPECT_EQ(Selected(From()), Q("千米"));
  EXPECT_EQ(Selected(To()), Q("厘米"));
  EXPECT_EQ(Result()->text(), "300000");
  EXPECT_EQ(StoredPair(length_).from, "");
}

TEST_F(MainWindowTest, ClearingInputEmptiesResultAndClearingResultKeepsInput) {
  AddLengthAndMass();
  Open();
  Type("12");
  Action("Jgqk")->trigger();
  EXPECT_EQ(Input()->text(), "12");
  EXPECT_EQ(Result()->text(), "");
  Action("Srqk")->trigger();
  EXPECT_EQ(Input()->text(), "");
  EXPECT_EQ(Result()->text(), "");
  Type("4");
  Action("Srqk")->trigger();
  EXPECT_EQ(Result()->text(), "");
}

TEST_F(MainWindowTest, ConversionErrorIsReportedAndResultKeepsItsText) {
  AddLengthAndMass();
  Open();
  Type("1e40");
  EXPECT_EQ(Result()->text(), "1E40");
  Type("0");  // 1e400 does not fit a double
  EXPECT_EQ(Result()->text(), "1E40");
  ASSERT_EQ(boxes.size(), 1);
  EXPECT_EQ(boxes.first(), "Floating point overflow.");
  QTest::keyClick(Input(), Qt::Key_Backspace);
  EXPECT_EQ(Result()->text(), "1E40");
}

TEST_F(MainWindowTest, LeavingAndReturningToACategoryKeepsItsPair) {
  AddLengthAndMass();
  Open();
  Type("2");
  Click(From(), Q("千米"));
  Click(To(), Q("厘米"));
  Choose(Q("质量"));
  EXPECT_EQ(StoredPair(length_).from, "千米");
  EXPECT_EQ(StoredPair(length_).to, "厘米");
  EXPECT_EQ(Selected(From()), Q("千克"));
  EXPECT_EQ(Result()->text(), "2");
  Click(To(), Q("克"));
  EXPECT_EQ(Result()->text(), "2000");
  Choose(Q("长度"));
  EXPECT_EQ(StoredPair(mass_).to, "克");
  EXPECT_EQ(Selected(From()), Q("千米"));
  EXPECT_EQ(Selected(To()), Q("厘米"));
  EXPECT_EQ(Result()->text(), "200000");
}

TEST_F(MainWindowTest, UnitSearchPutsTheFoundUnitIntoTheListThatHadTheFocus) {
  AddLengthAndMass();
  Open();
  Type("3");
  Click(From(), Q("千米"));
  Click(To(), Q("厘米"));
  To()->setFocus();
  Search("Dwjs", [](QWidget* dialog) { FindAtBeginning(dialog, Q("克")); });
  EXPECT_EQ(Categories()->currentText(), Q("质量"));
  EXPECT_EQ(Selected(To()), Q("克"));
  EXPECT_EQ(Selected(From()), Q("千克"));
  EXPECT_EQ(Result()->text(), "3000");
  EXPECT_EQ(StoredPair(length_).from, "千米");
  EXPECT_EQ(StoredPair(length_).to, "厘米");

  Input()->setFocus();
  Search("Dwjs", [](QWidget* dialog) { FindAtBeginning(dialog, Q("厘")); });
  EXPECT_EQ(Categories()->currentText(), Q("长度"));
  EXPECT_EQ(Selected(From()), Q("厘米"));
  EXPECT_EQ(Selected(To()), Q("米"));
  EXPECT_EQ(Result()->text(), "0.03");
}

TEST_F(MainWindowTest, CategorySearchSwitchesOnlyOnOkWithAName) {
  AddLengthAndMass();
  Open();
  Click(From(), Q("千米"));
  Search("Lbjs", [](QWidget* dialog) {
    dialog->findChild<QLineEdit*>("FlatEditNr")->insert(Q("质"));
    QTest::keyClick(dialog, Qt::Key_Escape);
  });
  EXPECT_EQ(Categories()->currentText(), Q("长度"));
  EXPECT_EQ(StoredPair(length_).from, "");  // nothing stored on Cancel

  Search("Lbjs", [](QWidget* dialog) { FindAtBeginning(dialog, Q("无此类别")); });
  EXPECT_EQ(Categories()->currentText(), Q("长度"));  // OK with an empty list

  Search("Lbjs", [](QWidget* dialog) { FindAtBeginning(dialog, Q("质")); });
  EXPECT_EQ(Categories()->currentText(), Q("质量"));
  EXPECT_EQ(StoredPair(length_).from, "千米");
  EXPECT_EQ(Selected(From()), Q("千克"));
}

TEST_F(MainWindowTest, UnitWindowChangesShowOnceItCloses) {
  AddLengthAndMass();
  Open();
  Type("2");
  Click(From(), Q("千米"));
  Choose(Q("质量"));
  Choose(Q("长度"));  // stores the length pair (千米, 米)
  // While the unit window is open, a unit is added and another one redefined.
  Search("Dw", [this](QWidget* window) {
    AddUnit(length_, "英里", 1609.344);
    const int cm = dm().NonBaseUnits(length_).at(1).id;
    dm().ModifyUnit(cm, "厘米", length_, 0.1, dm().BaseUnitId(length_).value());
    QTest::keyClick(window, Qt::Key_Escape);
  });
  EXPECT_EQ(Categories()->currentText(), Q("长度"));
  EXPECT_TRUE(!From()->findItems(Q("英里"), Qt::MatchExactly).isEmpty());
  EXPECT_EQ(Selected(From()), Q("千米"));
  Click(To(), Q("厘米"));
  EXPECT_EQ(Result()->text(), "20000");
}

TEST_F(MainWindowTest, CategoryWindowClosingShowsTheFirstCategory) {
  AddLengthAndMass();
  Open();
  Choose(Q("质量"));
  Search("Lb", [this](QWidget* window) {
    AddCategory("时间", "秒");
    QTest::keyClick(window, Qt::Key_Escape);
  });
  EXPECT_EQ(Categories()->currentText(), Q("长度"));
  EXPECT_EQ(Categories()->count(), 3);
  EXPECT_EQ(Selected(From()), Q("米"));
}

TEST_F(MainWindowTest, AboutBoxOpensFromTheHelpMenu) {
  AddLengthAndMass();
  Open();
  QString caption;
  Search("About", [&caption](QWidget* box) {
    caption = box->windowTitle();
    QTest::keyClick(box, Qt::Key_Escape);
  });
  EXPECT_EQ(caption, Q("关于 Vantrel V1.2"));
}

TEST_F(MainWindowTest, ToolsAndHelpStartTheirTargetsBesideTheProgram) {
  AddLengthAndMass();
  const QString config = QString::fromStdString(programDir()) + "config";
  qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
  QStringList started;
  SetStartProgramForTesting([&started](const QString& program) { started << program; });
  SetOpenUrlForTesting([&started](const QUrl& url) { started << url.toLocalFile(); });
  for (const char* name : {"Kelvora", "Munsett"}) {
    QDir().mkpath(QString::fromStdString(programDir()) + "Tools");
    QFile tool(QString::fromStdString(programDir()) + "Tools/" + name);
    ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
    tool.setPermissions(tool.permissions() | QFileDevice::ExeOwner);
  }
  QFile(QString::fromStdString(programDir()) + "HELP.TXT").open(QIODevice::WriteOnly);
  Open();

  QTest::keyClick(window_.get(), Qt::Key_F1);
  Action("WD")->trigger();
  Action("Jedx")->trigger();
  QTest::keyClick(window_.get(), Qt::Key_F9);
  SetStartProgramForTesting({});
  SetOpenUrlForTesting({});
  qunsetenv("XDG_CONFIG_HOME");

  const QString dir = QString::fromStdString(programDir());
  ASSERT_GE(started.size(), 3);
  EXPECT_EQ(started.mid(0, 3),
            QStringList({dir + "HELP.TXT", dir + "Tools/Kelvora", dir + "Tools/Munsett"}));
  EXPECT_EQ(IniFile(config + "/win.ini").ReadString("SciCalc", "layout", "?"), "0");
  EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(MainWindowTest, ClosingAndOpeningAgainRestoresCategoryAndPair) {
  AddLengthAndMass();
  Open();
  Choose(Q("质量"));
  Click(From(), Q("克"));
  Action("Close1")->trigger();
  EXPECT_FALSE(window_->isVisible());
  EXPECT_EQ(StoredLbName(), Q("质量"));
  EXPECT_EQ(StoredPair(mass_).from, "克");
  EXPECT_EQ(StoredPair(mass_).to, "千克");

  window_.reset();
  Open();
  EXPECT_EQ(Categories()->currentText(), Q("质量"));
  EXPECT_EQ(Selected(From()), Q("克"));
  EXPECT_EQ(Selected(To()), Q("千克"));
  Type("1500");
  EXPECT_EQ(Result()->text(), "1.5");
}

TEST_F(MainWindowTest, UnwritableSettingsFileIsReportedAndTheWindowStillCloses) {
  AddLengthAndMass();
  Open();
  Click(From(), Q("千米"));
  // A folder where syscfg.ini should be: the file can be neither read nor written.
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(programDir() + "syscfg.ini")));
  window_->close();
  EXPECT_FALSE(window_->isVisible());
  EXPECT_EQ(boxes.size(), 1);
  EXPECT_EQ(StoredPair(length_).from, "千米");
}

TEST_F(MainWindowTest, StoredPairNamingAMissingUnitSelectsTheFirstUnit) {
  AddLengthAndMass();
  struct Case {
    const char* from;
    const char* to;
    int fromRow;
    int toRow;
  } cases[] = {
      {"已删除", "厘米", 0, 2},
      {"千米", "已改名", 1, 0},
      {"千米", "厘米", 1, 2},
      {"KM", "", 0, 0},
  };
  for (const Case& c : cases) {
    dm().SaveUnitPair(length_, c.from, c.to);
    Open();
    EXPECT_EQ(SelectedRow(From()), c.fromRow) << c.from;
    EXPECT_EQ(SelectedRow(To()), c.toRow) << c.to;
    window_.reset();
  }
}

TEST_F(MainWindowTest, LastCategoryIsFoundWithoutRegardToCaseElseTheFirstIsShown) {
  const int first = AddCategory("Length", "m");
  AddCategory("Mass", "kg");
  dm().SaveUnitPair(first, "m", "m");
  struct Case {
    const char* stored;
    const char* shown;
  } cases[] = {{"MASS", "Mass"}, {"Mass", "Mass"}, {"Volume", "Length"}, {"", "Length"}};
  for (const Case& c : cases) {
    SettingsFile().WriteString("Last", "LbName", Q(c.stored));
    Open();
    EXPECT_EQ(Categories()->currentText(), Q(c.shown)) << c.stored;
    EXPECT_EQ(Selected(From()), Categories()->currentText() == "Mass" ? "kg" : "m");
    window_.reset();
  }
}

TEST_F(MainWindowTest, UnitsDifferingOnlyInCaseSelectTheFirstOfThem) {
  const int id = AddCategory("Length", "m");
  AddUnit(id, "Mm", 1e6);
  AddUnit(id, "mm", 0.001);
  dm().SaveUnitPair(id, "mm", "MM");
  Open();
  EXPECT_EQ(SelectedRow(From()), 1);
  EXPECT_EQ(SelectedRow(To()), 1);
  // Picking the second of them stores its own spelling.
  Click(From(), "mm");
  window_->close();
  EXPECT_EQ(StoredPair(id).from, "mm");
  EXPECT_EQ(StoredPair(id).to, "Mm");
}

TEST_F(MainWindowTest, UnitNamesWithQuotesAreStoredAndRestored) {
  const int id = AddCategory("Length", "m");
  AddUnit(id, "foot'", 0.3048);
  AddUnit(id, "it's \"x\"", 2);
  AddCategory("Mass", "kg");
  Open();
  Click(From(), "foot'");
  Click(To(), "it's \"x\"");
  Choose("Mass");
  EXPECT_EQ(StoredPair(id).from, "foot'");
  EXPECT_EQ(StoredPair(id).to, "it's \"x\"");
  Choose("Length");
  EXPECT_EQ(Selected(From()), "foot'");
  EXPECT_EQ(Selected(To()), "it's \"x\"");
  EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(MainWindowTest, CategoryWithoutUnitsOpensAndClosesNormally) {
  AddLengthAndMass();
  const int empty = AddCategory("空类别", "基本");
  RemoveAllUnits(empty);
  SettingsFile().WriteString("Last", "LbName", Q("空类别"));
  Open();
  EXPECT_EQ(Categories()->currentText(), Q("空类别"));
  EXPECT_EQ(From()->count(), 0);
  EXPECT_EQ(To()->count(), 0);
  EXPECT_EQ(Result()->text(), "");
  Type("5");
  ASSERT_EQ(boxes.size(), 1);
  EXPECT_EQ(boxes.first(), "List index out of bounds (-1)");
  EXPECT_EQ(Result()->text(), "");

  // Leaving it stores nothing for it and shows the next category as usual.
  Choose(Q("质量"));
  EXPECT_EQ(StoredPair(empty).from, "");
  EXPECT_EQ(Selected(From()), Q("千克"));
  EXPECT_EQ(Result()->text(), "5");
  Choose(Q("空类别"));
  window_->close();
  EXPECT_EQ(StoredLbName(), Q("空类别"));
  EXPECT_EQ(StoredPair(empty).from, "");
  EXPECT_EQ(boxes.size(), 2);  // the number in the input meets the empty lists once more
}

TEST_F(MainWindowTest, EmptyCatalogueOpensAndClosesNormally) {
  Open();
  EXPECT_EQ(Categories()->count(), 0);
  EXPECT_EQ(From()->count(), 0);
  EXPECT_FALSE(window_->CurLbId().has_value());
  Type("1");
  ASSERT_EQ(boxes.size(), 1);
  EXPECT_EQ(boxes.first(), "List index out of bounds (-1)");
  Action("Nxhs")->trigger();
  EXPECT_EQ(boxes.size(), 2);
  Action("Srqk")->trigger();
  window_->close();
  EXPECT_EQ(boxes.size(), 2);
  EXPECT_EQ(StoredLbName(), "");
  CloseAndReopen();
  EXPECT_EQ(Categories()->count(), 0);
}

TEST_F(MainWindowTest, EditCommandsFollowTheFocusedField) {
  AddLengthAndMass();
  Open();
  QAction* cut = Action("EditCut1");
  QAction* copy = Action("EditCopy1");
  QAction* paste = Action("EditPaste1");
  QAction* all = Action("EditSelectAll1");
  auto enabled = [&] {
    return QString("%1%2%3%4")
        .arg(cut->isEnabled())
        .arg(copy->isEnabled())
        .arg(paste->isEnabled())
        .arg(all->isEnabled());
  };

  Input()->setFocus();
  EXPECT_EQ(enabled(), "0000");  // empty field, empty clipboard
  QGuiApplication::clipboard()->setText("9");
  EXPECT_EQ(enabled(), "0010");
  Type("12");
  EXPECT_EQ(enabled(), "0011");
  all->trigger();
  EXPECT_EQ(enabled(), "1111");
  cut->trigger();
  EXPECT_EQ(Input()->text(), "");
  EXPECT_EQ(Result()->text(), "");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "12");
  paste->trigger();
  paste->trigger();
  EXPECT_EQ(Input()->text(), "1212");
  EXPECT_EQ(Result()->text(), "1212");

  // The result field: copy and select all work, cut and paste change nothing.
  Result()->setFocus();
  EXPECT_EQ(enabled(), "0011");
  all->trigger();
  EXPECT_EQ(enabled(), "1111");
  QGuiApplication::clipboard()->setText("5");
  cut->trigger();
  paste->trigger();
  EXPECT_EQ(Result()->text(), "1212");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "5");
  copy->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "1212");

  From()->setFocus();
  EXPECT_EQ(enabled(), "0000");
}

TEST(AddArgument, IsSlashAddInAnyAsciiCaseWithQuotesRemoved) {
  struct Case {
    const char* argument;
    bool add;
  } cases[] = {{"/add", true},  {"/ADD", true},  {"/Add", true},   {"\"/add\"", true},
               {"-add", false}, {"add", false},  {"/add ", false}, {"/addx", false},
               {"", false},     {"/ａdd", false}};
  for (const Case& c : cases)
    EXPECT_EQ(IsAddArgument(QString::fromUtf8(c.argument)), c.add) << c.argument;
}

}  // namespace
}  // namespace vantrel::testing
