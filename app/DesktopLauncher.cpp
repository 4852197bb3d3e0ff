#include "app/DesktopLauncher.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>

#include "app/Paths.h"

namespace vantrel {
namespace {

QString DesktopDir() {
  QProcess lookup;
  lookup.start(QStringLiteral("xdg-user-dir"), {QStringLiteral("DESKTOP")});
  if (lookup.waitForFinished(3000) && lookup.exitStatus() == QProcess::NormalExit &&
      lookup.exitCode() == 0) {
    const QString dir = QString::fromLocal8Bit(lookup.readAllStandardOutput()).trimmed();
    if (!dir.isEmpty()) return dir;
  } else {
    lookup.kill();
    lookup.waitForFinished(1000);
  }
  return QDir::homePath() + QStringLiteral("/Desktop");
}

// A string value of a desktop entry: backslash and line breaks escaped.
QString EscapeString(QString value) {
  value.replace(u'\\', QStringLiteral("\\\\"));
  value.replace(u'\n', QStringLiteral("\\n"));
  value.replace(u'\r', QStringLiteral("\\r"));
  value.replace(u'\t', QStringLiteral("\\t"));
  return value;
}

// The program as the one argument of Exec: quoted when it holds a reserved character,
// "%" doubled, then escaped as a string value.
QString ExecValue(const QString& program) {
  static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
  bool quote = false;
  for (const QChar c : program) quote = quote || reserved.contains(c);
  QString arg;
  for (const QChar c : program) {
    if (quote && (c == u'"' || c == u'`' || c == u'$' || c == u'\\')) arg += u'\\';
    arg += c;
  }
  arg.replace(u'%', QStringLiteral("%%"));
  if (quote) arg = u'"' + arg + u'"';
  return EscapeString(arg);
}

}  // namespace

void WriteDesktopLauncher() {
  const QString program = QString::fromStdString(ExecutablePath());
  QString folder = QFileInfo(program).absolutePath();
  const QString text = QStringLiteral("[Desktop Entry]\nType=Application\nName=Vantrel\n") +
                       QStringLiteral("Exec=") + ExecValue(program) + u'\n' +
                       QStringLiteral("Path=") + EscapeString(folder) + u'\n';
  QSaveFile file(DesktopDir() + QStringLiteral("/Vantrel.desktop"));
  if (!file.open(QIODevice::WriteOnly)) return;
  const QByteArray bytes = text.toUtf8();
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return;
  }
  // Desktops launch only launchers marked executable.
  file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
  file.commit();
}

}  // namespace vantrel
