#include "document/FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>

namespace nt {

// Qt splits the patterns of an entry at blanks, so blanks stand where the original
// dialog separated them with semicolons.
QStringList pictureFileTypes() {
    return {QStringLiteral("所有支持的格式 (*.bmp *.dib *.rle *.jpg *.jpeg *.jpe *.gif *.png *.ico "
                           "*.cur *.wmf *.emf *.tnxp)"),
            QStringLiteral("位图 (*.bmp *.dib *.rle)"),
            QStringLiteral("JPEG图像 (*.jpg *.jpeg *.jpe)"),
            QStringLiteral("GIF图片 (*.gif)"),
            QStringLiteral("图标 (*.ico)"),
            QStringLiteral("光标 (*.cur)"),
            QStringLiteral("图元文件 (*.wmf *.emf)"),
            pngFileType()};
}

QString pngFileType() {
    return QStringLiteral("PNG 图片 (*.png)");
}

// The save window's own dialog keeps its six types; a name ending in ".png" saves PNG there.
QStringList pictureFileTypesWithoutAll() {
    return pictureFileTypes().mid(1, 6);
}

QString runFileDialog(QWidget* owner, const FileDialogRequest& request) {
    QFileDialog dialog(owner, request.title, request.folder);
    dialog.setObjectName(QStringLiteral("fileDialog"));
    dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setNameFilters(request.fileTypes);
    if (!request.fileTypes.isEmpty()) dialog.selectNameFilter(request.fileTypes.first());
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted) return {};
    request.chosenType = dialog.selectedNameFilter();
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

SaveTarget saveTargetFor(const QString& path, const QString& chosenType) {
    if (path.isEmpty()) return {};
    if (chosenType == pngFileType()) {
        // Asked for PNG by type: a bare name gets the extension that says so.
        const bool bare = QFileInfo(path).suffix().isEmpty();
        return {bare ? path + QStringLiteral(".png") : path, PictureFileType::Png};
    }
    return {path, fileTypeForName(path)};
}

}  // namespace nt
