#include "platform/Paths.h"

#include <QCoreApplication>

namespace tessel::platform {

QString executableFolder() { return QCoreApplication::applicationDirPath(); }

}  // namespace tessel::platform
