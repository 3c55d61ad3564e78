#include "platform/metafile/GdiObjects.h"

namespace nt::mf {

std::optional<GdiObject> stockObject(std::uint32_t index) {
    using K = BrushObject::Kind;
    switch (index) {
        case 0:
            return BrushObject{K::Solid, 0xFFFFFF, 0, nullptr};
        case 1:
            return BrushObject{K::Solid, 0xC0C0C0, 0, nullptr};
        case 2:
            return BrushObject{K::Solid, 0x808080, 0, nullptr};
        case 3:
            return BrushObject{K::Solid, 0x404040, 0, nullptr};
        case 4:
            return BrushObject{K::Solid, 0x000000, 0, nullptr};
        case 5:
            return BrushObject{K::Null, 0, 0, nullptr};
        case 6:
            return PenObject{0, 0, 0xFFFFFF};
        case 7:
            return PenObject{0, 0, 0x000000};
        case 8:
            return PenObject{5, 0, 0};
        case 10:
        case 11:
        case 12:
        case 13:
        case 14:
        case 16:
        case 17: {
            FontObject f;
            f.face = index == 10 || index == 11 || index == 16 ? QStringLiteral("Courier New")
                                                               : QStringLiteral("Arial");
            return f;
        }
        case 15:
            return PaletteObject{};
        case 18:
            return BrushObject{K::Solid, 0xFFFFFF, 0, nullptr};  // DC brush
        case 19:
            return PenObject{0, 0, 0};  // DC pen
        default:
            return std::nullopt;
    }
}

}  // namespace nt::mf
