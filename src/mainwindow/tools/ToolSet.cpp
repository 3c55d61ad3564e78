#include "mainwindow/tools/ToolSet.h"

#include "mainwindow/tools/DabTools.h"
#include "mainwindow/tools/FreehandTool.h"
#include "mainwindow/tools/GradientTool.h"
#include "mainwindow/tools/PolygonTool.h"
#include "mainwindow/tools/RegionTools.h"
#include "mainwindow/tools/ShapeTool.h"
#include "mainwindow/tools/SingleClickTools.h"
#include "mainwindow/tools/TextTool.h"

namespace nt::tools {

ToolSet::ToolSet() {
    using K = FreehandTool::Kind;
    tools_[kPencil] = std::make_unique<FreehandTool>(K::Pencil);
    tools_[kStarLines] = std::make_unique<FreehandTool>(K::StarLines);
    tools_[kFreeCurve] = std::make_unique<FreehandTool>(K::FreeCurve);
    tools_[kLine] = std::make_unique<ShapeTool>(Shape::Line);
    tools_[kRectangle] = std::make_unique<ShapeTool>(Shape::Box);
    tools_[kFilledRectangle] = std::make_unique<ShapeTool>(Shape::FilledBox);
    tools_[kCircle] = std::make_unique<ShapeTool>(Shape::Circle);
    tools_[kFilledCircle] = std::make_unique<ShapeTool>(Shape::FilledCircle);
    tools_[kEllipse] = std::make_unique<ShapeTool>(Shape::Ellipse);
    tools_[kFilledEllipse] = std::make_unique<ShapeTool>(Shape::FilledEllipse);
    tools_[kRoundRect] = std::make_unique<ShapeTool>(Shape::RoundRect);
    tools_[kFilledRoundRect] = std::make_unique<ShapeTool>(Shape::FilledRoundRect);
    tools_[kPolygon] = std::make_unique<PolygonTool>();
    tools_[kFill] = std::make_unique<FillTool>();
    tools_[kAirbrush] = std::make_unique<AirbrushTool>();
    tools_[kMagicPen] = std::make_unique<MagicPenTool>();
    tools_[kEraser] = std::make_unique<EraserTool>();
    tools_[kPicker] = std::make_unique<PickerTool>();
    tools_[kGradient] = std::make_unique<GradientTool>();
    tools_[kSelect] = std::make_unique<SelectTool>();
    tools_[kCloneStamp] = std::make_unique<CloneStampTool>();
    tools_[kText] = std::make_unique<TextTool>();
}

Tool* ToolSet::at(int index) const {
    if (index < 0 || index >= kToolCount) return nullptr;
    return tools_[index].get();
}

Family ToolSet::familyOf(int index) {
    switch (index) {
        case kPencil:
        case kStarLines:
        case kFreeCurve:
            return Family::Freehand;
        case kPolygon:
            return Family::Polygon;
        case kAirbrush:
        case kMagicPen:
        case kEraser:
            return Family::Dab;
        case kFill:
        case kPicker:
            return Family::SingleClick;
        case kSelect:
        case kCloneStamp:
        case kText:
            return Family::Region;
        default:
            return Family::TwoPoint;
    }
}

}  // namespace nt::tools
