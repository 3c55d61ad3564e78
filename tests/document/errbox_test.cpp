#include <gtest/gtest.h>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include "document/errbox.h"
#include "support/ModalAnswer.h"

namespace {

// Stands in for the system browser.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> urls;
    QPointer<QWidget> watched;  // whose visibility to note when a page opens
    bool watchedVisible = true;
  public slots:
    void open(const QUrl& url) {
        urls.push_back(url);
        watchedVisible = watched ? watched->isVisible() : true;
    }
};

const QString kAdvice = QStringLiteral(
    "请确认该文件是支持的图片文件,且没有被损坏,请确保cur光标是2色的,ico不得超过256色!");

}  // namespace

TEST(Errbox, BeepsOnceWhenCreatedAndStartsFromItsDesignTexts) {
    int beeps = 0;
    errbox box(nullptr, [&] { ++beeps; });
    EXPECT_EQ(beeps, 1);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Norvaly提醒您:错误"));
    EXPECT_EQ(box.Label1->text(), QStringLiteral("发生错误!"));
    EXPECT_TRUE(box.Label2->text().isEmpty());
    EXPECT_EQ(box.Label3->text(), QStringLiteral("错误原因"));
    EXPECT_TRUE(box.Label4->text().isEmpty());
    EXPECT_EQ(box.Command1->text(), QStringLiteral("我知道啦!"));
    EXPECT_TRUE(box.Command1->isDefault());
    EXPECT_EQ(box.Command2->text(), QStringLiteral("我要反馈"));
    EXPECT_EQ(box.Timer1->interval(), 500);
    EXPECT_TRUE(box.Timer1->isActive());
    EXPECT_EQ(box.findChild<QLabel*>(QStringLiteral("Label3")), box.Label3);
}

TEST(Errbox, CodeLinesAndAdvice) {
    EXPECT_EQ(nt::errorCodeLine(481), QStringLiteral("错误代码:481"));
    EXPECT_EQ(nt::errorCodeLine(-2147467259), QStringLiteral("错误代码:-2147467259"));
    EXPECT_EQ(nt::badPixelCountReason(), QStringLiteral("图片的像素值必须大于零的阿拉伯数字!"));
    EXPECT_EQ(nt::adviceFor(QStringLiteral("无效图片")), kAdvice);
    EXPECT_TRUE(nt::adviceFor(QStringLiteral("无效图片 ")).isEmpty());
    EXPECT_TRUE(nt::adviceFor(QStringLiteral("文件未找到")).isEmpty());
}

TEST(Errbox, InvalidPictureShowsAdviceWithinHalfASecondThenCloses) {
    qint64 adviceAfter = -1;
    QString code, reason;
    QElapsedTimer sinceCreated;
    ModalAnswer answer([&](QWidget* w) {
        auto* box = qobject_cast<errbox*>(w);
        ASSERT_NE(box, nullptr);
        code = box->Label2->text();
        reason = box->Label3->text();
        while (box->Label4->text().isEmpty() && sinceCreated.elapsed() < 2000) QTest::qWait(2);
        adviceAfter = sinceCreated.elapsed();
        EXPECT_EQ(box->Label4->text(), kAdvice);
        QTest::mouseClick(box->Command1, Qt::LeftButton);
    });
    sinceCreated.start();
    nt::ShowError(nullptr, nt::errorCodeLine(481), nt::invalidPictureReason());
    ASSERT_TRUE(answer.seen());
    EXPECT_EQ(code, QStringLiteral("错误代码:481"));
    EXPECT_EQ(reason, QStringLiteral("无效图片"));
    EXPECT_GE(adviceAfter, 0);
    EXPECT_LE(adviceAfter, 560);  // the tick at 500 ms, plus polling and a busy machine
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // Closed means destroyed: the next notice starts from the design texts.
    QTest::qWait(1);
    errbox* next = errbox::Instance(nullptr);
    EXPECT_TRUE(next->Label2->text().isEmpty());
    EXPECT_TRUE(next->Label4->text().isEmpty());
    next->close();
}

TEST(Errbox, OtherReasonsNeverGetTheAdviceAndEnterCloses) {
    QString advice = QStringLiteral("unset");
    ModalAnswer answer([&](QWidget* w) {
        auto* box = qobject_cast<errbox*>(w);
        ASSERT_NE(box, nullptr);
        QTest::qWait(1100);  // two ticks
        advice = box->Label4->text();
        QTest::keyClick(box, Qt::Key_Return);
    });
    nt::ShowError(nullptr, QStringLiteral("错误代码:Ne1"), nt::badPixelCountReason());
    ASSERT_TRUE(answer.seen());
    EXPECT_TRUE(advice.isEmpty());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(Errbox, FeedbackOpensTheForumAndCloses) {
    UrlCatcher browser;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "open");
    ModalAnswer answer([&](QWidget* w) {
        auto* box = qobject_cast<errbox*>(w);
        ASSERT_NE(box, nullptr);
        browser.watched = box;
        QTest::mouseClick(box->Command2, Qt::LeftButton);
    });
    nt::ShowError(nullptr, nt::errorCodeLine(75), QStringLiteral("路径/文件访问错误"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    ASSERT_TRUE(answer.seen());
    ASSERT_EQ(browser.urls.size(), 1);
    EXPECT_EQ(browser.urls[0], QUrl(nt::forumUrl()));
    EXPECT_FALSE(browser.watchedVisible);  // hidden before the page opens
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

#include "errbox_test.moc"
