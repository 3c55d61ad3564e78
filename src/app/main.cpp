#include <cstdio>
#include <cstring>

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

#include "app/FontWarmup.h"
#include "app/ProgramStyle.h"
#include "app/Translation.h"
#include "globals/Version.h"
#include "mainwindow/frmmain.h"

namespace {

constexpr char kHelp[] =
    "Usage: norvalytintora [FILE]\n"
    "A raster paint program. With FILE, that picture (BMP, DIB, RLE, JPEG, GIF, ICO, CUR, WMF or\n"
    "EMF) opens at start-up in place of the new-canvas dialog.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "  -v, --version  show the version and exit\n"
    "\n"
    "Qt's own options (-style, -platform, ...) are accepted as well.\n";

// --help and --version answer on the terminal before anything needs a display.
bool answeredOnTerminal(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::fputs(kHelp, stdout);
            return true;
        }
        if (!std::strcmp(argv[i], "--version") || !std::strcmp(argv[i], "-v")) {
            std::printf("norvalytintora %s\n", nt::kVersion);
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (answeredOnTerminal(argc, argv)) return 0;
    nt::FontWarmup fonts;
    QApplication app(argc, argv);  // takes Qt's own options out of the arguments
    fonts.wait();                  // before anything may use a font
    nt::installProgramStyle();
    const nt::ChineseQtTexts qtTexts;
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("picture to open"));
    parser.parse(QCoreApplication::arguments());
    const QStringList files = parser.positionalArguments();
    frmmain window;
    window.Form_Load(QCoreApplication::applicationDirPath(),
                     files.isEmpty() ? QString() : QFileInfo(files.first()).absoluteFilePath());
    return app.exec();
}
