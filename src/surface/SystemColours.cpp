#include "surface/SystemColours.h"

#include <QGuiApplication>
#include <QPalette>

namespace nt {
namespace {

Colour fromQColor(const QColor& c) {
    return rgb(c.red(), c.green(), c.blue());
}

// Index of a system-colour reference -> palette role; classic defaults when no palette.
std::optional<Colour> systemColour(unsigned index) {
    struct Entry {
        QPalette::ColorGroup group;
        QPalette::ColorRole role;
        Colour fallback;
    };
    // 0 scroll bar .. 30 menu bar, as the colour indices are defined on the original platform.
    static const Entry table[] = {
        {QPalette::Active, QPalette::Button, rgb(200, 200, 200)},           // 0 scrollbar
        {QPalette::Active, QPalette::Window, rgb(0, 0, 0)},                 // 1 background
        {QPalette::Active, QPalette::Highlight, rgb(153, 180, 209)},        // 2 active caption
        {QPalette::Inactive, QPalette::Window, rgb(191, 205, 219)},         // 3 inactive caption
        {QPalette::Active, QPalette::Window, rgb(240, 240, 240)},           // 4 menu
        {QPalette::Active, QPalette::Base, rgb(255, 255, 255)},             // 5 window
        {QPalette::Active, QPalette::Text, rgb(100, 100, 100)},             // 6 window frame
        {QPalette::Active, QPalette::WindowText, rgb(0, 0, 0)},             // 7 menu text
        {QPalette::Active, QPalette::Text, rgb(0, 0, 0)},                   // 8 window text
        {QPalette::Active, QPalette::HighlightedText, rgb(0, 0, 0)},        // 9 caption text
        {QPalette::Active, QPalette::Mid, rgb(180, 180, 180)},              // 10 active border
        {QPalette::Inactive, QPalette::Mid, rgb(244, 247, 252)},            // 11 inactive border
        {QPalette::Active, QPalette::Dark, rgb(171, 171, 171)},             // 12 app workspace
        {QPalette::Active, QPalette::Highlight, rgb(0, 120, 215)},          // 13 highlight
        {QPalette::Active, QPalette::HighlightedText, rgb(255, 255, 255)},  // 14 highlight text
        {QPalette::Active, QPalette::Button, rgb(240, 240, 240)},           // 15 button face
        {QPalette::Active, QPalette::Dark, rgb(160, 160, 160)},             // 16 button shadow
        {QPalette::Disabled, QPalette::Text, rgb(109, 109, 109)},           // 17 grey text
        {QPalette::Active, QPalette::ButtonText, rgb(0, 0, 0)},             // 18 button text
        {QPalette::Inactive, QPalette::WindowText, rgb(0, 0, 0)},       // 19 inactive caption text
        {QPalette::Active, QPalette::Light, rgb(255, 255, 255)},        // 20 button highlight
        {QPalette::Active, QPalette::Shadow, rgb(105, 105, 105)},       // 21 3D dark shadow
        {QPalette::Active, QPalette::Midlight, rgb(227, 227, 227)},     // 22 3D light
        {QPalette::Active, QPalette::ToolTipText, rgb(0, 0, 0)},        // 23 tooltip text
        {QPalette::Active, QPalette::ToolTipBase, rgb(255, 255, 225)},  // 24 tooltip back
        {QPalette::Active, QPalette::Window, rgb(0, 0, 0)},             // 25 unused
        {QPalette::Active, QPalette::Link, rgb(0, 102, 204)},           // 26 hot light
        {QPalette::Active, QPalette::Highlight, rgb(185, 209, 234)},    // 27 gradient active
        {QPalette::Inactive, QPalette::Highlight, rgb(215, 228, 242)},  // 28 gradient inactive
        {QPalette::Active, QPalette::Highlight, rgb(0, 120, 215)},      // 29 menu highlight
        {QPalette::Active, QPalette::Window, rgb(240, 240, 240)},       // 30 menu bar
    };
    if (index >= std::size(table)) return std::nullopt;
    const Entry& e = table[index];
    if (!qGuiApp) return e.fallback;
    return fromQColor(QGuiApplication::palette().color(e.group, e.role));
}

}  // namespace

std::optional<Colour> translateColour(Colour c) {
    const unsigned high = c >> 24;
    if (high == 0) return c;
    if (high == 0x80) return systemColour(c & 0xFFFFFFu);
    return std::nullopt;
}

}  // namespace nt
