// The image menus: effects, tone and channel removal, flips, half-mirror and stretch. Each
// handler runs one whole-picture operation on the canvas; the long ones show the busy window
// first, which closes itself once the program is idle again.
#include <functional>

#include <QInputDialog>
#include <QLocale>
#include <QMessageBox>

#include "document/Formloading.h"
#include "globals/Globals.h"
#include "imageops/Geometry.h"
#include "imageops/InputChecks.h"
#include "imageops/NeighbourFilters.h"
#include "imageops/PointFilters.h"
#include "imageops/RandomFilters.h"
#include "imageops/SurfaceOps.h"
#include "imageops/dialogs/ImageCommands.h"
#include "mainwindow/frmmain.h"

namespace {

using Op = std::function<void(nt::RasterTarget&)>;

enum class Busy : bool { No, Yes };

void runEffect(frmmain& w, Busy busy, const Op& op) {
    if (busy == Busy::Yes) Formloading::ShowBusy(&w);
    nt::applyToSurface(w.canvas(), op);
}

// The input box; Cancel answers with the empty text.
QString askText(QWidget* owner, const QString& title, const QString& prompt,
                const QString& initial) {
    return QInputDialog::getText(owner, title, prompt, QLineEdit::Normal, initial);
}

QString reasonText(const nt::InputError& e) {
    return QString::fromStdString(e.reason);
}

}  // namespace

// ---- effects ----

void frmmain::mnuBlur_Click() {
    runEffect(*this, Busy::Yes, [](nt::RasterTarget& t) { nt::BlurImage(t); });
}

// Three blurs in a row, each from the picture the one before left.
void frmmain::mnuBlureMore_Click() {
    Formloading::ShowBusy(this);
    for (int i = 0; i < 3; ++i) mnuBlur_Click();
}

void frmmain::mnuSharpen_Click() {
    const QString title = QStringLiteral("锐化");
    // The suggested factor is written as the locale writes numbers, so it also reads back.
    const QString answer =
        askText(this, title, QStringLiteral("请输入锐化值."), QLocale().toString(1.2));
    const nt::Checked<float> factor = nt::checkSharpenFactor(answer);
    if (!factor.ok()) {
        QMessageBox::information(this, title, reasonText(*factor.error));
        return;
    }
    nt::globals().SharpenValue = factor.value;
    runEffect(*this, Busy::No, [k = factor.value](nt::RasterTarget& t) { nt::SharpenImage(t, k); });
}

void frmmain::mnuSharpMore_Click() {
    const float k = nt::globals().SharpenValue;
    runEffect(*this, Busy::Yes, [k](nt::RasterTarget& t) { nt::SharpenImage(t, k); });
}

// Text that does not begin with a number, Cancel included, reads as 0 and still adds noise.
// Amounts whose spread 2a + 1 would not fit 16 bits are refused.
void frmmain::mnuAddNoise_Click() {
    const QString title = QStringLiteral("噪点");
    const QString answer =
        askText(this, title, QStringLiteral("请输入噪点值."), QStringLiteral("16"));
    const nt::Checked<std::int16_t> amount = nt::checkNoiseAmount(answer);
    if (!amount.ok()) {
        QMessageBox::warning(this, title, reasonText(*amount.error));
        return;
    }
    runEffect(*this, Busy::Yes,
              [this, a = amount.value](nt::RasterTarget& t) { nt::AddNoise(t, a, random); });
}

void frmmain::mnuPixel_Click() {
    runEffect(*this, Busy::Yes, [](nt::RasterTarget& t) { nt::WavePixels(t); });
}

void frmmain::mnuDiffuse_Click() {
    runEffect(*this, Busy::Yes, [this](nt::RasterTarget& t) { nt::DiffuseImage(t, random); });
}

void frmmain::mnuMirror_Click() {
    runEffect(*this, Busy::Yes, [](nt::RasterTarget& t) { nt::MirrorHalf(t); });
}

// ---- tone ----

void frmmain::mnuInvert_Click() {
    runEffect(*this, Busy::Yes, [](nt::RasterTarget& t) { nt::InvertColors(t); });
}

void frmmain::mnuGray_Click() {
    runEffect(*this, Busy::Yes, [](nt::RasterTarget& t) { nt::GrayScale(t); });
}

// Only the green removal shows the busy window, as designed.
void frmmain::mnuRed_Click() {
    runEffect(*this, Busy::No, [](nt::RasterTarget& t) { nt::RemoveChannel(t, 0); });
}

void frmmain::mnuGreen_Click() {
    runEffect(*this, Busy::Yes, [](nt::RasterTarget& t) { nt::RemoveChannel(t, 1); });
}

void frmmain::mnuBlue_Click() {
    runEffect(*this, Busy::No, [](nt::RasterTarget& t) { nt::RemoveChannel(t, 2); });
}

// ---- canvas: flips and stretch ----

// The captions name the mirror line: "垂直(&V)" mirrors left-right, "水平(&H)" top-bottom.
void frmmain::mnuFlipV_Click() {
    runEffect(*this, Busy::No, [](nt::RasterTarget& t) { nt::FlipCanvas(t, 0); });
}

void frmmain::mnuFlipHoz_Click() {
    runEffect(*this, Busy::No, [](nt::RasterTarget& t) { nt::FlipCanvas(t, 1); });
}

void frmmain::mnuBoth_Click() {
    runEffect(*this, Busy::No, [](nt::RasterTarget& t) { nt::FlipCanvas(t, 2); });
}

void frmmain::mnuScale_Click() {
    if (!nt::runScaleCommand(this, canvas())) return;
    LayoutGrips();
    UpdateScrollRanges();
    SetCanvasSizeText();
}
