#include "mainwindow/WindowToolEnvironment.h"

#include <QComboBox>

#include "mainwindow/frmmain.h"
#include "palette/dColorPallete.h"
#include "surface/NumberText.h"
#include "surface/Rounding.h"
#include "text/frmText.h"

namespace nt {

Colour WindowToolEnvironment::paletteColour(int which) const {
    return which == 2 ? w_.dColorPallete1->Color2() : w_.dColorPallete1->Color1();
}

void WindowToolEnvironment::setPaletteColour(int which, Colour c) {
    if (which == 1) w_.dColorPallete1->setColor1(c);
    if (which == 2) w_.dColorPallete1->setColor2(c);
}

// Position 1 is "模板"; any other leaves the fill in the drawing colour.
tools::FillMode WindowToolEnvironment::fillMode() const {
    return w_.cboFillType->currentIndex() == 1 ? tools::FillMode::Pattern : tools::FillMode::Colour;
}

const QImage& WindowToolEnvironment::fillPattern() const {
    return w_.ImgPatten;
}

const Surface& WindowToolEnvironment::brushPicture() const {
    return *w_.SrcBrush1;
}

Surface& WindowToolEnvironment::brushWork() {
    return *w_.SrcBrush2;
}

int WindowToolEnvironment::eraserSize() const {
    return clampToInt(readWholeNumber(w_.cboWidth->currentText()));
}

// Position 0 is "正方形"; any other gives the round eraser.
tools::EraserShape WindowToolEnvironment::eraserShape() const {
    return w_.cboEraseType->currentIndex() == 0 ? tools::EraserShape::Square
                                                : tools::EraserShape::Round;
}

// Position 1 is "从上到下".
tools::GradientDirection WindowToolEnvironment::gradientDirection() const {
    return w_.cboGrade->currentIndex() == 1 ? tools::GradientDirection::Vertical
                                            : tools::GradientDirection::Horizontal;
}

UniformRandom& WindowToolEnvironment::random() {
    return w_.random;
}

QRectF WindowToolEnvironment::selectionArea() const {
    return w_.shpSelect->area();
}

void WindowToolEnvironment::showSelection(const QRectF& area) {
    w_.shpSelect->setArea(area);
    w_.shpSelect->show();
}

QRectF WindowToolEnvironment::cloneMarker() const {
    return w_.shpClone->area();
}

void WindowToolEnvironment::showCloneMarker(const QRectF& area) {
    w_.shpClone->setArea(area);
    w_.shpClone->show();
}

void WindowToolEnvironment::moveCloneMarker(double left, double top) {
    w_.shpClone->moveTo(left, top);
}

void WindowToolEnvironment::showTextDialog() {
    frmText::ShowModal(&w_);
}

// Position 1 is "3D 重影特效".
bool WindowToolEnvironment::textShadow() const {
    return w_.cboTextStyle->currentIndex() == 1;
}

}  // namespace nt
