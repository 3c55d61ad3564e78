#pragma once

#include <QString>

namespace nt {

// Folder separator of the paths the program builds. Qt spells paths with '/' on every
// platform, so the design's backslash becomes this one character.
inline constexpr QChar kPathSeparator = u'/';

// `path` followed by a separator unless it already ends in one (a root stays as it is).
QString AddBackslash(const QString& path);

// The part of `path` before its last separator; `path` unchanged when it has none.
QString ParentFolder(const QString& path);

// The folder that holds the "Data" folder, with a separator at its end: the application
// folder itself (a build tree, or a program unpacked in one folder), else the shared data
// folder of an installed program (<prefix>/share/norvalytintora beside <prefix>/bin), else
// the application folder again.
QString DataParentFolder(const QString& applicationFolder);

}  // namespace nt
