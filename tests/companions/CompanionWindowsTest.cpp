// The two companion windows, typed into as a user would.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "tools/companions/UntKelvora.h"
#include "tools/companions/UntMunsett.h"

namespace vantrel {
namespace {

template <typename T>
T* Child(QWidget& window, const char* name) {
  T* child = window.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

void Retype(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, text);
}

TEST(KelvoraWindow, TypingInAnyFieldFillsTheOtherTwo) {
  TFrmKelvora window;
  window.show();
  auto* c = Child<QLineEdit>(window, "FlatEditC");
  auto* f = Child<QLineEdit>(window, "FlatEditF");
  auto* k = Child<QLineEdit>(window, "FlatEditK");
  auto* note = Child<QLabel>(window, "LabelNote");

  Retype(c, QStringLiteral("100"));
  EXPECT_EQ(c->text(), QStringLiteral("100"));
  EXPECT_EQ(f->text(), QStringLiteral("212"));
  EXPECT_EQ(k->text(), QStringLiteral("373.15"));

  Retype(k, QStringLiteral("0"));
  EXPECT_EQ(c->text(), QStringLiteral("-273.15"));
  EXPECT_EQ(f->text(), QStringLiteral("-459.67"));
  EXPECT_TRUE(note->text().isEmpty());

  // One more keystroke goes below absolute zero: still converted, with the note.
  QTest::keyClick(k, Qt::Key_Home);
  QTest::keyClick(k, Qt::Key_Minus);
  QTest::keyClick(k, Qt::Key_End);
  QTest::keyClicks(k, QStringLiteral(".5"));
  EXPECT_EQ(k->text(), QStringLiteral("-0.5"));
  EXPECT_EQ(c->text(), QStringLiteral("-273.65"));
  EXPECT_EQ(note->text(), QStringLiteral("低于绝对零度"));

  Retype(f, QStringLiteral("98.6x"));
  EXPECT_EQ(c->text(), QStringLiteral("含有非法字符!"));
  EXPECT_EQ(k->text(), QStringLiteral("含有非法字符!"));
  EXPECT_TRUE(note->text().isEmpty());
  QTest::keyClick(f, Qt::Key_Backspace);
  EXPECT_EQ(c->text(), QStringLiteral("37"));
  EXPECT_EQ(k->text(), QStringLiteral("310.15"));

  f->selectAll();
  QTest::keyClick(f, Qt::Key_Backspace);
  EXPECT_TRUE(c->text().isEmpty());
  EXPECT_TRUE(k->text().isEmpty());
}

TEST(MunsettWindow, TypedAmountShowsItsCapitalsAndCopies) {
  TFrmMunsett window;
  window.show();
  auto* je = Child<QLineEdit>(window, "FlatEditJe");
  auto* dx = Child<QLineEdit>(window, "FlatEditDx");
  auto* copy = Child<QPushButton>(window, "FlatButtonCopy");
  auto* note = Child<QLabel>(window, "LabelNote");
  EXPECT_TRUE(dx->isReadOnly());
  EXPECT_FALSE(copy->isEnabled());

  Retype(je, QStringLiteral("100010000.05"));
  EXPECT_EQ(dx->text(), QStringLiteral("壹亿零壹万元零伍分"));
  EXPECT_TRUE(note->text().isEmpty());
  ASSERT_TRUE(copy->isEnabled());
  QTest::mouseClick(copy, Qt::LeftButton);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("壹亿零壹万元零伍分"));

  // A third decimal is refused with a message, and nothing wrong is left to copy.
  QTest::keyClicks(je, QStringLiteral("1"));
  EXPECT_TRUE(dx->text().isEmpty());
  EXPECT_FALSE(copy->isEnabled());
  EXPECT_EQ(note->text(), QStringLiteral("金额只到分，小数点后最多两位"));

  Retype(je, QStringLiteral("1000000000000"));
  EXPECT_TRUE(dx->text().isEmpty());
  EXPECT_EQ(note->text(), QStringLiteral("金额超出范围，最大为 999999999999.99"));

  Retype(je, QStringLiteral("12a"));
  EXPECT_TRUE(dx->text().isEmpty());
  EXPECT_EQ(note->text(), QStringLiteral("含有非法字符!请输入金额，如 1234.56"));

  QTest::keyClick(je, Qt::Key_Backspace);
  EXPECT_EQ(dx->text(), QStringLiteral("壹拾贰元整"));
  EXPECT_TRUE(note->text().isEmpty());
}

}  // namespace
}  // namespace vantrel
