#include "app/Startup.h"

#include <dlfcn.h>

#include <QFileInfo>
#include <cstdint>

#include "app/Paths.h"
#include "app/Settings.h"
#include "app/UntException.h"

namespace vantrel {

std::optional<std::string> MissingDataFile(const std::string& dataDir) {
  for (const char* name : kDataFiles) {
    // A directory, or anything else that is not a file, does not count.
    if (!QFileInfo(QString::fromStdString(dataDir + name)).isFile()) return std::string(name);
  }
  return std::nullopt;
}

void ShowMissingDataFiles() {
  ShowStopBox(QStringLiteral("错误"),
              QStringLiteral("数据文件丢失,系统不能被正常启动,请重新安装本软件!"));
}

bool SplashDue(IniFile& settings, const QDate& today) {
  const QDate stored =
      settings.ReadDate(QStringLiteral("Last"), QStringLiteral("LoadDate"), QDate(1990, 1, 1));
  if (stored == today) return false;
  settings.WriteDate(QStringLiteral("Last"), QStringLiteral("LoadDate"), today);
  return true;
}

QString ApplicationErrorText(const std::exception& error, const void* step) {
  // Position-independent executables load anywhere: the offset from the load address
  // stays the same from run to run.
  std::uintptr_t address = reinterpret_cast<std::uintptr_t>(step);
  Dl_info info{};
  if (step && dladdr(step, &info) && info.dli_fbase)
    address -= reinterpret_cast<std::uintptr_t>(info.dli_fbase);
  const QString module = QFileInfo(QString::fromStdString(ExecutablePath())).fileName();
  return QStringLiteral("Exception %1 in module %2 at %3.\n%4")
      .arg(QString::fromStdString(ErrorKind(error)), module,
           QStringLiteral("%1").arg(static_cast<qulonglong>(address), 8, 16, QChar(u'0')).toUpper(),
           WithFullStop(QString::fromUtf8(error.what())));
}

void ShowApplicationError(const std::exception& error, const void* step) {
  ShowStopBox(QStringLiteral("Application Error"), ApplicationErrorText(error, step));
}

}  // namespace vantrel
