#include "imageops/InputChecks.h"

#include <cmath>
#include <limits>

#include <QLocale>

#include "surface/NumberText.h"

namespace nt {

namespace {

InputError refusal(std::string reason) {
    return InputError{{}, std::move(reason)};
}

std::string rangeText(int lo, int hi) {
    return std::to_string(lo) + " 到 " + std::to_string(hi) + " 之间";
}

}  // namespace

int nearInt32(double v) {
    if (std::isnan(v)) return 0;
    constexpr double lo = std::numeric_limits<int>::min();
    constexpr double hi = std::numeric_limits<int>::max();
    if (v <= lo) return std::numeric_limits<int>::min();
    if (v >= hi) return std::numeric_limits<int>::max();
    return static_cast<int>(std::nearbyint(v));
}

Checked<StretchSize> checkStretchSize(double width, double height) {
    Checked<StretchSize> out;
    out.value = {nearInt32(width), nearInt32(height)};
    if (out.value.width < 1 || out.value.height < 1) {
        out.error = InputError{std::string(kNe12Code), std::string(kNe12Reason)};
    } else if (checkSurfaceSize(out.value.width, out.value.height)) {
        out.error = InputError{std::string(kNe12Code),
                               "图片尺寸超出限制:宽和高都不能超过 " + std::to_string(kMaxSide) +
                                   " 像素,总像素数不能超过 " + std::to_string(kMaxPixels) + "。"};
    }
    return out;
}

Checked<std::int16_t> checkNoiseAmount(double amount) {
    Checked<std::int16_t> out;
    const int a = nearInt32(amount);
    if (a < kMinNoiseAmount || a > kMaxNoiseAmount)
        out.error = refusal("噪点值必须在 " + rangeText(kMinNoiseAmount, kMaxNoiseAmount) + "。");
    else
        out.value = static_cast<std::int16_t>(a);
    return out;
}

Checked<float> checkSharpenFactor(double factor) {
    Checked<float> out;
    if (!std::isfinite(factor) || std::fabs(factor) > std::numeric_limits<float>::max())
        out.error = refusal("锐化值超出范围。");
    else
        out.value = static_cast<float>(factor);
    return out;
}

Checked<std::int16_t> checkAdjustAmount(double amount) {
    Checked<std::int16_t> out;
    const int a = nearInt32(amount);
    if (a < -kMaxAdjust || a > kMaxAdjust)
        out.error = refusal("调整值必须在 " + rangeText(-kMaxAdjust, kMaxAdjust) + "。");
    else
        out.value = static_cast<std::int16_t>(a);
    return out;
}

Checked<int> checkFrameWidth(double width) {
    Checked<int> out;
    out.value = nearInt32(width);
    if (out.value > kMaxFrameWidth)
        out.error = refusal("边框宽度不能超过 " + std::to_string(kMaxFrameWidth) + " 像素。");
    return out;
}

Checked<StretchSize> checkStretchSize(const QString& width, const QString& height) {
    return checkStretchSize(readNumber(width), readNumber(height));
}

Checked<std::int16_t> checkNoiseAmount(const QString& amount) {
    return checkNoiseAmount(readNumber(amount));
}

Checked<int> checkFrameWidth(const QString& width) {
    return checkFrameWidth(readNumber(width));
}

Checked<float> checkSharpenFactor(const QString& factor) {
    bool ok = false;
    const double v = QLocale().toDouble(factor.trimmed(), &ok);
    if (!ok) {
        Checked<float> out;
        out.error = refusal("类型不匹配");
        return out;
    }
    return checkSharpenFactor(v);
}

std::optional<Colour> parseHexColour(std::string_view text) {
    if (text.size() != 7 || text[0] != '#') return std::nullopt;
    std::uint32_t v = 0;
    for (char c : text.substr(1)) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        v = (v << 4) | static_cast<std::uint32_t>(digit);
    }
    return rgb(static_cast<int>(v >> 16), static_cast<int>((v >> 8) & 0xFF),
               static_cast<int>(v & 0xFF));
}

}  // namespace nt
