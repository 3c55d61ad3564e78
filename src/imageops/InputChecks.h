#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <QString>

#include "surface/Colour.h"
#include "surface/Limits.h"

namespace nt {

// The checks the image dialogs and the batch tool share. Each takes the number as the
// dialog reads it from its text, converts it as the dialog does, and refuses what the
// operation cannot take, before anything is allocated or looped over.

// Why a value was refused: the error window's code line (empty where there is none) and a
// reason for the user.
struct InputError {
    std::string code;
    std::string reason;
};

template <class T>
struct Checked {
    T value{};  // the converted value, also when it was refused (the dialogs store it)
    std::optional<InputError> error;
    bool ok() const { return !error; }
};

inline constexpr std::string_view kNe12Code = "错误代码:Ne12";
inline constexpr std::string_view kNe12Reason = "图片的像素值必须大于零的阿拉伯数字!";

// Frames wider than the largest canvas side plus the widest pen look the same as this one
// on every canvas the program allows.
inline constexpr int kMaxFrameWidth = static_cast<int>(kMaxSide) + 100;
// The noise spread 2a + 1 stays within 16 bits.
inline constexpr int kMinNoiseAmount = -16384;
inline constexpr int kMaxNoiseAmount = 16383;
// The range of the colour and brightness scroll bars.
inline constexpr int kMaxAdjust = 100;

// near(v) as a 32-bit integer, ties to even; out-of-range and NaN values are clamped
// (NaN to 0).
int nearInt32(double v);

struct StretchSize {
    int width = 0;
    int height = 0;
};
// "错误代码:Ne12" with the dialog's reason below 1; sizes beyond the project's limit get the
// same code with a reason naming the limit.
Checked<StretchSize> checkStretchSize(double width, double height);

// -16384 .. 16383 after near().
Checked<std::int16_t> checkNoiseAmount(double amount);

// A finite value that fits a single-precision number.
Checked<float> checkSharpenFactor(double factor);

// -100 .. 100 after near(): red, green, blue and brightness shifts.
Checked<std::int16_t> checkAdjustAmount(double amount);

// At most kMaxFrameWidth after near(); zero and negative widths are valid (they draw no
// visible frame).
Checked<int> checkFrameWidth(double width);

// The same checks on typed text, read as the dialogs read it: the size, noise and frame
// fields by the rule of the new-canvas dialog (readNumber: the leading number, text that
// does not begin with one reads as 0); the sharpen prompt by the locale's number
// conversion, which refuses text that is not a number (and the empty answer of Cancel).
Checked<StretchSize> checkStretchSize(const QString& width, const QString& height);
Checked<std::int16_t> checkNoiseAmount(const QString& amount);
Checked<int> checkFrameWidth(const QString& width);
Checked<float> checkSharpenFactor(const QString& factor);

// "#RRGGBB" (hex digits in either case) as a colour; nothing for any other text.
std::optional<Colour> parseHexColour(std::string_view text);

}  // namespace nt
