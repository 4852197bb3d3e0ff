// The one application-wide error handler: every error that escapes an event or
// creation handler is logged to Error.log beside the executable and shown.
#pragma once

#include <QLocale>
#include <QString>
#include <exception>
#include <functional>
#include <optional>
#include <string>

class QObject;

namespace vantrel {

class TExceptionHandler {
 public:
  // Logs and shows one error. Errors of kind EAbort are dropped before this point.
  void AppException(QObject* sender, const std::exception& error);

  // What the user is shown; tests replace it to capture the box instead of showing it.
  // (caption, text) -> shown with the stop icon and one OK button.
  using ShowFn = std::function<void(const QString& caption, const QString& text)>;
  void SetShowForTesting(ShowFn show);

 private:
  ShowFn show_;
};

// The single instance; created and hooked in when the program starts.
TExceptionHandler& ExceptionHandler();

// Runs fn; any error it raises goes to the handler instead of unwinding into Qt.
// Every slot of every window runs its handler through this.
void Guarded(QObject* sender, const std::function<void()>& fn);

// For a catch (...) block: hands the error being handled to the handler (EAbort is
// dropped). Never throws.
void HandleCurrentException(QObject* sender) noexcept;

// The kind an error is matched and logged by: vantrel::Error's own kind,
// "EOutOfMemory" for std::bad_alloc, "Exception" for any other error.
std::string ErrorKind(const std::exception& error);

// What the handler shows for an error; nullopt when it shows nothing.
struct ErrorBox {
  QString caption;
  QString text;
};
std::optional<ErrorBox> ErrorDisplay(const std::string& kind, const QString& message,
                                     const QString& applicationTitle);

// The message with a full stop appended unless it is empty or its last character's
// code is at most that of "." (control characters, blanks, ASCII ! to .).
QString WithFullStop(const QString& message);

// The locale's long time format without its time-zone part.
QString LongTimeFormat(const QLocale& locale);

// A message box with the stop icon and one OK button, modal to the whole program.
// With VANTREL_TEST_AUTOCLOSE set in the environment (process tests and the start-up
// benchmark only) it writes "caption: text" to standard error and returns at once.
void ShowStopBox(const QString& caption, const QString& text);

}  // namespace vantrel
