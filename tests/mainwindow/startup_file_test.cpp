// A picture named on the command line opens at start-up in place of the new-canvas dialog,
// through the open command's path and error window; where the Data folder is found.
#include <QFile>
#include <QLabel>

#include "MainWindowTest.h"
#include "document/errbox.h"
#include "globals/Paths.h"
#include "support/ModalAnswer.h"

namespace {

class StartupFile : public MainWindowTest {
  protected:
    // Starts with `path` and returns the class names of the windows start-up showed, with
    // the error window's code line.
    QStringList startWith(const QString& path, QString& code) {
        ModalSequence answers({[&](QWidget* m) {
            if (auto* e = qobject_cast<errbox*>(m)) code = e->Label2->text();
            m->close();
        }});
        w->Form_Load(QStringLiteral(NT_SOURCE_DIR "/resources"), path);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        QTest::qWait(300);  // long enough for any dialog start-up would show
        return answers.seen();
    }
};

TEST_F(StartupFile, AGoodPictureOpensWithoutTheNewCanvasDialog) {
    const QString path = work.filePath(QStringLiteral("start.bmp"));
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(path, "BMP"));
    QString code;
    EXPECT_TRUE(startWith(path, code).isEmpty());
    EXPECT_EQ(canvas().Image().size(), QSize(64, 48));
    EXPECT_EQ(canvas().Point(10, 10), 0x0000FFu);
    EXPECT_EQ(w->statusText(1), path);
}

TEST_F(StartupFile, MissingOrUnreadableFilesShowTheOpenCommandsErrors) {
    const QString junk = work.filePath(QStringLiteral("junk.bmp"));
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture at all");
    f.close();
    for (const auto& [path, want] :
         {std::pair{work.filePath(QStringLiteral("none.bmp")), 53}, std::pair{junk, 481}}) {
        w = std::make_unique<frmmain>();
        QString code;
        EXPECT_EQ(startWith(path, code), QStringList{QStringLiteral("errbox")});
        EXPECT_EQ(code, QStringLiteral("错误代码:%1").arg(want));
        EXPECT_EQ(canvas().Image().size(), QSize(280, 232));  // the design canvas stays
    }
}

TEST(DataFolder, BesideTheProgramThenInTheInstalledShareFolder) {
    QTemporaryDir root;
    const QString bin = root.filePath(QStringLiteral("bin"));
    const QString share = root.filePath(QStringLiteral("share/norvalytintora"));
    ASSERT_TRUE(QDir().mkpath(bin));
    EXPECT_EQ(nt::DataParentFolder(bin), bin + u'/');  // neither: beside the program
    ASSERT_TRUE(QDir().mkpath(share + QStringLiteral("/Data")));
    EXPECT_EQ(nt::DataParentFolder(bin), share + u'/');
    ASSERT_TRUE(QDir().mkpath(bin + QStringLiteral("/Data")));
    EXPECT_EQ(nt::DataParentFolder(bin), bin + u'/');  // a build tree wins
}

}  // namespace
