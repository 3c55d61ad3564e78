#pragma once

#include <cstdint>

#include "mainwindow/tools/Tool.h"
#include "surface/Gdi.h"

namespace nt::tools {

// The plain RGB value of a colour value (system colours translated), or 0x0000FFFF when it
// does not translate.
Colour TranslateColor(Colour c);
// Stores the channels of an RGB value into a vertex as c * 256, alpha 0.
void SetVertexColor(TRIVERTEX& vertex, Colour rgb);
// A two-colour gradient over the rectangle: colour a at (left, top), b at (right, bottom),
// varying along x for GRADIENT_FILL_RECT_H and along y for GRADIENT_FILL_RECT_V. The
// rectangle is passed on as it is, so left may exceed right.
bool FillGradientRect(Dc dc, const RECT& r, Colour a, Colour b, std::uint32_t mode);

// Drag a box: moves preview it as a black outline on the screen; the release fills it with
// a gradient from palette colour 1 at the press side to colour 2 at the release side,
// whichever button was used, in the chosen direction.
class GradientTool : public Tool {
  public:
    void move(ToolContext& ctx, const PointerEvent& e) override;
    void release(ToolContext& ctx, const PointerEvent& e) override;
};

}  // namespace nt::tools
