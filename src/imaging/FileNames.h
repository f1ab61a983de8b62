#pragma once
// Small helpers on file paths shared by the open and save commands.

#include <QString>

namespace tessel {

// The path without the extension of its file name: everything before the last "." of the last
// path component. A file name without "." leaves the path unchanged, even when a folder of the
// path has a "." in its name ("/fotos/vacaciones.2024/playa" stays whole).
QString TrimExtension(const QString& path);

// The extension of the path's file name, from its last "." to the end (the "." included), or an
// empty text when the file name has none.
QString ExtensionOf(const QString& path);

// True when something (a file or a folder) exists at the path.
bool FileIsPresent(const QString& path);

}  // namespace tessel
