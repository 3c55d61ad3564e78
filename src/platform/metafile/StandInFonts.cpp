#include "platform/metafile/StandInFonts.h"

#include <mutex>

#include <QDir>
#include <QFontDatabase>

namespace nt::mf {

namespace {

// Where Debian's fonts-wine puts them; fontconfig does not list that folder.
constexpr const char* kWineFonts = "/usr/share/wine/fonts";

}  // namespace

void addStandInFonts() {
    static std::once_flag once;
    std::call_once(once, [] {
        // Real Windows faces, where the machine has them, come first.
        if (QFontDatabase::hasFamily(QStringLiteral("Tahoma"))) return;
        const QDir dir(QString::fromLatin1(kWineFonts));
        for (const QString& name : dir.entryList({QStringLiteral("*.ttf")}, QDir::Files))
            QFontDatabase::addApplicationFont(dir.filePath(name));
    });
}

}  // namespace nt::mf
