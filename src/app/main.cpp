#include <QApplication>

#include "mainwindow/frmmain.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    frmmain window;
    window.show();
    return app.exec();
}
