#pragma once

#include <QPointF>
#include <QTransform>

#include "platform/metafile/ClipRegion.h"
#include "platform/metafile/GdiObjects.h"
#include "surface/RasterTarget.h"
#include "surface/Shapes.h"

// What a metafile's device context holds between records: the mapping, the selected objects,
// colours and modes, the current position and the clip. SaveDC keeps a copy of all of it.

namespace nt::mf {

enum MapMode {
    MM_TEXT = 1,
    MM_LOMETRIC,
    MM_HIMETRIC,
    MM_LOENGLISH,
    MM_HIENGLISH,
    MM_TWIPS,
    MM_ISOTROPIC,
    MM_ANISOTROPIC
};

struct DcState {
    PenObject pen{0, 0, 0};
    BrushObject brush{};
    FontObject font{};
    int mapMode = MM_TEXT;
    QPointF windowOrg, windowExt{1, 1}, viewportOrg, viewportExt{1, 1};
    QTransform world;
    Colour textColour = 0, bkColour = 0xFFFFFF;
    int bkMode = 2;  // opaque
    int textAlign = 0;
    FillRule fillRule = FillRule::Alternate;
    int rop2 = RasterTarget::kCopyPen;
    bool clockwiseArcs = false;
    double miterLimit = 10;  // mitred corners reaching further than this are bevelled
    QPointF current;         // logical
    Clip clip;               // picture pixels, the meta region included; null: none
    Clip meta;               // the meta region, which every later clip stays within; null: none
};

}  // namespace nt::mf
