// The edit commands on the selection and the internal clipboard, its bridge to the system
// clipboard, and the paste placement the pointer pipeline runs while a paste is pending.
#include <QAction>

#include "document/Clipboard.h"
#include "document/FileErrors.h"
#include "document/save.h"
#include "document/tipbox.h"
#include "mainwindow/frmmain.h"
#include "platform/Picture.h"
#include "surface/Limits.h"

void frmmain::CopySelection(bool copy, bool erase) {
    if (!copy) return;
    const auto selection = nt::SelectionPixels::of(shpSelect->area());
    pSrc21->adopt(nt::copySelectionPicture(canvas(), selection));
    pSrc21->Refresh();
    systemClipboard_.offer(pSrc21->Image());  // other programs get the same block
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
    if (!TakeSystemClipboard()) return;
    state.IsPasting = true;
    state.CurTool = nt::kNoTool;
    showCurrentTool();
    tipbox::ShowHint(this, QStringLiteral("按住鼠标不放,粘贴的图片会出现,继续移动鼠标改变位置"));
}

// A new canvas as the new-canvas command makes one, with the picture's size and the picture
// in place of the dialog's size and colour.
void frmmain::mnuPasteNew_Click() {
    if (!TakeSystemClipboard()) return;
    save::ShowModal(canvas().Image(), this, session_->file(QStringLiteral("backup1.bmp")));
    try {
        SrcDc->setPicture(pSrc21->Image(), true);
    } catch (const nt::SurfaceSizeError&) {
        nt::reportFileError(this, nt::outOfMemoryError());
        return;
    }
    canvas().setBackColor(nt::kWhite);  // under the picture: only new area shows it
    MnuDQue->setChecked(false);
    shpSelect->hide();
    LayoutGrips();
    LayoutWorkspace();
    SetCanvasSizeText();
}

bool frmmain::TakeSystemClipboard() {
    using Status = nt::ForeignPicture::Status;
    nt::ForeignPicture foreign = systemClipboard_.take();
    switch (foreign.status) {
        case Status::None:
            return true;
        case Status::Damaged:
            nt::reportFileError(this, nt::PictureError{});
            return false;
        case Status::Taken:
            try {
                pSrc21->adopt(std::move(foreign.picture));
                pSrc21->Refresh();
                return true;
            } catch (const nt::SurfaceSizeError&) {
            }
            break;
        case Status::TooLarge:
            break;
    }
    nt::reportFileError(this, nt::outOfMemoryError());
    return false;
}

void frmmain::DropPaste() {
    state.IsPasting = false;
    tipbox::CanvasMouseUp();  // the paste hint goes as a placement would take it
    canvas().Refresh();
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
