#pragma once

#include <functional>

#include <QImage>
#include <QWidget>

#include "document/errbox.h"
#include "support/ModalAnswer.h"
#include "surface/Colour.h"
#include "surface/RasterTarget.h"
#include "surface/Surface.h"

namespace nt::test {

// Answers the next modal window of class T.
template <class T>
ModalAnswer answer(std::function<void(T*)> act) {
    return ModalAnswer([act](QWidget* w) { act(qobject_cast<T*>(w)); },
                       [](QWidget* w) { return qobject_cast<T*>(w) != nullptr; });
}

// What an error window said before it was closed.
struct ErrorSeen {
    QString code;
    QString reason;
};
inline std::function<void(errbox*)> readAndClose(ErrorSeen& seen) {
    return [&seen](errbox* box) {
        seen.code = box->Label2->text();
        seen.reason = box->Label3->text();
        box->close();
    };
}

inline Colour colourAt(const QImage& img, int x, int y) {
    return fromPixel(reinterpret_cast<const Pixel*>(img.constScanLine(y))[x]);
}
inline Colour colourAt(const Surface& s, int x, int y) {
    return colourAt(s.Image(), x, y);
}
// What the widget shows, which must follow the persistent image.
inline Colour shownAt(const Surface& s, int x, int y) {
    return colourAt(s.screen(), x, y);
}

inline void paintRect(Surface& s, int x0, int y0, int x1, int y1, Colour c) {
    s.draw(true, [&](RasterTarget& t) {
        for (int y = y0; y <= y1; ++y) t.span(y, x0, x1, toPixel(c));
    });
}

inline QImage solidPicture(int w, int h, Colour c) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(toPixel(c));
    return img;
}

inline constexpr Colour kMagenta = 0xFF00FF;

}  // namespace nt::test
