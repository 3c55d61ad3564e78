#include "cli/Convert.h"

#include <algorithm>
#include <cstring>
#include <new>

#include <QFile>

#include "cli/BandSink.h"
#include "cli/MappedFile.h"
#include "cli/OutputFile.h"
#include "imageops/Bands.h"
#include "imageops/InputChecks.h"
#include "platform/Bmp.h"
#include "platform/Picture.h"
#include "platform/metafile/Metafile.h"
#include "surface/Blit.h"

namespace nt::cli {

namespace {

// What the picture reader refuses to read, so a larger file goes to it for the refusal.
constexpr std::int64_t kMaxInputBytes = std::int64_t{1} << 30;
// Output is made and written in bands of about this many bytes: in the processor's cache, and
// large enough that a write's fixed cost does not count.
constexpr std::int64_t kBandBytes = std::int64_t{1} << 20;

QString fromStd(const std::string& s) {
    return QString::fromStdString(s);
}

QString operationName(const Step& step) {
    const auto& name = step.operation->name;
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

bool stopped(const ConvertOptions& options) {
    return options.stop && options.stop->load(std::memory_order_relaxed);
}

// Applies every step; the refusal as a whole message.
std::optional<QString> applySteps(const std::vector<Step>& steps, QImage& picture, RunState& run) {
    for (const Step& step : steps) {
        std::optional<std::string> refused;
        try {
            refused = step.operation->apply(picture, step.arguments, run);
        } catch (const std::bad_alloc&) {
            refused = "not enough memory";
        } catch (const std::exception& e) {
            refused = e.what();
        }
        if (refused) return QStringLiteral("%1: %2").arg(operationName(step), fromStd(*refused));
    }
    return std::nullopt;
}

Outcome unwritable(const QString& output, const QString& why) {
    return {kOutputUnwritable, QStringLiteral("cannot write %1: %2").arg(output, why), false};
}

// Fills `out` with file rows [first, first + count); a refusal stops the file.
using BandMaker = std::function<std::optional<Outcome>(int first, int count, std::uint8_t* out)>;

// The header, then the rows band by band, into `output` renamed into place when all is written.
// A band's maker may work on `extraRows` more rows than it writes.
Outcome writeBands(const QString& output, int width, int height, const BandMaker& makeBand,
                   const ConvertOptions& options, int extraRows = 0) {
    const QByteArray header = bmpHeader(width, height);
    if (header.isEmpty())
        return unwritable(output, QStringLiteral("picture too large for a bitmap file"));
    OutputFile file(output);
    if (auto error = file.open()) return unwritable(output, fromStd(*error));
    const std::int64_t rowBytes = bmpRowBytes(width);
    // Under the size at which an operation splits its rows over two threads: a band is too
    // little work to start one for.
    const std::int64_t rows =
        std::min(kBandBytes / rowBytes, (kParallelPixels - 1) / width - extraRows);
    const int rowsPerBand = static_cast<int>(std::clamp<std::int64_t>(rows, 1, height));
    BandSink sink(file, std::max<std::int64_t>(header.size(), rowsPerBand * rowBytes),
                  options.writeBehind);
    std::memcpy(sink.next(), header.constData(), static_cast<std::size_t>(header.size()));
    sink.put(header.size());
    for (int row = 0; row < height && !sink.failed(); row += rowsPerBand) {
        if (stopped(options)) return {kOk, {}, true};
        const int count = std::min(rowsPerBand, height - row);
        if (auto refused = makeBand(row, count, sink.next())) return *refused;
        sink.put(count * rowBytes);
    }
    if (auto error = sink.finish()) return unwritable(output, fromStd(*error));
    if (stopped(options)) return {kOk, {}, true};
    if (auto error = file.commit()) return unwritable(output, fromStd(*error));
    return {};
}

Outcome writePicture(const QImage& picture, const QString& output, const ConvertOptions& options) {
    const QImage rgb =
        picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
            ? picture
            : picture.convertToFormat(QImage::Format_RGB32);
    return writeBands(
        output, rgb.width(), rgb.height(),
        [&](int first, int count, std::uint8_t* out) -> std::optional<Outcome> {
            encodeBmpRows(rgb, first, count, out);
            return std::nullopt;
        },
        options);
}

// PNG is compressed whole in memory, then written and renamed into place.
Outcome writePng(const QImage& picture, const QString& output) {
    const QByteArray bytes = encodePng(picture);
    if (bytes.isEmpty()) return unwritable(output, QStringLiteral("picture cannot be encoded"));
    OutputFile file(output);
    auto error = file.open();
    if (!error)
        error = file.write(reinterpret_cast<const std::uint8_t*>(bytes.constData()), bytes.size());
    if (!error) error = file.commit();
    if (error) return unwritable(output, fromStd(*error));
    return {};
}

// Decode, operations and encoding a band at a time: the file is bottom-up, so file rows
// [first, first + count) are picture rows [height - first - count, height - first), or, upside
// down, the rows of the source picture [first, first + count) in the opposite order. The steps
// run on `reach` more rows above and below, where the picture has them, and those are dropped.
Outcome streamBmp(const UncompressedBmp& bmp, const BandPlan& plan, const std::vector<Step>& steps,
                  const QString& input, const QString& output, const ConvertOptions& options) {
    if (auto refused = checkSteps(steps)) return {kUsage, *refused, false};
    const int width = static_cast<int>(bmp.info.width);
    const int height = static_cast<int>(bmp.info.height);
    if (options.decoded) options.decoded(QSize(width, height));
    const int reach = plan.reach;
    const std::int64_t rowBytes = bmpRowBytes(width);
    QImage band;
    RunState run;
    return writeBands(
        output, width, height,
        [&](int first, int count, std::uint8_t* out) -> std::optional<Outcome> {
            const int top = plan.upsideDown ? first : height - first - count;
            const int from = std::max(0, top - reach);
            const int rows = std::min(height, top + count + reach) - from;
            if (band.height() != rows) band = QImage(width, rows, QImage::Format_RGB32);
            if (band.isNull())
                return Outcome{kInputUnreadable,
                               QStringLiteral("cannot read %1: not enough memory").arg(input),
                               false};
            dib::decodeRows(bmp.info, bmp.dib, false, from, rows, band);
            if (auto refused = applySteps(plan.steps, band, run))
                return Outcome{kUsage, *refused, false};
            // encodeBmpRows counts file rows from the band's bottom row.
            if (!plan.upsideDown) {
                encodeBmpRows(band, from + rows - top - count, count, out);
            } else {
                for (int k = 0; k < count; ++k)
                    encodeBmpRows(band, from + rows - 1 - (top + k), 1, out + k * rowBytes);
            }
            return std::nullopt;
        },
        options, 2 * reach);
}

// Row-local steps around one stretch: the picture may be stretched a band at a time.
struct StretchPlan {
    std::vector<Step> before, after;
    int width = 0, height = 0;
};

std::optional<StretchPlan> stretchPlan(const std::vector<Step>& steps) {
    StretchPlan plan;
    bool stretched = false;
    for (const Step& step : steps) {
        if (step.operation->name == "stretch" && !stretched) {
            const auto size = checkStretchSize(step.arguments[0], step.arguments[1]);
            if (!size.ok()) return std::nullopt;
            plan.width = size.value.width;
            plan.height = size.value.height;
            stretched = true;
        } else if (step.operation->reach == 0) {
            (stretched ? plan.after : plan.before).push_back(step);
        } else {
            return std::nullopt;
        }
    }
    if (!stretched) return std::nullopt;
    return plan;
}

// The stretch a band of output rows at a time, each from the band of source rows under it
// (and one more on each side): a destination pixel averages its own footprint only, so the
// band's rows come out as the whole picture's.
Outcome streamStretch(const UncompressedBmp& bmp, const StretchPlan& plan,
                      const std::vector<Step>& steps, const QString& input, const QString& output,
                      const ConvertOptions& options) {
    if (auto refused = checkSteps(steps)) return {kUsage, *refused, false};
    const int sw = static_cast<int>(bmp.info.width), sh = static_cast<int>(bmp.info.height);
    if (options.decoded) options.decoded(QSize(sw, sh));
    const int w = plan.width, h = plan.height;
    std::vector<Pixel> rows;
    QImage band;
    RunState run;
    return writeBands(
        output, w, h,
        [&](int first, int count, std::uint8_t* out) -> std::optional<Outcome> {
            const int top = h - first - count;
            const auto from =
                static_cast<int>(std::max<std::int64_t>(0, std::int64_t{top} * sh / h - 1));
            const auto to = static_cast<int>(
                std::min<std::int64_t>(sh, (std::int64_t{top + count} * sh - 1) / h + 2));
            try {
                rows.resize(static_cast<std::size_t>(sw) * static_cast<std::size_t>(to - from));
                if (band.height() != count) band = QImage(w, count, QImage::Format_RGB32);
            } catch (const std::bad_alloc&) {
                band = QImage();
            }
            if (band.isNull())
                return Outcome{kInputUnreadable,
                               QStringLiteral("cannot read %1: not enough memory").arg(input),
                               false};
            QImage source(reinterpret_cast<uchar*>(rows.data()), sw, to - from,
                          static_cast<qsizetype>(sw) * 4, QImage::Format_RGB32);
            dib::decodeRows(bmp.info, bmp.dib, false, from, to - from, source);
            if (auto refused = applySteps(plan.before, source, run))
                return Outcome{kUsage, *refused, false};
            RasterTarget target(band, nullptr);
            stretchRect(target, 0, -top, w, h, source, 0, -from, sw, sh, StretchMode::Halftone);
            if (auto refused = applySteps(plan.after, band, run))
                return Outcome{kUsage, *refused, false};
            encodeBmpRows(band, 0, count, out);
            return std::nullopt;
        },
        options);
}

// An uncompressed BMP is decoded on two threads, a half each; anything else as the reader does.
PictureResult decodeWholePicture(Bytes file) {
    const auto bmp = uncompressedBmp(file);
    if (!bmp)
        return decodePicture(
            QByteArrayView(reinterpret_cast<const char*>(file.data()), file.size()));
    const int width = static_cast<int>(bmp->info.width);
    const int height = static_cast<int>(bmp->info.height);
    auto made = dib::allocateImage(width, height, QImage::Format_RGB32);
    if (auto* picture = std::get_if<QImage>(&made)) {
        uchar* bits = picture->bits();
        const qsizetype stride = picture->bytesPerLine();
        runBands(splitRows(0, height, std::int64_t{width} * height), [&](std::size_t, RowBand b) {
            // The band's rows of the picture, as an image of their own.
            QImage rows(bits + b.begin * stride, width, b.end - b.begin, stride,
                        QImage::Format_RGB32);
            dib::decodeRows(bmp->info, bmp->dib, false, b.begin, b.end - b.begin, rows);
        });
    }
    return made;
}

}  // namespace

std::optional<BandPlan> bandPlan(const std::vector<Step>& steps) {
    // A mirror top to bottom only reverses the order of the rows, with which the operations
    // that run in bands commute (the blurs are the same upside down).
    const Operation* mirror = findOperation(QStringLiteral("flip-v"));
    BandPlan plan;
    for (const Step& step : steps) {
        const auto& name = step.operation->name;
        if (name == "flip-h" || name == "flip-both") {
            plan.upsideDown = !plan.upsideDown;
            if (name == "flip-both") plan.steps.push_back({mirror, {}});
            continue;
        }
        if (step.operation->reach == kWholePicture) return std::nullopt;
        plan.reach += step.operation->reach;
        plan.steps.push_back(step);
    }
    return plan;
}

std::optional<QString> checkSteps(const std::vector<Step>& steps) {
    QImage standIn(1, 1, QImage::Format_RGB32);
    standIn.fill(Qt::white);
    RunState run;
    run.checkOnly = true;
    return applySteps(steps, standIn, run);
}

bool isMetafile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray head = file.read(64);
    return mf::detect(Bytes(reinterpret_cast<const std::uint8_t*>(head.constData()),
                            head.size())) != mf::Kind::None;
}

Outcome convertPicture(const QString& input, const QString& output, const std::vector<Step>& steps,
                       const ConvertOptions& options) {
    const MappedFile mapped(input, kMaxInputBytes);
    const bool png = fileTypeForName(output) == PictureFileType::Png;
    const auto banded = bandPlan(steps);
    const auto stretched = banded ? std::nullopt : stretchPlan(steps);
    if (!png && mapped.valid() && (banded || stretched))
        if (const auto bmp = uncompressedBmp(mapped.bytes()))
            return banded ? streamBmp(*bmp, *banded, steps, input, output, options)
                          : streamStretch(*bmp, *stretched, steps, input, output, options);
    auto loaded = !mapped.valid() ? loadPicture(input) : decodeWholePicture(mapped.bytes());
    if (const auto* error = std::get_if<PictureError>(&loaded))
        return {kInputUnreadable,
                QStringLiteral("cannot read %1: %2").arg(input, fromStd(error->reason)), false};
    QImage picture = std::get<QImage>(std::move(loaded));
    if (options.decoded) options.decoded(picture.size());
    if (stopped(options)) return {kOk, {}, true};
    RunState run;
    if (auto refused = applySteps(steps, picture, run)) return {kUsage, *refused, false};
    if (stopped(options)) return {kOk, {}, true};
    return png ? writePng(picture, output) : writePicture(picture, output, options);
}

}  // namespace nt::cli
