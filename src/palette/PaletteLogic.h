#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>

#include <QSize>
#include <QString>
#include <QVariant>

#include "surface/Colour.h"

// The palette control's arithmetic, kept free of widgets so it can be checked on its own.
namespace nt::palette {

inline constexpr int kColumns = 14;
inline constexpr int kRows = 2;
inline constexpr int kSwatchCount = kColumns * kRows;
inline constexpr int kCell = 16;         // one swatch cell, in pixels
inline constexpr int kCurrentArea = 32;  // the current-colour squares at the left end
inline constexpr int kCustomCount = 16;  // custom colours offered by the colour dialog

// Button codes of a press: 1 left, 2 right, 4 middle (0 for any other button).
inline constexpr int kLeftButton = 1;

// The preset swatches; index = 2 * column + row.
inline constexpr std::array<Colour, kSwatchCount> kPresetColours = {
    0x00000000, 0x00FFFFFF, 0x00464646, 0x00DCDCDC, 0x00787878, 0x00B4B4B4, 0x00300099,
    0x003C5A9C, 0x00241CED, 0x00B1A3FF, 0x00007EFF, 0x007AAAE5, 0x000EC2FF, 0x009CE4F5,
    0x0000F2FF, 0x00BDF9FF, 0x001DE6A8, 0x00BCF9DD, 0x004CB122, 0x0061BB9D, 0x00EFB700,
    0x00EAD999, 0x00F36D4D, 0x00D19A70, 0x0099362F, 0x008E6D54, 0x0098316F, 0x00D5A5B5,
};

// The swatch under a press at (x, y) in control pixels, or -1 (the current-colour area and
// anything outside the two rows hit nothing). Coordinates round half to even first.
int hitTest(double x, double y);

// Top-left pixel of a swatch's cell on the control face.
inline constexpr int swatchLeft(int index) {
    return kCurrentArea + kCell * (index / kRows);
}
inline constexpr int swatchTop(int index) {
    return kCell * (index % kRows);
}

// A colour value split into bytes; only the low three bytes matter, so -1 gives white.
struct Split {
    int blue = 0, green = 0, red = 0;
};
Split SplitColor(std::uint32_t value);

// The 16 custom colours offered with a swatch: slot k is the swatch lightened by 15 (k + 1)
// on every channel, capped at 255.
std::array<Colour, kCustomCount> customColours(Colour start);

// Everything the colour dialog is opened with.
inline constexpr unsigned kCcRgbInit = 0x1;
inline constexpr unsigned kCcFullOpen = 0x2;
inline constexpr unsigned kCcSolidColor = 0x80;
inline constexpr unsigned kCcAnyColor = 0x100;
struct ColourRequest {
    Colour initial = 0;  // plain RGB; 0xFFFFFFFF when a non-zero start did not translate
    std::array<Colour, kCustomCount> custom{};
    unsigned flags = 0;
    bool fullOpen() const { return flags & kCcFullOpen; }
};
ColourRequest makeColourRequest(Colour start, bool openFull);

// The control's forced size in pixels: 32 high, and 240 pixels plus 240 twips wide
// (256 at 96 dpi). A twip is 1/1440 inch.
QSize controlSize(double logicalDpiX);

// The platform's pointer-shape codes (0 default .. 15 size-all, 99 custom picture).
inline constexpr int kPointerDefault = 0;
inline constexpr int kPointerArrow = 1;
inline constexpr int kPointerCustom = 99;
// The Qt shape for a code, or nothing for the default and the custom picture.
std::optional<Qt::CursorShape> cursorShapeFor(int code);

// The host's property store: keys kept in lower case and matched without regard to case.
class PropertyBag {
  public:
    void write(const QString& key, const QVariant& value) { values_[key.toLower()] = value; }
    // The stored value, or `fallback` when the key is absent.
    QVariant read(const QString& key, const QVariant& fallback) const;
    bool contains(const QString& key) const { return values_.count(key.toLower()) != 0; }
    bool empty() const { return values_.empty(); }

  private:
    std::map<QString, QVariant> values_;
};

// The press/double-click rules on the control's data, without drawing.
class PaletteState {
  public:
    std::array<Colour, kSwatchCount> PaletteColors = kPresetColours;
    Colour Color1 = kPresetColours[0];
    Colour Color2 = kPresetColours[1];
    int SelectedIndex = -1;
    int LastButton = 0;

    // Records the press: sets SelectedIndex (or -1) and, on a hit, LastButton. Returns whether
    // a swatch was hit.
    bool press(double x, double y, int button);
    // The swatch colour the last press hit becomes colour 1 (left) or colour 2 (other button).
    bool appliesToColor1() const { return LastButton == kLeftButton; }
};

}  // namespace nt::palette
