// syscfg.ini beside the executable, read and written with profile-file semantics:
// every call opens the file afresh, other sections, keys and lines are kept, text is
// GBK on disk. A failing write raises EIniFileException "Unable to write to <path>".
#pragma once

#include <QDate>
#include <QString>

namespace vantrel {

class IniFile {
 public:
  explicit IniFile(QString path);
  const QString& path() const { return path_; }
  // At most 2047 characters of the value; def when the key is missing.
  QString ReadString(const QString& section, const QString& key, const QString& def) const;
  void WriteString(const QString& section, const QString& key, const QString& value);
  // Date text in the user's short date format; anything unreadable gives def.
  QDate ReadDate(const QString& section, const QString& key, const QDate& def) const;
  void WriteDate(const QString& section, const QString& key, const QDate& value);

 private:
  QString path_;
};

// ExecutableDir() + "syscfg.ini".
IniFile SettingsFile();

}  // namespace vantrel
