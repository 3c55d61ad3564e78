#pragma once

#include "mainwindow/tools/Tool.h"

namespace nt::tools {

// Tools that put one dab into the picture at every move, the first at the press point.

// Eleven dots of the drawing colour per move, scattered from -5 to 10 * DrawWidth - 6
// pixels around the pointer in each direction (so wider sprays lean to the lower right).
// The first dot of a move scatters around the previous pointer position, the other ten
// around the current one.
class AirbrushTool : public Tool {
  public:
    static constexpr int kDotsPerMove = 11;
    // The offset one draw r (0 <= r < 1) gives at a pen width.
    static int offset(float r, int width);

    void move(ToolContext& ctx, const PointerEvent& e) override;
    bool movesOnPress() const override { return true; }
};

// The magic pen's brush in a colour: the picture of `brush` with its black pixels in
// `colour`, put into `work`, which takes the brush's size.
void ColorizeBrush(const Surface& brush, Surface& work, Colour colour);

// Stamps the brush picture centred on the pointer: black pixels in the drawing colour,
// magenta ones transparent, the rest as they are. The brush is recoloured before every
// stamp, so a new drawing colour shows from the next press on.
class MagicPenTool : public Tool {
  public:
    static constexpr Colour kTransparent = 0xFF00FF;  // magenta

    void move(ToolContext& ctx, const PointerEvent& e) override;
    bool movesOnPress() const override { return true; }
};

// Paints the canvas's background colour: a square of the chosen size around the pointer,
// or a disc whose radius is the chosen size. Outlines use the current pen width.
class EraserTool : public Tool {
  public:
    void move(ToolContext& ctx, const PointerEvent& e) override;
    bool movesOnPress() const override { return true; }
};

}  // namespace nt::tools
