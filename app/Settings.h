// syscfg.ini beside the executable, read and written with profile-file semantics:
// every call opens the file afresh, other sections, keys and lines are kept, text is
// GBK on disk. A failing write raises EIniFileException "Unable to write to <path>".
#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <optional>

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
  // The same with the locale (and, for two-digit years, today) given.
  QDate ReadDate(const QString& section, const QString& key, const QDate& def,
                 const QLocale& locale, const QDate& today) const;
  void WriteDate(const QString& section, const QString& key, const QDate& value,
                 const QLocale& locale);

 private:
  QString path_;
};

// ExecutableDir() + "syscfg.ini".
IniFile SettingsFile();

// Text as the settings file and the log keep it: digits of any script as ASCII digits,
// invisible marks (such as direction marks) left out; GBK holds neither.
QString FileText(const QString& text);
// A date in the locale's short date format, as FileText.
QString DateText(const QDate& date, const QLocale& locale);
// Reads DateText back. A two-digit year is taken from the hundred years around today
// (today's year - 50 up to today's year + 49). nullopt when the text is no date.
std::optional<QDate> ParseDateText(const QString& text, const QLocale& locale, const QDate& today);

}  // namespace vantrel
