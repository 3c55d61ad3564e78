#pragma once

#include <cstdint>

#include <QString>

#include "surface/Colour.h"

namespace nt {

// The settings the main window shares with its dialogs. A dialog writes its answer here and
// sets DialogResult; the command that showed it acts only on the accepted value and then
// puts DialogResult back to its idle value. One instance for the whole run: globals().
struct GlobalSettings {
    // Outcomes of DialogResult: the brightness dialog answers with its own accepted code.
    static constexpr std::int32_t kAccepted = 1;
    static constexpr std::int32_t kIdle = 2;
    static constexpr std::int32_t kBrightnessAccepted = 6;

    // The application folder with a trailing separator, then "Data/": parent of the brush
    // library "brushs/" and the pattern library "pattens/".
    QString DataPath;
    std::int32_t DialogResult = kIdle;

    // New canvas and stretch dialogs.
    std::int32_t NewCanvasWidth = 0;
    std::int32_t NewCanvasHeight = 0;
    Colour NewCanvasColor = 0;

    // Text dialog: face, size in points, the text, and the index 0..7 of its style list.
    QString TextFontName;
    std::int16_t TextFontSize = 0;
    QString TextString;
    std::int16_t TextFontStyle = 0;

    // Image dialogs.
    float SharpenValue = 0;
    std::int16_t AdjustRed = 0;
    std::int16_t AdjustGreen = 0;
    std::int16_t AdjustBlue = 0;
    std::int16_t BrightValue = 0;
    std::int32_t FrameWidth = 0;
    Colour FrameColor = 0;
    QString MaskFileName;
};

// The one instance, alive for the whole run.
GlobalSettings& globals();

}  // namespace nt
