// The document commands: new canvas, open, save, the close request, undo, restore and the
// timed snapshot.
#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QTimer>

#include "document/FileErrors.h"
#include "document/frmNew.h"
#include "document/save.h"
#include "globals/Globals.h"
#include "globals/Paths.h"
#include "mainwindow/frmmain.h"
#include "platform/Picture.h"
#include "surface/Limits.h"

namespace {

constexpr int kSnapshotInterval = 60000;  // ms

// Puts a picture into the canvas, which takes its size; false, with nothing changed, when
// the picture is beyond the project's size limit (the decoders already refuse those).
bool putPicture(nt::PictureBox& canvas, const QImage& picture) {
    try {
        canvas.setPicture(picture, true);
        return true;
    } catch (const nt::SurfaceSizeError&) {
        return false;
    }
}

}  // namespace

// ---- new canvas ----

void frmmain::mnuNew_Click() {
    // The save window is answered first, whatever the user then chooses in the dialog.
    save::ShowModal(canvas().Image(), this);
    frmNew::ShowModal(this);
    nt::GlobalSettings& g = nt::globals();
    if (g.DialogResult == nt::GlobalSettings::kAccepted) ResetCanvas(true);
    SetCanvasSizeText();
    g.DialogResult = nt::GlobalSettings::kIdle;
}

// Start-up asks for the first canvas without the save window: there is nothing to lose yet.
void frmmain::StartupNewCanvas() {
    frmNew::ShowModal(this);
    if (nt::globals().DialogResult == nt::GlobalSettings::kAccepted) ResetCanvas(false);
}

void frmmain::ResetCanvas(bool newCanvasCommand) {
    const nt::GlobalSettings& g = nt::globals();
    nt::Surface& c = canvas();
    try {
        SrcDc->resizeSurface(g.NewCanvasWidth, g.NewCanvasHeight);
    } catch (const nt::SurfaceSizeError&) {
        // Out of memory (the dialog refuses sizes beyond the limit): the picture stays.
        nt::reportFileError(this, nt::outOfMemoryError());
        return;
    }
    c.setBackColor(g.NewCanvasColor);
    c.Cls();  // the old picture goes, the new colour fills the canvas
    if (newCanvasCommand) MnuDQue->setChecked(false);
    shpSelect->hide();
    LayoutGrips();
    LayoutWorkspace();
}

// ---- open and save ----

// The file dialog both commands share. The working directory stays where the program was
// started, so the working files never scatter into picture folders.
QString frmmain::ShowFileDialog(bool open, const QString& title) {
    nt::FileDialogRequest request;
    request.open = open;
    request.fileTypes = nt::pictureFileTypes();
    request.title = title;
    request.folder = state.LastFolder;
    const QString path = chooseFile(this, request);
    if (!path.isEmpty()) state.LastFolder = nt::ParentFolder(path);
    return path;
}

void frmmain::mnuOpen_Click() {
    shpSelect->hide();
    OpenPicture(ShowFileDialog(true, QStringLiteral("Open")));
}

void frmmain::OpenPicture(const QString& path) {
    if (!path.isEmpty()) {
        nt::PictureResult picture = nt::loadPicture(path);
        const auto* image = std::get_if<QImage>(&picture);
        if (!image || !putPicture(*SrcDc, *image)) {
            // Nothing has changed, and nothing more does.
            nt::reportFileError(this,
                                image ? nt::PictureError{} : std::get<nt::PictureError>(picture));
            return;
        }
        canvas().setBackColor(nt::kWhite);  // over the whole picture: only new area shows it
        MnuDQue->setChecked(false);
        LayoutGrips();
        LayoutWorkspace();
    }
    state.CurTool = nt::kNoTool;
    showCurrentTool();
    SetCanvasSizeText();
    setStatusText(1, path);
}

// Always a BMP file under the chosen name, replacing an existing file without asking.
void frmmain::mnuSave_Click() {
    const QString path = ShowFileDialog(false, QStringLiteral("Save"));
    if (!path.isEmpty()) {
        if (auto error = nt::savePictureBmp(canvas().Image(), path)) {
            nt::reportFileError(this, *error);
            return;
        }
    }
    setStatusText(1, path);
}

// ---- ending the program ----

void frmmain::closeEvent(QCloseEvent* e) {
    e->ignore();
    if (save::ShowModal(canvas().Image(), this)) endProgram();
}

// The close request shows the save window and ends the program once it is answered.
void frmmain::mnuExit_Click() {
    close();
}

// ---- undo, restore and the snapshot ----

void frmmain::mnuundo1_Click() {
    LoadWorkingFile(undoImage_, QStringLiteral("undo.bmp"));
}

void frmmain::mnuundo_Click() {
    LoadWorkingFile(backupImage_, QStringLiteral("backup.bmp"));
}

// A missing or unreadable working file changes nothing and says nothing. When the newest
// image could not be written, the file holds an older one: the image itself is taken then.
void frmmain::LoadWorkingFile(nt::UndoImageWriter& writer, const QString& fileName) {
    writer.flush();  // the file holds the newest image taken, not one still on its way
    QImage image = writer.lastWriteOk() ? QImage() : writer.latest();
    if (image.isNull()) {
        nt::PictureResult picture = nt::loadPicture(QDir::current().absoluteFilePath(fileName));
        if (auto* read = std::get_if<QImage>(&picture)) image = std::move(*read);
    }
    const QSize before(canvas().width(), canvas().height());
    if (image.isNull() || !putPicture(*SrcDc, image)) return;
    // The handles, the scroll ranges and the size text follow a size the file brought back.
    if (QSize(canvas().width(), canvas().height()) != before) {
        LayoutGrips();
        LayoutWorkspace();
        SetCanvasSizeText();
    }
}

void frmmain::startSnapshots() {
    Timer10 = new QTimer(this);
    Timer10->setObjectName(QStringLiteral("Timer10"));
    Timer10->setInterval(kSnapshotInterval);
    connect(Timer10, &QTimer::timeout, this, &frmmain::Timer10_Timer);
    Timer10->start();
}

// Costs what changed since the last snapshot; the writer's thread brings its image up to date.
void frmmain::Timer10_Timer() {
    backupImage_.takeFrom(canvas(), kBackupCopy);
}
