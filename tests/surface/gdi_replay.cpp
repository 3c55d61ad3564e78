// Development aid: replays a case file of the shared gdi-raster tool through the surface and
// writes one BMP per case, to be compared with what the tool draws (scripts/compare-gdi).
// Cases the surface cannot express (an opaque background mode, stretch modes the program
// never uses) are not written; the comparison lists them as missing.
//
// usage: gdi_replay CASES OUTDIR ARTDIR

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <QImage>

#include "surface/Gdi.h"
#include "surface/Surface.h"

namespace {

using nt::Colour;

struct Case {
    std::string id, op;
    int w = 0, h = 0;
    std::string bg;
    std::vector<std::string> args;
    std::map<std::string, std::string> opts;
};

Colour colourOf(const std::string& rrggbb) {
    const auto v = static_cast<std::uint32_t>(std::stoul(rrggbb, nullptr, 16));
    return nt::rgb(static_cast<int>(v >> 16), static_cast<int>((v >> 8) & 0xFF),
                   static_cast<int>(v & 0xFF));
}

std::vector<std::string> split(const std::string& s, char sep) {
    std::vector<std::string> out;
    std::stringstream in(s);
    for (std::string part; std::getline(in, part, sep);) out.push_back(part);
    return out;
}

QImage loadArt(const std::string& dir, const std::string& name) {
    std::ifstream in(dir + "/" + name + ".txt");
    std::map<char, std::uint32_t> palette;
    std::vector<std::string> rows;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line.rfind("//", 0) == 0) continue;
        if (line.rfind("color ", 0) == 0 && line.size() == 14) {
            palette[line[6]] = static_cast<std::uint32_t>(std::stoul(line.substr(8), nullptr, 16));
            continue;
        }
        rows.push_back(line);
    }
    QImage img(static_cast<int>(rows.empty() ? 0 : rows[0].size()), static_cast<int>(rows.size()),
               QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) img.setPixel(x, y, 0xFF000000u | palette[rows[y][x]]);
    return img;
}

// The background specs of the tool's format, as 0xFFRRGGBB pixels.
QImage background(const std::string& spec, int w, int h, const std::string& artDir) {
    QImage img(w, h, QImage::Format_RGB32);
    const std::vector<std::string> p = split(spec, ':');
    if (p[0] == "art") return loadArt(artDir, p[1]);
    if (p[0] == "noise" || p[0] == "pal") {
        std::uint32_t s = static_cast<std::uint32_t>(std::stoul(p[1]));
        if (s == 0) s = 1;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                s ^= s << 13;
                s ^= s >> 17;
                s ^= s << 5;
                const std::uint32_t v = p[0] == "noise"
                                            ? s >> 8
                                            : static_cast<std::uint32_t>(std::stoul(
                                                  p[2 + (s >> 8) % (p.size() - 2)], nullptr, 16));
                img.setPixel(x, y, 0xFF000000u | v);
            }
        return img;
    }
    if (p[0] == "checker") {
        const int n = std::stoi(p[3]);
        const auto a = std::stoul(p[1], nullptr, 16), b = std::stoul(p[2], nullptr, 16);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                img.setPixel(
                    x, y, 0xFF000000u | static_cast<std::uint32_t>(((x / n + y / n) & 1) ? b : a));
        return img;
    }
    img.fill(0xFF000000u | static_cast<std::uint32_t>(std::stoul(spec, nullptr, 16)));
    return img;
}

void setFill(nt::Surface& s, const std::string& fill, const std::string& artDir) {
    if (fill == "none") return;
    s.FillStyle = 0;
    if (fill.rfind("pattern:", 0) == 0)
        s.selectPattern(nt::CreatePatternBrush(loadArt(artDir, fill.substr(8))));
    else
        s.FillColor = colourOf(fill);
}

void setPen(nt::Surface& s, const std::string& width, const std::string& style,
            const std::string& colour) {
    s.DrawWidth = std::stoi(width);
    s.DrawStyle = std::stoi(style);
    s.ForeColor = colourOf(colour);
}

std::pair<int, int> point(const std::string& xy) {
    const auto p = split(xy, ',');
    return {std::stoi(p[0]), std::stoi(p[1])};
}

