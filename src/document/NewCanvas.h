#pragma once

#include <optional>

#include <QString>
#include <QStringList>

#include "surface/Colour.h"

namespace nt {

// The canvas colours the new-canvas dialog offers, in list order.
struct CanvasColourChoice {
    const char* name;  // UTF-8 caption
    Colour colour;
};
const CanvasColourChoice* canvasColourChoices();
inline constexpr int kCanvasColourCount = 5;

// What the dialog's fields give: the size read from the typed text, or the refusal to show.
struct NewCanvasSize {
    long long width = 0;
    long long height = 0;
};
struct SizeRefusal {
    QString codeLine;
    QString reason;
};

// Reads the height, then the width, as typed numbers rounded half to even.
NewCanvasSize readNewCanvasSize(const QString& widthText, const QString& heightText);
// Refuses sizes below 1 ("错误代码:Ne1") and sizes beyond the project's picture limit.
std::optional<SizeRefusal> refuseCanvasSize(long long width, long long height);

// "画布大小:宽 800 高 500"
QString canvasSizeText(int width, int height);

}  // namespace nt
