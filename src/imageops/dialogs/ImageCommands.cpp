#include "imageops/dialogs/ImageCommands.h"

#include <new>
#include <variant>

#include "document/FileErrors.h"
#include "document/Formloading.h"
#include "document/errbox.h"
#include "globals/Globals.h"
#include "imageops/Decorate.h"
#include "imageops/InputChecks.h"
#include "imageops/PointFilters.h"
#include "imageops/SurfaceOps.h"
#include "imageops/dialogs/DialogParts.h"
#include "imageops/dialogs/frmBright.h"
#include "imageops/dialogs/frmMask.h"
#include "imageops/dialogs/frmRgb.h"
#include "imageops/dialogs/frmScale.h"
#include "imageops/dialogs/frmStroke.h"
#include "platform/Picture.h"

namespace nt {

namespace {

constexpr long kOutOfMemoryNumber = 7;

void backToIdle() {
    globals().DialogResult = GlobalSettings::kIdle;
}

}  // namespace

bool runScaleCommand(QWidget* owner, Surface& canvas) {
    auto& g = globals();
    g.NewCanvasHeight = canvas.height();
    g.NewCanvasWidth = canvas.width();
    frmScale::ShowModal(owner);
    bool stretched = false;
    if (g.DialogResult == GlobalSettings::kAccepted)
        stretched = applyStretchCommand(owner, canvas, g.NewCanvasWidth, g.NewCanvasHeight);
    backToIdle();
    return stretched;
}

void runAdjustCommand(QWidget* owner, Surface& canvas) {
    frmRgb::ShowModal(owner, canvas);
    const auto& g = globals();
    if (g.DialogResult == GlobalSettings::kAccepted) {
        const auto r = g.AdjustRed, gr = g.AdjustGreen, b = g.AdjustBlue;
        applyToSurface(canvas, [&](RasterTarget& t) { AdjustRgb(t, r, gr, b); });
    }
    backToIdle();
}

void runBrightCommand(QWidget* owner, Surface& canvas) {
    frmBright::ShowModal(owner, canvas);
    const auto& g = globals();
    if (g.DialogResult == GlobalSettings::kBrightnessAccepted) {
        Formloading::ShowBusy(owner);
        const auto v = g.BrightValue;
        applyToSurface(canvas, [&](RasterTarget& t) { AdjustBrightness(t, v); });
    }
    backToIdle();
}

void runStrokeCommand(QWidget* owner, Surface& canvas) {
    frmStroke::ShowModal(owner);
    const auto& g = globals();
    if (g.DialogResult == GlobalSettings::kAccepted) DrawFrame(canvas, g.FrameWidth, g.FrameColor);
    backToIdle();
}

void runMaskCommand(QWidget* owner, Surface& canvas) {
    frmMask::ShowModal(owner, canvas);
    const auto& g = globals();
    if (g.DialogResult == GlobalSettings::kAccepted)
        applyPictureBackground(owner, canvas, g.MaskFileName);
    backToIdle();
}

bool applyStretchCommand(QWidget* owner, Surface& canvas, int width, int height) {
    try {
        StretchCanvas(canvas, width, height);
        return true;
    } catch (const SurfaceSizeError&) {
        const auto checked = checkStretchSize(width, height);
        ShowError(
            owner, QString::fromUtf8(kNe12Code.data(), kNe12Code.size()),
            checked.error ? QString::fromStdString(checked.error->reason) : badPixelCountReason());
    } catch (const std::bad_alloc&) {
        ShowError(owner, errorCodeLine(kOutOfMemoryNumber), QStringLiteral("内存不足"));
    }
    return false;
}

bool applyPictureBackground(QWidget* owner, Surface& canvas, const QString& path) {
    if (path.isEmpty()) return false;
    // Areas the picture leaves see-through (transparent pixels of an icon or GIF) stay so.
    PictureResult loaded = loadPicture(path, fromPixel(kSeeThrough));
    if (const auto* error = std::get_if<PictureError>(&loaded)) {
        reportFileError(owner, *error);
        return false;
    }
    const QImage& picture = std::get<QImage>(loaded);
    applyToSurface(canvas, [&](RasterTarget& t) { LayPicture(t, picture, StretchMode::Halftone); });
    return true;
}

}  // namespace nt
