// The start-up sequence, run as the real program in a program folder of the test's
// own (a copy of the executable, so that its folder is the test's).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "app/Settings.h"

namespace vantrel {
namespace {

struct Outcome {
  int exitCode = -1;
  QString err;
};

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    ASSERT_TRUE(QFile::copy(QStringLiteral(VANTREL_PROGRAM), Program()));
    ASSERT_TRUE(QDir(folder_.path()).mkpath(QStringLiteral("data")));
    ASSERT_TRUE(QDir(home_.path()).mkpath(QStringLiteral("Desktop")));
  }
  QString Program() const { return folder_.filePath(QStringLiteral("Vantrel")); }
  QString File(const QString& name) const { return folder_.filePath(name); }
  QString Data(const char* name) const { return File(QStringLiteral("data/") + name); }

  // Empty files: enough for the presence check, not for the store.
  void PutDummyDataFiles() const {
    for (const char* name : {"Dw.dat", "Lb.idx", "Lb.dat"}) {
      QFile f(Data(name));
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
  }
  bool PutShippedData() const {
    for (const char* name : {"Dw.dat", "Lb.idx", "Lb.dat"}) {
      const QString from = QStringLiteral(VANTREL_SHIPPED_DATA "/") + name;
      if (!QFile::exists(from) || !QFile::copy(from, Data(name))) return false;
    }
    return true;
  }
  IniFile Settings() const { return IniFile(File(QStringLiteral("syscfg.ini"))); }
  QDate StoredDate() const {
    return Settings().ReadDate(QStringLiteral("Last"), QStringLiteral("LoadDate"), QDate());
  }

  Outcome Run(const QStringList& args = {}) const {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("VANTREL_TEST_AUTOCLOSE"), QStringLiteral("1"));
    env.insert(QStringLiteral("HOME"), home_.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home_.filePath(QStringLiteral(".config")));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(QDir::tempPath());  // never the program folder
    process.start(Program(), args);
    Outcome out;
    if (!process.waitForFinished(60000)) {
      process.kill();
      process.waitForFinished();
      return out;
    }
    out.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    out.err = QString::fromUtf8(process.readAllStandardError());
    return out;
  }

  // A blank in the folder's name, as in many install paths.
  QTemporaryDir folder_{QDir::tempPath() + QStringLiteral("/Vantrel test XXXXXX")};
  QTemporaryDir home_;
};

TEST_F(StartupTest, MissingDataFileStopsWithExitCodeZeroAndTouchesNothing) {
  const QString box = QStringLiteral("错误: 数据文件丢失,系统不能被正常启动,请重新安装本软件!");
  for (const char* missing : {"Dw.dat", "Lb.idx", "Lb.dat"}) {
    for (const bool asFolder : {false, true}) {
      SCOPED_TRACE(std::string(missing) + (asFolder ? " as a folder" : " absent"));
      PutDummyDataFiles();
      ASSERT_TRUE(QFile::remove(Data(missing)));
      if (asFolder) {
        ASSERT_TRUE(QDir(File(QStringLiteral("data"))).mkdir(missing));
      }
      const Outcome out = Run();
      EXPECT_EQ(out.exitCode, 0);
      EXPECT_TRUE(out.err.contains(box)) << out.err.toStdString();
      EXPECT_FALSE(out.err.contains(QStringLiteral("splash")));
      EXPECT_FALSE(QFile::exists(File(QStringLiteral("syscfg.ini"))));
      EXPECT_FALSE(QFile::exists(File(QStringLiteral("Error.log"))));
      if (asFolder) QDir(Data(missing)).removeRecursively();
    }
  }
}

TEST_F(StartupTest, FailingStepShowsApplicationErrorAndExitsWithOne) {
  PutDummyDataFiles();
  struct Case {
    const char* what;
    bool settingsIsFolder;
    const char* error;
  };
  const Case cases[] = {
      // The date differs and cannot be stored: before any window.
      {"settings not writable", true, "Unable to write to "},
      // The store cannot open the empty files.
      {"damaged data files", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QDir(File(QStringLiteral("syscfg.ini"))).removeRecursively();
    QFile::remove(File(QStringLiteral("syscfg.ini")));
    if (c.settingsIsFolder) {
      ASSERT_TRUE(QDir(folder_.path()).mkdir(QStringLiteral("syscfg.ini")));
    } else {
      Settings().WriteDate(QStringLiteral("Last"), QStringLiteral("LoadDate"),
                           QDate::currentDate());
    }
    const Outcome out = Run();
    EXPECT_EQ(out.exitCode, 1);
    const QString head = QStringLiteral("Application Error: Exception ") +
                         (c.settingsIsFolder ? QStringLiteral("EIniFileException")
                                             : QStringLiteral("EDatabaseError")) +
                         QStringLiteral(" in module Vantrel at ");
    EXPECT_TRUE(out.err.contains(head)) << out.err.toStdString();
    EXPECT_TRUE(out.err.contains(QString::fromUtf8(c.error))) << out.err.toStdString();
    EXPECT_FALSE(out.err.contains(QStringLiteral("splash")));
    EXPECT_FALSE(QFile::exists(File(QStringLiteral("Error.log"))));
  }
}

TEST_F(StartupTest, SplashOnceADayWithTheDateStoredFirst) {
  if (!PutShippedData()) GTEST_SKIP() << "the shipped catalogue has not been built";
  const QDate today = QDate::currentDate();
  struct Case {
    const char* what;
    std::optional<QDate> stored;  // nullopt: no settings file
    bool splash;
  };
  const Case cases[] = {
      {"first start", std::nullopt, true},
      {"same day", today, false},
      {"earlier day", today.addDays(-1), true},
      {"later day", today.addYears(1), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QFile::remove(File(QStringLiteral("syscfg.ini")));
    if (c.stored)
      Settings().WriteDate(QStringLiteral("Last"), QStringLiteral("LoadDate"), *c.stored);
    const Outcome out = Run();
    EXPECT_EQ(out.exitCode, 0) << out.err.toStdString();
    EXPECT_EQ(out.err.contains(QStringLiteral("splash")), c.splash) << out.err.toStdString();
    EXPECT_EQ(StoredDate(), today);
    EXPECT_FALSE(QFile::exists(File(QStringLiteral("Error.log"))));
  }
}

TEST_F(StartupTest, OnlyAFirstArgumentOfAddWritesTheDesktopLauncher) {
  if (!PutShippedData()) GTEST_SKIP() << "the shipped catalogue has not been built";
  Settings().WriteDate(QStringLiteral("Last"), QStringLiteral("LoadDate"), QDate::currentDate());
  const QString launcher = home_.filePath(QStringLiteral("Desktop/Vantrel.desktop"));
  struct Case {
    QStringList args;
    bool written;
  };
  const Case cases[] = {
      {{QStringLiteral("/ADD")}, true},
      {{QStringLiteral("/Add")}, true},
      {{QStringLiteral("-add")}, false},
      {{QStringLiteral("add")}, false},
      {{QStringLiteral("x"), QStringLiteral("/add")}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.join(u' ').toStdString());
    QFile::remove(launcher);
    const Outcome out = Run(c.args);
    EXPECT_EQ(out.exitCode, 0) << out.err.toStdString();
    EXPECT_EQ(QFile::exists(launcher), c.written);
  }
  Run({QStringLiteral("/add")});
  QFile f(launcher);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), "[Desktop Entry]\nType=Application\nName=Vantrel\nExec=\"" +
                             Program().toUtf8() + "\"\nPath=" + folder_.path().toUtf8() + "\n");
}

}  // namespace
}  // namespace vantrel
