#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <variant>
#include <vector>

#include <QRectF>
#include <QString>

#include "platform/metafile/Ledger.h"
#include "surface/Colour.h"
#include "surface/RasterTarget.h"

// The objects a metafile creates, selects and deletes, and the table that holds them.

namespace nt::mf {

struct PenObject {
    PenObject() = default;
    PenObject(int style, double width, Colour colour)
        : style(style), width(width), colour(colour) {}
    int style = 0;     // PS_SOLID .. PS_INSIDEFRAME in the low 4 bits
    double width = 0;  // logical units; 0 is one pixel whatever the mapping
    Colour colour = 0;
    // A wide (geometric) pen's dashes: lengths on and off in turn, in logical units; empty:
    // solid. Their ends are cut as `cap` says.
    std::vector<double> dashes;
    enum class Cap { Round, Square, Flat } cap = Cap::Round;
    enum class Join { Round, Bevel, Miter } join = Join::Round;
    // Ends or corners other than round: outlined as drawn, not with the pen's round dot.
    bool shaped() const { return cap != Cap::Round || join != Join::Round; }
    bool null() const { return (style & 0xF) == 5; }
};

struct BrushObject {
    enum class Kind { Solid, Null, Hatched, Pattern } kind = Kind::Solid;
    Colour colour = 0xFFFFFF;
    int hatch = 0;
    std::shared_ptr<const PatternBrush> pattern;  // Kind::Pattern
};

struct FontObject {
    double height = 0;   // logical; negative: the character (em) height, positive: the cell
    double width = 0;    // logical average character width; 0: the face's own
    int escapement = 0;  // tenths of a degree, counter-clockwise
    int weight = 400;
    bool italic = false, underline = false, strikeOut = false;
    int charset = 0;
    int quality = 0;  // ANTIALIASED_QUALITY and the ClearType ones ask for smoothed glyphs
    QString face;
    bool operator==(const FontObject&) const = default;
};

struct PaletteObject {};

// A region as its rectangles, in the coordinates its record gives (WMF logical, EMF device).
struct RegionObject {
    std::vector<QRectF> rects;
    std::shared_ptr<const Hold> held;  // the rectangles' bytes in the player's ledger
};

using GdiObject =
    std::variant<std::monostate, PenObject, BrushObject, FontObject, PaletteObject, RegionObject>;

// Stock objects, addressed by EMF handles with the high bit set.
std::optional<GdiObject> stockObject(std::uint32_t index);

// A table of numbered slots. WMF puts each new object in the lowest free slot; EMF names the
// slot. Indexes out of range and empty slots are refused, never dereferenced.
class ObjectTable {
  public:
    explicit ObjectTable(std::uint32_t size) : slots_(size) {}

    // The lowest free slot for a new object; false when the table is full.
    bool add(GdiObject object) {
        // A set of free slots keeps every create logarithmic in a full table.
        if (!freeKnown_) {
            for (std::uint32_t i = 0; i < slots_.size(); ++i)
                if (std::holds_alternative<std::monostate>(slots_[i])) free_.insert(i);
            freeKnown_ = true;
        }
        if (free_.empty()) return false;
        slots_[*free_.begin()] = std::move(object);
        free_.erase(free_.begin());
        return true;
    }
    bool put(std::uint32_t index, GdiObject object) {
        if (index >= slots_.size()) return false;
        slots_[index] = std::move(object);
        if (freeKnown_) free_.erase(index);
        return true;
    }
    const GdiObject* get(std::uint32_t index) const {
        if (index >= slots_.size() || std::holds_alternative<std::monostate>(slots_[index]))
            return nullptr;
        return &slots_[index];
    }
    bool remove(std::uint32_t index) {
        if (!get(index)) return false;
        slots_[index] = std::monostate{};
        if (freeKnown_) free_.insert(index);
        return true;
    }

  private:
    std::vector<GdiObject> slots_;
    std::set<std::uint32_t> free_;
    bool freeKnown_ = false;
};

}  // namespace nt::mf
