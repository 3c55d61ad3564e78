#pragma once

#include <QString>

#include "platform/Picture.h"

namespace nt {

// A picture-service failure as the error window reports it: the classic error number and
// its standard description (481 "无效图片" for anything that is not a readable picture).
struct FileErrorReport {
    long number = 0;
    QString description;
};
FileErrorReport describeFileError(const PictureError& error);
// A picture the program cannot make because of its size: 7, "内存不足".
FileErrorReport outOfMemoryError();

// Reports the failure through the error window, owned by `owner`.
void reportFileError(QWidget* owner, const PictureError& error);
void reportFileError(QWidget* owner, const FileErrorReport& report);

}  // namespace nt
