#include "document/NewCanvas.h"

#include "document/errbox.h"
#include "surface/Limits.h"
#include "surface/NumberText.h"

namespace nt {

const CanvasColourChoice* canvasColourChoices() {
    static const CanvasColourChoice choices[kCanvasColourCount] = {
        {"白色", 0x00FFFFFF},   {"黑色", 0x00000000},   {"中国红", 0x000000FF},
        {"健康绿", 0x0000FF00}, {"梦幻蓝", 0x00FF0000},
    };
    return choices;
}

NewCanvasSize readNewCanvasSize(const QString& widthText, const QString& heightText) {
    NewCanvasSize s;
    s.height = readWholeNumber(heightText);
    s.width = readWholeNumber(widthText);
    return s;
}

std::optional<SizeRefusal> refuseCanvasSize(long long width, long long height) {
    const QString code = QStringLiteral("错误代码:Ne1");
    if (width < 1 || height < 1) return SizeRefusal{code, badPixelCountReason()};
    if (checkSurfaceSize(width, height))
        return SizeRefusal{code,
                           QStringLiteral("图片太大:宽和高都不能超过%1像素,总像素不能超过%2。")
                               .arg(kMaxSide)
                               .arg(kMaxPixels)};
    return std::nullopt;
}

QString canvasSizeText(int width, int height) {
    return QStringLiteral("画布大小:宽 %1 高 %2").arg(width).arg(height);
}

}  // namespace nt
