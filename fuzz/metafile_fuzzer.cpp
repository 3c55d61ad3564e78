// libFuzzer target for our WMF and EMF player: headers, records, objects and drawing. Built
// twice, as fuzz_wmf and fuzz_emf, so each format keeps its own seeds and corpus.

#include <cstdint>
#include <cstdlib>

#include <QGuiApplication>

#include "platform/metafile/Metafile.h"

// Metafile text goes through the font system, which needs a GUI application. It is never
// destroyed: at exit Qt's thread storage is gone before static objects, and the application
// would take its fonts out of a font cache that no longer exists.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static auto* app = new QGuiApplication(*argc, *argv);
    (void)app;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const nt::Bytes bytes(data, static_cast<std::int64_t>(size));
    if (nt::mf::detect(bytes) == nt::mf::Kind::None) return 0;
    // Sanitizers and coverage make playing ten to twenty times slower: a sixteenth of the
    // program's work budget keeps a file that uses all of it within the one-second limit,
    // while work that escapes the budget still shows as a timeout.
    auto result = nt::mf::decode(bytes, nullptr, nt::mf::kWorkBudget / 16);
    // A picture reported as decoded must be whole and opaque.
    if (const auto* image = std::get_if<QImage>(&result)) {
        if (image->isNull() || image->format() != QImage::Format_RGB32) std::abort();
    }
    return 0;
}
