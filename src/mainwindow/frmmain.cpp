#include "mainwindow/frmmain.h"

#include <QScrollArea>

#include "surface/SystemColours.h"

namespace {
constexpr int kDesignCanvasWidth = 280;
constexpr int kDesignCanvasHeight = 232;
}  // namespace

frmmain::frmmain(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmmain"));
    setWindowTitle(QStringLiteral("NorvalyTintora 2017 V3.3"));
    auto* holder = new QWidget(this);
    holder->setObjectName(QStringLiteral("pHolder"));
    SrcDc = new nt::PictureBox(kDesignCanvasWidth, kDesignCanvasHeight, nt::kSysWindow, holder);
    SrcDc->setObjectName(QStringLiteral("SrcDc"));
    SrcDc->move(3, 3);
    setCentralWidget(holder);
    resize(640, 480);
}
