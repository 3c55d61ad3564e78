#pragma once

#include <QString>

// Every address the program hands to the desktop, in one place. The pages live under a
// reserved example domain until the product has real ones.
namespace nt::links {

inline QString productPage() {
    return QStringLiteral("https://norvalytintora.example/");
}
// The guest book, where users leave feedback: the help menu's forum and the error window's
// feedback button open it.
inline QString forumPage() {
    return QStringLiteral("https://norvalytintora.example/forum/");
}
// A new, empty message in the user's mail program.
inline QString mailTarget() {
    return QStringLiteral("mailto:?");
}

}  // namespace nt::links
