#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/DesktopLauncher.h"
#include "app/Paths.h"

namespace vantrel {
namespace {

// Points HOME and the XDG configuration at a folder of the test's own.
class DesktopLauncherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    oldHome_ = qgetenv("HOME");
    oldConfig_ = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home_.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home_.path() + "/.config").toUtf8());
    QDir(home_.path()).mkpath(QStringLiteral(".config"));
  }
  void TearDown() override {
    qputenv("HOME", oldHome_);
    qputenv("XDG_CONFIG_HOME", oldConfig_);
  }
  QByteArray Expected() const {
    const QString exe = QString::fromStdString(ExecutablePath());
    return "[Desktop Entry]\nType=Application\nName=Vantrel\nExec=" + exe.toUtf8() +
           "\nPath=" + QFileInfo(exe).absolutePath().toUtf8() + "\n";
  }
  static QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  QTemporaryDir home_;
  QByteArray oldHome_, oldConfig_;
};

TEST_F(DesktopLauncherTest, WritesTheLauncherIntoTheUsersDesktopFolder) {
  // A desktop folder named in the user's XDG settings, and the plain fallback.
  QFile dirs(home_.path() + "/.config/user-dirs.dirs");
  ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
  dirs.write("XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
  dirs.close();
  QDir(home_.path()).mkdir(QStringLiteral("Schreibtisch"));
  WriteDesktopLauncher();
  const QString launcher = home_.path() + "/Schreibtisch/Vantrel.desktop";
  EXPECT_EQ(Read(launcher), Expected());
  EXPECT_TRUE(QFileInfo(launcher).isExecutable());

  // A second run writes it again under the same name.
  WriteDesktopLauncher();
  EXPECT_EQ(Read(launcher), Expected());

  QFile::remove(dirs.fileName());
  QDir(home_.path()).mkdir(QStringLiteral("Desktop"));
  WriteDesktopLauncher();
  EXPECT_EQ(Read(home_.path() + "/Desktop/Vantrel.desktop"), Expected());
}

TEST_F(DesktopLauncherTest, NoDesktopFolderPassesSilently) {
  EXPECT_NO_THROW(WriteDesktopLauncher());
  EXPECT_FALSE(QFile::exists(home_.path() + "/Desktop/Vantrel.desktop"));
}

}  // namespace
}  // namespace vantrel
