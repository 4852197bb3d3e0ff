// The program's entry: the start-up sequence, the message loop and the shutdown order.
//
// Test-only switch: with VANTREL_TEST_AUTOCLOSE set in the environment, message boxes
// write "caption: text" to standard error and return at once, the splash window says
// "splash" there when it is shown, and the main window says "shown" there and closes as
// soon as it has been shown. The process tests and the start-up benchmark
// use it to run the program unattended; users never set it.
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "app/Paths.h"
#include "app/Settings.h"
#include "app/Startup.h"
#include "app/UntException.h"
#include "app/VantrelApplication.h"
#include "catalogue/UntDM.h"
#include "conversion/Errors.h"
#include "ui/Look.h"
#include "ui/UntFlash.h"
#include "ui/UntMain.h"

namespace vantrel {
namespace {

// Each step of the sequence, so that a failure can name where it happened.
void ShowSplashIfDue(std::unique_ptr<TFrmFlash>& flash) {
  IniFile settings = SettingsFile();
  if (!SplashDue(settings, QDate::currentDate())) return;
  flash = std::make_unique<TFrmFlash>();
  if (qEnvironmentVariableIsSet("VANTREL_TEST_AUTOCLOSE")) std::fputs("splash\n", stderr);
  flash->exec();
}

std::unique_ptr<TDMMain> CreateDataModule() {
  return std::make_unique<TDMMain>(DataDir());
}

std::unique_ptr<TFrmMain> CreateMainWindow(TDMMain& dm) {
  return std::make_unique<TFrmMain>(dm);
}

int RunMessageLoop(TFrmMain& frmMain) {
  frmMain.show();
  if (qEnvironmentVariableIsSet("VANTREL_TEST_AUTOCLOSE"))
    QTimer::singleShot(0, &frmMain, [&frmMain] {
      std::fputs("shown\n", stderr);
      std::fflush(stderr);
      frmMain.close();
    });
  return QApplication::exec();
}

template <typename F>
const void* CodeAddress(F* function) {
  return reinterpret_cast<const void*>(function);
}

int Run(int argc, char** argv) {
  // The error handler exists before the application object, which hooks it in.
  ExceptionHandler();
  VantrelApplication app(argc, argv);
  QApplication::setFont(WindowFont());

  if (MissingDataFile(DataDir())) {
    ShowMissingDataFiles();
    return 0;
  }
  // The application name, not the display name: X11 window titles would get the display
  // name appended ("VantrelV1.2 — Vantrel").
  QCoreApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));

  // Released in the reverse order of creation: main window, data module, splash.
  std::unique_ptr<TFrmFlash> FrmFlash;
  std::unique_ptr<TDMMain> DMMain;
  std::unique_ptr<TFrmMain> FrmMain;
  const void* step = nullptr;
  try {
    step = CodeAddress(&ShowSplashIfDue);
    ShowSplashIfDue(FrmFlash);
    step = CodeAddress(&CreateDataModule);
    DMMain = CreateDataModule();
    step = CodeAddress(&CreateMainWindow);
    FrmMain = CreateMainWindow(*DMMain);
    step = CodeAddress(&RunMessageLoop);
    RunMessageLoop(*FrmMain);
  } catch (const std::exception& error) {
    // Outside every handler: no log, the "Application Error" box, exit code 1.
    ShowApplicationError(error, step);
    return 1;
  } catch (...) {
    ShowApplicationError(Error("Exception", "Unknown exception"), step);
    return 1;
  }
  FrmMain.reset();
  DMMain.reset();
  FrmFlash.reset();
  return 0;
}

}  // namespace
}  // namespace vantrel

int main(int argc, char** argv) {
  return vantrel::Run(argc, argv);
}
