#pragma once
// File names between Qt strings and the model's byte paths, and the companion files of a
// project (".wav", ".tqb") that share its name.

#include <QString>

#include <string>

// The bytes the file system uses for a name (the locale's encoding, UTF-8 on every
// current desktop).
std::string ToFsPath(const QString& path);
QString FromFsPath(const std::string& path);

// The path with the extension of its file name replaced (".wav"), or the extension
// appended when the name has none. A dot in a folder name is not an extension.
QString ReplaceExtension(const QString& path, const QString& extension);
