#include "cli/Operations.h"

#include <array>

#include "imageops/Decorate.h"
#include "imageops/Geometry.h"
#include "imageops/InputChecks.h"
#include "imageops/NeighbourFilters.h"
#include "imageops/PointFilters.h"
#include "imageops/RandomFilters.h"
#include "platform/Picture.h"
#include "surface/NumberText.h"
#include "surface/RasterTarget.h"

namespace nt::cli {

namespace {

using Result = std::optional<std::string>;

// Runs a pixel operation over the whole picture.
template <class F>
Result onPixels(QImage& picture, F&& f) {
    RasterTarget t(picture, nullptr);
    f(t);
    return std::nullopt;
}

template <class T>
Result refusal(const Checked<T>& c) {
    if (c.ok()) return std::nullopt;
    return c.error->code.empty() ? c.error->reason : c.error->code + " " + c.error->reason;
}

Result blurMore(QImage& p, const QStringList&, RunState&) {
    return onPixels(p, [](RasterTarget& t) {
        for (int i = 0; i < 3; ++i) BlurImage(t);
    });
}

Result sharpen(QImage& p, const QStringList& a, RunState& run) {
    const auto k = checkSharpenFactor(a[0]);
    if (!k.ok() || run.checkOnly) return refusal(k);
    return onPixels(p, [&](RasterTarget& t) { SharpenImage(t, k.value); });
}

Result noise(QImage& p, const QStringList& a, RunState& run) {
    const auto amount = checkNoiseAmount(a[0]);
    if (!amount.ok() || run.checkOnly) return refusal(amount);
    return onPixels(p, [&](RasterTarget& t) { AddNoise(t, amount.value, run.random); });
}

// The colour and brightness dialogs offer -100..100 on scroll bars; typed values must fit.
std::optional<std::int16_t> adjustAmount(const QString& text, std::string& why) {
    const auto c = checkAdjustAmount(readNumber(text));
    if (!c.ok()) {
        why = c.error->reason;
        return std::nullopt;
    }
    return c.value;
}

Result rgbShift(QImage& p, const QStringList& a, RunState&) {
    std::string why;
    const auto r = adjustAmount(a[0], why), g = adjustAmount(a[1], why),
               b = adjustAmount(a[2], why);
    if (!r || !g || !b) return why;
    return onPixels(p, [&](RasterTarget& t) { AdjustRgb(t, *r, *g, *b); });
}

Result brightness(QImage& p, const QStringList& a, RunState&) {
    std::string why;
    const auto v = adjustAmount(a[0], why);
    if (!v) return why;
    return onPixels(p, [&](RasterTarget& t) { AdjustBrightness(t, *v); });
}

Result stretch(QImage& p, const QStringList& a, RunState& run) {
    const auto size = checkStretchSize(a[0], a[1]);
    if (!size.ok() || run.checkOnly) return refusal(size);
    p = StretchImage(p, size.value.width, size.value.height);
    return std::nullopt;
}

Result frame(QImage& p, const QStringList& a, RunState& run) {
    const auto n = checkFrameWidth(a[0]);
    if (!n.ok()) return refusal(n);
    const auto colour = parseHexColour(a[1].toStdString());
    if (!colour) return "the frame colour must be written #RRGGBB";
    if (run.checkOnly) return std::nullopt;
    const Pen pen{toPixel(*colour), 1, PenStyle::Solid};
    return onPixels(p, [&](RasterTarget& t) { DrawFrame(t, pen, n.value); });
}

Result mask(QImage& p, const QStringList& a, RunState&) {
    // Transparent parts of the background picture stay see-through, as magenta does.
    auto loaded = loadPicture(a[0], 0xFF00FF);
    if (auto* error = std::get_if<PictureError>(&loaded))
        return "cannot read " + a[0].toStdString() + ": " + error->reason;
    const QImage picture = std::get<QImage>(std::move(loaded));
    return onPixels(p, [&](RasterTarget& t) { LayPicture(t, picture, StretchMode::Halftone); });
}

#define NT_PIXEL_OP(fn, call)                                \
    [](QImage& p, const QStringList&, RunState&) -> Result { \
        return onPixels(p, [](RasterTarget& t) { call; });   \
    }

const std::array kOperations{
    Operation{"invert", 0, "", "inverts every colour", NT_PIXEL_OP(invert, InvertColors(t)), 0},
    Operation{"gray", 0, "", "turns the picture grey", NT_PIXEL_OP(gray, GrayScale(t)), 0},
    // A blur leaves the picture's first and last rows as they are; so does it a band's.
    Operation{"blur", 0, "", "blurs once", NT_PIXEL_OP(blur, BlurImage(t)), 1},
    Operation{"blur-more", 0, "", "blurs three times", &blurMore, 3},
    Operation{"sharpen", 1, "K",
              "sharpens by factor K (any finite number; 1.2 is the program's suggestion)",
              &sharpen},
    Operation{"diffuse", 0, "", "scatters pixels by up to two places",
              [](QImage& p, const QStringList&, RunState& run) -> Result {
                  return onPixels(p, [&](RasterTarget& t) { DiffuseImage(t, run.random); });
              }},
    Operation{"noise", 1, "A", "adds random noise of amount A (-16384 to 16383)", &noise},
    Operation{"wave", 0, "", "moves pixels along a small wave", NT_PIXEL_OP(wave, WavePixels(t))},
    Operation{"remove-red", 0, "", "sets the red channel to 0",
              NT_PIXEL_OP(red, RemoveChannel(t, 0)), 0},
    Operation{"remove-green", 0, "", "sets the green channel to 0",
              NT_PIXEL_OP(green, RemoveChannel(t, 1)), 0},
    Operation{"remove-blue", 0, "", "sets the blue channel to 0",
              NT_PIXEL_OP(blue, RemoveChannel(t, 2)), 0},
    Operation{"rgb", 3, "DR DG DB", "shifts red, green and blue by DR, DG, DB (each -100 to 100)",
              &rgbShift, 0},
    Operation{"brightness", 1, "V", "shifts the brightness by V (-100 to 100)", &brightness, 0},
    Operation{"flip-v", 0, "", "mirrors left-right (about the vertical axis)",
              NT_PIXEL_OP(flipv, FlipCanvas(t, 0)), 0},
    Operation{"flip-h", 0, "", "mirrors top-bottom (about the horizontal axis)",
              NT_PIXEL_OP(fliph, FlipCanvas(t, 1))},
    Operation{"flip-both", 0, "", "mirrors left-right and top-bottom (half a turn)",
              NT_PIXEL_OP(flipboth, FlipCanvas(t, 2))},
    Operation{"mirror", 0, "", "copies the left half onto the right half, mirrored",
              NT_PIXEL_OP(mirror, MirrorHalf(t)), 0},
    Operation{"stretch", 2, "W H",
              "stretches to W x H pixels (each 1 to 30000, at most 100 million pixels)", &stretch},
    Operation{"frame", 2, "N #RRGGBB",
              "draws a frame N pixels wide (up to 30100; 0 or less draws none) in colour #RRGGBB",
              &frame},
    Operation{"mask", 1, "FILE",
              "lays picture FILE over the whole picture, stretched; its magenta is see-through",
              &mask},
};

#undef NT_PIXEL_OP

}  // namespace

std::span<const Operation> operations() {
    return kOperations;
}

const Operation* findOperation(const QString& name) {
    for (const Operation& op : kOperations)
        if (name == QLatin1StringView(op.name.data(), static_cast<qsizetype>(op.name.size())))
            return &op;
    return nullptr;
}

}  // namespace nt::cli