// Draws the case; false when the surface cannot express it.
bool play(const Case& c, nt::Surface& s, const std::string& artDir, std::string& text) {
    const auto& a = c.args;
    const auto n = [&](std::size_t i) { return std::stoi(a.at(i)); };
    const nt::Dc dc = nt::hDC(s);
    if (c.opts.count("bk")) return false;  // the surface's pens have transparent gaps only
    std::optional<nt::Surface> own;
    nt::Dc src = dc;
    if (c.opts.count("src") && c.opts.at("src") != "self") {
        const std::string spec = c.opts.at("src");
        const auto comma = spec.find(',');
        const auto size = split(spec.substr(0, comma), 'x');
        const int sw = std::stoi(size[0]), sh = std::stoi(size[1]);
        own.emplace(sw, sh);
        own->adopt(background(spec.substr(comma + 1), sw, sh, artDir));
        src = nt::hDC(*own);
    }
    if (c.op == "line") {
        setPen(s, a[4], a[5], a[6]);
        s.Line(n(0), n(1), n(2), n(3));
    } else if (c.op == "polyline") {
        setPen(s, a[0], a[1], a[2]);
        for (std::size_t i = 4; i < a.size(); ++i) {
            const auto [x0, y0] = point(a[i - 1]);
            const auto [x1, y1] = point(a[i]);
            s.Line(x0, y0, x1, y1);
        }
    } else if (c.op == "rectangle") {
        setPen(s, a[4], a[5], a[6]);
        setFill(s, a[7], artDir);
        nt::Rectangle(dc, n(0), n(1), n(2), n(3));
    } else if (c.op == "ellipse" || c.op == "roundrect") {
        setPen(s, a[4], a[5], a[6]);
        setFill(s, a[7], artDir);
        if (c.op == "ellipse") {
            nt::Ellipse(dc, n(0), n(1), n(2), n(3));
        } else {
            const auto corner = split(c.opts.count("corner") ? c.opts.at("corner") : "12x12", 'x');
            nt::RoundRect(dc, n(0), n(1), n(2), n(3), std::stoi(corner[0]), std::stoi(corner[1]));
        }
    } else if (c.op == "circle") {
        setPen(s, a[3], a[4], a[5]);
        setFill(s, a[6], artDir);
        s.Circle(n(0), n(1), n(2));
    } else if (c.op == "box") {
        setPen(s, a[4], a[5], a[6]);
        s.Line(n(0), n(1), n(2), n(3), std::nullopt, nt::BoxMode::Outline);
    } else if (c.op == "fillbox") {
        s.Line(n(0), n(1), n(2), n(3), colourOf(a[4]), nt::BoxMode::Filled);
    } else if (c.op == "floodfill") {
        setFill(s, a[2], artDir);
        const Colour at = nt::GetPixel(dc, n(0), n(1));
        nt::ExtFloodFill(dc, n(0), n(1), c.opts.count("color") ? colourOf(c.opts.at("color")) : at,
                         c.opts.count("type") ? nt::FLOODFILLBORDER : nt::FLOODFILLSURFACE);
    } else if (c.op == "setpixel") {
        for (std::size_t i = 1; i < a.size(); ++i) {
            const auto [x, y] = point(a[i]);
            nt::SetPixel(dc, x, y, colourOf(a[0]));
        }
    } else if (c.op == "getpixel") {
        for (const std::string& p : a) {
            const auto [x, y] = point(p);
            const Colour v = nt::GetPixel(dc, x, y);
            char line[64];
            if (v == nt::kNoColour)
                std::snprintf(line, sizeof line, "%d,%d -1\n", x, y);
            else
                std::snprintf(line, sizeof line, "%d,%d %02x%02x%02x\n", x, y, nt::redOf(v),
                              nt::greenOf(v), nt::blueOf(v));
            text += line;
        }
    } else if (c.op == "bitblt") {
        nt::BitBlt(dc, n(0), n(1), n(2), n(3), src, n(4), n(5), nt::SRCCOPY);
    } else if (c.op == "stretchblt") {
        const std::string mode = c.opts.count("mode") ? c.opts.at("mode") : "halftone";
        if (mode != "halftone" && mode != "coloroncolor") return false;
        nt::SetStretchBltMode(dc, mode == "halftone" ? nt::HALFTONE : nt::COLORONCOLOR);
        nt::StretchBlt(dc, n(0), n(1), n(2), n(3), src, n(4), n(5), n(6), n(7), nt::SRCCOPY);
    } else if (c.op == "transparentblt") {
        nt::TransparentBlt(dc, n(0), n(1), n(2), n(3), src, n(4), n(5), n(6), n(7), colourOf(a[8]));
    } else if (c.op == "gradient") {
        const Colour ca = colourOf(a[4]), cb = colourOf(a[5]);
        const auto vertex = [](int x, int y, Colour col) {
            return nt::TRIVERTEX{x,
                                 y,
                                 static_cast<std::uint16_t>(nt::redOf(col) << 8),
                                 static_cast<std::uint16_t>(nt::greenOf(col) << 8),
                                 static_cast<std::uint16_t>(nt::blueOf(col) << 8),
                                 0};
        };
        const nt::TRIVERTEX v[2] = {vertex(n(0), n(1), ca), vertex(n(2), n(3), cb)};
        const nt::GRADIENT_RECT r{0, 1};
        nt::GradientFill(dc, v, 2, &r, 1,
                         a[6] == "V" ? nt::GRADIENT_FILL_RECT_V : nt::GRADIENT_FILL_RECT_H);
    } else {
        return false;
    }
    return true;
}

std::optional<Case> parse(const std::string& line) {
    std::stringstream in(line);
    Case c;
    if (!(in >> c.id) || c.id[0] == '#') return std::nullopt;
    in >> c.op >> c.w >> c.h >> c.bg;
    for (std::string f; in >> f;) {
        const auto eq = f.find('=');
        if (eq == std::string::npos)
            c.args.push_back(f);
        else
            c.opts[f.substr(0, eq)] = f.substr(eq + 1);
    }
    return c;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s CASES OUTDIR ARTDIR\n", argv[0]);
        return 2;
    }
    const std::string out = argv[2], artDir = argv[3];
    std::ifstream cases(argv[1]);
    int written = 0, skipped = 0;
    for (std::string line; std::getline(cases, line);) {
        const auto c = parse(line);
        if (!c) continue;
        nt::Surface s(c->w, c->h);
        s.adopt(background(c->bg, c->w, c->h, artDir));
        std::string text;
        if (!play(*c, s, artDir, text)) {
            ++skipped;
            continue;
        }
        if (c->op == "getpixel") {
            std::ofstream(out + "/" + c->id + ".txt") << text;
        } else {
            s.Image().save(QString::fromStdString(out + "/" + c->id + ".bmp"), "BMP");
        }
        ++written;
    }
    std::printf("gdi_replay: %d cases written, %d the surface cannot express\n", written, skipped);
    return 0;
}
