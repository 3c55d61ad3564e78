#pragma once

#include <cstdint>

#include <QString>

namespace nt {

// Tool indices: the position of a tool's button in the tool box.
enum ToolIndex : std::int32_t {
    kNoTool = -1,
    kSelect = 0,
    kPencil = 1,
    kLine = 2,
    kStarLines = 3,
    kRectangle = 4,
    kFilledRectangle = 5,
    kCircle = 6,
    kFilledCircle = 7,
    kEllipse = 8,
    kFilledEllipse = 9,
    kRoundRect = 10,
    kFilledRoundRect = 11,
    kFill = 12,
    kAirbrush = 13,
    kFreeCurve = 14,
    kPolygon = 15,
    kMagicPen = 16,
    kEraser = 17,
    kPicker = 18,
    kCloneStamp = 19,
    kGradient = 20,
    kText = 21,
};
inline constexpr int kToolCount = 22;

// The main window's shared drawing state: what the pointer handlers, the menu commands and
// the tools read and write. Lives as long as the window; nothing of it is saved.
struct DrawingState {
    double StartX = 0, StartY = 0;    // last press; the freehand tools advance it
    double CurveX0 = 0, CurveY0 = 0;  // first point of the free curve
    double LastX = 0, LastY = 0;      // polygon vertex, eraser corner, clone anchor
    std::int32_t CurTool = 0;         // start-up makes the pencil current
    bool IsDrawing = false;           // from a press on the canvas to its release
    bool PolyStarted = false;         // the polygon has its first vertex
    bool IsPasting = false;           // a pasted picture waits to be placed
    bool GripDragging = false;
    double GripStartX = 0, GripStartY = 0;
    QString LastFolder;  // initial folder of the file dialogs
    double CloneOffsetX = 0, CloneOffsetY = 0;
    bool CloneNewSource = false;
};

}  // namespace nt
