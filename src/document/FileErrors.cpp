#include "document/FileErrors.h"

#include "document/errbox.h"

namespace nt {

FileErrorReport describeFileError(const PictureError& error) {
    using K = PictureError::Kind;
    switch (error.kind) {
        case K::InvalidPicture:
            return {481, invalidPictureReason()};
        case K::NotFound:
            return {53, QStringLiteral("文件未找到")};
        case K::PathNotFound:
            return {76, QStringLiteral("路径未找到")};
        case K::AccessDenied:
            return {70, QStringLiteral("拒绝的权限")};
        case K::ReadFailed:
            return {57, QStringLiteral("设备 I/O 错误")};
        case K::WriteFailed:
            return {75, QStringLiteral("路径/文件访问错误")};
        case K::DiskFull:
            return {61, QStringLiteral("磁盘已满")};
    }
    return {481, invalidPictureReason()};
}

FileErrorReport outOfMemoryError() {
    return {7, QStringLiteral("内存不足")};
}

void reportFileError(QWidget* owner, const PictureError& error) {
    reportFileError(owner, describeFileError(error));
}

void reportFileError(QWidget* owner, const FileErrorReport& report) {
    ShowError(owner, errorCodeLine(report.number), report.description);
}

}  // namespace nt
