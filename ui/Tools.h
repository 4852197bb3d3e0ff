// The tools commands of the main window: the calculator, the two companion programs
// and the help text. Each starts another program and returns at once; nothing is
// waited for, no result is examined and no message of our own is shown.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>

namespace vantrel {

// Writes layout=0 in section SciCalc of WinIniPath() (a failing write raises
// EIniFileException and starts nothing), then starts the first calculator on PATH.
void RunCalculator();
// Starts ExecutableDir() + "Tools/" + name ("Kelvora" or "Munsett") when it is there.
void OpenCompanion(const QString& name);
// Opens ExecutableDir() + "HELP.TXT" with the desktop's viewer when it is there.
void OpenHelp();

// win.ini in the user's config folder: $XDG_CONFIG_HOME, else ~/.config.
QString WinIniPath();
// Full path of the first calculator found on PATH, in the order of preference;
// empty when there is none.
QString FindCalculator();

// How programs are started and files opened. Tests put recorders in place so that
// nothing really starts; an empty function restores the real one.
using StartProgramFn = std::function<void(const QString& program)>;
using OpenUrlFn = std::function<void(const QUrl& url)>;
void SetStartProgramForTesting(StartProgramFn start);
void SetOpenUrlForTesting(OpenUrlFn open);

}  // namespace vantrel
