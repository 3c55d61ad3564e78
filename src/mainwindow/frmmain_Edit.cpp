// The edit commands on the selection and the internal clipboard, and the paste placement the
// pointer pipeline runs while a paste is pending.
#include <QAction>

#include "document/Clipboard.h"
#include "document/FileErrors.h"
#include "document/tipbox.h"
#include "mainwindow/frmmain.h"
#include "surface/Limits.h"

void frmmain::CopySelection(bool copy, bool erase) {
    if (!copy) return;
    const auto selection = nt::SelectionPixels::of(shpSelect->area());
    pSrc21->adopt(nt::copySelectionPicture(canvas(), selection));
    pSrc21->Refresh();
    if (erase) {
        nt::eraseSelection(canvas(), selection);
        canvas().Refresh();
    }
}

void frmmain::mnuCopy_Click() {
    if (shpSelect->isHidden()) return;
    state.IsPasting = false;
    try {
        CopySelection(true, false);
    } catch (const nt::SurfaceSizeError&) {
        // A clipboard beyond the limit is not made; the last one stays.
    }
    shpSelect->hide();
}

void frmmain::mnuCut_Click() {
    if (shpSelect->isHidden()) return;
    state.IsPasting = false;
    try {
        CopySelection(true, true);
        shpSelect->hide();
    } catch (const nt::SurfaceSizeError&) {
        // Nothing was erased: the selection stays for a smaller try.
        nt::reportFileError(this, nt::outOfMemoryError());
    }
}

void frmmain::mnuPaste_Click() {
    state.IsPasting = true;
    state.CurTool = nt::kNoTool;
    showCurrentTool();
    tipbox::ShowHint(this, QStringLiteral("按住鼠标不放,粘贴的图片会出现,继续移动鼠标改变位置"));
}

void frmmain::SrcDc_KeyUp(int keyCode, int) {
    if (keyCode == Qt::Key_Delete && !shpSelect->isHidden()) mnuCut_Click();
}

// The preview goes to the screen even when a tool chosen during the paste turned persistence
// on, so it never stays in the picture.
void frmmain::PastePreview(double x, double y) {
    nt::previewClipboard(canvas(), *pSrc21, x, y, MnuDQue->isChecked());
}

void frmmain::PastePlace(double x, double y) {
    nt::placeClipboard(canvas(), true, *pSrc21, x, y, MnuDQue->isChecked());
}
