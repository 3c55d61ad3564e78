// The document commands: new canvas, open (and files dropped on the window), save, the close
// request, undo, restore and the timed snapshot.
#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>

#include "document/FileErrors.h"
#include "document/frmNew.h"
#include "document/frmRecover.h"
#include "document/frmSnapshots.h"
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

// The first local file among the dropped links; empty when the drop holds none.
QString firstDroppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return url.toLocalFile();
    return {};
}

}  // namespace

// ---- new canvas ----

void frmmain::mnuNew_Click() {
    // The save window is answered first, whatever the user then chooses in the dialog.
    save::ShowModal(canvas().Image(), this, session_->file(QStringLiteral("backup1.bmp")));
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

// The picture of a crashed session becomes the canvas, unsaved, in place of the new-canvas
// dialog; it is this session's snapshot at once, so a second crash cannot lose it.
bool frmmain::OfferRecovery() {
    std::vector<nt::RecoveryOffer> offers = sessions_.recoveryOffers(frmRecover::kThumbSide);
    if (offers.empty()) return false;
    const std::optional<QImage> picture = frmRecover::ShowModal(std::move(offers), this);
    if (!picture || !putPicture(*SrcDc, *picture)) return false;
    canvas().setBackColor(nt::kWhite);
    LayoutGrips();
    LayoutWorkspace();
    Timer10_Timer();
    return true;
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
QString frmmain::ShowFileDialog(bool open, const QString& title, QString* chosenType) {
    nt::FileDialogRequest request;
    request.open = open;
    request.fileTypes = nt::pictureFileTypes();
    request.title = title;
    request.folder = state.LastFolder;
    const QString path = chooseFile(this, request);
    if (!path.isEmpty()) state.LastFolder = nt::ParentFolder(path);
    if (chosenType) *chosenType = request.chosenType;
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

void frmmain::dragEnterEvent(QDragEnterEvent* e) {
    if (!firstDroppedFile(e->mimeData()).isEmpty()) e->acceptProposedAction();
}

void frmmain::dropEvent(QDropEvent* e) {
    const QString path = firstDroppedFile(e->mimeData());
    if (path.isEmpty()) return;
    e->acceptProposedAction();
    // Opened once the drop has ended, so its windows never keep the program the file came
    // from waiting.
    QTimer::singleShot(0, this, [this, path] { OpenDropped(path); });
}

void frmmain::OpenDropped(const QString& path) {
    shpSelect->hide();
    OpenPicture(path);
}

// A BMP file under the chosen name, replacing an existing file without asking; PNG when its
// type was chosen or the name ends in ".png".
void frmmain::mnuSave_Click() {
    QString chosenType;
    const QString chosen = ShowFileDialog(false, QStringLiteral("Save"), &chosenType);
    const nt::SaveTarget target = nt::saveTargetFor(chosen, chosenType);
    if (!target.path.isEmpty()) {
        if (auto error = nt::savePicture(canvas().Image(), target.path, target.type)) {
            nt::reportFileError(this, *error);
            return;
        }
    }
    setStatusText(1, target.path);
}

// ---- ending the program ----

void frmmain::closeEvent(QCloseEvent* e) {
    e->ignore();
    if (save::ShowModal(canvas().Image(), this, session_->file(QStringLiteral("backup1.bmp")))) {
        EndSession();
        endProgram();
    }
}

void frmmain::EndSession() {
    session_->markClosed();
    sessions_.prune(*session_);
}

// The close request shows the save window and ends the program once it is answered.
void frmmain::mnuExit_Click() {
    close();
}

// ---- undo, restore and the snapshot ----

// Right after start-up the session has no working files yet: those of the session that ended
// last are read then.
void frmmain::mnuundo1_Click() {
    undoImage_.flush();  // the file exists once the first press wrote it, not before
    LoadWorkingFile(&undoImage_, session_->fileToRead(QStringLiteral("undo.bmp")));
}

void frmmain::mnuundo_Click() {
    backupImage_.flush();
    LoadWorkingFile(&backupImage_, session_->fileToRead(QStringLiteral("backup.bmp")));
}

// The newest snapshot is "backup.bmp", which Restore loads; older ones load the same way.
void frmmain::mnuSnapshots_Click() {
    backupImage_.flush();  // the list shows the snapshot still being written
    const std::vector<nt::SnapshotTimeline::Snapshot> snapshots = session_->timeline().snapshots();
    const QString path = frmSnapshots::ShowModal(snapshots, this);
    if (path.isEmpty()) return;
    if (path == snapshots.front().path)
        mnuundo_Click();
    else
        LoadWorkingFile(nullptr, path);
}

// A missing or unreadable working file changes nothing and says nothing. When the newest
// image could not be written, the file holds an older one: the image itself is taken then.
void frmmain::LoadWorkingFile(nt::UndoImageWriter* writer, const QString& path) {
    QImage image;
    if (writer) {
        writer->flush();  // the file holds the newest image taken, not one still on its way
        if (!writer->lastWriteOk()) image = writer->latest();
    }
    if (image.isNull()) {
        nt::PictureResult picture = nt::loadPicture(QDir::current().absoluteFilePath(path));
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
