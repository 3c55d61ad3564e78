#include "platform/metafile/Records.h"

#include <QStringDecoder>

namespace nt::mf {

std::vector<QPointF> readPoints(Bytes r, std::int64_t at, std::int64_t count, bool wide) {
    const std::int64_t size = wide ? 8 : 4;
    if (count <= 0 || count > r.size() / size || !r.has(at, count * size)) return {};
    std::vector<QPointF> points;
    points.reserve(static_cast<std::size_t>(count));
    for (std::int64_t i = 0; i < count; ++i) {
        const std::int64_t p = at + i * size;
        if (wide)
            points.emplace_back(r.i32(p), r.i32(p + 4));
        else
            points.emplace_back(s16(r, p), s16(r, p + 2));
    }
    return points;
}

Colour colourRef(std::uint32_t v) {
    static constexpr Colour kDefaultPalette[20] = {
        0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000,
        0xC0C0C0, 0xC0DCC0, 0xF0CAA6, 0xF0FBFF, 0xA4A0A0, 0x808080, 0x0000FF,
        0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    switch (v >> 24) {
        case 0:
        case 2:
            return v & 0xFFFFFFu;
        case 1:
            return (v & 0xFFFFu) < 20 ? kDefaultPalette[v & 0xFFFFu] : 0;
        default:
            return 0;
    }
}

QString decodeAnsi(Bytes r, std::int64_t at, std::int64_t length, int charset) {
    if (length <= 0 || !r.has(at, length)) return {};
    const char* codec = nullptr;
    switch (charset) {
        case 128:
            codec = "Shift_JIS";
            break;
        case 129:
            codec = "EUC-KR";
            break;
        case 134:
            codec = "GBK";
            break;
        case 136:
            codec = "Big5";
            break;
        default:
            break;
    }
    const QByteArrayView bytes(reinterpret_cast<const char*>(r.data() + at), length);
    if (codec) {
        QStringDecoder decoder(codec);
        if (decoder.isValid()) return decoder.decode(bytes);
    }
    // Western code page 1252 is nearly Latin-1.
    return QString::fromLatin1(bytes);
}

QString decodeUtf16(Bytes r, std::int64_t at, std::int64_t length) {
    if (length <= 0 || length > r.size() / 2 || !r.has(at, length * 2)) return {};
    QString text(static_cast<qsizetype>(length), Qt::Uninitialized);
    for (std::int64_t i = 0; i < length; ++i) text[i] = QChar(r.u16(at + 2 * i));
    return text;
}

}  // namespace nt::mf
