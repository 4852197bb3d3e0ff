#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "app/Gbk.h"
#include "app/Paths.h"
#include "app/Settings.h"
#include "app/UntException.h"
#include "conversion/Errors.h"
#include "conversion/NumberText.h"

namespace vantrel {
namespace {

QByteArray Gbk(const char* utf8) {
  return QByteArray::fromStdString(*Utf8ToGbk(utf8));
}

struct Shown {
  QString caption;
  QString text;
};

class ErrorHandlerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    SetExecutableDirForTesting(dir_.path().toStdString());
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Vantrel"));
    ExceptionHandler().SetShowForTesting([this](const QString& caption, const QString& text) {
      shown_.push_back({caption, text});
    });
  }
  void TearDown() override {
    ExceptionHandler().SetShowForTesting(nullptr);
    SetExecutableDirForTesting({});
  }
  QString LogPath() const { return dir_.filePath(QStringLiteral("Error.log")); }
  QByteArray Log() const {
    QFile f(LogPath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  QTemporaryDir dir_;
  std::vector<Shown> shown_;
};

// A top-level window that is the active one while it lives.
class ActiveWindow {
 public:
  explicit ActiveWindow(const QString& caption) {
    window_.setWindowTitle(caption);
    window_.resize(200, 100);
    window_.show();
    window_.activateWindow();
    active_ = QTest::qWaitForWindowActive(&window_);
  }
  bool active() const { return active_; }

 private:
  QWidget window_;
  bool active_ = false;
};

// Lines 1 and 3 to 6 exactly; line 2 is today's date, two spaces and a time.
void ExpectRecord(const QByteArray& record, const QByteArray& caption, const char* kind,
                  const QByteArray& message) {
  const QByteArray head = "===========================================\r\n";
  ASSERT_TRUE(record.startsWith(head)) << record.toStdString();
  const qsizetype dateEnd = record.indexOf("\r\n", head.size());
  const QString when = QString::fromLatin1(record.mid(head.size(), dateEnd - head.size()));
  const QLocale locale = QLocale::system();
  const QString today = DateText(QDate::currentDate(), locale);
  ASSERT_TRUE(when.startsWith(today + QStringLiteral("  "))) << when.toStdString();
  EXPECT_TRUE(locale.toTime(when.mid(today.size() + 2), LongTimeFormat(locale)).isValid())
      << when.toStdString();
  EXPECT_EQ(record.mid(dateEnd + 2), "ActiveWindow=" + caption + "\r\nErrorClass=" + kind +
                                         "\r\nMsg=" + message + "\r\n\r\n");
}

TEST_F(ErrorHandlerTest, FirstErrorCreatesTheLogLaterOnesAppend) {
  ActiveWindow window(QStringLiteral("单位换算"));
  ASSERT_TRUE(window.active());

  // Converting "abc" to a number is the everyday error.
  Guarded(nullptr, [] { ReadNumber("abc"); });
  const QByteArray first = Log();
  ExpectRecord(first, Gbk("单位换算"), "EConvertError",
               "'abc' is not a valid floating point value");
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].caption, QStringLiteral("警告"));
  EXPECT_EQ(shown_[0].text, QStringLiteral("你输入的不是一个合法的实数！"));

  Guarded(nullptr, [] { throw EDatabaseError("第一行\r\nsecond line\nthird"); });
  const QByteArray both = Log();
  ASSERT_TRUE(both.startsWith(first));
  ExpectRecord(both.mid(first.size()), Gbk("单位换算"), "EDatabaseError",
               Gbk("第一行") + "\r\nsecond line\nthird");
}

TEST_F(ErrorHandlerTest, CaptionIsCutTo128BytesWithoutSplittingACharacter) {
  struct Case {
    QString caption;
    QByteArray logged;
  };
  const Case cases[] = {
      {QString(), QByteArray()},  // no active window
      {QString(130, u'a'), QByteArray(128, 'a')},
      {QString(65, u'米'), Gbk("米").repeated(64)},
      {u'a' + QString(64, u'米'), "a" + Gbk("米").repeated(63)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption.toStdString());
    QFile::remove(LogPath());
    std::unique_ptr<ActiveWindow> window;
    if (!c.caption.isEmpty()) {
      window = std::make_unique<ActiveWindow>(c.caption);
      ASSERT_TRUE(window->active());
    } else {
      ASSERT_EQ(QApplication::activeWindow(), nullptr);
    }
    Guarded(nullptr, [] { throw EListError("List index out of bounds (5)"); });
    ExpectRecord(Log(), c.logged, "EListError", "List index out of bounds (5)");
  }
}

