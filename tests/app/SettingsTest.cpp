#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/Gbk.h"
#include "app/Settings.h"
#include "conversion/Errors.h"

namespace vantrel {
namespace {

QByteArray Gbk(const char* utf8) {
  return QByteArray::fromStdString(*Utf8ToGbk(utf8));
}

class IniFileTest : public ::testing::Test {
 protected:
  QString Path() const { return dir_.filePath(QStringLiteral("syscfg.ini")); }
  void Put(const QByteArray& bytes) const {
    QFile f(Path());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
  }
  QByteArray Get() const {
    QFile f(Path());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  QTemporaryDir dir_;
};

TEST_F(IniFileTest, WriteChangesOnlyItsOwnValue) {
  struct Case {
    const char* what;
    std::optional<QByteArray> before;  // nullopt: no file yet
    const char* key;
    const char* value;
    QByteArray after;
  };
  const Case cases[] = {
      {"creates the file", std::nullopt, "LoadDate", "2008-3-5", "[Last]\r\nLoadDate=2008-3-5\r\n"},
      {"replaces in place, keeps other sections, comments and order",
       "; settings\r\n[Other]\r\nA=1\r\n\r\n[Last]\r\nLbName=" + Gbk("长度") +
           "\r\nLoadDate=1990-1-1\r\n\r\n[Tail]\r\nLoadDate=7\r\n",
       "LoadDate", "2008-3-5",
       "; settings\r\n[Other]\r\nA=1\r\n\r\n[Last]\r\nLbName=" + Gbk("长度") +
           "\r\nLoadDate=2008-3-5\r\n\r\n[Tail]\r\nLoadDate=7\r\n"},
      {"matches section and key without regard to case", "[LAST]\r\nloaddate=x\r\n", "LoadDate",
       "2008-3-5", "[LAST]\r\nloaddate=2008-3-5\r\n"},
      {"adds a key at the end of its section", "[Last]\r\nLbName=a\r\n\r\n[Other]\r\nA=1\r\n",
       "LoadDate", "2008-3-5", "[Last]\r\nLbName=a\r\nLoadDate=2008-3-5\r\n\r\n[Other]\r\nA=1\r\n"},
      {"adds a section, keeping LF lines and ending the unterminated last line", "[Other]\nA=1",
       "LoadDate", "2008-3-5", "[Other]\nA=1\r\n[Last]\r\nLoadDate=2008-3-5\r\n"},
      {"keeps the blanks around names", " [ Last ] \r\n LoadDate = old \r\n", "LoadDate",
       "2008-3-5", " [ Last ] \r\n LoadDate =2008-3-5\r\n"},
      {"a commented-out key is no key", "[Last]\r\n;LoadDate=1\r\n", "LoadDate", "2",
       "[Last]\r\n;LoadDate=1\r\nLoadDate=2\r\n"},
      {"writes GBK", "[Last]\r\n", "LbName", "长度", "[Last]\r\nLbName=" + Gbk("长度") + "\r\n"},
      {"quotes a value that reading would trim", std::nullopt, "LbName", " m ",
       "[Last]\r\nLbName=\" m \"\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QFile::remove(Path());
    if (c.before) Put(*c.before);
    IniFile ini(Path());
    ini.WriteString(QStringLiteral("Last"), QString::fromUtf8(c.key), QString::fromUtf8(c.value));
    EXPECT_EQ(Get(), c.after);
  }
}

TEST_F(IniFileTest, ReadFindsTheFirstMatchingKey) {
  Put("[Other]\r\nLbName=wrong\r\n[last]\r\nLBNAME = " + Gbk("长度") +
      " \r\nLbName=second\r\nEmpty=\r\nQuoted=' x '\r\n[Last]\r\nLater=1\r\n");
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  };
  const Case cases[] = {
      {"Last", "LbName", "长度"}, {"LAST", "lbname", "长度"}, {"Last", "Empty", ""},
      {"Last", "Quoted", " x "},  {"Last", "Missing", "def"}, {"None", "LbName", "def"},
      {"Last", "Later", "def"},  // only the first section of a name counts
  };
  IniFile ini(Path());
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.section) + "/" + c.key);
    EXPECT_EQ(ini.ReadString(QString::fromUtf8(c.section), QString::fromUtf8(c.key),
                             QStringLiteral("def")),
              QString::fromUtf8(c.expected));
  }
  EXPECT_EQ(IniFile(dir_.filePath(QStringLiteral("none.ini")))
                .ReadString(QStringLiteral("Last"), QStringLiteral("LbName"), QStringLiteral("d")),
            QStringLiteral("d"));
}

TEST_F(IniFileTest, ValuesReadBackAsWrittenUpTo2047Characters) {
  const QString values[] = {QString(),
                            QStringLiteral("长度"),
                            QStringLiteral(" lead and trail "),
                            QStringLiteral("'quoted'"),
                            QStringLiteral("\"x\""),
                            QStringLiteral("a=b;c"),
                            QString(2047, u'x')};
  IniFile ini(Path());
  for (const QString& v : values) {
    SCOPED_TRACE(v.left(20).toStdString());
    ini.WriteString(QStringLiteral("Last"), QStringLiteral("LbName"), v);
    EXPECT_EQ(ini.ReadString(QStringLiteral("Last"), QStringLiteral("LbName"), QStringLiteral("?")),
              v);
  }
  for (const QString& longer : {QString(3000, u'x'), QString(3000, u'米')}) {
    ini.WriteString(QStringLiteral("Last"), QStringLiteral("LbName"), longer);
    EXPECT_EQ(ini.ReadString(QStringLiteral("Last"), QStringLiteral("LbName"), {}),
              longer.left(2047));
  }
}

