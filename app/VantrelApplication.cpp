#include "app/VantrelApplication.h"

#include <QEvent>
#include <QLocale>

#include "app/UntException.h"
#include "conversion/NumberText.h"

namespace vantrel {

VantrelApplication::VantrelApplication(int& argc, char** argv) : QApplication(argc, argv) {
  ApplyLocaleDecimalSeparator();
}

bool VantrelApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    HandleCurrentException(receiver);
    return false;
  }
}

bool VantrelApplication::event(QEvent* event) {
  if (event->type() == QEvent::LocaleChange) ApplyLocaleDecimalSeparator();
  return QApplication::event(event);
}

void ApplyLocaleDecimalSeparator() {
  SetDecimalSeparator(QLocale::system().decimalPoint().toStdString());
}

}  // namespace vantrel
