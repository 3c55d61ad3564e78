#include "globals/Paths.h"

namespace nt {

QString AddBackslash(const QString& path) {
    if (path.endsWith(kPathSeparator)) return path;
    return path + kPathSeparator;
}

QString ParentFolder(const QString& path) {
    const qsizetype at = path.lastIndexOf(kPathSeparator);
    if (at < 0) return path;
    return path.left(at);
}

}  // namespace nt
