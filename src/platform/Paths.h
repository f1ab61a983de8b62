#pragma once
#include <QString>

namespace tessel::platform {

// The folder that holds the program's executable.
QString executableFolder();

}  // namespace tessel::platform
