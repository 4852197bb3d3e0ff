// The start-up steps that need no window: the data-file check, the once-a-day splash
// decision and the box for a start-up step that fails outside every handler.
#pragma once

#include <QDate>
#include <QString>
#include <exception>
#include <optional>
#include <string>

namespace vantrel {

class IniFile;

// The data files, in the order they are looked for.
inline constexpr const char* kDataFiles[] = {"Dw.dat", "Lb.idx", "Lb.dat"};

// The first data file of dataDir that is not a regular file; nullopt when all are.
std::optional<std::string> MissingDataFile(const std::string& dataDir);

// The missing-data-files box ("错误").
void ShowMissingDataFiles();

// Reads LoadDate (section Last) and, when it is not today, stores today first and
// returns true: the splash is due. A failing write raises EIniFileException.
bool SplashDue(IniFile& settings, const QDate& today);

// "Exception <kind> in module <file> at <address>." and, on the next line, the
// message with the full-stop rule. The address is the failing start-up step's offset
// in the executable, eight or more hex digits, the same on every run.
QString ApplicationErrorText(const std::exception& error, const void* step);

// Shows that text in the "Application Error" box.
void ShowApplicationError(const std::exception& error, const void* step);

// The application title, set once the data files were found.
inline constexpr const char* kApplicationTitle = "Vantrel";

}  // namespace vantrel
