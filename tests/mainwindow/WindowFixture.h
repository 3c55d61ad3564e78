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

#include "MainWindowTest.h"
#include "palette/dColorPallete.h"
#include "support/ModalAnswer.h"

// A started main window whose start-up dialog was cancelled: the design canvas of 280 x 232
// stays.
class WindowTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ModalAnswer cancelStartup([](QWidget* m) { m->close(); });
        start([&] { return cancelStartup.seen(); });
    }

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
};
