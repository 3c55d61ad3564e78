#pragma once

#include <functional>
#include <memory>

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "globals/Globals.h"
#include "mainwindow/frmmain.h"

// A main window on the offscreen platform with a scratch current directory that holds its
// working files (a session without a store). Windows a test makes with a store session get a
// state folder of the test's own, so no session another test left can be offered back.
// start() runs its start-up, by default with the shipped libraries (the resources folder stands
// in for the application folder).
class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(work.isValid());
        ASSERT_TRUE(sessions.isValid());
        previousSessions = qgetenv("NORVALYTINTORA_STATE_DIR");
        qputenv("NORVALYTINTORA_STATE_DIR", QFile::encodeName(sessions.path()));
        previousDir = QDir::currentPath();
        QDir::setCurrent(work.path());
        nt::globals() = nt::GlobalSettings{};
        w = std::make_unique<frmmain>(std::make_unique<nt::Session>(QString()));
        w->endProgram = [this] { ++ends; };  // an answered close must not end the test program
    }
    void TearDown() override {
        w.reset();
        QDir::setCurrent(previousDir);
        qputenv("NORVALYTINTORA_STATE_DIR", previousSessions);
    }

    // Starts the window and waits until it is on screen, its libraries are listed and
    // `answered`, which watches whatever answers start-up's dialogs, holds.
    void start(const std::function<bool()>& answered,
               const QString& applicationFolder = QStringLiteral(NT_SOURCE_DIR "/resources")) {
        QSignalSpy listed(w.get(), &frmmain::LibrariesListed);
        w->Form_Load(applicationFolder);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        ASSERT_TRUE(QTest::qWaitFor(answered, 5000));
        if (!w->librariesListed()) {
            ASSERT_TRUE(listed.wait(5000));
        }
    }

    nt::Surface& canvas() { return w->canvas(); }
    QString sizeText(int width, int height) const {
        return QStringLiteral("画布大小:宽 %1 高 %2").arg(width).arg(height);
    }

    QTemporaryDir work;
    QTemporaryDir sessions;
    QByteArray previousSessions;
    QString previousDir;
    std::unique_ptr<frmmain> w;
    int ends = 0;  // how often the program was asked to end
};
