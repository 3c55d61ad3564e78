// PNG through the main window's open and save commands: the type or the name decides the
// file written, every other name stays BMP; PNG opens like the other formats and is refused
// with the same error window.
#include <QFile>
#include <QPushButton>

#include "WindowFixture.h"
#include "document/errbox.h"
#include "platform/Picture.h"

namespace {

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QImage readBack(const QString& path) {
    auto r = nt::loadPicture(path);
    return std::holds_alternative<QImage>(r) ? std::get<QImage>(r) : QImage();
}

const QString kSeeds = QStringLiteral(NT_SOURCE_DIR "/fuzz/seeds/png/");

class PngFiles : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        canvas().Line(3, 4, 200, 100, 0x00FF00);
    }
    // The file dialog answers `path` with `type` selected.
    void answerFileDialog(const QString& path, const QString& type) {
        w->chooseFile = [path, type](QWidget*, const nt::FileDialogRequest& r) {
            r.chosenType = type;
            return path;
        };
    }
    // Opens `path` and reads the error window it brings, if any.
    QString open(const QString& path) {
        answerFileDialog(path, {});
        QString code;
        ModalAnswer readError([&](QWidget* m) {
            auto* e = qobject_cast<errbox*>(m);
            code = e->Label2->text() + u' ' + e->Label3->text();
            e->Command1->click();
        });
        w->mnuOpen->trigger();
        return code;
    }
};

TEST_F(PngFiles, TheTypeOrAPngNameWritesPngAndEveryOtherNameBmp) {
    const QString png = nt::pngFileType(), all = nt::pictureFileTypes().first();
    const QString bitmap = nt::pictureFileTypes().at(1);
    struct Case {
        QString typed, type, written;
        bool isPng;
    } cases[] = {
        {"shot.png", all, "shot.png", true},     {"upper.PNG", bitmap, "upper.PNG", true},
        {"typed", png, "typed.png", true},  // a bare name takes the type's extension
        {"chosen.jpg", png, "chosen.jpg", true}, {"photo.jpg", all, "photo.jpg", false},
        {"bare", bitmap, "bare", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        const QString written = work.filePath(c.written);
        answerFileDialog(work.filePath(c.typed), c.type);
        w->mnuSave->trigger();
        const QByteArray bytes = bytesOf(written);
        EXPECT_EQ(bytes.startsWith("\x89PNG\r\n\x1a\n"), c.isPng);
        EXPECT_EQ(bytes.startsWith("BM"), !c.isPng);
        EXPECT_EQ(readBack(written), canvas().Image());
        EXPECT_EQ(w->statusText(1), written);
        EXPECT_EQ(w->state.LastFolder, work.path());
    }
    EXPECT_EQ(QDir(work.path()).entryList({"typed*"}), QStringList{"typed.png"});
}

TEST_F(PngFiles, SaveFailuresAreReportedAsForBmp) {
    answerFileDialog(work.filePath(QStringLiteral("nowhere/a")), nt::pngFileType());
    QString code;
    ModalAnswer readError([&](QWidget* m) {
        auto* e = qobject_cast<errbox*>(m);
        code = e->Label2->text() + u' ' + e->Label3->text();
        e->Command1->click();
    });
    const QString panel1 = w->statusText(1);
    w->mnuSave->trigger();
    EXPECT_EQ(code, QStringLiteral("错误代码:76 路径未找到"));
    EXPECT_EQ(w->statusText(1), panel1);
}

TEST_F(PngFiles, OpenLaysTransparencyOnWhiteAndRefusesDamagedOrHugeFiles) {
    EXPECT_EQ(open(kSeeds + QStringLiteral("rgba8.png")), QString());
    EXPECT_EQ(w->SrcDc->size(), QSize(7, 5));
    EXPECT_EQ(picture(0, 0), 0xFFFFFFu);  // alpha 0 on white
    EXPECT_EQ(picture(6, 4), nt::rgb(180, 200, 200));
    EXPECT_EQ(w->statusText(3), sizeText(7, 5));

    const QImage before = canvas().Image().copy();
    const QByteArray good = bytesOf(kSeeds + QStringLiteral("rgb8.png"));
    QByteArray huge = good;
    huge[16] = '\x01';  // width 16 777 223: past the side limit, checksum and all
    for (const QByteArray& bytes : {good.left(good.size() - 13), huge}) {
        const QString path = work.filePath(QStringLiteral("bad.png"));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        EXPECT_EQ(open(path), QStringLiteral("错误代码:481 无效图片"));
        EXPECT_EQ(canvas().Image(), before);
    }
}

}  // namespace
