// The picture background dialog and the "来自图片(&M)..." command.
#include <gtest/gtest.h>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "Support.h"
#include "globals/Globals.h"
#include "imageops/dialogs/ImageCommands.h"
#include "imageops/dialogs/frmMask.h"
#include "platform/Picture.h"

using namespace nt::test;

namespace {

constexpr int kAccepted = nt::GlobalSettings::kAccepted;
constexpr int kIdle = nt::GlobalSettings::kIdle;
constexpr nt::Colour kRed = 0x0000FF;
constexpr nt::Colour kGreen = 0x00FF00;
constexpr nt::Colour kBlue = 0xFF0000;
constexpr nt::Colour kYellow = 0x00FFFF;
constexpr nt::Colour kGrey = 0x808080;

// Canvas 320 x 320: left half red, right half blue (the preview halves it exactly).
std::unique_ptr<nt::Surface> halves() {
    auto canvas = std::make_unique<nt::Surface>(320, 320, kRed);
    paintRect(*canvas, 160, 0, 319, 319, kBlue);
    return canvas;
}

QImage picture(int w, int h, const std::function<nt::Colour(int, int)>& colourAt) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            reinterpret_cast<nt::Pixel*>(img.scanLine(y))[x] = nt::toPixel(colourAt(x, y));
    return img;
}

class Files {
  public:
    QString write(const QString& name, const QImage& img) {
        const QString path = dir_.filePath(name);
        EXPECT_FALSE(nt::savePictureBmp(img, path).has_value());
        return path;
    }
    QString writeText(const QString& name) {
        const QString path = dir_.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a picture at all");
        return path;
    }
    QString missing() const { return dir_.filePath(QStringLiteral("gone.bmp")); }

  private:
    QTemporaryDir dir_;
};

// The dialog's file chooser, answering with `path` and recording what it was asked.
struct Chooser {
    explicit Chooser(QString answer = {}) : path(std::move(answer)) {}
    QString path;
    nt::FileDialogRequest asked;
    int calls = 0;
    std::function<QString(QWidget*, const nt::FileDialogRequest&)> fn() {
        return [this](QWidget*, const nt::FileDialogRequest& r) {
            asked = r;
            ++calls;
            return path;
        };
    }
};

}  // namespace

