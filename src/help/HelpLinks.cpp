#include "help/HelpLinks.h"

#include <QDesktopServices>
#include <QUrl>

namespace nt {

void openLink(const QString& target) {
    QDesktopServices::openUrl(QUrl(target));
}

}  // namespace nt
