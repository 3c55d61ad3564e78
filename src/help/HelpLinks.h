#pragma once

#include <QString>

namespace nt {

// Hands a web or mail target to the desktop, which opens it in the user's program for it.
// Whether that worked is not reported: there is nothing the user could do about it here.
void openLink(const QString& target);

}  // namespace nt
