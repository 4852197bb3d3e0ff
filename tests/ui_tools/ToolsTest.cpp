#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <optional>
#include <vector>

#include "app/Paths.h"
#include "conversion/Errors.h"
#include "ui/Tools.h"

namespace vantrel {
namespace {

QByteArray ReadFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
  f.write(bytes);
}

// A program that does nothing; executable unless told otherwise.
void MakeProgram(const QString& path, bool executable = true) {
  WriteFile(path, "#!/bin/sh\nexit 0\n");
  QFile::setPermissions(path, executable ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                         : QFile::ReadOwner | QFile::WriteOwner);
}

// Every test runs with its own HOME, config folder, PATH and working directory, and
// with recorders in place of the real starting and opening.
class ToolsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "PATH"}) {
      saved_.push_back({name, qEnvironmentVariableIsSet(name)
                                  ? std::optional<QByteArray>(qgetenv(name))
                                  : std::nullopt});
    }
    savedCwd_ = QDir::currentPath();
    qputenv("HOME", Tmp("home").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", Tmp("config").toLocal8Bit());
    qputenv("PATH", Tmp("empty-bin").toLocal8Bit());
    QDir().mkpath(Tmp("home"));
    QDir().mkpath(Tmp("empty-bin"));
    SetStartProgramForTesting([this](const QString& program) {
      started_.push_back(program);
      iniWhenStarted_.push_back(ReadFile(WinIniPath()));
    });
    SetOpenUrlForTesting([this](const QUrl& url) { opened_.push_back(url); });
  }

  void TearDown() override {
    SetStartProgramForTesting({});
    SetOpenUrlForTesting({});
    SetExecutableDirForTesting({});
    QDir::setCurrent(savedCwd_);
    for (const auto& [name, value] : saved_) {
      if (value)
        qputenv(name, *value);
      else
        qunsetenv(name);
    }
  }

  QString Tmp(const QString& relative) const { return tmp_.filePath(relative); }

  void ResetRecorders() {
    started_.clear();
    iniWhenStarted_.clear();
    opened_.clear();
  }

  QTemporaryDir tmp_;
  std::vector<std::pair<const char*, std::optional<QByteArray>>> saved_;
  QString savedCwd_;
  std::vector<QString> started_;
  std::vector<QByteArray> iniWhenStarted_;  // win.ini as it was when each program started
  std::vector<QUrl> opened_;
};

