#include <QApplication>

#include "app/FontWarmup.h"
#include "app/ProgramStyle.h"
#include "mainwindow/frmmain.h"

int main(int argc, char** argv) {
    nt::FontWarmup fonts;
    QApplication app(argc, argv);
    fonts.wait();  // before anything may use a font
    nt::installProgramStyle();
    frmmain window;
    window.Form_Load();  // shows the window
    return app.exec();
}
