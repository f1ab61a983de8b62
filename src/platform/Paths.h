#pragma once
#include <QString>

namespace tessel::platform {

// The folder that holds the program's executable.
QString executableFolder();

// The folder the build installs the executable into (the install prefix's program folder, as
// configured when the program was built).
QString installedProgramFolder();

// True when an executable in this folder is an installed program: the folder is the one the
// build installs into, or a system program folder (/usr/bin, /usr/local/bin, where packages
// put it whatever prefix the build was configured with). A build or unpacked folder is not.
bool isInstalledProgramFolder(const QString& folder);

}  // namespace tessel::platform