TEST(MaskDialog, StartsEmptyWithTheShrunkenCanvas) {
    auto canvas = halves();
    frmMask dialog(*canvas);
    EXPECT_EQ(dialog.objectName(), QStringLiteral("frmMask"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("图片背景"));
    EXPECT_EQ(dialog.lblMask->text(), QStringLiteral("图片背景文件:"));
    EXPECT_TRUE(dialog.txtFilename->text().isEmpty());
    EXPECT_TRUE(dialog.txtFilename->isReadOnly());
    EXPECT_EQ(dialog.cmdOpen->text(), QStringLiteral("..."));
    EXPECT_EQ(dialog.cmdReset->text(), QStringLiteral("复位"));
    EXPECT_EQ(dialog.cmdOK->text(), QStringLiteral("确定"));
    EXPECT_EQ(dialog.CmdCancel->text(), QStringLiteral("取消"));
    const nt::Surface& view = dialog.pView->surface();
    ASSERT_EQ(view.width(), 160);
    ASSERT_EQ(view.height(), 160);
    EXPECT_EQ(colourAt(view, 0, 0), kRed);
    EXPECT_EQ(colourAt(view, 79, 159), kRed);
    EXPECT_EQ(colourAt(view, 80, 0), kBlue);
    EXPECT_EQ(shownAt(view, 159, 159), kBlue);
}

TEST(MaskDialog, CancellingTheFileDialogShowsError32755AndChangesNothing) {
    auto canvas = halves();
    frmMask dialog(*canvas);
    dialog.show();
    Chooser chooser;  // answers with no path: cancelled
    dialog.chooseFile = chooser.fn();
    const QImage before = dialog.pView->surface().Image().copy();
    ErrorSeen seen;
    auto error = nt::test::answer<errbox>(readAndClose(seen));
    QTest::mouseClick(dialog.cmdOpen, Qt::LeftButton);
    EXPECT_TRUE(error.seen());
    EXPECT_EQ(seen.code, QStringLiteral("错误代码:32755"));
    EXPECT_FALSE(seen.reason.isEmpty());
    EXPECT_EQ(chooser.calls, 1);
    EXPECT_TRUE(chooser.asked.open);
    EXPECT_EQ(chooser.asked.title, QStringLiteral("Open"));
    EXPECT_TRUE(chooser.asked.fileTypes.isEmpty()) << "no file-type filter";
    EXPECT_TRUE(dialog.txtFilename->text().isEmpty());
    EXPECT_EQ(dialog.pView->surface().Image(), before);
    EXPECT_TRUE(dialog.isVisible());
}

TEST(MaskDialog, AFileTheLoaderRefusesKeepsItsNameButNotThePreview) {
    Files files;
    const struct {
        QString path;
        const char* code;
    } rows[] = {{files.writeText(QStringLiteral("notes.bmp")), "错误代码:481"},
                {files.missing(), "错误代码:53"}};
    for (const auto& r : rows) {
        auto canvas = halves();
        frmMask dialog(*canvas);
        dialog.show();
        Chooser chooser(r.path);
        dialog.chooseFile = chooser.fn();
        const QImage before = dialog.pView->surface().Image().copy();
        ErrorSeen seen;
        auto error = nt::test::answer<errbox>(readAndClose(seen));
        QTest::mouseClick(dialog.cmdOpen, Qt::LeftButton);
        EXPECT_TRUE(error.seen());
        EXPECT_EQ(seen.code, QString::fromUtf8(r.code));
        EXPECT_EQ(dialog.txtFilename->text(), r.path);
        EXPECT_EQ(dialog.pView->surface().Image(), before);
    }
}

TEST(MaskDialog, PicturesPileUpOnThePreviewUntilReset) {
    Files files;
    // Left half see-through, right half green.
    const QString first =
        files.write(QStringLiteral("first.bmp"),
                    picture(4, 4, [](int x, int) { return x < 2 ? kMagenta : kGreen; }));
    // Top half yellow, bottom half see-through.
    const QString second =
        files.write(QStringLiteral("second.bmp"),
                    picture(3, 2, [](int, int y) { return y < 1 ? kYellow : kMagenta; }));
    auto canvas = halves();
    frmMask dialog(*canvas);
    dialog.show();
    Chooser chooser(first);
    dialog.chooseFile = chooser.fn();
    QTest::mouseClick(dialog.cmdOpen, Qt::LeftButton);
    EXPECT_EQ(dialog.txtFilename->text(), first);
    const nt::Surface& view = dialog.pView->surface();
    EXPECT_EQ(colourAt(view, 0, 0), kRed);
    EXPECT_EQ(colourAt(view, 79, 120), kRed);
    EXPECT_EQ(colourAt(view, 80, 0), kGreen);
    EXPECT_EQ(shownAt(view, 159, 159), kGreen);

    chooser.path = second;
    QTest::mouseClick(dialog.cmdOpen, Qt::LeftButton);
    EXPECT_EQ(dialog.txtFilename->text(), second);
    EXPECT_EQ(colourAt(view, 0, 0), kYellow);
    EXPECT_EQ(colourAt(view, 159, 79), kYellow);
    EXPECT_EQ(colourAt(view, 0, 80), kRed) << "the first picture is not taken away";
    EXPECT_EQ(colourAt(view, 159, 159), kGreen);

    QTest::mouseClick(dialog.cmdReset, Qt::LeftButton);
    EXPECT_EQ(dialog.txtFilename->text(), second) << "the name stays for OK";
    EXPECT_EQ(colourAt(view, 0, 0), kRed);
    EXPECT_EQ(shownAt(view, 159, 159), kBlue);

    nt::globals().DialogResult = kIdle;
    QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
    EXPECT_EQ(nt::globals().DialogResult, kAccepted);
    EXPECT_EQ(nt::globals().MaskFileName, second);
}

TEST(MaskDialog, CancelKeepsTheStoredName) {
    auto canvas = halves();
    nt::globals().MaskFileName = QStringLiteral("kept.bmp");
    nt::globals().DialogResult = kAccepted;
    frmMask dialog(*canvas);
    dialog.show();
    QTest::mouseClick(dialog.CmdCancel, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(nt::globals().DialogResult, kIdle);
    EXPECT_EQ(nt::globals().MaskFileName, QStringLiteral("kept.bmp"));
}

TEST(MaskCommand, APictureWithoutMagentaReplacesTheWholeCanvasStretched) {
    Files files;
    const QString path = files.write(
        QStringLiteral("rb.bmp"), picture(2, 1, [](int x, int) { return x == 0 ? kRed : kBlue; }));
    nt::Surface canvas(40, 20, kGrey);
    auto answer = nt::test::answer<frmMask>([&](frmMask* d) {
        Chooser chooser(path);
        d->chooseFile = chooser.fn();
        QTest::mouseClick(d->cmdOpen, Qt::LeftButton);
        QTest::mouseClick(d->cmdReset, Qt::LeftButton);  // OK still applies the named file
        QTest::mouseClick(d->cmdOK, Qt::LeftButton);
    });
    nt::runMaskCommand(nullptr, canvas);
    EXPECT_TRUE(answer.seen());
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(colourAt(canvas, x, y), x < 20 ? kRed : kBlue) << x << "," << y;
    EXPECT_EQ(shownAt(canvas, 39, 19), kBlue);
    EXPECT_EQ(nt::globals().DialogResult, kIdle);
}

TEST(MaskCommand, MagentaIsSeeThroughExceptWhereResamplingBlendedIt) {
    Files files;
    const QString all =
        files.write(QStringLiteral("all.bmp"), picture(3, 3, [](int, int) { return kMagenta; }));
    // Not grey: the blend of magenta and green is.
    constexpr nt::Colour kBack = 0x203040;
    nt::Surface canvas(5, 4, kBack);
    const QImage before = canvas.Image().copy();
    EXPECT_TRUE(nt::applyPictureBackground(nullptr, canvas, all));
    EXPECT_EQ(canvas.Image(), before);

    const QString half =
        files.write(QStringLiteral("half.bmp"),
                    picture(2, 1, [](int x, int) { return x == 0 ? kMagenta : kGreen; }));
    EXPECT_TRUE(nt::applyPictureBackground(nullptr, canvas, half));
    EXPECT_EQ(colourAt(canvas, 0, 0), kBack);
    EXPECT_EQ(colourAt(canvas, 1, 3), kBack);
    EXPECT_EQ(colourAt(canvas, 3, 0), kGreen);
    // Column 2 straddles both source pixels: a blend, no longer exactly magenta, so painted.
    const nt::Colour edge = colourAt(canvas, 2, 0);
    EXPECT_EQ(edge, kGrey) << "half magenta, half green";
}

TEST(MaskCommand, AnEmptyNameChangesNothingAndAnUnreadableFileIsReported) {
    nt::Surface canvas(10, 10, kGrey);
    const QImage before = canvas.Image().copy();
    auto answer = nt::test::answer<frmMask>([](frmMask* d) {
        QTest::mouseClick(d->cmdOK, Qt::LeftButton);  // nothing chosen
    });
    nt::runMaskCommand(nullptr, canvas);
    EXPECT_TRUE(answer.seen());
    EXPECT_EQ(canvas.Image(), before);
    EXPECT_EQ(nt::globals().DialogResult, kIdle);

    Files files;
    ErrorSeen seen;
    auto error = nt::test::answer<errbox>(readAndClose(seen));
    EXPECT_FALSE(
        nt::applyPictureBackground(nullptr, canvas, files.writeText(QStringLiteral("x.bmp"))));
    EXPECT_TRUE(error.seen());
    EXPECT_EQ(seen.code, QStringLiteral("错误代码:481"));
    EXPECT_EQ(seen.reason, QStringLiteral("无效图片"));
    EXPECT_EQ(canvas.Image(), before);
}
