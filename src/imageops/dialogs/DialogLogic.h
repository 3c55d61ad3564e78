#pragma once

// What the image dialogs compute from their controls, apart from the widgets.

#include <QString>

#include "imageops/InputChecks.h"

namespace nt::dialogs {

// frmScale: both texts read as typed numbers, rounded half to even into 32 bits; refused
// below 1 and beyond the project's picture limit ("错误代码:Ne12").
Checked<StretchSize> readStretchSize(const QString& widthText, const QString& heightText);

// frmStroke: the width box's text once it loses the focus: "1" when it reads as 0 (letters
// included), else as typed (negative numbers too).
QString frameWidthTextOnLeave(const QString& text);
// frmStroke: the width as OK takes it, refused only when too wide to matter.
Checked<int> readFrameWidth(const QString& text);

// The error number and description of a cancelled common dialog (frmMask's "Open").
inline constexpr long kCancelErrorNumber = 32755;
QString cancelErrorReason();

}  // namespace nt::dialogs
