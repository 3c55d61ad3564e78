#include "mainwindow/tools/TextTool.h"

#include <QRegularExpression>

#include "globals/Globals.h"
#include "surface/Gdi.h"
#include "surface/Rounding.h"
#include "text/TextLogic.h"

namespace nt::tools {

namespace {
void drawLines(Surface& c, const QString& text, double x, double y) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    const QStringList lines = text.split(lineBreak);
    const double lineHeight = c.TextHeight(text);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].isEmpty()) continue;
        TextOutA(hDC(c), roundCoord(x), roundCoord(y + static_cast<double>(i) * lineHeight),
                 lines[i]);
    }
}
}  // namespace

void TextTool::release(ToolContext& ctx, const PointerEvent& e) {
    if (!ctx.env) return;
    GlobalSettings& g = globals();
    ctx.env->showTextDialog();
    if (g.DialogResult == GlobalSettings::kAccepted) {
        Surface& c = ctx.canvas;
        c.setAutoRedraw(true);
        c.Font = text::canvasFont(g.TextFontName, g.TextFontSize, g.TextFontStyle);
        drawLines(c, g.TextString, e.x, e.y);
        if (ctx.env->textShadow()) {
            c.ForeColor = ctx.env->paletteColour(2);
            drawLines(c, g.TextString, e.x + 2, e.y + 2);
        }
    }
    ctx.state.IsDrawing = false;
    g.DialogResult = GlobalSettings::kIdle;
}

}  // namespace nt::tools