TEST_F(IniFileTest, FailingWriteRaisesAndLeavesTheFileAlone) {
  const QString inMissingFolder = dir_.filePath(QStringLiteral("gone/syscfg.ini"));
  const QString isAFolder = dir_.filePath(QStringLiteral("folder.ini"));
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("folder.ini")));
  Put("[Last]\r\nLbName=a\r\n");
  struct Case {
    QString path;
    QString value;
  };
  const Case cases[] = {
      {inMissingFolder, QStringLiteral("x")},
      {isAFolder, QStringLiteral("x")},
      {Path(), QStringLiteral("two\nlines")},           // would break the file apart
      {Path(), QString::fromUtf8("\xF0\x9F\x98\x80")},  // no GBK form
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path.toStdString());
    IniFile ini(c.path);
    try {
      ini.WriteString(QStringLiteral("Last"), QStringLiteral("LbName"), c.value);
      ADD_FAILURE() << "no error";
    } catch (const EIniFileException& e) {
      EXPECT_EQ(e.kind(), "EIniFileException");
      EXPECT_EQ(e.message(), "Unable to write to " + c.path.toStdString());
    }
  }
  EXPECT_EQ(Get(), QByteArray("[Last]\r\nLbName=a\r\n"));
}

// Dates are written in the locale's short date format and must read back as the same
// date under that locale, whatever the format does with the year.
TEST_F(IniFileTest, DateTextFollowsTheLocale) {
  struct Case {
    const char* locale;
    QDate date;
    const char* text;
  };
  const Case cases[] = {
      {"en_US", {2008, 3, 5}, "3/5/08"},
      {"de_DE", {2008, 3, 5}, "05.03.08"},
      {"zh_CN", {2008, 3, 5}, "2008/3/5"},
      {"ko_KR", {2008, 3, 5}, "08. 3. 5."},
      {"en_GB", {2008, 3, 5}, "05/03/2008"},
      {"bg_BG", {2008, 3, 5}, "5.03.08 г."},
      // Arabic-Indic digits and direction marks have no GBK form: ASCII digits, no marks.
      {"ar_EG", {2008, 3, 5}, "5/3/2008"},
  };
  const QDate today(2026, 6, 15);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.locale);
    const QLocale locale(QString::fromUtf8(c.locale));
    IniFile ini(Path());
    ini.WriteDate(QStringLiteral("Last"), QStringLiteral("LoadDate"), c.date, locale);
    EXPECT_EQ(ini.ReadString(QStringLiteral("Last"), QStringLiteral("LoadDate"), {}),
              QString::fromUtf8(c.text));
    EXPECT_EQ(ini.ReadDate(QStringLiteral("Last"), QStringLiteral("LoadDate"), QDate(1990, 1, 1),
                           locale, today),
              c.date);
  }
}

TEST(DateText, EveryLocaleReadsItsOwnDatesBack) {
  const QDate today = QDate::currentDate();
  const QDate dates[] = {today,
                         today.addDays(1),
                         QDate(2000, 2, 29),
                         QDate(2024, 2, 29),
                         QDate(2008, 12, 31),
                         QDate(today.year() + 40, 1, 1)};
  const auto locales =
      QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
  ASSERT_GT(locales.size(), 100);
  for (const QLocale& locale : locales) {
    for (const QDate& date : dates) {
      const QString text = DateText(date, locale);
      const auto back = ParseDateText(text, locale, today);
      EXPECT_EQ(back, date) << locale.name().toStdString() << " " << text.toStdString();
      EXPECT_TRUE(Utf8ToGbk(text.toStdString())) << locale.name().toStdString();
    }
  }
}

TEST(DateText, TwoDigitYearsComeFromTheHundredYearsAroundToday) {
  struct Case {
    QDate today;
    const char* text;  // en_US: M/d/yy
    std::optional<QDate> date;
  };
  const Case cases[] = {
      {{2026, 6, 15}, "3/5/08", QDate(2008, 3, 5)},
      {{2026, 6, 15}, "1/1/90", QDate(1990, 1, 1)},
      {{2026, 6, 15}, "1/1/76", QDate(1976, 1, 1)},
      {{2026, 6, 15}, "12/31/75", QDate(2075, 12, 31)},
      {{2026, 6, 15}, "2/29/00", QDate(2000, 2, 29)},
      {{2026, 6, 15}, "2/29/01", std::nullopt},
      {{2026, 6, 15}, "3/5/2008", QDate(2008, 3, 5)},  // a full year is taken as it is
      {{2080, 1, 1}, "1/1/30", QDate(2030, 1, 1)},
      {{2080, 1, 1}, "1/1/29", QDate(2129, 1, 1)},
  };
  const QLocale us(QStringLiteral("en_US"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseDateText(QString::fromUtf8(c.text), us, c.today), c.date);
  }
}

TEST_F(IniFileTest, UnreadableDatesGiveTheDefault) {
  const char* values[] = {nullptr, "",       "   ",      "not a date", "13/45/08",
                          "3/5",   "3-5-08", "3/5/08/1", "x3/5/08"};
  const QDate def(1990, 1, 1);
  const QLocale us(QStringLiteral("en_US"));
  for (const char* v : values) {
    SCOPED_TRACE(v ? v : "(missing)");
    QFile::remove(Path());
    IniFile ini(Path());
    if (v) ini.WriteString(QStringLiteral("Last"), QStringLiteral("LoadDate"), v);
    EXPECT_EQ(
        ini.ReadDate(QStringLiteral("Last"), QStringLiteral("LoadDate"), def, us, {2026, 6, 15}),
        def);
  }
}

}  // namespace
}  // namespace vantrel