TEST_F(ToolsTest, CalculatorSettingIsWrittenBeforeTheCalculatorStarts) {
  MakeProgram(Tmp("bin/xcalc"));
  qputenv("PATH", Tmp("bin").toLocal8Bit());
  struct Case {
    const char* what;
    const char* configDir;             // relative to the temporary folder
    std::optional<QByteArray> before;  // nullopt: no win.ini yet
    QByteArray after;
  };
  const Case cases[] = {
      {"config folder and file created", "fresh/nested", std::nullopt, "[SciCalc]\r\nlayout=0\r\n"},
      {"1 becomes 0, other sections and keys kept", "old",
       "[Other]\r\nlayout=1\r\n\r\n[SciCalc]\r\nlayout=1\r\nmode=2\r\n",
       "[Other]\r\nlayout=1\r\n\r\n[SciCalc]\r\nlayout=0\r\nmode=2\r\n"},
      {"key added to its section", "nokey", "[SciCalc]\r\nmode=2\r\n[Tail]\r\nx=1\r\n",
       "[SciCalc]\r\nmode=2\r\nlayout=0\r\n[Tail]\r\nx=1\r\n"},
      {"section added", "nosection", "[Other]\r\nx=1\r\n",
       "[Other]\r\nx=1\r\n[SciCalc]\r\nlayout=0\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetRecorders();
    const QString dir = Tmp(c.configDir);
    qputenv("XDG_CONFIG_HOME", dir.toLocal8Bit());
    if (c.before) WriteFile(dir + "/win.ini", *c.before);

    RunCalculator();

    EXPECT_EQ(ReadFile(dir + "/win.ini"), c.after);
    ASSERT_EQ(started_, std::vector<QString>{Tmp("bin/xcalc")});
    EXPECT_EQ(iniWhenStarted_.front(), c.after);
  }
}

TEST_F(ToolsTest, SettingLivesInTheUsersConfigFolder) {
  struct Case {
    const char* what;
    std::optional<QString> xdgConfigHome;
    QString expected;
  };
  const Case cases[] = {
      {"XDG_CONFIG_HOME", Tmp("xdg"), Tmp("xdg/win.ini")},
      {"unset: ~/.config", std::nullopt, Tmp("home/.config/win.ini")},
      {"empty: ~/.config", QString(), Tmp("home/.config/win.ini")},
      {"relative is ignored: ~/.config", QStringLiteral("relative/cfg"),
       Tmp("home/.config/win.ini")},
  };
  QDir::setCurrent(Tmp("home"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QFile::remove(c.expected);
    if (c.xdgConfigHome)
      qputenv("XDG_CONFIG_HOME", c.xdgConfigHome->toLocal8Bit());
    else
      qunsetenv("XDG_CONFIG_HOME");

    EXPECT_EQ(WinIniPath(), c.expected);
    RunCalculator();
    EXPECT_EQ(ReadFile(c.expected), "[SciCalc]\r\nlayout=0\r\n");
  }
  EXPECT_FALSE(QFileInfo::exists(Tmp("home/relative")));
}

TEST_F(ToolsTest, FailingSettingWriteRaisesAndStartsNoCalculator) {
  MakeProgram(Tmp("bin/gnome-calculator"));
  qputenv("PATH", Tmp("bin").toLocal8Bit());
  WriteFile(Tmp("a-file"), "not a folder");
  QDir().mkpath(Tmp("folder-cfg/win.ini"));
  QDir().mkpath(Tmp("readonly-cfg"));
  WriteFile(Tmp("readonly-cfg/win.ini"), "[SciCalc]\r\nlayout=1\r\n");
  QFile::setPermissions(Tmp("readonly-cfg"), QFile::ReadOwner | QFile::ExeOwner);

  struct Case {
    const char* what;
    QString configDir;
  };
  std::vector<Case> cases = {
      {"config folder is a file", Tmp("a-file")},
      {"win.ini is a folder", Tmp("folder-cfg")},
  };
  // Permission bits do not stop root, so that case only means something for a user.
  if (geteuid() != 0) cases.push_back({"read-only config folder", Tmp("readonly-cfg")});

  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetRecorders();
    qputenv("XDG_CONFIG_HOME", c.configDir.toLocal8Bit());
    try {
      RunCalculator();
      ADD_FAILURE() << "no error";
    } catch (const EIniFileException& e) {
      EXPECT_EQ(e.kind(), "EIniFileException");
      EXPECT_EQ(e.message(), "Unable to write to " + (c.configDir + "/win.ini").toStdString());
    }
    EXPECT_TRUE(started_.empty());
  }
  QFile::setPermissions(Tmp("readonly-cfg"),
                        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_EQ(ReadFile(Tmp("readonly-cfg/win.ini")), "[SciCalc]\r\nlayout=1\r\n");
}

TEST_F(ToolsTest, CalculatorIsTheFirstPreferredOneOnPath) {
  struct Program {
    const char* path;  // relative to the temporary folder
    bool executable;
  };
  struct Case {
    const char* what;
    std::vector<Program> programs;
    QString path;
    QString expected;  // empty: nothing starts
  };
  const std::vector<Case> cases = {
      {"the only one", {{"a/xcalc", true}}, Tmp("a"), Tmp("a/xcalc")},
      {"preference beats name order",
       {{"a/xcalc", true}, {"a/kcalc", true}, {"a/galculator", true}},
       Tmp("a"),
       Tmp("a/kcalc")},
      {"preference beats PATH order",
       {{"a/mate-calc", true}, {"b/gnome-calculator", true}},
       Tmp("a") + ':' + Tmp("b"),
       Tmp("b/gnome-calculator")},
      {"a file that cannot run is passed over",
       {{"a/gnome-calculator", false}, {"a/qalculate-gtk", true}},
       Tmp("a"),
       Tmp("a/qalculate-gtk")},
      {"none installed", {{"a/bc", true}}, Tmp("a"), QString()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetRecorders();
    QDir(Tmp("a")).removeRecursively();
    QDir(Tmp("b")).removeRecursively();
    for (const Program& p : c.programs) MakeProgram(Tmp(p.path), p.executable);
    qputenv("PATH", c.path.toLocal8Bit());

    EXPECT_NO_THROW(RunCalculator());

    EXPECT_EQ(FindCalculator(), c.expected);
    EXPECT_EQ(started_,
              c.expected.isEmpty() ? std::vector<QString>{} : std::vector<QString>{c.expected});
    // The setting is written also when no calculator is there to read it.
    EXPECT_EQ(ReadFile(WinIniPath()), "[SciCalc]\r\nlayout=0\r\n");
  }
}

TEST_F(ToolsTest, CompanionsAndHelpAreFoundBesideTheProgramFromAnyWorkingDirectory) {
  const QString program = Tmp("program/");
  MakeProgram(program + "Tools/Kelvora");
  MakeProgram(program + "Tools/Munsett");
  WriteFile(program + "HELP.TXT", "help\r\n");
  // The working directory holds look-alikes that must not be taken.
  const QString elsewhere = Tmp("elsewhere/");
  MakeProgram(elsewhere + "Tools/Kelvora");
  MakeProgram(elsewhere + "Tools/Munsett");
  WriteFile(elsewhere + "HELP.TXT", "decoy\r\n");
  SetExecutableDirForTesting(program.toStdString());
  ASSERT_TRUE(QDir::setCurrent(elsewhere));

  OpenCompanion(QStringLiteral("Kelvora"));
  OpenCompanion(QStringLiteral("Munsett"));
  OpenHelp();
  OpenHelp();  // every use opens it again

  EXPECT_EQ(started_, (std::vector<QString>{program + "Tools/Kelvora", program + "Tools/Munsett"}));
  const QUrl help = QUrl::fromLocalFile(program + "HELP.TXT");
  EXPECT_EQ(opened_, (std::vector<QUrl>{help, help}));
  EXPECT_TRUE(QFileInfo::exists(WinIniPath()) == false);  // only the calculator writes it
}

TEST_F(ToolsTest, MissingTargetStartsAndShowsNothing) {
  const QString program = Tmp("program/");
  struct Case {
    const char* what;
    std::function<void()> prepare;
    std::function<void()> command;
  };
  const auto kelvora = [] { OpenCompanion(QStringLiteral("Kelvora")); };
  const Case cases[] = {
      {"no Tools folder", [] {}, kelvora},
      {"companion absent, the other present", [&] { MakeProgram(program + "Tools/Munsett"); },
       kelvora},
      {"companion cannot run", [&] { MakeProgram(program + "Tools/Kelvora", false); }, kelvora},
      {"companion is a folder", [&] { QDir().mkpath(program + "Tools/Kelvora"); }, kelvora},
      {"no HELP.TXT", [] {}, [] { OpenHelp(); }},
      {"HELP.TXT is a folder", [&] { QDir().mkpath(program + "HELP.TXT"); }, [] { OpenHelp(); }},
  };
  SetExecutableDirForTesting(program.toStdString());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetRecorders();
    QDir(program).removeRecursively();
    QDir().mkpath(program);
    c.prepare();

    EXPECT_NO_THROW(c.command());

    EXPECT_TRUE(started_.empty());
    EXPECT_TRUE(opened_.empty());
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
  }
}

}  // namespace
}  // namespace vantrel
