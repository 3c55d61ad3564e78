#pragma once

#include <QString>
#include <QStringList>

#include "platform/Picture.h"

class QWidget;

namespace nt {

// The file-type entries of the program's file dialogs, in order (entry 1 lists every format,
// the last is PNG).
QStringList pictureFileTypes();
// Entries 2 to 7: the save window's own dialog has neither the "all formats" entry nor PNG.
QStringList pictureFileTypesWithoutAll();
// The PNG entry, the one type that saves as something other than BMP.
QString pngFileType();

struct FileDialogRequest {
    bool open = true;
    QStringList fileTypes;
    QString title;
    QString folder;    // initial folder
    QString fileName;  // initial file name
    // Answer: the file-type entry selected when the dialog was confirmed (empty when none).
    mutable QString chosenType;
};

// Shows the platform's open or save dialog modally; the chosen path, or empty when cancelled.
// No overwrite confirmation and no must-exist check.
QString runFileDialog(QWidget* owner, const FileDialogRequest& request);

// Where and how a save writes what the dialog answered: PNG when the PNG type was chosen (a
// name without an extension then gets ".png") or the name ends in ".png"; otherwise BMP under
// the name exactly as given. An empty path (a cancelled dialog) stays empty.
struct SaveTarget {
    QString path;
    PictureFileType type = PictureFileType::Bmp;
};
SaveTarget saveTargetFor(const QString& path, const QString& chosenType);

}  // namespace nt
