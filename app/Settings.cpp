#include "app/Settings.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <vector>

#include "app/Gbk.h"
#include "app/Paths.h"
#include "conversion/Errors.h"

namespace vantrel {
namespace {

// The profile functions hand back at most this many characters of a value.
constexpr int kMaxValueLength = 2047;

struct Line {
  QByteArray raw;  // as on disk, without the line end
  QByteArray eol;  // "\r\n", "\n" or "" for a last line without one
  QString text;    // decoded, for matching only
};

std::vector<Line> SplitLines(const QByteArray& content) {
  std::vector<Line> lines;
  qsizetype start = 0;
  while (start < content.size()) {
    qsizetype nl = content.indexOf('\n', start);
    Line line;
    if (nl < 0) {
      line.raw = content.mid(start);
      start = content.size();
    } else {
      line.raw = content.mid(start, nl - start);
      line.eol = "\n";
      start = nl + 1;
    }
    if (line.raw.endsWith('\r')) {
      line.raw.chop(1);
      line.eol.prepend('\r');
    }
    line.text = QString::fromStdString(GbkToUtf8(line.raw.toStdString()));
    lines.push_back(std::move(line));
  }
  return lines;
}

// Section and key names match without regard to ASCII letter case only.
bool SameName(const QString& a, const QString& b) {
  if (a.size() != b.size()) return false;
  for (qsizetype i = 0; i < a.size(); ++i) {
    char16_t x = a[i].unicode(), y = b[i].unicode();
    if (x >= 'A' && x <= 'Z') x += 'a' - 'A';
    if (y >= 'A' && y <= 'Z') y += 'a' - 'A';
    if (x != y) return false;
  }
  return true;
}

std::optional<QString> SectionName(const QString& text) {
  const QString t = text.trimmed();
  if (!t.startsWith(u'[')) return std::nullopt;
  qsizetype close = t.indexOf(u']');
  if (close < 0) close = t.size();
  return t.mid(1, close - 1).trimmed();
}

std::optional<QString> KeyName(const QString& text) {
  const qsizetype eq = text.indexOf(u'=');
  if (eq < 0) return std::nullopt;
  return text.left(eq).trimmed();
}

QString Unquote(QString value) {
  value = value.trimmed();
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
      value.back() == value.front())
    return value.mid(1, value.size() - 2);
  return value;
}

// Reading trims blanks and drops one pair of enclosing quotes, so a value that would
// lose something that way is written inside double quotes.
QString Quote(const QString& value) {
  if (value.isEmpty()) return value;
  const bool blankEdge = value.front().isSpace() || value.back().isSpace();
  const bool quotedLook = value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
                          value.back() == value.front();
  return (blankEdge || quotedLook) ? u'"' + value + u'"' : value;
}

struct Found {
  std::optional<std::size_t> section;  // header line
  std::optional<std::size_t> key;      // key line
  std::size_t lastContent = 0;         // last non-blank line of the section
};

Found Find(const std::vector<Line>& lines, const QString& section, const QString& key) {
  Found f;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto name = SectionName(lines[i].text);
    if (f.section) {
      if (name) break;
      if (!lines[i].text.trimmed().isEmpty()) f.lastContent = i;
      const auto k = KeyName(lines[i].text);
      if (k && SameName(*k, key)) {
        f.key = i;
        break;
      }
    } else if (name && SameName(*name, section)) {
      f.section = i;
      f.lastContent = i;
    }
  }
  return f;
}

[[noreturn]] void FailWrite(const QString& path) {
  throw EIniFileException("Unable to write to " + QFileInfo(path).absoluteFilePath().toStdString());
}

struct Field {
  QChar letter;  // 'd', 'M' or 'y'
  qsizetype width;
};

// The day, month and year fields of a date format, in order; quoted text skipped.
std::vector<Field> DateFields(const QString& format) {
  std::vector<Field> fields;
  bool quoted = false;
  for (qsizetype i = 0; i < format.size();) {
    const QChar c = format[i];
    if (c == u'\'') {
      quoted = !quoted;
      ++i;
      continue;
    }
    qsizetype run = 1;
    while (i + run < format.size() && format[i + run] == c) ++run;
    if (!quoted && (c == u'd' || c == u'M' || c == u'y')) fields.push_back({c, run});
    i += run;
  }
  return fields;
}

// A year written with one or two digits, moved into the hundred years around today.
int WindowedYear(int twoDigits, const QDate& today) {
  const int first = today.year() - 50;
  return first + ((twoDigits - first % 100) % 100 + 100) % 100;
}

