// The about box against a fresh catalogue: its texts, the link colours under the
// mouse, the links it opens and the greeting window it opens from the picture.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrlQuery>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/UntException.h"
#include "catalogue/Store.h"
#include "catalogue/UntDM.h"
#include "ui/UntAbout.h"
#include "ui/UntFont.h"

inline void PrintTo(const QString& text, std::ostream* os) {
  *os << text.toStdString();
}

namespace vantrel {
namespace {

class AboutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ExceptionHandler().SetShowForTesting(
        [this](const QString&, const QString& text) { errors << text; });
    TFrmAbout::SetUrlOpenerForTesting([this](const QUrl& url) { opened.push_back(url); });
  }
  void TearDown() override {
    about_.reset();
    dm_.reset();
    TFrmAbout::SetUrlOpenerForTesting(nullptr);
    ExceptionHandler().SetShowForTesting(nullptr);
  }

  // A catalogue with that version row (none for nullopt).
  void MakeStore(const std::optional<std::string>& version) {
    ASSERT_TRUE(dir_.isValid());
    ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("data")));
    CreateStore(DataDir(), version);
    dm_ = std::make_unique<TDMMain>(DataDir());
  }
  std::string DataDir() const { return dir_.path().toStdString() + "/data/"; }

  // Changes the version row behind the data module's back.
  void RunOnDw(const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((DataDir() + "Dw.dat").c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
    sqlite3_close(db);
  }

  TFrmAbout& Open() {
    about_ = std::make_unique<TFrmAbout>(*dm_, nullptr);
    about_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(about_.get()));
    return *about_;
  }

  QStringList errors;
  std::vector<QUrl> opened;

 private:
  QTemporaryDir dir_;
  std::unique_ptr<TDMMain> dm_;
  std::unique_ptr<TFrmAbout> about_;
};

