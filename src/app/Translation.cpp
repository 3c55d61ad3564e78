#include "app/Translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace nt {

ChineseQtTexts::ChineseQtTexts() {
    loaded_ = translator_.load(QStringLiteral("qtbase_zh_CN"),
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
              QCoreApplication::installTranslator(&translator_);
}

ChineseQtTexts::~ChineseQtTexts() {
    if (loaded_) QCoreApplication::removeTranslator(&translator_);
}

}  // namespace nt
