#include "globals/Paths.h"

#include <QDir>
#include <QFileInfo>

namespace nt {

QString AddBackslash(const QString& path) {
    if (path.endsWith(kPathSeparator)) return path;
    return path + kPathSeparator;
}

QString DataParentFolder(const QString& applicationFolder) {
    const QString here = AddBackslash(applicationFolder);
    if (QFileInfo(here + QStringLiteral("Data")).isDir()) return here;
    const QString installed = QDir::cleanPath(here + QStringLiteral("../share/norvalytintora"));
    if (QFileInfo(installed + QStringLiteral("/Data")).isDir()) return AddBackslash(installed);
    return here;
}

QString ParentFolder(const QString& path) {
    const qsizetype at = path.lastIndexOf(kPathSeparator);
    if (at < 0) return path;
    return path.left(at);
}

}  // namespace nt