TEST_F(AboutTest, ShowsTheProgramVersionWithOneSpace) {
  MakeStore(std::string("2010-12-09"));
  TFrmAbout& about = Open();

  EXPECT_EQ(about.windowTitle(), QStringLiteral("关于 Vantrel V1.2"));
  EXPECT_EQ(about.Label1->text(), QStringLiteral("Oska V1.2"));
  EXPECT_EQ(about.Label1->font().pixelSize(), 16);
  EXPECT_EQ(about.Label2->text(), QStringLiteral("--Vantrel"));
  EXPECT_EQ(about.FlatButton1->text(), QStringLiteral("确认(&O)"));
  EXPECT_EQ(about.size(), QSize(287, 219));
  EXPECT_EQ(about.minimumSize(), about.maximumSize());
  EXPECT_FALSE(about.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(about.FlatButton1->hasFocus());
  EXPECT_TRUE(errors.isEmpty());
}

struct VersionCase {
  const char* name;
  std::optional<std::string> versionRow;
  const char* label;
};

class DataVersionTest : public AboutTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(DataVersionTest, LabelFollowsTheVersionRow) {
  MakeStore(GetParam().versionRow);
  EXPECT_EQ(Open().LabelData->text(), QString::fromUtf8(GetParam().label));
  EXPECT_TRUE(errors.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DataVersionTest,
    ::testing::Values(VersionCase{"Shipped", std::string("2010-12-09"), "数据版本: 2010-12-09"},
                      VersionCase{"Missing", std::nullopt, "数据版本: 2010-12-09"},
                      VersionCase{"Other", std::string("2024-03 修订版"),
                                  "数据版本: 2024-03 修订版"},
                      VersionCase{"Empty", std::string(), "数据版本: "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AboutTest, ReadsTheVersionAgainAtEveryOpening) {
  MakeStore(std::string("2010-12-09"));
  EXPECT_EQ(Open().LabelData->text(), QStringLiteral("数据版本: 2010-12-09"));

  RunOnDw("UPDATE DW SET DWMC = '2011-01-01' WHERE DWID = -100 AND SSLBID = -100");
  EXPECT_EQ(Open().LabelData->text(), QStringLiteral("数据版本: 2011-01-01"));

  RunOnDw("DELETE FROM DW WHERE DWID = -100");
  EXPECT_EQ(Open().LabelData->text(), QStringLiteral("数据版本: 2010-12-09"));
  EXPECT_TRUE(errors.isEmpty());
}

TEST_F(AboutTest, StoreErrorGoesToTheHandlerAndTheBoxStillOpens) {
  MakeStore(std::string("2011-01-01"));
  RunOnDw("DROP TABLE DW");

  TFrmAbout& about = Open();

  EXPECT_EQ(errors.size(), 1);
  EXPECT_EQ(about.LabelData->text(), QStringLiteral("数据版本: 2010-12-09"));
  // What creation did before the error stays done.
  EXPECT_EQ(about.windowTitle(), QStringLiteral("关于 Vantrel V1.2"));
  EXPECT_EQ(about.Label1->text(), QStringLiteral("Oska V1.2"));
  EXPECT_TRUE(about.isVisible());
}

TEST_F(AboutTest, ReleaseNotesStartWithTheNewestVersion) {
  MakeStore(std::string("2010-12-09"));
  TFrmAbout& about = Open();
  const QStringList lines = about.FlatMemo1->toPlainText().split(QLatin1Char('\n'));

  ASSERT_GE(lines.size(), 2);
  EXPECT_EQ(lines[0], QStringLiteral("-----V 1.2-----"));
  EXPECT_EQ(lines[1], QString());
  const qsizetype v11 = lines.indexOf(QStringLiteral("-----V 1.1-----"));
  const qsizetype v10 = lines.indexOf(QStringLiteral("-----V 1.0-----"));
  EXPECT_GT(v11, 1);
  EXPECT_GT(v10, v11);
  EXPECT_FALSE(about.FlatMemo1->isReadOnly());
  // Shown, the notes keep the window's font rather than the platform's editor font.
  EXPECT_EQ(about.FlatMemo1->font(), about.font());
}

enum class Step { Press, RightPress, Release, RightRelease, Move };
enum Target { Web, Mail, FreeArea, Memo, Name };

struct ColourStep {
  Step step;
  Target target;
  const char* web;  // expected colours afterwards: "navy", "red", "blue", "title"
  const char* mail;
};

TEST_F(AboutTest, LinkColoursFollowTheMouse) {
  MakeStore(std::string("2010-12-09"));
  TFrmAbout& about = Open();
  const QColor title = about.TitleBarColor();
  const auto colour = [&](const std::string& name) {
    if (name == "navy") return QColor(0, 0, 128);
    if (name == "red") return QColor(255, 0, 0);
    if (name == "blue") return QColor(0, 0, 255);
    return title;
  };
  ASSERT_NE(title, colour("navy"));
  ASSERT_NE(title, colour("blue"));
  ASSERT_NE(title, colour("red"));

  const QPoint freeArea(240, 166);
  ASSERT_EQ(about.childAt(freeArea), nullptr);
  ASSERT_EQ(about.childAt(freeArea + QPoint(12, 0)), nullptr);
  const auto widget = [&](Target target) -> QWidget* {
    switch (target) {
      case Web:
        return about.Label3;
      case Mail:
        return about.Label4;
      case Memo:
        return about.FlatMemo1->viewport();
      case Name:
        return about.Label2;
      case FreeArea:
        break;
    }
    return &about;
  };
  int n = 0;
  // A move to where the mouse already is never reaches a window, so every step to
  // the free area goes to a point of its own.
  const auto point = [&](Target target) {
    return target == FreeArea ? freeArea + QPoint(n, 0) : widget(target)->rect().center();
  };

  EXPECT_EQ(TFrmAbout::LinkColor(about.Label3), colour("navy"));
  EXPECT_EQ(TFrmAbout::LinkColor(about.Label4), colour("navy"));
  // Moves over other controls (the memo, the name label) are not the free area.
  const std::vector<ColourStep> steps = {
      {Step::Press, Web, "red", "navy"},        {Step::Release, Web, "blue", "navy"},
      {Step::Move, Mail, "blue", "blue"},       {Step::Move, FreeArea, "title", "title"},
      {Step::RightPress, Mail, "title", "red"}, {Step::RightRelease, Mail, "title", "blue"},
      {Step::Move, Memo, "title", "blue"},      {Step::Move, Name, "title", "blue"},
      {Step::Press, Web, "red", "blue"},        {Step::Release, Web, "blue", "blue"},
      {Step::Move, FreeArea, "title", "title"},
  };
  for (const ColourStep& s : steps) {
    QWidget* w = widget(s.target);
    switch (s.step) {
      case Step::Press:
        QTest::mousePress(w, Qt::LeftButton, {}, point(s.target));
        break;
      case Step::RightPress:
        QTest::mousePress(w, Qt::RightButton, {}, point(s.target));
        break;
      case Step::Release:
        QTest::mouseRelease(w, Qt::LeftButton, {}, point(s.target));
        break;
      case Step::RightRelease:
        QTest::mouseRelease(w, Qt::RightButton, {}, point(s.target));
        break;
      case Step::Move:
        QTest::mouseMove(w, point(s.target));
        break;
    }
    EXPECT_EQ(TFrmAbout::LinkColor(about.Label3), colour(s.web)) << "step " << n;
    EXPECT_EQ(TFrmAbout::LinkColor(about.Label4), colour(s.mail)) << "step " << n;
    ++n;
  }
  // The links keep their places; only their colours change.
  EXPECT_EQ(about.Label3->pos(), QPoint(5, 161));
  EXPECT_EQ(about.Label4->pos(), QPoint(5, 180));
}

TEST_F(AboutTest, LinksOpenTheWebPageAndAMailWithItsSubject) {
  MakeStore(std::string("2010-12-09"));
  TFrmAbout& about = Open();
  EXPECT_EQ(about.Label3->text(), QStringLiteral("https://vantrel.example.org/"));
  EXPECT_EQ(about.Label4->text(), QStringLiteral("email: vantrel@example.org"));

  QTest::mouseClick(about.Label3, Qt::LeftButton);
  QTest::mouseClick(about.Label4, Qt::LeftButton);

  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[0], QUrl(QStringLiteral("https://vantrel.example.org/")));
  // The subject travels as UTF-8, every byte outside the unreserved set escaped.
  EXPECT_EQ(opened[1].toEncoded(),
            QByteArray("mailto:vantrel@example.org?subject="
                       "%E5%85%B3%E4%BA%8E%22OskaV1.2--%E6%8D%A2%E7%AE%97%E5%B0%8F%E5%B7%A5"
                       "%E5%85%B7%22%E7%9A%84%E2%80%A6%E2%80%A6"));
  EXPECT_EQ(opened[1].scheme(), QStringLiteral("mailto"));
  EXPECT_EQ(opened[1].path(), QStringLiteral("vantrel@example.org"));
  EXPECT_EQ(QUrlQuery(opened[1]).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
            QStringLiteral("关于\"OskaV1.2--换算小工具\"的……"));
  EXPECT_TRUE(about.isVisible());
}

TEST_F(AboutTest, OnlyALeftClickOnOneLinkOpensIt) {
  MakeStore(std::string("2010-12-09"));
  TFrmAbout& about = Open();

  QTest::mouseClick(about.Label3, Qt::RightButton);
  QTest::mouseClick(about.Label4, Qt::MiddleButton);
  // Pressed on the web link, released over the mail link.
  QTest::mousePress(about.Label3, Qt::LeftButton);
  QTest::mouseRelease(about.Label3, Qt::LeftButton, {},
                      about.Label3->mapFromGlobal(about.Label4->mapToGlobal(QPoint(2, 2))));

  EXPECT_TRUE(opened.empty());
}

TEST_F(AboutTest, PictureOpensTheGreetingModallyAndItsClickReturnsHere) {
  MakeStore(std::string("2010-12-09"));
  TFrmAbout& about = Open();
  EXPECT_EQ(about.FlatSpeedButton1->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(about.FlatSpeedButton1->toolTip(), QStringLiteral("壬午年庆"));

  QString seen;
  bool closedByClick = false;
  QTimer::singleShot(0, [&] {
    auto* greeting = qobject_cast<TFrmFont*>(QApplication::activeModalWidget());
    if (greeting == nullptr) return;
    seen = greeting->windowTitle();
    QTest::mouseClick(greeting->Image1, Qt::LeftButton, {}, QPoint(100, 200));
    closedByClick = !greeting->isVisible();
    if (!closedByClick) greeting->reject();  // never leave the test hanging
  });
  QTest::mouseClick(about.FlatSpeedButton1, Qt::LeftButton);

  EXPECT_EQ(seen, QStringLiteral("壬午年庆"));
  EXPECT_TRUE(closedByClick);
  EXPECT_TRUE(about.isVisible());
  EXPECT_TRUE(about.findChildren<TFrmFont*>().isEmpty()) << "the greeting window is destroyed";
  EXPECT_TRUE(errors.isEmpty());
}

TEST_F(AboutTest, ConfirmButtonClosesTheBox) {
  MakeStore(std::string("2010-12-09"));
  TFrmAbout& about = Open();
  QTest::mouseClick(about.FlatButton1, Qt::LeftButton);
  EXPECT_FALSE(about.isVisible());
}

}  // namespace
}  // namespace vantrel
