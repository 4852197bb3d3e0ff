// Kelvora: the companion program for temperatures, started from the converter's Tools
// menu.
#include "app/UntException.h"
#include "app/VantrelApplication.h"
#include "tools/companions/UntKelvora.h"
#include "ui/Look.h"

int main(int argc, char** argv) {
  // The error handler exists before the application object, which hooks it in.
  vantrel::ExceptionHandler();
  vantrel::VantrelApplication app(argc, argv);
  QApplication::setFont(vantrel::WindowFont());
  vantrel::TFrmKelvora window;
  // The same text as the title, so the window manager does not show it twice.
  QGuiApplication::setApplicationDisplayName(window.windowTitle());
  window.show();
  return QApplication::exec();
}
