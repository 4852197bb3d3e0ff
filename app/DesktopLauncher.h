// The "/add" launcher: Vantrel.desktop in the user's desktop folder.
#pragma once

namespace vantrel {

// Exec = the executable, Path = its folder. Failures to write pass silently.
void WriteDesktopLauncher();

}  // namespace vantrel
