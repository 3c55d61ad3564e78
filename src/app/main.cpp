#include <QApplication>

#include "app/FontWarmup.h"
#include "app/ProgramStyle.h"
#include "mainwindow/frmmain.h"

int main(int argc, char** argv) {
    nt::FontWarmup fonts;
    QApplication app(argc, argv);
    nt::installProgramStyle();
    fonts.wait();
    frmmain window;
    window.Form_Load();  // shows the window
    return app.exec();
}
