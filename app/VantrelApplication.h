// The application object. Anything that escapes an event handler is caught here and
// handed to the error handler, so no error ever unwinds through Qt's event loop; a
// change of the user's locale updates the decimal separator of the number rules.
#pragma once

#include <QApplication>

namespace vantrel {

class VantrelApplication : public QApplication {
  Q_OBJECT

 public:
  VantrelApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

 protected:
  bool event(QEvent* event) override;
};

// The process-wide decimal separator from the user's locale.
void ApplyLocaleDecimalSeparator();

}  // namespace vantrel
