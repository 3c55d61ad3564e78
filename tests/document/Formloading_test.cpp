#include <chrono>
#include <thread>

#include <gtest/gtest.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "document/Formloading.h"

namespace {

// Waits until the busy notice is gone (closed and destroyed); returns the time taken.
qint64 waitUntilGone(const QPointer<Formloading>& form, const QElapsedTimer& since) {
    while (form && since.elapsed() < 5000) QTest::qWait(5);
    return since.elapsed();
}

}  // namespace

TEST(Formloading, ShowsItsDesignTextAndClosesOnItsFirstTick) {
    QElapsedTimer since;
    since.start();
    Formloading::ShowBusy(nullptr);
    QPointer<Formloading> form = Formloading::Instance(nullptr);
    ASSERT_TRUE(form);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isModal());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("加载中..."));
    EXPECT_EQ(form->Label1->text(), QStringLiteral("操作完成!"));
    EXPECT_EQ(form->Timer1->interval(), 1500);

    QTest::qWait(1200);
    EXPECT_TRUE(form && form->isVisible());
    const qint64 gone = waitUntilGone(form, since);
    EXPECT_FALSE(form);
    EXPECT_GE(gone, 1450);
    EXPECT_LE(gone, 1900);
}

TEST(Formloading, AfterALongOperationClosesAsSoonAsTheLoopIsIdle) {
    Formloading::ShowBusy(nullptr);
    QPointer<Formloading> form = Formloading::Instance(nullptr);
    // The operation holds the event loop past the timer's interval.
    std::this_thread::sleep_for(std::chrono::milliseconds(1700));
    ASSERT_TRUE(form);
    EXPECT_TRUE(form->isVisible());
    QElapsedTimer idle;
    idle.start();
    EXPECT_LE(waitUntilGone(form, idle), 300);
}

TEST(Formloading, ASecondCommandReusesTheOpenNoticeWithoutRestartingIt) {
    QElapsedTimer since;
    since.start();
    Formloading::ShowBusy(nullptr);
    QPointer<Formloading> first = Formloading::Instance(nullptr);
    QTest::qWait(800);
    Formloading::ShowBusy(nullptr);
    EXPECT_EQ(Formloading::Instance(nullptr), first.data());
    EXPECT_LE(waitUntilGone(first, since), 1900);

    // Once closed, the next command gets a fresh window.
    Formloading::ShowBusy(nullptr);
    QPointer<Formloading> next = Formloading::Instance(nullptr);
    EXPECT_TRUE(next);
    next->close();
}

// The offscreen platform activates every window it shows, so what is checked is what the
// window asks of the window system: to be shown without activation and never to take focus.
TEST(Formloading, ShowsWithoutTakingTheKeyboard) {
    QWidget owner;
    owner.show();
    Formloading::ShowBusy(&owner);
    QPointer<Formloading> form = Formloading::Instance(&owner);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.data()));
    EXPECT_TRUE(form->testAttribute(Qt::WA_ShowWithoutActivating));
    ASSERT_NE(form->windowHandle(), nullptr);
    EXPECT_TRUE(form->windowHandle()->flags().testFlag(Qt::WindowDoesNotAcceptFocus));
    form->close();
}
