#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <gtest/gtest.h>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "document/Formloading.h"
#include "globals/Globals.h"
#include "mainwindow/frmmain.h"
#include "support/ModalAnswer.h"

// A started main window in a scratch current directory. Whatever modal window start-up
// shows (the new-canvas dialog) is cancelled, so the canvas keeps its design size 280 x 232.
class StartedWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(work.isValid());
        previousDir = QDir::currentPath();
        QDir::setCurrent(work.path());
        nt::globals() = nt::GlobalSettings{};
        w = std::make_unique<frmmain>();
        QTimer dismiss;
        QObject::connect(&dismiss, &QTimer::timeout, [] {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->reject();
        });
        dismiss.start(10);
        QSignalSpy listed(w.get(), &frmmain::LibrariesListed);
        w->Form_Load(QStringLiteral(NT_SOURCE_DIR "/resources"));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        if (!w->librariesListed()) {
            ASSERT_TRUE(listed.wait(5000));
        }
        dismiss.stop();
        closeBusyWindow();
    }
    void TearDown() override {
        w.reset();
        QDir::setCurrent(previousDir);
    }

    nt::Surface& canvas() { return w->canvas(); }
    QString sizeText(int width, int height) const {
        return QStringLiteral("画布大小:宽 %1 高 %2").arg(width).arg(height);
    }
    // The busy window of the main window, when it is showing.
    Formloading* busyWindow() const {
        for (auto* f : w->findChildren<Formloading*>())
            if (f->isVisible()) return f;
        return nullptr;
    }
    void closeBusyWindow() {
        while (Formloading* f = busyWindow()) f->close();
    }

    QTemporaryDir work;
    QString previousDir;
    std::unique_ptr<frmmain> w;
};
