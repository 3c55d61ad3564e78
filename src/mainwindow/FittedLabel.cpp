#include "mainwindow/FittedLabel.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

namespace nt {

QStringList FittedLabel::visibleLines() const {
    const QRect area = contentsRect();
    const QFontMetrics fm(font());
    const int fitting = std::max(1, area.height() / std::max(1, fm.lineSpacing()));
    QTextLayout layout(text(), font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(area.width());
        if (lines.size() == fitting) {
            // More text than room: the last line that fits takes the rest, elided.
            lines.back() = fm.elidedText(lines.back() + text().mid(line.textStart()),
                                         Qt::ElideRight, area.width());
            break;
        }
        lines << text().mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    return lines;
}

void FittedLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect area = contentsRect();
    const QStringList lines = visibleLines();
    const int lineSpacing = QFontMetrics(font()).lineSpacing();
    int y = area.top() + (area.height() - static_cast<int>(lines.size()) * lineSpacing) / 2;
    p.setPen(palette().color(foregroundRole()));
    for (const QString& line : lines) {
        p.drawText(QRect(area.left(), y, area.width(), lineSpacing),
                   Qt::AlignLeft | Qt::AlignVCenter, line);
        y += lineSpacing;
    }
}

}  // namespace nt