class EMyDatabaseError : public EDatabaseError {
 public:
  explicit EMyDatabaseError(const std::string& m) : EDatabaseError("EMyDatabaseError", m) {}
};

TEST_F(ErrorHandlerTest, TranslationTableAndDefaultDisplay) {
  struct Case {
    std::function<void()> raise;
    const char* kind;  // as logged
    std::optional<Shown> shown;
  };
  const auto raise = [](const char* kind, const char* message) {
    return [=] { throw Error(kind, message); };
  };
  const QString warn = QStringLiteral("警告");
  const QString title = QStringLiteral("Vantrel");
  const QString crashText =
      QStringLiteral("系统检查到一个错误,请你记录当前窗口名称及做过何种操作。并与软件提供商联系！");
  const Case cases[] = {
      {raise("EDatabaseError", "Field 'DWMC' must have a value"), "EDatabaseError",
       Shown{warn, QStringLiteral("字段值不能为空！")}},
      {raise("EConvertError", "'x' is not a valid date"), "EConvertError",
       Shown{warn, QStringLiteral("输入的日期或时间不合法！")}},
      {raise("EConvertError", "'x' is not a valid date and time"), "EConvertError",
       Shown{warn, QStringLiteral("输入的日期或时间不合法！")}},
      {raise("EConvertError", "'x' is not a valid integer value"), "EConvertError",
       Shown{warn, QStringLiteral("你输入的不是一个合法的整数！")}},
      {raise("EConvertError", "'x' is not a valid floating point value"), "EConvertError",
       Shown{warn, QStringLiteral("你输入的不是一个合法的实数！")}},
      {raise("EConvertError", "'x' IS NOT A VALID DATE"), "EConvertError",
       Shown{title, QStringLiteral("'x' IS NOT A VALID DATE.")}},
      {raise("EDivByZero", "Division by zero"), "EDivByZero",
       Shown{warn, QStringLiteral("除数不能为零！")}},
      {raise("EZeroDivide", "Division by zero"), "EZeroDivide",
       Shown{title, QStringLiteral("Division by zero.")}},
      {raise("EAccessViolation",
             "Access violation at address 1000A2B0 in module 'IDDA3532.DLL'. Read of address 0"),
       "EAccessViolation", std::nullopt},
      {raise("EAccessViolation",
             "Access violation at address 1000A2B0 in module 'idda3532.dll'. Read of address 0"),
       "EAccessViolation", Shown{warn, crashText}},
      {raise("EAccessViolation", ""), "EAccessViolation", Shown{warn, crashText}},
      {raise("EOleException", "关键字重复"), "EOleException",
       Shown{warn, QStringLiteral("记录重复！")}},
      {raise("EOleException", "violation of primary key"), "EOleException",
       Shown{warn, QStringLiteral("记录重复！")}},
      {raise("EOleException", "Primary key"), "EOleException",
       Shown{title, QStringLiteral("Primary key.")}},
      {raise("edatabaseerror", "must have a value"), "edatabaseerror",
       Shown{title, QStringLiteral("must have a value.")}},
      {[] { throw EMyDatabaseError("Field 'A' must have a value"); }, "EMyDatabaseError",
       Shown{title, QStringLiteral("Field 'A' must have a value.")}},
      {[] { throw std::runtime_error("boom"); }, "Exception",
       Shown{title, QStringLiteral("boom.")}},
      // The full stop goes after anything whose code is above that of ".".
      {raise("EListError", "abc"), "EListError", Shown{title, QStringLiteral("abc.")}},
      {raise("EListError", "abc."), "EListError", Shown{title, QStringLiteral("abc.")}},
      {raise("EListError", "abc!"), "EListError", Shown{title, QStringLiteral("abc!")}},
      {raise("EListError", "a-"), "EListError", Shown{title, QStringLiteral("a-")}},
      {raise("EListError", "a "), "EListError", Shown{title, QStringLiteral("a ")}},
      {raise("EListError", "a/"), "EListError", Shown{title, QStringLiteral("a/.")}},
      {raise("EListError", "why?"), "EListError", Shown{title, QStringLiteral("why?.")}},
      {raise("EListError", "5"), "EListError", Shown{title, QStringLiteral("5.")}},
      {raise("EListError", "数据错误"), "EListError", Shown{title, QStringLiteral("数据错误.")}},
      {raise("EListError", ""), "EListError", Shown{title, QString()}},
  };
  for (const Case& c : cases) {
    shown_.clear();
    QFile::remove(LogPath());
    Guarded(nullptr, c.raise);
    const QByteArray log = Log();
    SCOPED_TRACE(log.toStdString());
    EXPECT_TRUE(log.contains(QByteArray("\r\nErrorClass=") + c.kind + "\r\n"));
    if (!c.shown) {
      EXPECT_TRUE(shown_.empty());
      continue;
    }
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].caption, c.shown->caption);
    EXPECT_EQ(shown_[0].text, c.shown->text);
  }
}

