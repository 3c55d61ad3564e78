#include <QApplication>

#include "mainwindow/frmmain.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    frmmain window;
    window.Form_Load();  // shows the window
    return app.exec();
}
