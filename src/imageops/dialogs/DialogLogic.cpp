#include "imageops/dialogs/DialogLogic.h"

#include "surface/NumberText.h"

namespace nt::dialogs {

Checked<StretchSize> readStretchSize(const QString& widthText, const QString& heightText) {
    return checkStretchSize(readNumber(widthText), readNumber(heightText));
}

QString frameWidthTextOnLeave(const QString& text) {
    return readNumber(text) == 0 ? QStringLiteral("1") : text;
}

Checked<int> readFrameWidth(const QString& text) {
    return checkFrameWidth(readNumber(text));
}

QString cancelErrorReason() {
    return QStringLiteral("选定了“取消”。");
}

}  // namespace nt::dialogs
