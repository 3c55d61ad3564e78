// Start-up: the folders, the option lists, the libraries and the first tool.
#include <QComboBox>
#include <QCoreApplication>

#include "globals/Globals.h"
#include "globals/Paths.h"
#include "mainwindow/FirstPaint.h"
#include "mainwindow/frmmain.h"
#include "platform/Picture.h"
#include "surface/Limits.h"

namespace {

QStringList numbers(int last) {
    QStringList items;
    for (int i = 1; i <= last; ++i) items << QString::number(i);
    return items;
}

void fill(QComboBox* list, const QStringList& items) {
    QSignalBlocker quiet(list);
    list->addItems(items);
    list->setCurrentIndex(-1);  // the start selection below runs the change handler
}

// The picture of a library file, or nothing when it cannot be read as one.
std::optional<QImage> libraryPicture(const QString& path) {
    auto result = nt::loadPicture(path);
    if (auto* image = std::get_if<QImage>(&result)) return std::move(*image);
    return std::nullopt;
}

}  // namespace

void frmmain::Form_Load() {
    Form_Load(QCoreApplication::applicationDirPath());
}

void frmmain::Form_Load(const QString& applicationFolder) {
    Form_Load(applicationFolder, QString());
}

void frmmain::Form_Load(const QString& applicationFolder, const QString& pictureToOpen) {
    nt::GlobalSettings& g = nt::globals();
    state.LastFolder = nt::AddBackslash(applicationFolder);
    g.DataPath =
        nt::DataParentFolder(applicationFolder) + QStringLiteral("Data") + nt::kPathSeparator;
    pictureToOpen_ = pictureToOpen;
    g.DialogResult = nt::GlobalSettings::kIdle;
    LayoutGrips();
    SetCanvasSizeText();
    fillOptionLists();
    Command1_Click(nt::kPencil);
    MnuDQue_Click();  // checked by design, so pasting starts opaque
    // The libraries are listed once the window is painted, so a large folder never delays its
    // first paint; the new-canvas dialog follows in the same turn.
    winId();  // the native window exists before show, so its first exposure is seen
    nt::afterFirstPaint(windowHandle(), this, [this] { afterShown(); });
    show();
}

void frmmain::afterShown() {
    LoadPatternList();
    // A picture named on the command line takes the place of the new-canvas dialog, and so
    // does a picture recovered from a crashed session (offered when no picture is named).
    if (!pictureToOpen_.isEmpty())
        OpenPicture(pictureToOpen_);
    else if (!OfferRecovery())
        StartupNewCanvas();
    SetCanvasSizeText();
    nt::globals().DialogResult = nt::GlobalSettings::kIdle;
}

void frmmain::fillOptionLists() {
    fill(cboFillType, {QStringLiteral("颜色"), QStringLiteral("模板")});
    fill(cboStyle, {QStringLiteral("\u2014"), QStringLiteral("- -"), QStringLiteral("."),
                    QStringLiteral("- ."), QStringLiteral("- . .")});
    fill(cboEraseType, {QStringLiteral("正方形"), QStringLiteral("圆形")});
    fill(cboGrade, {QStringLiteral("从左到右"), QStringLiteral("从上到下")});
    fill(cboTextStyle, {QStringLiteral("正常"), QStringLiteral("3D 重影特效")});
    fill(cboDW, numbers(100));
    fill(cboWidth, numbers(100));
    fill(cboCloneSize, numbers(30));

    cboFillType->setCurrentIndex(0);
    cboEraseType->setCurrentIndex(0);
    cboDW->setCurrentIndex(0);
    cboStyle->setCurrentIndex(0);
    cboGrade->setCurrentIndex(0);
    cboTextStyle->setCurrentIndex(0);
    cboWidth->setCurrentIndex(9);
    cboCloneSize->setCurrentIndex(5);
}

void frmmain::SetCanvasSizeText() {
    setStatusText(
        3, QStringLiteral("画布大小:宽 %1 高 %2").arg(canvas().width()).arg(canvas().height()));
}

void frmmain::LoadPatternList() {
    cboPatten->clear();
    patternLister_.start(nt::globals().DataPath + QStringLiteral("pattens"));
}

void frmmain::LoadBrushList() {
    cboBrush->clear();
    brushLister_.start(nt::globals().DataPath + QStringLiteral("brushs"));
}

void frmmain::finishLibrary(QComboBox* list, void (frmmain::*select)()) {
    if (list->count() == 0) return;
    {
        QSignalBlocker quiet(list);
        list->setCurrentIndex(0);
    }
    (this->*select)();
}

void frmmain::cboBrush_Click() {
    if (cboBrush->currentIndex() < 0) return;
    const QString path = nt::globals().DataPath + QStringLiteral("brushs") + nt::kPathSeparator +
                         cboBrush->currentText();
    // A file that is no picture leaves the brush that was loaded before.
    auto picture = libraryPicture(path);
    if (!picture) return;
    try {
        SrcBrush1->setPicture(*picture, true);
    } catch (const nt::SurfaceSizeError&) {
    }
}

void frmmain::cboPatten_Click() {
    if (cboPatten->currentIndex() < 0) return;
    const QString path = nt::globals().DataPath + QStringLiteral("pattens") + nt::kPathSeparator +
                         cboPatten->currentText();
    if (auto picture = libraryPicture(path)) ImgPatten = std::move(*picture);
}
