#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace nt {

// The file-type entries of the program's file dialogs, in order (entry 1 lists every format).
QStringList pictureFileTypes();
// Entries 2 to 7: the save window's own dialog has no "all formats" entry.
QStringList pictureFileTypesWithoutAll();

struct FileDialogRequest {
    bool open = true;
    QStringList fileTypes;
    QString title;
    QString folder;    // initial folder
    QString fileName;  // initial file name
};

// Shows the platform's open or save dialog modally; the chosen path, or empty when cancelled.
// No overwrite confirmation and no must-exist check.
QString runFileDialog(QWidget* owner, const FileDialogRequest& request);

}  // namespace nt
