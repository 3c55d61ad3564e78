#include "mainwindow/SharedAccessKeys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>

namespace nt {

void SharedAccessKeys::watch(QMenu* menu) {
    menu->installEventFilter(this);
}

bool SharedAccessKeys::eventFilter(QObject* watched, QEvent* e) {
    auto* menu = qobject_cast<QMenu*>(watched);
    if (!menu || e->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(e);
    if (key->modifiers() & ~(Qt::AltModifier | Qt::ShiftModifier)) return false;
    const QString text = key->text().toUpper();
    if (text.size() != 1 || !text.at(0).isLetterOrNumber()) return false;
    const QKeySequence pressed(
        QKeyCombination(Qt::AltModifier, static_cast<Qt::Key>(text.at(0).unicode())));
    QList<QAction*> sharing;
    for (QAction* a : menu->actions())
        if (a->isVisible() && a->isEnabled() && !a->isSeparator() &&
            QKeySequence::mnemonic(a->text()) == pressed)
            sharing << a;
    if (sharing.size() < 2) return false;
    const qsizetype at = sharing.indexOf(menu->activeAction());
    if (at >= 0 && sharing[at]->menu()) sharing[at]->menu()->hide();
    // Stepped there as the arrow keys step, which highlights without opening a submenu.
    QAction* next = sharing[(at + 1) % sharing.size()];
    for (qsizetype steps = menu->actions().size(); steps > 0 && menu->activeAction() != next;
         --steps) {
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QCoreApplication::sendEvent(menu, &down);
    }
    return true;
}

}  // namespace nt
