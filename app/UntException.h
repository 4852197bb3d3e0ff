// The one application-wide error handler: every error that escapes an event or
// creation handler is logged to Error.log beside the executable and shown.
#pragma once

#include <QString>
#include <exception>
#include <functional>

class QObject;

namespace vantrel {

class TExceptionHandler {
 public:
  // Logs and shows one error. Errors of kind EAbort are dropped before this point.
  void AppException(QObject* sender, const std::exception& error);

  // What the user is shown; tests replace it to capture the box instead of showing it.
  // (caption, text, translated) -> shown with the stop icon and one OK button.
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

}  // namespace vantrel
