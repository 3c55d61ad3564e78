#include "palette/PaletteLogic.h"

#include <algorithm>

#include "surface/Gdi.h"
#include "surface/Rounding.h"

namespace nt::palette {

int hitTest(double x, double y) {
    const int column = intDiv(x, kCell) - 2;
    const int row = intDiv(y, kCell);
    if (column < 0 || column >= kColumns || row < 0 || row >= kRows) return -1;
    return row + kRows * column;
}

Split SplitColor(std::uint32_t value) {
    Split s;
    s.red = static_cast<int>(value % 256);
    s.green = static_cast<int>(((value & 0xFFFFFF00u) / 256) % 256);
    s.blue = static_cast<int>((value & 0x00FF0000u) / 65536);
    return s;
}

std::array<Colour, kCustomCount> customColours(Colour start) {
    const Split s = SplitColor(start);
    std::array<Colour, kCustomCount> out{};
    for (int k = kCustomCount - 1; k >= 0; --k) {
        const int add = 15 * (k + 1);
        out[k] = rgb(std::min(s.red + add, 255), std::min(s.green + add, 255),
                     std::min(s.blue + add, 255));
    }
    return out;
}

ColourRequest makeColourRequest(Colour start, bool openFull) {
    ColourRequest r;
    r.custom = customColours(start);
    Colour plain = 0;
    if (OleTranslateColor(start, nullptr, &plain) != 0 && start != 0) plain = kNoColour;
    r.initial = plain;
    r.flags = kCcRgbInit | kCcSolidColor | kCcAnyColor | (openFull ? kCcFullOpen : 0u);
    return r;
}

QSize controlSize(double logicalDpiX) {
    // 240 pixels plus 240 twips; at 96 dpi a pixel is 15 twips.
    const double dpi = logicalDpiX > 0 ? logicalDpiX : 96.0;
    const double twipsPerPixel = 1440.0 / dpi;
    return QSize(240 + roundCoord(240.0 / twipsPerPixel), kCurrentArea);
}

std::optional<Qt::CursorShape> cursorShapeFor(int code) {
    switch (code) {
        case 1:
            return Qt::ArrowCursor;
        case 2:
            return Qt::CrossCursor;
        case 3:
            return Qt::IBeamCursor;
        case 4:
            return Qt::ArrowCursor;  // the old "icon" pointer has no modern counterpart
        case 5:
            return Qt::SizeAllCursor;
        case 6:
            return Qt::SizeBDiagCursor;
        case 7:
            return Qt::SizeVerCursor;
        case 8:
            return Qt::SizeFDiagCursor;
        case 9:
            return Qt::SizeHorCursor;
        case 10:
            return Qt::UpArrowCursor;
        case 11:
            return Qt::WaitCursor;
        case 12:
            return Qt::ForbiddenCursor;
        case 13:
            return Qt::BusyCursor;
        case 14:
            return Qt::WhatsThisCursor;
        case 15:
            return Qt::SizeAllCursor;
        default:
            return std::nullopt;  // 0 default, 99 the custom picture, unknown codes
    }
}

QVariant PropertyBag::read(const QString& key, const QVariant& fallback) const {
    const auto it = values_.find(key.toLower());
    return it == values_.end() ? fallback : it->second;
}

bool PaletteState::press(double x, double y, int button) {
    SelectedIndex = hitTest(x, y);
    if (SelectedIndex < 0) return false;
    LastButton = button;
    return true;
}

}  // namespace nt::palette
