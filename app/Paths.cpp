#include "app/Paths.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <mutex>

namespace vantrel {
namespace {

std::mutex g_overrideMutex;
std::string g_override;

std::string WithSlash(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

}  // namespace

std::string ExecutablePath() {
  if (QCoreApplication::instance()) return QCoreApplication::applicationFilePath().toStdString();
  // Before the application object exists (and in tools without one).
  return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().toStdString();
}

std::string ExecutableDir() {
  {
    std::lock_guard<std::mutex> lock(g_overrideMutex);
    if (!g_override.empty()) return g_override;
  }
  if (QCoreApplication::instance())
    return WithSlash(QCoreApplication::applicationDirPath().toStdString());
  const QFileInfo exe(QStringLiteral("/proc/self/exe"));
  return WithSlash(QFileInfo(exe.canonicalFilePath()).absolutePath().toStdString());
}

std::string DataDir() {
  return ExecutableDir() + "data/";
}

void SetExecutableDirForTesting(const std::string& dir) {
  std::lock_guard<std::mutex> lock(g_overrideMutex);
  g_override = dir.empty() ? std::string() : WithSlash(dir);
}

}  // namespace vantrel