// What is left of a date text without its digits, blanks and invisible marks: the
// separators and literal words that a text in the same format must share.
QString Skeleton(const QString& text) {
  QString out;
  for (const uint c : text.toUcs4()) {
    if (QChar::digitValue(c) >= 0 || QChar::isSpace(c) || QChar::category(c) == QChar::Other_Format)
      continue;
    out += QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1);
  }
  return out;
}

}  // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) {}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
  QFile file(path_);
  if (!file.open(QIODevice::ReadOnly)) return def;
  const auto lines = SplitLines(file.readAll());
  const Found f = Find(lines, section, key);
  if (!f.key) return def;
  const QString& text = lines[*f.key].text;
  return Unquote(text.mid(text.indexOf(u'=') + 1)).left(kMaxValueLength);
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value) {
  // A line break would split the entry into lines of its own.
  if (value.contains(u'\n') || value.contains(u'\r')) FailWrite(path_);
  const auto gbkSection = Utf8ToGbk(section.toStdString());
  const auto gbkKey = Utf8ToGbk(key.toStdString());
  const auto gbkValue = Utf8ToGbk(Quote(value).toStdString());
  if (!gbkSection || !gbkKey || !gbkValue) FailWrite(path_);
  const QByteArray newValue = QByteArray::fromStdString(*gbkValue);

  QByteArray content;
  QFile existing(path_);
  if (existing.exists()) {
    // Never replace a file whose content could not be read.
    if (!existing.open(QIODevice::ReadOnly)) FailWrite(path_);
    content = existing.readAll();
    if (existing.error() != QFileDevice::NoError) FailWrite(path_);
    existing.close();
  }

  auto lines = SplitLines(content);
  const Found f = Find(lines, section, key);
  const auto makeLine = [](QByteArray raw) { return Line{std::move(raw), "\r\n", {}}; };
  if (f.key) {
    Line& line = lines[*f.key];
    line.raw = line.raw.left(line.raw.indexOf('=') + 1) + newValue;
  } else {
    const QByteArray entry = QByteArray::fromStdString(*gbkKey) + '=' + newValue;
    if (f.section) {
      Line& before = lines[f.lastContent];
      if (before.eol.isEmpty()) before.eol = "\r\n";
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(f.lastContent + 1), makeLine(entry));
    } else {
      if (!lines.empty() && lines.back().eol.isEmpty()) lines.back().eol = "\r\n";
      lines.push_back(makeLine('[' + QByteArray::fromStdString(*gbkSection) + ']'));
      lines.push_back(makeLine(entry));
    }
  }

  QByteArray out;
  out.reserve(content.size() + newValue.size() + 64);
  for (const Line& line : lines) out += line.raw + line.eol;

  // Written beside the old file and renamed over it: a crash leaves one or the other.
  QSaveFile file(path_);
  if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.commit())
    FailWrite(path_);
}

QDate IniFile::ReadDate(const QString& section, const QString& key, const QDate& def) const {
  return ReadDate(section, key, def, QLocale::system(), QDate::currentDate());
}

void IniFile::WriteDate(const QString& section, const QString& key, const QDate& value) {
  WriteDate(section, key, value, QLocale::system());
}

QDate IniFile::ReadDate(const QString& section, const QString& key, const QDate& def,
                        const QLocale& locale, const QDate& today) const {
  const QString text = ReadString(section, key, QString());
  if (text.trimmed().isEmpty()) return def;
  return ParseDateText(text, locale, today).value_or(def);
}

void IniFile::WriteDate(const QString& section, const QString& key, const QDate& value,
                        const QLocale& locale) {
  WriteString(section, key, DateText(value, locale));
}

IniFile SettingsFile() {
  return IniFile(QString::fromStdString(ExecutableDir()) + QStringLiteral("syscfg.ini"));
}

QString FileText(const QString& text) {
  QString out;
  for (const uint c : text.toUcs4()) {
    const int digit = QChar::digitValue(c);
    if (digit >= 0)
      out += QChar(u'0' + digit);
    else if (QChar::category(c) != QChar::Other_Format)
      out += QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1);
  }
  return out;
}

QString DateText(const QDate& date, const QLocale& locale) {
  return FileText(locale.toString(date, locale.dateFormat(QLocale::ShortFormat)));
}

std::optional<QDate> ParseDateText(const QString& text, const QLocale& locale, const QDate& today) {
  const QString format = locale.dateFormat(QLocale::ShortFormat);
  const std::vector<Field> fields = DateFields(format);
  const auto count = [&](char16_t letter) {
    return std::count_if(fields.begin(), fields.end(), [&](Field f) { return f.letter == letter; });
  };
  const bool numeric = count(u'd') == 1 && count(u'M') == 1 && count(u'y') == 1 &&
                       std::all_of(fields.begin(), fields.end(),
                                   [](Field f) { return f.letter == u'y' || f.width <= 2; });
  if (!numeric) {
    // Month or weekday names: the locale's own parser reads them.
    QDate date = locale.toDate(text.trimmed(), format);
    if (date.isValid() && format.contains(QStringLiteral("yy")) &&
        !format.contains(QStringLiteral("yyyy")))
      date = QDate(WindowedYear(date.year() % 100, today), date.month(), date.day());
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
  }

  // The three numbers in the format's order, in whatever digits they were written;
  // everything between them must be what the format puts there.
  if (Skeleton(text) != Skeleton(DateText(QDate(2000, 1, 1), locale))) return std::nullopt;
  std::vector<std::pair<long long, int>> numbers;  // value, digit count
  bool inNumber = false;
  for (const uint c : text.toUcs4()) {
    const int digit = QChar::digitValue(c);
    if (digit < 0) {
      inNumber = false;
      continue;
    }
    if (!inNumber) numbers.emplace_back(0, 0);
    inNumber = true;
    auto& [value, count] = numbers.back();
    if (++count > 9) return std::nullopt;
    value = value * 10 + digit;
  }
  if (numbers.size() != 3) return std::nullopt;
  int year = 0, month = 0, day = 0;
  for (std::size_t i = 0; i < 3; ++i) {
    const auto [value, count] = numbers[i];
    if (fields[i].letter == u'd') day = static_cast<int>(value);
    if (fields[i].letter == u'M') month = static_cast<int>(value);
    if (fields[i].letter == u'y')
      year = count <= 2 ? WindowedYear(static_cast<int>(value), today) : static_cast<int>(value);
  }
  const QDate date(year, month, day);
  return date.isValid() && year > 0 ? std::optional<QDate>(date) : std::nullopt;
}

}  // namespace vantrel