class EQuietAbort : public EAbort {
 public:
  EQuietAbort() : EAbort("EQuietAbort", "quiet") {}
};

TEST_F(ErrorHandlerTest, AbortIsDroppedSilently) {
  bool after = false;
  Guarded(nullptr, [] { throw EAbort("Operation aborted"); });
  Guarded(nullptr, [] { throw EQuietAbort(); });
  Guarded(nullptr, [] { throw Error("EAbort", "by kind"); });
  after = true;
  EXPECT_TRUE(after);
  EXPECT_FALSE(QFile::exists(LogPath()));
  EXPECT_TRUE(shown_.empty());
}

TEST_F(ErrorHandlerTest, UnwritableLogStillShowsAndGoesOn) {
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("Error.log")));
  Guarded(nullptr, [] { throw EConvertError("'q' is not a valid integer value"); });
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].text, QStringLiteral("你输入的不是一个合法的整数！"));
}

TEST_F(ErrorHandlerTest, AnErrorWhileTheBoxIsOpenWritesItsOwnWholeRecord) {
  QByteArray logWhileFirstBoxOpen;
  ExceptionHandler().SetShowForTesting([&](const QString& caption, const QString& text) {
    shown_.push_back({caption, text});
    if (shown_.size() == 1) {
      logWhileFirstBoxOpen = Log();
      Guarded(nullptr, [] { throw EOverflow("Floating point overflow"); });
    }
  });
  Guarded(nullptr, [] { throw EZeroDivide("Floating point division by zero"); });
  ExpectRecord(logWhileFirstBoxOpen, {}, "EZeroDivide", "Floating point division by zero");
  const QByteArray both = Log();
  ASSERT_TRUE(both.startsWith(logWhileFirstBoxOpen));
  ExpectRecord(both.mid(logWhileFirstBoxOpen.size()), {}, "EOverflow", "Floating point overflow");
  EXPECT_EQ(shown_.size(), 2u);
}

// An event handler that lets an error escape: the application object catches it.
class Throwing : public QObject {
 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) throw EInvalidOp("Invalid floating point operation");
    return QObject::event(e);
  }
};

TEST_F(ErrorHandlerTest, ErrorsEscapingEventHandlersReachTheHandler) {
  Throwing object;
  QEvent sent(QEvent::User);
  EXPECT_FALSE(QCoreApplication::sendEvent(&object, &sent));
  QCoreApplication::postEvent(&object, new QEvent(QEvent::User));
  QCoreApplication::processEvents();
  const QByteArray log = Log();
  EXPECT_EQ(log.count("ErrorClass=EInvalidOp\r\n"), 2);
  EXPECT_EQ(shown_.size(), 2u);
}

TEST_F(ErrorHandlerTest, TheBoxIsAStopBoxWithOneOkButton) {
  ExceptionHandler().SetShowForTesting(nullptr);
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  Qt::WindowModality modality = Qt::NonModal;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    buttons = box->standardButtons();
    modality = box->windowModality();
    box->button(QMessageBox::Ok)->click();
  });
  Guarded(nullptr, [] { throw Error("EDivByZero", "Division by zero"); });
  EXPECT_EQ(title, QStringLiteral("警告"));
  EXPECT_EQ(text, QStringLiteral("除数不能为零！"));
  EXPECT_EQ(icon, QMessageBox::Critical);
  EXPECT_EQ(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  EXPECT_EQ(modality, Qt::ApplicationModal);
}

TEST(LongTimeFormat, LeavesTheTimeZoneOut) {
  struct Case {
    const char* locale;
    const char* text;  // 9:07:03 in the morning
  };
  const Case cases[] = {
      {"C", "09:07:03"},     {"en_US", "9:07:03 AM"},  {"de_DE", "09:07:03"},
      {"zh_CN", "09:07:03"}, {"ja_JP", "9時07分03秒"}, {"bg_BG", "9:07:03 ч."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.locale);
    const QLocale locale(QString::fromUtf8(c.locale));
    EXPECT_EQ(locale.toString(QTime(9, 7, 3), LongTimeFormat(locale)), QString::fromUtf8(c.text));
  }
}

}  // namespace
}  // namespace vantrel
