#pragma once

#include <memory>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include "mainwindow/frmmain.h"

// The started window, its start-up dialog cancelled, with the canvas at the size asked for.
struct Window {
    QTemporaryDir work;
    QTemporaryDir sessions;  // the window's session folder, with its working files, goes here
    std::unique_ptr<frmmain> w;
    Window(int width, int height) {
        QDir::setCurrent(work.path());
        qputenv("NORVALYTINTORA_STATE_DIR", QFile::encodeName(sessions.path()));
        w = std::make_unique<frmmain>();
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&answer] {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                d->reject();
                answer.stop();
            }
        });
        answer.start(5);
        w->Form_Load(QCoreApplication::applicationDirPath());
        while (answer.isActive()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        w->SrcDc->resizeSurface(width, height);
        QCoreApplication::processEvents();
    }
};
