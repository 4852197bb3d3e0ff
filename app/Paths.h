// Where the program's files live: everything is found from the executable's folder,
// never from the current directory.
#pragma once

#include <string>

namespace vantrel {

// The running executable's folder, ending in "/".
std::string ExecutableDir();
// The running executable's full path (symbolic links resolved).
std::string ExecutablePath();
// ExecutableDir() + "data/".
std::string DataDir();
// Lets tests point the program at a folder of their own; empty restores the default.
void SetExecutableDirForTesting(const std::string& dir);

}  // namespace vantrel
