#include "text/TextLogic.h"

#include <algorithm>
#include <limits>

#include <QSet>

#include "surface/NumberText.h"
#include "surface/Rounding.h"

namespace nt::text {

QStringList sizeItems() {
    QStringList items;
    for (int size = 5; size <= 96; ++size) items << QString::number(size);
    return items;
}

QStringList plainFamilies(const QStringList& families) {
    QStringList plain;
    QSet<QString> seen;
    for (const QString& family : families) {
        const qsizetype foundry = family.lastIndexOf(QStringLiteral(" ["));
        const QString name = family.endsWith(u']') && foundry > 0 ? family.left(foundry) : family;
        if (!seen.contains(name)) {
            seen.insert(name);
            plain << name;
        }
    }
    return plain;
}

QStringList styleItems() {
    return {QStringLiteral("无"),          QStringLiteral("粗体"),
            QStringLiteral("斜体"),        QStringLiteral("粗体+斜体"),
            QStringLiteral("下划线"),      QStringLiteral("下划线+粗体"),
            QStringLiteral("下划线+斜体"), QStringLiteral("下划线+粗体+斜体")};
}

Style styleOf(int index) {
    if (index < 0 || index > 7) return {};
    const bool bold = index == 1 || index == 3 || index == 5 || index == 7;
    const bool italic = index == 2 || index == 3 || index == 6 || index == 7;
    return {bold, italic, index >= 4};
}

void applyStyle(FontSpec& font, int index) {
    const Style s = styleOf(index);
    font.bold = s.bold;
    font.italic = s.italic;
    font.underline = s.underline;
}

int FindListItem(const QStringList& items, const QString& text) {
    if (text.isEmpty()) return 0;
    const QString wanted = text.toLower();
    for (int i = 0; i < items.size(); ++i)
        if (items[i].toLower() == wanted) return i;
    return 0;
}

std::int16_t storedSize(const QString& text) {
    using L = std::numeric_limits<std::int16_t>;
    const long long v = readWholeNumber(text);
    return static_cast<std::int16_t>(std::clamp<long long>(v, L::min(), L::max()));
}

QPoint centredOrigin(const QSize& box, const QSizeF& text) {
    return {intDiv(box.width() - text.width(), 2), intDiv(box.height() - text.height(), 2)};
}

FontSpec canvasFont(const QString& name, std::int16_t points, int style) {
    FontSpec font;
    font.name = name;
    font.size = points >= 1 ? points : kDefaultPoints;
    applyStyle(font, style);
    return font;
}

}  // namespace nt::text
