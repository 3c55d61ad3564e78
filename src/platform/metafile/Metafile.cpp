#include "platform/metafile/Metafile.h"

#include "platform/Dib.h"
#include "platform/metafile/MetafileSize.h"
#include "platform/metafile/Players.h"
#include "surface/Limits.h"

namespace nt::mf {

PictureResult decode(Bytes data, Stats* stats, double budget, std::int64_t memoryCap) {
    const std::optional<Frame> frame = readFrame(data);
    if (!frame) return dib::invalid("not a playable metafile header");
    if (auto refused = checkSurfaceSize(frame->width, frame->height)) return dib::invalid(*refused);
    auto allocated = dib::allocateImage(frame->width, frame->height, QImage::Format_RGB32);
    if (auto* error = std::get_if<PictureError>(&allocated)) return *error;
    QImage image = std::get<QImage>(std::move(allocated));
    image.fill(0xFFFFFFFFu);
    Player player(*frame, image, stats, budget, memoryCap);
    if (frame->kind == Kind::Emf)
        playEmf(data, player);
    else
        playWmf(data, player);
    if (stats) {
        stats->workPerPixel = player.work() / (double(image.width()) * image.height());
        stats->work = player.work();
        stats->peakBytes = player.ledger().peak();
    }
    return image;
}

}  // namespace nt::mf
