#include "app/UntException.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QMessageBox>
#include <QWidget>
#include <cstdio>
#include <new>

#include "app/Gbk.h"
#include "app/Paths.h"
#include "app/Settings.h"
#include "conversion/Errors.h"

namespace vantrel {
namespace {

struct Translation {
  const char* kind;
  const char* fragment;  // "" matches any message
  const char* text;      // nullptr: logged, nothing shown
};

// Tried in order; only rows of the error's own kind count, and the first match decides.
const Translation kTranslations[] = {
    {"EDatabaseError", "must have a value", "字段值不能为空！"},
    {"EConvertError", "is not a valid date", "输入的日期或时间不合法！"},
    {"EConvertError", "is not a valid integer value", "你输入的不是一个合法的整数！"},
    {"EConvertError", "is not a valid floating point value", "你输入的不是一个合法的实数！"},
    {"EDivByZero", "Division by zero", "除数不能为零！"},
    // Faults inside that one library are known and harmless: keep them off the screen.
    {"EAccessViolation", "IDDA3532.DLL", nullptr},
    {"EAccessViolation", "",
     "系统检查到一个错误,请你记录当前窗口名称及做过何种操作。并与软件提供商联系！"},
    {"EOleException", "重复", "记录重复！"},
    {"EOleException", "primary key", "记录重复！"},
};

constexpr std::size_t kMaxCaptionBytes = 128;

bool IsAbort(const std::exception& error) {
  if (dynamic_cast<const EAbort*>(&error)) return true;
  const auto* own = dynamic_cast<const Error*>(&error);
  return own && own->kind() == "EAbort";
}

QString ActiveWindowCaption() {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return {};
  const QWidget* active = QApplication::activeWindow();
  return active ? active->windowTitle() : QString();
}

std::string LogRecord(const QString& caption, const std::string& kind, const QString& message) {
  const QLocale locale = QLocale::system();
  const QDateTime now = QDateTime::currentDateTime();
  const QString when = DateText(now.date(), locale) + QStringLiteral("  ") +
                       FileText(locale.toString(now.time(), LongTimeFormat(locale)));
  std::string record = "===========================================\r\n";
  record += Utf8ToGbkLossy(when.toStdString()) + "\r\n";
  record += "ActiveWindow=" + GbkPrefix(caption.toStdString(), kMaxCaptionBytes) + "\r\n";
  record += "ErrorClass=" + Utf8ToGbkLossy(kind) + "\r\n";
  record += "Msg=" + Utf8ToGbkLossy(message.toStdString()) + "\r\n";
  record += "\r\n";
  return record;
}

// Appends one whole record and closes the file again. False when it could not.
bool AppendToLog(const std::string& record) {
  QFile log(QString::fromStdString(ExecutableDir()) + QStringLiteral("Error.log"));
  if (!log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) return false;
  const auto size = static_cast<qint64>(record.size());
  const bool written = log.write(record.data(), size) == size;
  log.close();
  return written && log.error() == QFileDevice::NoError;
}

QString ApplicationTitle() {
  if (QGuiApplication::instance()) {
    const QString title = QGuiApplication::applicationDisplayName();
    if (!title.isEmpty()) return title;
  }
  return QStringLiteral("Vantrel");
}

}  // namespace

void TExceptionHandler::AppException(QObject* /*sender*/, const std::exception& error) {
  const std::string kind = ErrorKind(error);
  const QString message = QString::fromUtf8(error.what());
  const QString caption = ActiveWindowCaption();

  // The record is complete and the file closed before anything is shown, so an error
  // raised while the box is open writes its own whole record after this one.
  if (!AppendToLog(LogRecord(caption, kind, message)))
    std::fprintf(stderr, "Vantrel: could not write %sError.log\n", ExecutableDir().c_str());

  const auto box = ErrorDisplay(kind, message, ApplicationTitle());
  if (!box) return;
  if (show_)
    show_(box->caption, box->text);
  else
    ShowStopBox(box->caption, box->text);
}

void TExceptionHandler::SetShowForTesting(ShowFn show) {
  show_ = std::move(show);
}

TExceptionHandler& ExceptionHandler() {
  static TExceptionHandler handler;
  return handler;
}

void Guarded(QObject* sender, const std::function<void()>& fn) {
  try {
    fn();
  } catch (...) {
    HandleCurrentException(sender);
  }
}

void HandleCurrentException(QObject* sender) noexcept {
  try {
    try {
      throw;
    } catch (const std::exception& error) {
      if (!IsAbort(error)) ExceptionHandler().AppException(sender, error);
    } catch (...) {
      ExceptionHandler().AppException(sender, Error("Exception", "Unknown exception"));
    }
  } catch (...) {
    // The handler itself failed (out of memory, most likely): nothing more can be shown.
    std::fputs("Vantrel: the error handler failed\n", stderr);
  }
}

std::string ErrorKind(const std::exception& error) {
  if (const auto* own = dynamic_cast<const Error*>(&error)) return own->kind();
  if (dynamic_cast<const std::bad_alloc*>(&error)) return "EOutOfMemory";
  return "Exception";
}

std::optional<ErrorBox> ErrorDisplay(const std::string& kind, const QString& message,
                                     const QString& applicationTitle) {
  for (const Translation& row : kTranslations) {
    if (kind != row.kind || !message.contains(QString::fromUtf8(row.fragment))) continue;
    if (!row.text) return std::nullopt;
    return ErrorBox{QStringLiteral("警告"), QString::fromUtf8(row.text)};
  }
  return ErrorBox{applicationTitle, WithFullStop(message)};
}

QString WithFullStop(const QString& message) {
  if (message.isEmpty() || message.back().unicode() <= u'.') return message;
  return message + u'.';
}

QString LongTimeFormat(const QLocale& locale) {
  // Drop every time-zone field ("t" runs outside quotes) with the blanks and the empty
  // brackets it leaves behind.
  const QString format = locale.timeFormat(QLocale::LongFormat);
  QString out;
  bool quoted = false;
  for (qsizetype i = 0; i < format.size(); ++i) {
    const QChar c = format[i];
    if (c == u'\'') quoted = !quoted;
    if (quoted || c != u't') {
      out += c;
      continue;
    }
    while (i + 1 < format.size() && format[i + 1] == u't') ++i;
    while (!out.isEmpty() && (out.back().isSpace() || out.back() == u',')) out.chop(1);
  }
  out.replace(QStringLiteral("()"), QString());
  out.replace(QStringLiteral("[]"), QString());
  return out.trimmed();
}

void ShowStopBox(const QString& caption, const QString& text) {
  if (qEnvironmentVariableIsSet("VANTREL_TEST_AUTOCLOSE") ||
      !qobject_cast<QApplication*>(QCoreApplication::instance())) {
    std::fprintf(stderr, "%s: %s\n", caption.toUtf8().constData(), text.toUtf8().constData());
    return;
  }
  QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok);
  // Modal to every window of the program, on the screen of the window in use.
  box.setWindowModality(Qt::ApplicationModal);
  if (QWidget* active = QApplication::activeWindow()) box.setScreen(active->screen());
  box.exec();
}

}  // namespace vantrel
