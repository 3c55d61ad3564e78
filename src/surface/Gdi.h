#pragma once

#include <cstdint>
#include <memory>

#include <QImage>
#include <QString>

#include "surface/Blit.h"
#include "surface/Surface.h"

namespace nt {

// A device context: the surface plus which of its images it targets. Taken from hDC(), it
// targets the persistent image while persistence is on and the screen otherwise; it draws
// with the surface's current pen, fill brush (or selected pattern) and font.
struct Dc {
    Surface* surface = nullptr;
    bool persistent = true;
};
inline Dc hDC(Surface& s) {
    return Dc{&s, s.AutoRedraw()};
}

inline constexpr std::uint32_t SRCCOPY = 0x00CC0020u;
inline constexpr int HALFTONE = 4;
inline constexpr int COLORONCOLOR = 3;
inline constexpr std::uint32_t FLOODFILLBORDER = 0;
inline constexpr std::uint32_t FLOODFILLSURFACE = 1;
inline constexpr std::uint32_t GRADIENT_FILL_RECT_H = 0;
inline constexpr std::uint32_t GRADIENT_FILL_RECT_V = 1;

struct RECT {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};
using TRIVERTEX = GradientVertex;
struct GRADIENT_RECT {
    std::uint32_t UpperLeft = 0, LowerRight = 0;
};

// A brush object made for one operation; released by DeleteObject or when the last
// reference goes.
using HBRUSH = std::shared_ptr<const PatternBrush>;

// A negative width or height copies the rectangle origin + extent + 1 .. origin on both
// sides, unmirrored, as with the positive extent; zero copies nothing.
bool BitBlt(Dc dst, int x, int y, int w, int h, Dc src, int sx, int sy, std::uint32_t rop);
int SetStretchBltMode(Dc dc, int mode);  // returns the previous mode
bool StretchBlt(Dc dst, int x, int y, int w, int h, Dc src, int sx, int sy, int sw, int sh,
                std::uint32_t rop);
bool TransparentBlt(Dc dst, int x, int y, int w, int h, Dc src, int sx, int sy, int sw, int sh,
                    Colour key);
bool GradientFill(Dc dc, const TRIVERTEX* vertices, std::uint32_t nVertices,
                  const GRADIENT_RECT* rects, std::uint32_t nRects, std::uint32_t mode);
bool ExtFloodFill(Dc dc, int x, int y, Colour colour, std::uint32_t type);
HBRUSH CreatePatternBrush(const QImage& bitmap);  // null for an empty bitmap
HBRUSH SelectObject(Dc dc, HBRUSH brush);         // returns the previous pattern (may be null)
bool DeleteObject(HBRUSH& brush);
bool Rectangle(Dc dc, int left, int top, int right, int bottom);
bool Ellipse(Dc dc, int left, int top, int right, int bottom);
bool RoundRect(Dc dc, int left, int top, int right, int bottom, int cw, int ch);
// Our text is Unicode throughout, so the byte count of the multi-byte original is not needed.
bool TextOutA(Dc dc, int x, int y, const QString& text);
Colour GetPixel(Dc dc, int x, int y);  // kNoColour outside
Colour SetPixel(Dc dc, int x, int y, Colour c);
bool SetRect(RECT& r, int left, int top, int right, int bottom);
// 0 (S_OK) and the RGB value, or a failure code leaving `out` alone.
long OleTranslateColor(Colour c, void* palette, Colour* out);

}  // namespace nt
