#include <QApplication>

#include "app/FontWarmup.h"
#include "mainwindow/frmmain.h"

int main(int argc, char** argv) {
    nt::FontWarmup fonts;
    QApplication app(argc, argv);
    fonts.wait();
    frmmain window;
    window.Form_Load();  // shows the window
    return app.exec();
}
