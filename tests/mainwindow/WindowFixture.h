#pragma once

#include <functional>

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include "support/ModalAnswer.h"

#include "globals/Globals.h"
#include "mainwindow/frmmain.h"
#include "palette/dColorPallete.h"

// A started main window on the offscreen platform, with the shipped libraries (the resources
// folder stands in for the application folder) and a scratch current directory for the
// working files.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(work.isValid());
        previousDir = QDir::currentPath();
        QDir::setCurrent(work.path());
        nt::globals() = nt::GlobalSettings{};
        w = std::make_unique<frmmain>();
        w->endProgram = [] {};  // an answered close request must not end the test program
        // The start-up dialog is cancelled: the design canvas of 280 x 232 stays.
        ModalAnswer cancelStartup([](QWidget* m) { m->close(); });
        QSignalSpy listed(w.get(), &frmmain::LibrariesListed);
        w->Form_Load(QStringLiteral(NT_SOURCE_DIR "/resources"));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        if (!w->librariesListed()) {
            ASSERT_TRUE(listed.wait(5000));
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return cancelStartup.seen(); }, 5000));
    }
    void TearDown() override {
        w.reset();
        QDir::setCurrent(previousDir);
    }

    nt::Surface& canvas() { return w->canvas(); }
    nt::Colour picture(int x, int y) { return nt::fromPixel(canvas().Image().pixel(x, y)); }
    nt::Colour screen(int x, int y) { return nt::fromPixel(canvas().screen().pixel(x, y)); }

    void press(Qt::MouseButton b, QPoint p, Qt::KeyboardModifiers m = {}) {
        QTest::mousePress(w->SrcDc, b, m, p);
    }
    void moveTo(QPoint p) { QTest::mouseMove(w->SrcDc, p); }
    void release(Qt::MouseButton b, QPoint p) { QTest::mouseRelease(w->SrcDc, b, {}, p); }
    // A move with no button held, delivered straight to the canvas.
    void hover(QPoint p) {
        QMouseEvent e(QEvent::MouseMove, p, w->SrcDc->mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(w->SrcDc, &e);
    }
    // Press at `from`, move through `via` (when given) to `to`, release at `to`.
    void drag(Qt::MouseButton b, QPoint from, QPoint to, std::optional<QPoint> via = {}) {
        press(b, from);
        if (via) moveTo(*via);
        moveTo(to);
        release(b, to);
    }
    void chooseTool(int index) {
        QTest::mouseClick(w->Command1[static_cast<size_t>(index)], Qt::LeftButton);
    }

    QTemporaryDir work;
    QString previousDir;
    std::unique_ptr<frmmain> w;
};
