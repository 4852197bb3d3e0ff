#include "ui/Tools.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "app/Paths.h"
#include "app/Settings.h"

namespace vantrel {
namespace {

StartProgramFn& StartOverride() {
  static StartProgramFn start;
  return start;
}

OpenUrlFn& OpenOverride() {
  static OpenUrlFn open;
  return open;
}

void Start(const QString& program) {
  if (StartOverride())
    StartOverride()(program);
  else
    QProcess::startDetached(program, {});  // result ignored: nothing of ours to say
}

void Open(const QUrl& url) {
  if (OpenOverride())
    OpenOverride()(url);
  else
    QDesktopServices::openUrl(url);
}

// Most desktops' own calculator first; xcalc comes with every X installation.
const char* const kCalculators[] = {"gnome-calculator", "kcalc",     "galculator",
                                    "qalculate-gtk",    "mate-calc", "xcalc"};

}  // namespace

QString WinIniPath() {
  QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
  // A relative value is no valid base directory and counts as unset.
  if (base.isEmpty() || QDir::isRelativePath(base))
    base = QDir::homePath() + QStringLiteral("/.config");
  return QDir(base).filePath(QStringLiteral("win.ini"));
}

QString FindCalculator() {
  for (const char* name : kCalculators) {
    const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
    if (!found.isEmpty()) return found;
  }
  return {};
}

void RunCalculator() {
  const QString path = WinIniPath();
  // A fresh account may have no config folder yet; if it cannot be made, the write
  // below fails and says so.
  QDir().mkpath(QFileInfo(path).absolutePath());
  IniFile ini(path);
  ini.WriteString(QStringLiteral("SciCalc"), QStringLiteral("layout"), QStringLiteral("0"));
  const QString calculator = FindCalculator();
  if (!calculator.isEmpty()) Start(calculator);
}

void OpenCompanion(const QString& name) {
  const QFileInfo program(QString::fromStdString(ExecutableDir()) + QStringLiteral("Tools/") +
                          name);
  if (program.isFile() && program.isExecutable()) Start(program.absoluteFilePath());
}

void OpenHelp() {
  const QFileInfo help(QString::fromStdString(ExecutableDir()) + QStringLiteral("HELP.TXT"));
  if (help.isFile()) Open(QUrl::fromLocalFile(help.absoluteFilePath()));
}

void SetStartProgramForTesting(StartProgramFn start) {
  StartOverride() = std::move(start);
}

void SetOpenUrlForTesting(OpenUrlFn open) {
  OpenOverride() = std::move(open);
}

}  // namespace vantrel
